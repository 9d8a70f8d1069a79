// The items of the fitted regression: the equation in both scales, the regressors with their
// confidence intervals, the correlation of the model with its classification, the table of
// sums, the analysis of variance with the F test, the correlation matrix of the model variables
// and its t test, and the two- and one-tailed t tests of the regressors. They exist only in the
// inferential mode.
//
// Each item reads the regression system after its closing computations, computes its test
// statistics, critical values and verdicts in Calcula (numbers only), and formats and writes
// them in Imprime and TextoCelula. Model variable k (1 the dependent, 2..m the regressors) is
// named with its transformation ("Ln([Área])"); n is the number of samples in use, k = m − 1
// the number of regressors, and the residual degrees of freedom n − k − 1. A quantity that
// cannot be computed is the marker Infinito, which the writers draw as the infinity sign.
//
// The verdict rules are kept as small functions (ClassificaCorrelacao, RegressaoAceita,
// RegressorAceito) so that their boundaries are checked by the tests.
#include "items/ItensModelo.h"

#include "common/Numeros.h"
#include "items/Catalogo.h"
#include "items/ComumItens.h"
#include "regression/Distribuicoes.h"

#include <QStringList>

#include <cmath>

namespace zelto {

const char *ClassificaCorrelacao(long double r) {
    const long double a = std::fabs(r);
    if (a < 0.3L) return "Fraca";
    if (a < 0.6L) return "Média";
    if (a < 0.9L) return "Forte";
    if (a <= 0.9999L) return "Fortíssima";
    return "Perfeita";
}

bool RegressaoAceita(long double F, long double Ft) { return F > Ft; }

bool RegressorAceito(long double t, long double tCritico) { return std::fabs(t) > tCritico; }

std::string FraseCorrelacaoParcial(const std::string &a, const std::string &b, long double r) {
    const std::string par = "As variáveis independentes " + a + " e " + b;
    if (std::fabs(r) >= kCorrelacaoForte)
        return par + " são fortemente correlacionadas (r = " + FormatoFixo(r, 4) +
               "). O modelo pode apresentar multicolinearidade.";
    return par + " têm correlação significativa (r = " + FormatoFixo(r, 4) + ").";
}

namespace {

std::string Signif(long double x, int n) { return FormatoSignificativo(x, n); }
std::string Fixo(long double x, int d) { return FormatoFixo(x, d); }

// ---- Equations ------------------------------------------------------------------------------

class TIA_Modelo : public TItemAvaliacao {
  public:
    using TItemAvaliacao::TItemAvaliacao;
    void Imprime(int) override {
        const std::string eq = EquacaoLiteral(Sistema(), Original());
        const QStringList linhas = QString::fromStdString(eq).split(QLatin1Char('\n'));
        for (const QString &l : linhas)
            Linha(l.trimmed().toStdString());
        LinhaVazia();
    }

  protected:
    virtual bool Original() const { return false; }
};

class TIA_ModeloVarDep : public TIA_Modelo {
  public:
    using TIA_Modelo::TIA_Modelo;

  protected:
    bool Original() const override { return true; }
};

// ---- Regressors -----------------------------------------------------------------------------

class TIA_Regressores : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        const TSistema &s = Sistema();
        k_ = Regressores(s);
        confianca_ = Sig().ConfiancaRegressores;
        tCritico_ = QuantilStudent(GrausLiberdade(s), (1 - confianca_) / 2);
    }
    void Imprime(int) override {
        Linha("Intervalo de confiança de " + Fixo(confianca_ * 100, 2) + "%.");
        LinhaVazia();
        if (k_ == 0) {
            Linha("Não há variáveis independentes no modelo selecionado");
            return;
        }
        EscreveTabela(static_cast<int>(k_) + 1, 5);
    }
    std::string TextoCelula(int l, int c) const override {
        static const char *titulos[] = {"Variáveis", "Coeficiente", "D. Padrão", "Mínimo", "Máximo"};
        if (l == 0) return titulos[c];
        const TSistema &s = Sistema();
        const std::size_t k = static_cast<std::size_t>(l) + 1;
        const long double b = s.Coeficiente(k), sd = s.ErroPadrao(k);
        switch (c) {
        case 0: return NomeTransformado(s, k);
        case 1: return "b" + std::to_string(l) + " = " + Num(b);
        case 2: return Num(sd);
        case 3: return Num(b - tCritico_ * sd);
        default: return Num(b + tCritico_ * sd);
        }
    }
    int AlinhamentoCelula(int, int c) const override { return c <= 1 ? apEsquerda : apDireita; }

