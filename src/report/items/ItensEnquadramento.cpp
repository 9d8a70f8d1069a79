// The items of the valuation standard: the tests of the assumptions the valuer must verify
// (constant variance of the residuals by Breusch–Pagan and White, collinearity of the
// regressors by their variance inflation factors) and the grading of the model (fundamentação,
// precisão, micronumerosity, campo de arbítrio).
//
// Every number the grading prints is one another item prints too, in the same form, and the
// line that states it names that item: n ("Estatística dos Resíduos"), k ("Análise da
// Variância"), the significances ("Significância dos Regressores (bicaudal)", "Análise da
// Variância"), the estimates at the sample limits ("Avaliação da Extrapolação"), the estimate
// ("Formação dos Valores"), the interval of the mean ("Intervalos de Confiança", when its
// confidence is the 80 % the grading reads) and the assumption verdicts ("Homocedasticidade e
// Multicolinearidade").
//
// Both variance tests are judged at the level of the model's F test (TSignificancias::
// TesteModelo): constant variance is rejected when the significance is below it. A regressor
// whose inflation factor exceeds LimiteFatorInflacao is taken as collinear.
#include "common/Numeros.h"
#include "config/ConfiguracaoRelatorio.h"
#include "items/Catalogo.h"
#include "items/ComumItens.h"
#include "items/DadosObjeto.h"
#include "regression/Distribuicoes.h"
#include "regression/Enquadramento.h"
#include "regression/Pressupostos.h"

#include <cmath>

namespace zelto {

namespace {

std::string Signif(long double x, int n) { return FormatoSignificativo(x, n); }
// A significance (fraction) as the model items print it: two significant digits, in percent.
std::string SignifPercentual(long double p) { return Signif(p * 100, 2) + "%"; }
std::string Fixo(long double x, int d) { return FormatoFixo(x, d); }

std::string Citacao(const char *item) { return std::string(" (item \"") + item + "\")"; }

constexpr const char *kItemResiduos = "Estatística dos Resíduos";
constexpr const char *kItemAnova = "Análise da Variância";
constexpr const char *kItemSignificancia = "Significância dos Regressores (bicaudal)";
constexpr const char *kItemExtrapolacao = "Avaliação da Extrapolação";
constexpr const char *kItemIntervalos = "Intervalos de Confiança";
constexpr const char *kItemFormacao = "Formação dos Valores";
constexpr const char *kItemPressupostos = "Homocedasticidade e Multicolinearidade";

// The assumption tests of a fitted model, as both items read them.
struct TPressupostos {
    std::optional<TTesteVariancia> BreuschPagan, White;
    std::vector<long double> Fatores;
    long double Nivel = 0; // the F test's level

