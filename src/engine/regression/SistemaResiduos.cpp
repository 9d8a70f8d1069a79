// TSistema: residuals, hat values, residual order, moments, histogram classes, the tests on
// the residuals and the automatic outlier removal.
#include "regression/Sistema.h"

#include "common/Numeros.h"
#include "regression/TestesResiduos.h"
#include "worksheet/Gridzelto.h"

#include <algorithm>
#include <cmath>

namespace zelto {

namespace {

// How far rounding may put a hat value outside [0, 1] before the model is refused.
constexpr long double kFolgaAlavanca = 1e-9L;

long double Marcador(long double x) {
    if (std::isnan(x)) return Infinito;
    if (!std::isfinite(x) || std::fabs(x) > Infinito) return x < 0 ? -Infinito : Infinito;
    return x;
}

long double Quociente(long double a, long double b) {
    if (b == 0) return a == 0 ? Infinito : (a < 0 ? -Infinito : Infinito);
    return Marcador(a / b);
}

// Recursive quicksort of positions by value, middle element as pivot (recursion on the
// smaller part only, so the depth stays logarithmic).
void Ordena(std::vector<std::size_t> &p, const std::vector<long double> &e, std::ptrdiff_t esq,
            std::ptrdiff_t dir) {
    while (esq < dir) {
        std::ptrdiff_t i = esq, j = dir;
        const long double pivo = e[p[static_cast<std::size_t>((esq + dir) / 2)]];
        do {
            while (e[p[static_cast<std::size_t>(i)]] < pivo)
                ++i;
            while (pivo < e[p[static_cast<std::size_t>(j)]])
                --j;
            if (i <= j) {
                std::swap(p[static_cast<std::size_t>(i)], p[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - esq < dir - i) {
            Ordena(p, e, esq, j);
            esq = i;
        } else {
            Ordena(p, e, i, dir);
            dir = j;
        }
    }
}

} // namespace

// ---- Building --------------------------------------------------------------------------------

void TSistema::CalculaResiduos() {
    const std::size_t nn = n();
    e_.assign(nn, 0);
    h_.assign(nn, 0);
    ordem_.clear();
    media_ = m2_ = m3_ = m4_ = 0;
    minimoE_ = maximoE_ = minimoY_ = maximoY_ = 0;
    classes_ = 1;
    largura_ = 0;
    contagem_.assign(1, 0);
    somaClasse_.assign(1, 0);
    if (nn == 0 || colunas_.size() != m_ || m_ == 0 || b_.size() != m_) return;

    minimoE_ = Infinito;
    maximoE_ = -Infinito;
    minimoY_ = Infinito;
    maximoY_ = -Infinito;
    long double soma = 0;
    for (std::size_t i = 0; i < nn; ++i) {
        const std::uint32_t s = dados_.Ativas()[i];
        const long double y = colunas_[0]->Valores[s];
        long double e = y;
        if (inferencial_) {
            long double estimado = 0;
            if (CodigoTermo(1) != 0) {
                estimado = b_[0];
                for (std::size_t k = 1; k < m_; ++k)
                    estimado += b_[k] * colunas_[k]->Valores[s];
            }
            e = y - estimado;
        }
        e_[i] = e;
        soma += e;
        minimoE_ = std::min(minimoE_, e);
        maximoE_ = std::max(maximoE_, e);
        const long double bruto = Bruto(1, s);
        minimoY_ = std::min(minimoY_, bruto);
        maximoY_ = std::max(maximoY_, bruto);
    }
    const long double nl = static_cast<long double>(nn);
    media_ = soma / nl;
    for (long double e : e_) {
        const long double d = e - media_;
        const long double d2 = d * d;
        m2_ += d2;
        const long double d3 = d2 * d;
        if (!std::isfinite(d3) || !std::isfinite(m3_ + d3))
            m3_ = d < 0 ? -Infinito : Infinito;
        else if (std::fabs(m3_) < Infinito)
            m3_ += d3;
        m4_ += d2 * d2;
    }
    m2_ = Marcador(m2_ / nl);
    m3_ = Marcador(m3_ / nl);
    m4_ = Marcador(m4_ / nl);

    // Classes: the last one takes everything from its lower bound up, so the largest residual
    // always falls in it whatever the rounding of min + k·w.
    long double k =
        nn <= 16 ? std::trunc(1 + std::sqrt(nl)) : std::trunc(1 + std::log(nl) / 0.6931L);
    classes_ = static_cast<std::size_t>(std::max(k, 1.0L));
    largura_ = (maximoE_ - minimoE_) / static_cast<long double>(classes_);
    contagem_.assign(classes_, 0);
    somaClasse_.assign(classes_, 0);
    for (long double e : e_) {
        std::size_t a = 0;
        if (largura_ > 0) {
            const long double q = std::floor((e - minimoE_) / largura_);
            a = q <= 0 ? 0 : std::min(static_cast<std::size_t>(q), classes_ - 1);
            // Settle rounding of the quotient against the bounds as the queries give them.
            while (a > 0 && e < LimiteInferiorClasse(a + 1))
                --a;
            while (a + 1 < classes_ && e >= LimiteInferiorClasse(a + 2))
                ++a;
        } else {
            a = classes_ - 1;
        }
        ++contagem_[a];
        somaClasse_[a] += e;
    }
}

bool TSistema::CalculaAlavancas() {
    const std::size_t nn = n();
    h_.assign(nn, 0);
    if (C_.size() != m_ * m_ || colunas_.size() != m_ || m_ == 0) return false;
    std::vector<long double> v(m_);
    bool foraDoIntervalo = false;
    for (std::size_t i = 0; i < nn; ++i) {
        const std::uint32_t s = dados_.Ativas()[i];
        v[0] = 1;
        for (std::size_t k = 1; k < m_; ++k)
            v[k] = colunas_[k]->Valores[s];
        long double h = 0;
        for (std::size_t j = 0; j < m_; ++j) {
            long double linha = 0;
            for (std::size_t k = 0; k < m_; ++k)
                linha += C_[j * m_ + k] * v[k];
            h += v[j] * linha;
        }
        // A hat value lies in [0, 1]; rounding may step just outside, beyond that the inverse
        // is not to be trusted.
        if (!(h >= -kFolgaAlavanca && h <= 1 + kFolgaAlavanca)) foraDoIntervalo = true;
        h_[i] = std::clamp(Marcador(h), 0.0L, 1.0L);
    }
    if (foraDoIntervalo) {
        recusa_ = TRecusa::Alavanca;
        termoRecusado_ = 0;
        return false;
    }
    return true;
}

bool TSistema::CompletaAjuste() {
    Inverte();
    CalculaResiduos();
    const bool alavancas = CalculaAlavancas();
    OrdenaResiduos();
    return alavancas;
}

void TSistema::OrdenaResiduos() {
    ordem_.resize(e_.size());
    for (std::size_t i = 0; i < ordem_.size(); ++i)
        ordem_[i] = i;
    if (!ordem_.empty()) Ordena(ordem_, e_, 0, static_cast<std::ptrdiff_t>(ordem_.size()) - 1);
}

// ---- Residual queries -----------------------------------------------------------------------

long double TSistema::ResiduoBruto(std::size_t i) const {
    return i >= 1 && i <= e_.size() ? e_[i - 1] : 0;
}

long double TSistema::Residuo(std::size_t i) const {
    return i >= 1 && i <= e_.size() ? e_[i - 1] - media_ : 0;
}

std::size_t TSistema::OrdemResiduo(std::size_t pos) const {
    return pos >= 1 && pos <= ordem_.size() ? ordem_[pos - 1] + 1 : 0;
}

long double TSistema::ResiduoOrdenado(std::size_t pos) const {
    return Residuo(OrdemResiduo(pos));
}

std::vector<long double> TSistema::Residuos() const {
    std::vector<long double> r(e_.size());
    for (std::size_t i = 0; i < e_.size(); ++i)
        r[i] = e_[i] - media_;
    return r;
}

long double TSistema::ResiduoPadronizado(std::size_t i) const {
    if (i < 1 || i > e_.size() || AjusteExato()) return 0;
    const long double s2 = VarianciaResidual();
    if (s2 >= Infinito) return Infinito;
    return Quociente(Residuo(i), std::sqrt(s2));
}

long double TSistema::ResiduoPadronizadoOrdenado(std::size_t pos) const {
    return ResiduoPadronizado(OrdemResiduo(pos));
}

long double TSistema::ResiduoStudentizado(std::size_t i) const {
    if (i < 1 || i > e_.size() || AjusteExato()) return 0;
    const long double s2 = VarianciaResidual();
    const long double d = s2 * (1 - Alavanca(i));
    if (s2 >= Infinito || !(d > 0)) return Infinito;
    return Quociente(Residuo(i), std::sqrt(d));
}

long double TSistema::ResiduoDeletado(std::size_t i) const {
    if (i < 1 || i > e_.size() || AjusteExato()) return 0;
    return Quociente(Residuo(i), 1 - Alavanca(i));
}

long double TSistema::VarianciaSemAmostra(std::size_t i) const {
    if (i < 1 || i > e_.size() || AjusteExato()) return 0;
    const long double gl = static_cast<long double>(n()) - static_cast<long double>(m_) - 1;
    const long double um = 1 - Alavanca(i);
    if (gl <= 0 || um == 0) return Infinito;
    const long double r = Residuo(i);
    return Marcador((static_cast<long double>(n()) * m2_ - r * r / um) / gl);
}

long double TSistema::ResiduoSobreDesvioSemAmostra(std::size_t i) const {
    if (i < 1 || i > e_.size() || AjusteExato()) return 0;
    const long double v = VarianciaSemAmostra(i);
    if (v >= Infinito || !(v > 0)) return Infinito;
    return Quociente(Residuo(i), std::sqrt(v));
}

long double TSistema::ResiduoStudentizadoExterno(std::size_t i) const {
    if (i < 1 || i > e_.size() || AjusteExato()) return 0;
    const long double v = VarianciaSemAmostra(i);
    const long double um = 1 - Alavanca(i);
    if (v >= Infinito || !(v > 0) || !(um > 0)) return Infinito;
    const long double d = ResiduoDeletado(i);
    if (std::fabs(d) >= Infinito) return Infinito;
    return Marcador(d * std::sqrt(um) / std::sqrt(v));
}

long double TSistema::Alavanca(std::size_t i) const {
    return i >= 1 && i <= h_.size() ? h_[i - 1] : 0;
}

long double TSistema::DistanciaCook(std::size_t i) const {
    if (i < 1 || i > e_.size() || AjusteExato()) return 0;
    const long double t = ResiduoStudentizado(i);
    const long double um = 1 - Alavanca(i);
    if (std::fabs(t) >= Infinito || !(um > 0)) return Infinito;
    return Marcador(t * t * Alavanca(i) / (static_cast<long double>(m_) * um));
}

long double TSistema::DesvioMedioAbsoluto() const {
    if (e_.empty()) return 0;
    long double s = 0;
    for (long double e : e_)
        s += std::fabs(e - media_);
    return s / static_cast<long double>(e_.size());
}

long double TSistema::Assimetria() const {
    if (AjusteExato() || e_.empty()) return 0;
    if (std::fabs(m3_) >= Infinito) return m3_;
    return Quociente(m3_, std::pow(m2_, 1.5L));
}

long double TSistema::Curtose() const {
    if (AjusteExato() || e_.empty()) return 0;
    const long double q = Quociente(m4_, m2_ * m2_);
    return std::fabs(q) >= Infinito ? q : q - 3;
}

// ---- Classes ---------------------------------------------------------------------------------

long double TSistema::LimiteInferiorClasse(std::size_t a) const {
    return minimoE_ + (static_cast<long double>(a) - 1) * largura_;
}

long double TSistema::LimiteSuperiorClasse(std::size_t a) const {
    return minimoE_ + static_cast<long double>(a) * largura_;
}

std::size_t TSistema::ContagemClasse(std::size_t a) const {
    return a >= 1 && a <= contagem_.size() && !e_.empty() ? contagem_[a - 1] : 0;
}

std::size_t TSistema::ContagemAcumulada(std::size_t a) const {
    if (a < 1 || e_.empty()) return 0;
    if (a > classes_) return n();
    std::size_t s = 0;
    for (std::size_t j = 1; j <= a; ++j)
        s += ContagemClasse(j);
    return s;
}

long double TSistema::MediaClasse(std::size_t a) const {
    const std::size_t c = ContagemClasse(a);
    return c ? somaClasse_[a - 1] / static_cast<long double>(c) : 0;
}

long double TSistema::MedianaAgrupada() const {
    if (e_.empty()) return 0;
    const long double metade = static_cast<long double>(n()) / 2;
    std::size_t q = 1;
    while (q < classes_ && static_cast<long double>(ContagemAcumulada(q)) < metade)
        ++q;
    const std::size_t f = ContagemClasse(q);
    if (f == 0) return LimiteInferiorClasse(q) + largura_ / 2;
    return LimiteInferiorClasse(q) + (metade - static_cast<long double>(ContagemAcumulada(q - 1))) *
                                         largura_ / static_cast<long double>(f);
}

long double ModaDeClasses(long double inicio, long double largura,
                          std::span<const std::size_t> contagens) {
    if (contagens.empty()) return inicio;
    std::size_t q = 0;
    for (std::size_t a = 1; a < contagens.size(); ++a)
        if (contagens[a] > contagens[q]) q = a;
    auto f = [&](std::ptrdiff_t a) -> long double {
        return a < 0 || a >= static_cast<std::ptrdiff_t>(contagens.size())
                   ? 0
                   : static_cast<long double>(contagens[static_cast<std::size_t>(a)]);
    };
    const auto qi = static_cast<std::ptrdiff_t>(q);
    const long double L = inicio + static_cast<long double>(q) * largura;
    const long double divisor = 2 * f(qi) - f(qi - 1) - f(qi + 1);
    // With q the first class of greatest count the divisor is positive unless every count is
    // 0; the midpoint is also the formula's value for a symmetric neighbourhood.
    if (!(divisor > 0)) return L + largura / 2;
    return L + (f(qi) - f(qi - 1)) * largura / divisor;
}

long double TSistema::ModaAgrupada() const {
    if (e_.empty()) return 0;
    return ModaDeClasses(minimoE_, largura_, contagem_);
}

// ---- Tests ------------------------------------------------------------------------------------

unsigned TSistema::RegressoresSignificativos(long double alfa) const {
    if (b_.size() != m_ || eq_.m != m_) return 0;
    return ContaRegressoresSignificativos(eq_, ajuste_, b_, alfa, LimiteAjusteExato);
}

namespace {
std::vector<long double> Padronizados(const TSistema &s) {
    std::vector<long double> z(s.n());
    for (std::size_t i = 1; i <= z.size(); ++i)
        z[i - 1] = s.ResiduoPadronizadoOrdenado(i);
    return z;
}
} // namespace

bool TSistema::TesteNormalidade(long double alfa) const {
    if (AjusteExato()) return false;
    return zelto::TesteNormalidade(0, Padronizados(*this), alfa);
}

long double TSistema::DistanciaNormalidade() const {
    if (AjusteExato()) return 0;
    return DistanciaKS(Padronizados(*this));
}

int TSistema::TesteAutocorrelacao(long double alfa) const {
    return zelto::TesteAutocorrelacao(Residuos(), static_cast<unsigned>(m_), alfa);
}

long double TSistema::DurbinWatson() const {
    return EstatisticaDW(Residuos());
}

std::size_t TSistema::NumeroOutliers(int criterio, long double parametro) const {
    const long double s2 = VarianciaResidual();
    const long double s = s2 >= Infinito ? Infinito : std::sqrt(s2);
    const TCriterioAplicado c = CriterioAplicado(criterio, parametro, inferencial_);
    return zelto::NumeroOutliers(e_, media_, s, c.Criterio, c.Parametro);
}

bool TSistema::Saneia(int criterio, long double parametro, TProgresso *progresso) {
    TProgresso nulo;
    TProgresso &p = progresso ? *progresso : nulo;
    std::size_t validas = 0;
    for (int r = 1; r < grid_.RowCount(); ++r) {
        if (const TAmostragem *a = grid_.Amostragem(r)) {
            if (a->Saneada) grid_.AmostragemCriada(r).Saneada = false;
            if (a->Desconsiderada) continue;
        }
        if (r <= grid_.LinhasUsadas()) ++validas;
    }
    p.Inicia("Aguarde . . .", 0, static_cast<double>(validas) * 5, true);
    p.TextoAuxiliar("Saneando a amostra...");
    CarregaDados();
    double passo = 0;
    bool ok = true;
    for (;;) {
        ok = MontaSistema();
        p.Avanca(++passo);
        ok = ok && Resolve();
        p.Avanca(++passo);
        if (ok) CalculaEstatisticas();
        p.Avanca(++passo);
        if (ok) CalculaResiduos();
        p.Avanca(++passo);
        if (!ok) break;
        const std::size_t nn = n();
        // Never below 3 samples nor below m + 1 (a fit with residual degrees of freedom).
        if (nn <= 2 || nn <= m_ + 1 || p.Cancelado()) break;
        const long double s2 = VarianciaResidual();
        const long double s = s2 >= Infinito ? Infinito : std::sqrt(s2);
        const TCriterioAplicado c = CriterioAplicado(criterio, parametro, inferencial_);
        const long double limite = LimiteOutlier(c.Criterio, c.Parametro, s, media_, nn);
        const auto pior = MaiorOutlier(e_, media_, limite);
        if (!pior) break;
        const std::uint32_t amostra = dados_.Ativas()[*pior];
        grid_.AmostragemCriada(static_cast<int>(amostra) + 1).Saneada = true;
        dados_.RemoveAtiva(amostra);
    }
    p.Termina();
    return ok;
}

} // namespace zelto