  private:
    std::size_t k_ = 0;
    long double confianca_ = 0, tCritico_ = 0;
};

// ---- Correlation ----------------------------------------------------------------------------

class TIA_Correlacao : public TItemAvaliacao {
  public:
    using TItemAvaliacao::TItemAvaliacao;
    void Calcula(int parte) override {
        TItemAvaliacao::Calcula(parte);
        // t and the adjusted r² are the fit's own, by the rules the model search lists them by.
        const TSistema &s = Sistema();
        r_ = s.R();
        t_ = s.TCorrelacao();
        alfa_ = Sig().TesteCorrelacao;
        tCritico_ = QuantilStudent(GrausLiberdade(s), alfa_ / 2);
        r2a_ = s.R2Ajustado();
    }
    void Imprime(int) override {
        LinhasRotuladas({
            {"Coeficiente de correlação (r) ", Fixo(r_, 4)},
            {"Valor t calculado ", Signif(t_, 4)},
            {"Valor t tabelado (t crítico) ",
             Signif(tCritico_, 4) + " (para o nível de significância de " + Signif(alfa_ * 100, 3) + " %)"},
            {"Coeficiente de determinação (r²) ", Fixo(r_ * r_, 4)},
            {"Coeficiente r² ajustado ", Fixo(r2a_, 4)},
        });
        LinhaVazia();
        LinhaComentario(std::string("Classificação: Correlação ") + ClassificaCorrelacao(r_));
    }

  private:
    long double r_ = 0, t_ = 0, alfa_ = 0, tCritico_ = 0, r2a_ = 0;
};

// ---- Sums and correlations of the model variables ------------------------------------------

// The sums of the model variables (transformed) over the samples in use, as the normal
// equations of the fit hold them, and their correlations.
struct TSomas {
    const TSistema *s = nullptr;
    std::size_t m = 0;

    void Calcula(const TSistema &sistema) {
        s = &sistema;
        m = sistema.m();
    }
    long double Soma(std::size_t k) const { return s->Soma(k); }
    long double Produto(std::size_t j, std::size_t k) const { return s->ProdutoCruzado(j, k); }
    bool Constante(std::size_t k) const { return s->TermoConstante(k); }
    long double Correlacao(std::size_t j, std::size_t k) const {
        return s->ProdutoCentrado(j, k) / std::sqrt(s->ProdutoCentrado(j, j) * s->ProdutoCentrado(k, k));
    }
};

// A table over the sums of the model variables: m + 1 rows, m + `colunas` columns.
class TItemSomas : public TItemAvaliacaoTab {
  public:
    TItemSomas(const TDescricaoItem &d, int colunas) : TItemAvaliacaoTab(d), colunas_(colunas) {}
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        somas_.Calcula(Sistema());
    }
    void Imprime(int) override {
        const int m = static_cast<int>(somas_.m);
        EscreveTabela(m + 1, m + colunas_);
    }

  protected:
    TSomas somas_;

  private:
    int colunas_;
};