    static TPressupostos De(const TSistema &s, const TSignificancias &sig) {
        TPressupostos p;
        p.BreuschPagan = zelto::BreuschPagan(s);
        p.White = zelto::White(s);
        p.Fatores = FatoresInflacao(s);
        p.Nivel = sig.TesteModelo;
        return p;
    }
    bool Rejeita(const TTesteVariancia &t) const { return t.Significancia < Nivel; }
    std::size_t Colineares() const {
        std::size_t c = 0;
        for (long double f : Fatores)
            if (f > LimiteFatorInflacao) ++c;
        return c;
    }
};

// ---- Homoscedasticity and collinearity --------------------------------------------------------

class TIA_Pressupostos : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        p_ = TPressupostos::De(Sistema(), Sig());
    }
    void Imprime(int) override {
        const TSistema &s = Sistema();
        Linha("Homocedasticidade: regressão dos resíduos quadráticos de " + NomeTransformado(s, 1) +
              " sobre os regressores (Breusch-Pagan, forma studentizada de Koenker) e sobre os "
              "regressores, seus quadrados e produtos cruzados (White); estatística n·R², "
              "distribuição qui-quadrado.");
        Linha("(nível de significância de " + Signif(p_.Nivel * 100, 4) +
              " %, o do teste F do modelo)");
        LinhaVazia();
        tabela_ = 0;
        EscreveTabela(3, 5);
        LinhaVazia();
        Comentario();
        for (const auto &[nome, teste] : {std::pair{"Breusch-Pagan", &p_.BreuschPagan},
                                          std::pair{"White", &p_.White}}) {
            if (!*teste) {
                LinhaComentario(std::string("O teste de ") + nome +
                                " não se aplica a este modelo (resíduos ou graus de liberdade "
                                "insuficientes).");
                continue;
            }
            LinhaComentario(std::string("Pelo teste de ") + nome +
                            (p_.Rejeita(**teste) ? ", rejeita-se" : ", aceita-se") +
                            " a hipótese de homocedasticidade (variância constante dos resíduos).");
        }
        if (p_.White && p_.White->SoQuadrados)
            LinhaComentario("No teste de White entram só os quadrados dos regressores: os produtos "
                            "cruzados não deixariam grau de liberdade.");
        LinhaVazia();
        Corpo();
        Linha("Multicolinearidade: fator de inflação da variância (FIV) de cada regressor, "
              "1/(1 - R²) da regressão do regressor sobre os demais; limite de " +
              Fixo(LimiteFatorInflacao, 0) + ".");
        LinhaVazia();
        tabela_ = 1;
        EscreveTabela(static_cast<int>(p_.Fatores.size()) + 1, 3);
        LinhaVazia();
        const std::size_t c = p_.Colineares();
        if (c == 0)
            LinhaComentario("Nenhum regressor tem fator de inflação acima de " +
                            Fixo(LimiteFatorInflacao, 0) + ".");
        else
            LinhaComentario(std::to_string(c) + (c == 1 ? " regressor tem" : " regressores têm") +
                            " fator de inflação acima de " + Fixo(LimiteFatorInflacao, 0) +
                            ": há multicolinearidade.");
    }
    std::string TextoCelula(int l, int c) const override {
        if (tabela_ == 1) {
            static const char *titulos[] = {"Variável", "FIV", "Multicolinearidade"};
            if (l == 0) return titulos[c];
            const auto j = static_cast<std::size_t>(l) - 1;
            const long double f = p_.Fatores.at(j);
            if (c == 0) return NomeTransformado(Sistema(), j + 2);
            if (c == 1) return f >= Infinito ? "infinito" : Signif(f, 4);
            return f > LimiteFatorInflacao ? "Sim" : "Não";
        }
        static const char *titulos[] = {"Teste", "Estatística", "Graus de liberdade",
                                        "Significância", "Homocedasticidade"};
        if (l == 0) return titulos[c];
        const std::optional<TTesteVariancia> &t = l == 1 ? p_.BreuschPagan : p_.White;
        if (c == 0) return l == 1 ? "Breusch-Pagan (Koenker)" : "White";
        if (!t) return "-";
        switch (c) {
        case 1: return Signif(t->Estatistica, 5);
        case 2: return std::to_string(t->GrausLiberdade);
        case 3: return SignifPercentual(t->Significancia);
        default: return p_.Rejeita(*t) ? "Rejeitada" : "Aceita";
        }
    }
    int AlinhamentoCelula(int l, int c) const override {
        if (l == 0) return apCentro;
        return c == 0 ? apEsquerda : tabela_ == 1 && c == 2 ? apCentro : apDireita;
    }

  private:
    TPressupostos p_;
    int tabela_ = 0;
};

// ---- Grading under the valuation standard -----------------------------------------------------

