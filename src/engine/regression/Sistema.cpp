// TSistema: loading, building and solving the normal equations, the fit statistics, the
// per-term queries and the equation texts. Residuals and tests are in SistemaResiduos.cpp,
// estimates and intervals in SistemaIntervalos.cpp.
#include "regression/Sistema.h"

#include "common/Numeros.h"
#include "common/Texto.h"
#include "regression/Transformacoes.h"
#include "worksheet/Gridzelto.h"

#include <algorithm>
#include <cmath>

namespace zelto {

TSistema::TSistema(TGridzelto &grid) : grid_(grid) {}

void TSistema::DefineTermos(std::span<const TTermo> termos) {
    Termos.fill(TTermo{});
    for (std::size_t k = 0; k < termos.size() && k < MaximoTermos; ++k)
        Termos[k] = termos[k];
}

// ---- Building a fit ---------------------------------------------------------------------

void TSistema::CarregaDados() {
    dados_.Carrega(grid_);
    inferencial_ = grid_.Modo.Inferencial;
    m_ = 0;
    colunas_.clear();
}

bool TSistema::MontaSistema() {
    erroMontagem_ = 0;
    termoComErro_ = 0;
    recusa_ = TRecusa::Nenhuma;
    termoRecusado_ = 0;
    std::size_t m = 0;
    while (m < MaximoTermos && Termos[m].Coluna != 0)
        ++m;
    m_ = m;
    colunas_.assign(m, nullptr);
    if (m == 0) return false;
    const auto &ativas = dados_.Ativas();
    for (std::size_t k = 0; k < m; ++k) {
        const TColunaTransformada &col = dados_.Coluna(Termos[k].Coluna, Termos[k].Codigo);
        // A cached column keeps its failures: every model that uses it on the failed
        // samples is rejected, not only the one that first computed it.
        if (const std::uint8_t erro = col.ErroEm(ativas); erro != 0) {
            erroMontagem_ = erro;
            termoComErro_ = termoRecusado_ = k + 1;
            recusa_ = TRecusa::Transformacao;
            return false;
        }
        colunas_[k] = &col;
    }
    eq_.Dimensiona(m);
    eq_.n = ativas.size();
    linha_.resize(m);
    long double *v = linha_.data();
    for (std::uint32_t s : ativas) {
        const long double y = colunas_[0]->Valores[s];
        v[0] = 1;
        for (std::size_t k = 1; k < m; ++k)
            v[k] = colunas_[k]->Valores[s];
        for (std::size_t j = 0; j < m; ++j) {
            long double *linha = &eq_.A[j * m];
            const long double vj = v[j];
            for (std::size_t k = j; k < m; ++k)
                linha[k] += vj * v[k];
            eq_.c[j] += vj * y;
        }
        eq_.Syy += y * y;
    }
    for (std::size_t j = 0; j < m; ++j)
        for (std::size_t k = 0; k < j; ++k)
            eq_.A[j * m + k] = eq_.A[k * m + j];
    return true;
}

bool TSistema::Resolve() {
    b_.assign(m_, 0);
    ajuste_ = TAjuste{};
    if (eq_.m != m_ || m_ == 0) return false;
    TSolucao solucao;
    if (ResolveEquacoes(eq_, b_, &solucao)) {
        // The descriptive mode's single model describes the sample even when it is all one value.
        ajuste_ = CalculaAjuste(eq_, b_, !inferencial_ && m_ == 1);
        solucao.Recusa = ajuste_.Recusa;
    }
    recusa_ = solucao.Recusa;
    termoRecusado_ = solucao.TermoSingular;
    if (recusa_ == TRecusa::Nenhuma) return true;
    std::fill(b_.begin(), b_.end(), 0);
    ajuste_ = TAjuste{};
    return false;
}

void TSistema::CalculaEstatisticas() {
    if (recusa_ == TRecusa::Nenhuma) ajuste_ = CalculaAjuste(eq_, b_, !inferencial_ && m_ == 1);
}

void TSistema::Inverte() {
    C_.assign(m_ * m_, 0);
    if (eq_.m == m_ && m_ > 0) InverteEquacoes(eq_, C_);
}

std::string TSistema::MotivoRecusa() const {
    const std::size_t k = termoRecusado_;
    auto variavel = [&] {
        std::string v = "a variável \"" + NomeTermo(k) + "\"";
        if (CodigoTermo(k) != 1) v += " (" + std::string(DescricaoTransformacao(CodigoTermo(k))) + ")";
        return v;
    };
    switch (recusa_) {
    case TRecusa::Nenhuma:
        return {};
    case TRecusa::Transformacao:
        return "a transformação " + std::string(DescricaoTransformacao(CodigoTermo(k))) + " de \"" +
               NomeTermo(k) + "\" falhou (" +
               std::string(DescricaoErroTransformacao(erroMontagem_)) + ")";
    case TRecusa::AmostrasInsuficientes:
        return "amostras insuficientes: n = " + std::to_string(n()) + " para " +
               std::to_string(m_) + (m_ == 1 ? " coeficiente" : " coeficientes");
    case TRecusa::Singular: {
        // Collinear with the intercept alone: the column does not vary.
        const bool constante = k >= 2 && eq_.m == m_ && k <= m_ && TermoConstante(k);
        return "o sistema de equações é singular: " + variavel() +
               (constante ? " é constante" : " é combinação linear das variáveis anteriores do modelo");
    }
    case TRecusa::DependenteConstante:
        return "a variável dependente transformada é constante";
    case TRecusa::Instavel:
        return "o ajuste é instável: os arredondamentos dariam uma soma de quadrados negativa";
    case TRecusa::Alavanca:
        return "o ajuste é instável: os arredondamentos dariam uma alavanca fora do intervalo [0, 1]";
    }
    return {};
}

// ---- Model and data -------------------------------------------------------------------------

std::size_t TSistema::ColunaTermo(std::size_t k) const {
    return k >= 1 && k <= m_ ? Termos[k - 1].Coluna : 0;
}

std::uint8_t TSistema::CodigoTermo(std::size_t k) const {
    return k >= 1 && k <= m_ ? Termos[k - 1].Codigo : 0;
}

std::string TSistema::NomeTermo(std::size_t k) const {
    const std::size_t c = ColunaTermo(k);
    return c ? grid_.Celula(static_cast<int>(c), 0) : std::string();
}

int TSistema::LinhaAmostra(std::size_t i) const {
    return AmostraValida(i) ? static_cast<int>(Amostra(i)) + 1 : 0;
}

long TSistema::NumeroAmostra(std::size_t i) const {
    long long numero = 0;
    if (!AmostraValida(i) || !ConverteInteiro(grid_.Celula(0, LinhaAmostra(i)), numero)) return 0;
    return static_cast<long>(numero);
}

long double TSistema::Bruto(std::size_t k, std::uint32_t s) const {
    return dados_.Bruto(ColunaTermo(k), s);
}

const TColunaTransformada *TSistema::ColunaTermo_(std::size_t k) const {
    return k >= 1 && k <= colunas_.size() ? colunas_[k - 1] : nullptr;
}

long double TSistema::ValorBruto(std::size_t k, std::size_t i) const {
    return AmostraValida(i) ? Bruto(k, Amostra(i)) : 0;
}

long double TSistema::ValorTransformado(std::size_t k, std::size_t i) const {
    const TColunaTransformada *col = ColunaTermo_(k);
    return col && AmostraValida(i) ? col->Valores[Amostra(i)] : 0;
}

long double TSistema::DependenteBruto(std::size_t i) const {
    return ValorBruto(1, i);
}

namespace {

// The text of the subject property's entry "name=value" for a name; nothing when absent.
std::optional<std::string> TextoObjeto(const TGridzelto &grid, const std::string &nome) {
    const int i = IndiceValorObjeto(grid.ValoresObjeto, nome);
    if (i < 0) return std::nullopt;
    return Apara(grid.ValoresObjeto[i].substr(nome.size() + 1));
}

} // namespace

long double TSistema::ValorBrutoObjeto(std::size_t k) const {
    const std::size_t c = ColunaTermo(k);
    if (!c) return 0;
    const auto texto = TextoObjeto(grid_, grid_.Celula(static_cast<int>(c), 0));
    return texto ? grid_.ValorTexto(static_cast<int>(c), *texto) : 0;
}

bool TSistema::ObjetoInformado() const {
    for (const std::string &linha : grid_.ValoresObjeto) {
        const auto igual = linha.find('=');
        if (igual != std::string::npos && !Apara(linha.substr(igual + 1)).empty()) return true;
    }
    return false;
}

bool TSistema::ObjetoCompleto() const {
    for (std::size_t k = 2; k <= m_; ++k) {
        const auto texto = TextoObjeto(grid_, NomeTermo(k));
        if (!texto || texto->empty()) return false;
    }
    return true;
}

TPonto TSistema::PontoAmostra(std::size_t i) const {
    TPonto p(m_ + 1, 0);
    for (std::size_t k = 1; k <= m_; ++k)
        p[k] = ValorBruto(k, i);
    return p;
}

TPonto TSistema::PontoObjeto() const {
    TPonto p(m_ + 1, 0);
    for (std::size_t k = 2; k <= m_; ++k)
        p[k] = ValorBrutoObjeto(k);
    return p;
}

// ---- Fit -------------------------------------------------------------------------------------

namespace {

// a/b, or the marker with the sign of the quotient when it cannot be computed.
long double Quociente(long double a, long double b) {
    const long double q = a / b;
    if (std::isfinite(q) && std::fabs(q) < Infinito) return q;
    if (std::isnan(q)) return Infinito;
    return (a < 0) != (b < 0) ? -Infinito : Infinito;
}

} // namespace

long double TSistema::Coeficiente(std::size_t k) const {
    return k >= 1 && k <= b_.size() ? b_[k - 1] : 0;
}

bool TSistema::AjusteExato() const {
    return std::fabs(ajuste_.R) > LimiteAjusteExato;
}

long double TSistema::R2Ajustado() const {
    return R2AjustadoDe(ajuste_, n(), m_, LimiteAjusteExato);
}

long double TSistema::TCorrelacao() const {
    if (AjusteExato() || SemGraus()) return Infinito;
    const long double R = ajuste_.R;
    return Quociente(R * std::sqrt(static_cast<long double>(n() - m_)), std::sqrt(1 - R * R));
}

long double TSistema::Media(std::size_t k) const {
    if (k < 1 || k > eq_.m || eq_.n == 0) return 0;
    const long double nn = static_cast<long double>(eq_.n);
    return k == 1 ? eq_.c[0] / nn : eq_.a(1, k) / nn;
}

long double TSistema::Soma(std::size_t k) const {
    if (k < 1 || k > eq_.m) return 0;
    return k == 1 ? eq_.c[0] : eq_.a(1, k);
}

bool TSistema::TermoConstante(std::size_t k) const {
    if (k < 1 || k > eq_.m) return false;
    return PivoNulo(ProdutoCentrado(k, k), static_cast<long double>(n()) * ProdutoCruzado(k, k));
}

long double TSistema::ProdutoCruzado(std::size_t j, std::size_t k) const {
    if (j < 1 || k < 1 || j > eq_.m || k > eq_.m) return 0;
    if (j == 1 && k == 1) return eq_.Syy;
    if (j == 1) return eq_.c[k - 1];
    if (k == 1) return eq_.c[j - 1];
    return eq_.a(j, k);
}

long double TSistema::ProdutoCentrado(std::size_t j, std::size_t k) const {
    return zelto::ProdutoCentrado(eq_, j, k);
}

long double TSistema::DesvioPadrao(std::size_t k) const {
    if (k < 1 || k > eq_.m) return 0;
    const long double nn = static_cast<long double>(eq_.n);
    if (eq_.n < 2) return Infinito;
    return std::sqrt(std::fabs(ProdutoCentrado(k, k)) / (nn * (nn - 1)));
}

long double TSistema::VarianciaResidual() const {
    if (AjusteExato()) return 0;
    if (SemGraus()) return Infinito;
    return static_cast<long double>(n()) * m2_ / static_cast<long double>(n() - m_);
}

long double TSistema::Inversa(std::size_t j, std::size_t k) const {
    if (j < 1 || k < 1 || j > m_ || k > m_ || C_.size() != m_ * m_) return 0;
    return C_[(j - 1) * m_ + (k - 1)];
}

long double TSistema::Covariancia(std::size_t j, std::size_t k) const {
    const long double s2 = VarianciaResidual();
    const long double c = Inversa(j, k);
    if (s2 >= Infinito) return c == 0 ? 0 : (c < 0 ? -Infinito : Infinito);
    const long double v = s2 * c;
    return std::isfinite(v) ? v : (c < 0 ? -Infinito : Infinito);
}

long double TSistema::ErroPadrao(std::size_t k) const {
    const long double v = Covariancia(k, k);
    if (v >= Infinito) return Infinito;
    return std::sqrt(std::fabs(v));
}

long double TSistema::TCoeficiente(std::size_t k) const {
    const long double se = ErroPadrao(k);
    if (se >= Infinito) return 0;
    if (se == 0) return Coeficiente(k) == 0 ? 0 : Quociente(Coeficiente(k), 0);
    return Quociente(Coeficiente(k), se);
}

// ---- Equation texts ---------------------------------------------------------------------------

std::string TSistema::PecasTermos() const {
    std::string texto;
    for (std::size_t k = 2; k <= m_; ++k) {
        const std::uint8_t codigo = CodigoTermo(k);
        if (codigo == 0) continue;
        const long double b = Coeficiente(k);
        texto += ' ';
        texto += b >= 0 ? " + " : " - ";
        texto += FormatoSignificativo(std::fabs(b), 5);
        texto += ' ';
        std::string forma = NomeTransformacao("[" + NomeTermo(k) + "]", codigo);
        // "1/[x]" reads as a division of the coefficient: drop the "1".
        if (forma.rfind("1/", 0) == 0)
            texto += forma.substr(1);
        else
            texto += "x " + forma;
    }
    return texto;
}

std::string TSistema::Equacao() const {
    const std::uint8_t codigo = CodigoTermo(1);
    if (codigo == 0) return {};
    return NomeTransformacao("[" + NomeTermo(1) + "]", codigo) + " = " +
           FormatoSignificativo(Coeficiente(1), 5) + PecasTermos();
}

std::string TSistema::EquacaoOriginal() const {
    const std::uint8_t codigo = CodigoTermo(1);
    if (codigo == 0) return {};
    return "[" + NomeTermo(1) + "] = " + std::string(PrefixoInversa(codigo)) + " " +
           FormatoSignificativo(Coeficiente(1), 5) + PecasTermos() +
           std::string(SufixoInversa(codigo));
}

} // namespace zelto