class TIA_Somatorios : public TItemSomas {
  public:
    explicit TIA_Somatorios(const TDescricaoItem &d) : TItemSomas(d, 2) {}
    std::string TextoCelula(int l, int c) const override {
        const TSistema &s = Sistema();
        if (l == 0) return c == 0 ? " " : c == 1 ? "1" : NomeTransformado(s, static_cast<std::size_t>(c - 1));
        const std::size_t i = static_cast<std::size_t>(l);
        if (c == 0) return NomeTransformado(s, i);
        if (c == 1) return Num(somas_.Soma(i));
        return Num(somas_.Produto(i, static_cast<std::size_t>(c - 1)));
    }
    int AlinhamentoCelula(int l, int) const override { return l == 0 ? apCentro : apDireita; }
};

class TIA_CorrelacoesParciais : public TItemSomas {
  public:
    explicit TIA_CorrelacoesParciais(const TDescricaoItem &d) : TItemSomas(d, 1) {}
    std::string TextoCelula(int l, int c) const override {
        const TSistema &s = Sistema();
        if (l == 0 && c == 0) return " ";
        if (l == 0) return NomeTransformado(s, static_cast<std::size_t>(c));
        if (c == 0) return NomeTransformado(s, static_cast<std::size_t>(l));
        const auto i = static_cast<std::size_t>(l), j = static_cast<std::size_t>(c);
        if (somas_.Constante(i) || somas_.Constante(j)) return "indefinido";
        return Fixo(somas_.Correlacao(i, j), 4);
    }
    int AlinhamentoCelula(int, int c) const override { return c == 0 ? apEsquerda : apDireita; }
};

class TIA_TesteCorrelacoesParciais : public TIA_CorrelacoesParciais {
  public:
    using TIA_CorrelacoesParciais::TIA_CorrelacoesParciais;
    void Calcula(int parte) override {
        TIA_CorrelacoesParciais::Calcula(parte);
        const TSistema &s = Sistema();
        alfa_ = Sig().TesteCorrelacao;
        gl_ = GrausLiberdade(s);
        tCritico_ = QuantilStudent(gl_, alfa_ / 2);
    }
    // t of the correlation of model variables i and j.
    long double T(std::size_t i, std::size_t j) const {
        if (somas_.Constante(i) || somas_.Constante(j)) return Infinito;
        const long double r = somas_.Correlacao(i, j);
        if (1 - std::fabs(r) < 1e-10L) return Infinito;
        return r * std::sqrt(static_cast<long double>(gl_)) / std::sqrt(1 - r * r);
    }
    void Imprime(int) override {
        if (somas_.m < 2) {
            Linha("Não existem variáveis independentes no modelo selecionado: não há correlações "
                  "a testar.");
            return;
        }
        Linha("Valores calculados para as estatísticas t:");
        LinhaVazia();
        const int m = static_cast<int>(somas_.m);
        EscreveTabela(m + 1, m + 1);
        if (!Comentarios) return;
        Comentario();
        E().AlignLeft();
        LinhaComentario("Valor t tabelado (t crítico): " + Signif(tCritico_, 4) +
                        " (para o nível de significância de " + Signif(alfa_ * 100, 3) + " %)");
        LinhaVazia();
        const TSistema &s = Sistema();
        for (std::size_t i = 2; i <= somas_.m; ++i)
            for (std::size_t j = i + 1; j <= somas_.m; ++j) {
                const long double t = T(i, j);
                if (t >= Infinito)
                    LinhaComentario("As variáveis " + NomeTransformado(s, i) + " e " + NomeTransformado(s, j) +
                                    " não são independentes. Os resultados deste modelo podem estar "
                                    "inconsistentes.");
                else if (std::fabs(t) > tCritico_)
                    LinhaComentario(FraseCorrelacaoParcial(NomeTransformado(s, i),
                                                           NomeTransformado(s, j),
                                                           somas_.Correlacao(i, j)));
            }
    }
    std::string TextoCelula(int l, int c) const override {
        if (l == 0 || c == 0) return TIA_CorrelacoesParciais::TextoCelula(l, c);
        return Signif(T(static_cast<std::size_t>(l), static_cast<std::size_t>(c)), 4);
    }
    int AlinhamentoCelula(int l, int c) const override {
        if (l == 0 || l == c) return apCentro;
        return c == 0 ? apEsquerda : apDireita;
    }