class TIA_Enquadramento : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        const TSistema &s = Sistema();
        const TConfiguracaoRelatorio &c = Config();
        TDeclaracoesEnquadramento d;
        if (c.Caracterizacao) d.Caracterizacao = static_cast<TGrau>(*c.Caracterizacao);
        if (c.Identificacao) d.Identificacao = static_cast<TGrau>(*c.Identificacao);
        e_ = Enquadra(s, d);
        p_ = TPressupostos::De(s, Sig());
        // The regressor of the largest significance, as the significance item computes it.
        maisFraco_ = 0;
        long double maior = -1;
        const std::uint16_t gl = GrausLiberdade(s);
        for (std::size_t k = 2; k <= s.m(); ++k) {
            const long double sd = s.ErroPadrao(k);
            const long double sig =
                sd == 0 || sd >= Infinito ? 0 : 2 * CaudaStudent(gl, std::fabs(s.Coeficiente(k) / sd));
            if (sig > maior) {
                maior = sig;
                maisFraco_ = k;
            }
        }
    }
    void Imprime(int) override {
        const TSistema &s = Sistema();
        const TFundamentacao &f = e_.Fundamentacao;
        const TTabelaEnquadramento &t = NBR14653_2_2011;
        Linha(std::string("Fundamentação e precisão segundo as tabelas da ") + t.Edicao +
              " para modelos de regressão linear.");
        LinhaVazia();
        EscreveTabela(8, 5);
        LinhaVazia();

        // Where each number comes from.
        Comentario();
        const TCriterioFundamentacao &c2 = f.Criterios[1];
        LinhaComentario("Critério 2: n = " + std::to_string(s.n()) + " dados" +
                        Citacao(kItemResiduos) + " e k = " + std::to_string(Regressores(s)) +
                        " variáveis independentes" + Citacao(kItemAnova) + "; grau III a partir de " +
                        std::to_string(Minimo(t.MultiploDados.III)) + ", II de " +
                        std::to_string(Minimo(t.MultiploDados.II)) + ", I de " +
                        std::to_string(Minimo(t.MultiploDados.I)) + " dados (grau " +
                        TextoGrau(c2.Grau) + ").");
        LinhaComentario("Critério 4: " + TextoExtrapolacao(true));
        if (maisFraco_ != 0)
            LinhaComentario("Critério 5: maior significância dos regressores " +
                            SignifPercentual(f.Criterios[4].Valor) + ", de " +
                            NomeTransformado(s, maisFraco_) + Citacao(kItemSignificancia) + ".");
        LinhaComentario("Critério 6: significância do modelo " + SignifPercentual(f.Criterios[5].Valor) +
                        Citacao(kItemAnova) + ".");
        if (!f.Criterios[0].Declarado || !f.Criterios[2].Declarado)
            LinhaComentario(!f.Criterios[0].Declarado && !f.Criterios[2].Declarado
                                ? "Critérios 1 e 3: não declarados pelo avaliador nas configurações do "
                                  "relatório (Enquadramento); o enquadramento os toma no grau I."
                                : std::string("Critério ") + (f.Criterios[0].Declarado ? "3" : "1") +
                                      ": não declarado pelo avaliador nas configurações do relatório "
                                      "(Enquadramento); o enquadramento o toma no grau I.");
        else
            LinhaComentario("Critérios 1 e 3: declarados pelo avaliador nas configurações do "
                            "relatório (Enquadramento).");
        LinhaVazia();
        Corpo();
        if (f.Grau)
            Linha("Grau de Fundamentação: " + TextoGrau(*f.Grau));
        else
            Linha("O grau de fundamentação exige o objeto sob avaliação (critério 4): não se "
                  "enuncia.");
        LinhaComentario("(" + std::to_string(f.Pontos) + (f.Grau ? " pontos" : " pontos sem o critério 4") +
                        "; grau III exige " +
                        std::to_string(t.Geral[0].PontosMinimos) +
                        " pontos com os critérios 2, 4, 5 e 6 no grau III e os demais no II; grau II, " +
                        std::to_string(t.Geral[1].PontosMinimos) +
                        " com 2, 4, 5 e 6 no II e os demais no I; grau I, " +
                        std::to_string(t.Geral[2].PontosMinimos) + " com todos no I.)");
        LinhaVazia();

        // Precision.
        const int coluna = static_cast<int>(s.ColunaTermo(1));
        if (e_.Precisao) {
            const TPrecisao &p = *e_.Precisao;
            const bool mesmoIntervalo = std::fabs(Sig().ConfiancaEstimativa - t.ConfiancaPrecisao) < 1e-9L;
            Linha("Grau de Precisão: " + TextoGrau(p.Grau));
            LinhaComentario(
                "Intervalo de confiança de " + Fixo(t.ConfiancaPrecisao * 100, 0) +
                " % da estimativa média E(" + NomeVar(s, 1) + "): de " +
                TextoValorColuna(Grid(), coluna, p.Intervalo.Inferior) + " a " +
                TextoValorColuna(Grid(), coluna, p.Intervalo.Superior) + ", amplitude " +
                TextoValorColuna(Grid(), coluna, p.Intervalo.Superior - p.Intervalo.Inferior) +
                (mesmoIntervalo ? Citacao(kItemIntervalos) : std::string()) + "; " +
                Fixo(p.Amplitude * 100, 2) + " % da estimativa " +
                TextoValorColuna(Grid(), coluna, p.Estimativa) + Citacao(kItemFormacao) +
                "; grau III até " + Fixo(t.AmplitudePrecisao.III * 100, 0) + " %, II até " +
                Fixo(t.AmplitudePrecisao.II * 100, 0) + " %, I até " +
                Fixo(t.AmplitudePrecisao.I * 100, 0) + " %.");
            if (p.Grau == TGrau::Nenhum)
                LinhaComentario("A amplitude excede o limite do grau I: o laudo deve justificar a "
                                "estimativa.");
        } else {
            Linha("O grau de precisão exige o objeto sob avaliação: não se enuncia.");
        }
        LinhaVazia();

        // Micronumerosity.
        const TMicronumerosidade &m = e_.Micronumerosidade;
        std::string micro = "Micronumerosidade: ";
        micro += m.Atende() ? "atendida" : "não atendida";
        micro += " (n = " + std::to_string(m.n) + (m.DadosSuficientes() ? " ≥ " : " < ") +
                 std::to_string(m.MinimoDados) + " = " + std::to_string(t.MultiploMicronumerosidade) +
                 "(k+1); " +
                 (m.Categorias == 0
                      ? std::string("o modelo não tem variáveis dicotômicas nem qualitativas")
                      : "cada categoria das variáveis dicotômicas e qualitativas com pelo menos " +
                            std::to_string(m.MinimoCategoria) + " amostras") +
                 ")";
        Linha(micro + (m.Falhas.empty() ? "." : ":"));
        for (const TContagemCategoria &falha : m.Falhas)
            Linha("• " + falha.Variavel + " = " + falha.Categoria + ": " +
                  std::to_string(falha.Amostras) + (falha.Amostras == 1 ? " amostra" : " amostras"));
        LinhaVazia();

        // Campo de arbítrio.
        if (e_.CampoArbitrio)
            Linha("Campo de arbítrio: de " + TextoValorColuna(Grid(), coluna, e_.CampoArbitrio->Inferior) +
                  " a " + TextoValorColuna(Grid(), coluna, e_.CampoArbitrio->Superior) + ", ±" +
                  Fixo(t.CampoArbitrio * 100, 0) + " % em torno da estimativa de " +
                  TextoValorColuna(Grid(), coluna, e_.Precisao ? e_.Precisao->Estimativa
                                                               : (e_.CampoArbitrio->Inferior + e_.CampoArbitrio->Superior) / 2) +
                  Citacao(kItemFormacao) + ".");
        else
            Linha("Campo de arbítrio: exige o objeto sob avaliação.");
        LinhaVazia();

        // The assumptions.
        std::string pressupostos = "Pressupostos" + Citacao(kItemPressupostos) + ": ";
        auto Veredito = [&](const char *nome, const std::optional<TTesteVariancia> &v) {
            if (!v) return std::string(nome) + " não se aplica";
            return std::string(nome) + (p_.Rejeita(*v) ? " rejeita" : " aceita") +
                   " a homocedasticidade (significância " + SignifPercentual(v->Significancia) + ")";
        };
        pressupostos += Veredito("Breusch-Pagan", p_.BreuschPagan) + "; " + Veredito("White", p_.White) + "; ";
        const std::size_t col = p_.Colineares();
        pressupostos += col == 0 ? "nenhum regressor com FIV acima de " + Fixo(LimiteFatorInflacao, 0)
                                 : std::to_string(col) + " regressor(es) com FIV acima de " +
                                       Fixo(LimiteFatorInflacao, 0);
        LinhaComentario(pressupostos + ".");
    }
    std::string TextoCelula(int l, int c) const override {
        static const char *titulos[] = {"Item", "Critério", "Valor encontrado", "Grau", "Pontos"};
        static const char *criterios[] = {
            "Caracterização do imóvel avaliando",
            "Quantidade mínima de dados de mercado efetivamente utilizados",
            "Identificação dos dados de mercado",
            "Extrapolação",
            "Nível de significância máximo dos regressores (bicaudal)",
            "Nível de significância máximo do modelo (teste F)"};
        if (l == 0) return titulos[c];
        const TFundamentacao &f = e_.Fundamentacao;
        if (l == 7) {
            if (c == 1) return "Total";
            if (c == 3) return f.Grau ? TextoGrau(*f.Grau) : "-";
            if (c == 4) return std::to_string(f.Pontos);
            return {};
        }
        const TCriterioFundamentacao &cr = f.Criterios[static_cast<std::size_t>(l) - 1];
        switch (c) {
        case 0: return std::to_string(l);
        case 1: return criterios[l - 1];
        case 2: return ValorCriterio(cr);
        case 3: return cr.Avaliado ? TextoGrau(cr.Grau) : "-";
        default: return cr.Avaliado ? std::to_string(cr.Pontos) : "-";
        }
    }
    int AlinhamentoCelula(int l, int c) const override {
        if (l == 0) return apCentro;
        return c == 0 || c >= 3 ? apCentro : c == 2 ? apDireita : apEsquerda;
    }

  private:
    std::size_t Minimo(long double multiplo) const {
        return static_cast<std::size_t>(std::ceil(multiplo * static_cast<long double>(Regressores(Sistema()) + 1)));
    }
    std::string ValorCriterio(const TCriterioFundamentacao &cr) const {
        switch (cr.Numero) {
        case 1:
        case 3: return cr.Declarado ? "declarado" : "não declarado";
        case 2: return "n = " + std::to_string(Sistema().n());
        case 4: return TextoExtrapolacao(false);
        default: return SignifPercentual(cr.Valor);
        }
    }
    // Criterion 4's finding: short for the table, with its source for the note.
    std::string TextoExtrapolacao(bool nota) const {
        const TCriterioFundamentacao &c4 = e_.Fundamentacao.Criterios[3];
        if (!c4.Avaliado) return nota ? "exige o objeto sob avaliação; o grau de fundamentação não se enuncia." : "exige o objeto";
        const TAvaliacaoExtrapolacao &a = e_.Fundamentacao.Extrapolacao;
        if (a.Extrapolando == 0)
            return nota ? std::string("nenhuma característica do objeto sob avaliação fora dos limites "
                                      "amostrais") + Citacao(kItemExtrapolacao) + "."
                        : "sem extrapolação";
        const std::string variacao = a.MaiorVariacao >= Infinito ? "incalculável" : Fixo(a.MaiorVariacao * 100, 2) + " %";
        if (!nota)
            return std::to_string(a.Extrapolando) + (a.Extrapolando == 1 ? " variável, " : " variáveis, ") + variacao;
        std::string t = std::to_string(a.Extrapolando) +
                        (a.Extrapolando == 1 ? " característica fora" : " características fora") +
                        " dos limites amostrais; maior variação da estimativa em relação à estimativa "
                        "no limite amostral ultrapassado " + variacao;
        if (a.Extrapolando > 1)
            t += ", todas juntas " + (a.VariacaoConjunta >= Infinito ? std::string("incalculável")
                                                                    : Fixo(std::fabs(a.VariacaoConjunta) * 100, 2) + " %");
        if (!a.DentroDasMedidas) t += "; alguma além do dobro do máximo ou da metade do mínimo amostral";
        return t + Citacao(kItemExtrapolacao) + ".";
    }

    TEnquadramento e_;
    TPressupostos p_;
    std::size_t maisFraco_ = 0;
};

} // namespace

// The builders the catalogue rows hold.
ZELTO_CONSTRUTOR_ITEM(TIA_Pressupostos)
ZELTO_CONSTRUTOR_ITEM(TIA_Enquadramento)

} // namespace zelto