  private:
    long double alfa_ = 0, tCritico_ = 0;
    std::uint16_t gl_ = 0;
};

// ---- Analysis of variance ---------------------------------------------------------------------

class TIA_ANOVA : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        const TSistema &s = Sistema();
        const long double n = static_cast<long double>(s.n());
        k_ = Regressores(s);
        gl_ = GrausLiberdade(s);
        sqr_ = s.nSQR() / n;
        sqe_ = s.nSQE() / n;
        sqt_ = s.nSQT() / n;
        F_ = s.F();
        alfa_ = Sig().TesteModelo;
        const auto k = static_cast<std::uint16_t>(k_);
        Ft_ = k_ == 0 ? 0 : QuantilF(k, gl_, alfa_);
        significancia_ = k_ == 0 ? 0 : CaudaF(k, gl_, F_) * 100;
    }
    void Imprime(int) override {
        EscreveTabela(4, 5);
        Corpo();
        E().AlignLeft();
        Linha("F Calculado \t: " + Signif(F_, 4));
        Linha("F Tabelado \t: " + Signif(Ft_, 4) + " (para o nível de significância de " +
              Signif(alfa_ * 100, 4) + " %)");
        LinhaVazia();
        Linha("Significância do modelo igual a " + Signif(significancia_, 2) + "%");
        LinhaVazia();
        if (!RegressaoAceita(F_, Ft_)) {
            LinhaComentario("Rejeita-se a hipótese de existência da regressão.");
        } else {
            LinhaComentario("Aceita-se a hipótese de existência da regressão.");
            if (Sig().Normatizada[mnModelo]) LinhaComentario(FraseNorma(Sig()));
        }
    }
    std::string TextoCelula(int l, int c) const override {
        static const char *titulos[] = {"Fonte de erro", "Soma dos quadrados", "Graus de liberdade",
                                        "Quadrados médios", "F calculado"};
        static const char *fontes[] = {"", "Regressão", "Residual", "Total"};
        if (l == 0) return titulos[c];
        if (c == 0) return fontes[l];
        const long double sq[] = {0, sqr_, sqe_, sqt_};
        const std::size_t n = Sistema().n();
        const long long gl[] = {0, static_cast<long long>(k_), static_cast<long long>(gl_),
                                static_cast<long long>(n) - 1};
        switch (c) {
        case 1: return Num(sq[l]);
        case 2: return std::to_string(gl[l]);
        case 3: return gl[l] > 0 ? Num(sq[l] / static_cast<long double>(gl[l])) : Num(Infinito);
        default: return l == 1 ? Signif(F_, 4) : std::string();
        }
    }
    int AlinhamentoCelula(int l, int c) const override {
        if (c == 0) return apEsquerda;
        if (l == 0 || c == 4) return apCentro;
        return apDireita;
    }

  private:
    std::size_t k_ = 0;
    std::uint16_t gl_ = 0;
    long double sqr_ = 0, sqe_ = 0, sqt_ = 0, F_ = 0, alfa_ = 0, Ft_ = 0, significancia_ = 0;
};

// ---- t tests of the regressors -------------------------------------------------------------

class TIA_SigRegrBi : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        const TSistema &s = Sistema();
        k_ = Regressores(s);
        gl_ = GrausLiberdade(s);
        alfa_ = Nivel();
        tCritico_ = QuantilStudent(gl_, Bicaudal() ? alfa_ / 2 : alfa_);
        t_.assign(k_ + 1, 0);
        const bool perfeita = std::fabs(s.R()) > 0.9999L;
        for (std::size_t i = 1; i <= k_; ++i) {
            const long double sd = s.ErroPadrao(i + 1);
            t_[i] = perfeita || sd == 0 || sd >= Infinito ? Infinito : s.Coeficiente(i + 1) / sd;
        }
    }
    void Imprime(int) override {
        Corpo();
        E().AlignCenter();
        E().WriteLine(QString::fromStdString(std::string("(Teste ") + (Bicaudal() ? "bicaudal" : "unicaudal") +
                                             " - significância " + Fixo(alfa_ * 100, 2) + "%)"));
        E().AlignJustify();
        LinhaVazia();
        Linha("Coeficiente t de Student: t(crítico) = " + Fixo(tCritico_, 4));
        LinhaVazia();
        if (k_ == 0) {
            Linha("Não existem variáveis independentes no modelo selecionado.");
            LinhaVazia();
            return;
        }
        EscreveTabela(static_cast<int>(k_) + 1, Bicaudal() ? 5 : 4);
        if (!Bicaudal() || !Comentarios) return;
        Comentario();
        E().AlignLeft();
        std::size_t rejeitados = 0;
        for (std::size_t i = 1; i <= k_; ++i)
            if (!RegressorAceito(t_[i], tCritico_)) ++rejeitados;
        if (rejeitados == 0) {
            LinhaComentario("Os coeficientes são importantes na formação do modelo.");
            LinhaComentario("Aceita-se a hipótese de ß diferente de zero.");
            if (Sig().Normatizada[mnBicaudal]) LinhaComentario(FraseNorma(Sig()));
        } else if (rejeitados == 1) {
            LinhaComentario("Um dos regressores não é importante na formação do modelo.");
        } else {
            LinhaComentario("Alguns regressores não são importantes na formação do modelo.");
        }
    }
    std::string TextoCelula(int l, int c) const override {
        static const char *titulos[] = {"Variável", "Coeficiente", "t Calculado", "Significância", "Aceito"};
        if (l == 0) return titulos[c];
        const auto i = static_cast<std::size_t>(l);
        switch (c) {
        case 0: return NomeTransformado(Sistema(), i + 1);
        case 1: return "b" + std::to_string(l);
        case 2: return Signif(t_[i], 4);
        case 3:
            return Signif((Bicaudal() ? 2 : 1) * CaudaStudent(gl_, std::fabs(t_[i])) * 100, 2) + "%";
        default: return RegressorAceito(t_[i], tCritico_) ? "Sim" : "Não";
        }
    }
    int AlinhamentoCelula(int l, int c) const override {
        if (l == 0) return apCentro;
        if (c == 0) return apEsquerda;
        if (c == 1 || c == 4) return apCentro;
        return apDireita;
    }

  protected:
    virtual bool Bicaudal() const { return true; }
    virtual long double Nivel() const { return Sig().TesteRegressoresBicaudal; }

  private:
    std::size_t k_ = 0;
    std::uint16_t gl_ = 0;
    long double alfa_ = 0, tCritico_ = 0;
    std::vector<long double> t_;
};

class TIA_SigRegrUni : public TIA_SigRegrBi {
  public:
    using TIA_SigRegrBi::TIA_SigRegrBi;

  protected:
    bool Bicaudal() const override { return false; }
    long double Nivel() const override { return Sig().TesteRegressoresUnicaudal; }
};

} // namespace

// The builders the catalogue rows hold.
ZELTO_CONSTRUTOR_ITEM(TIA_Modelo)
ZELTO_CONSTRUTOR_ITEM(TIA_ModeloVarDep)
ZELTO_CONSTRUTOR_ITEM(TIA_Regressores)
ZELTO_CONSTRUTOR_ITEM(TIA_Correlacao)
ZELTO_CONSTRUTOR_ITEM(TIA_Somatorios)
ZELTO_CONSTRUTOR_ITEM(TIA_ANOVA)
ZELTO_CONSTRUTOR_ITEM(TIA_CorrelacoesParciais)
ZELTO_CONSTRUTOR_ITEM(TIA_TesteCorrelacoesParciais)
ZELTO_CONSTRUTOR_ITEM(TIA_SigRegrBi)
ZELTO_CONSTRUTOR_ITEM(TIA_SigRegrUni)

} // namespace zelto
