// The items that open the report: the user's heading information, the sample as a table (with
// the check of the homogenisation factors in the descriptive mode), the description of the
// variables, the basic statistics of the model variables (transformed and untransformed), and
// the models the search ranked.
//
// Two report options widen the sample and variable items: show the variables not used and show
// the samples not used. A variable not used is one outside the model (inferential mode) or not
// marked as used (descriptive mode); a sample not used is one the user excluded («label») or
// the automatic sanitation eliminated (»label«).
//
// Numbers follow the report's number format, except where a value of an untransformed
// variable is written with the variable's own decimals.
#include "common/Numeros.h"
#include "config/ConfiguracaoRelatorio.h"
#include "items/Catalogo.h"
#include "evaluation/DadosPlanilha.h"
#include "items/ComumItens.h"
#include "writer/TextoLiteral.h"
#include "regression/ResiduosRelatorio.h"
#include "worksheet/Homogeneizacao.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace zelto {

namespace {

std::string Fixo(long double x, int d) { return FormatoFixo(x, d); }

// Term k of the model is its variable untransformed (code 1).
bool SemTransformacao(const TSistema &s, std::size_t k) { return s.CodigoTermo(k) == 1; }

// ---- User information -------------------------------------------------------------------------

class TIA_DadosArquivo : public TItemAvaliacao {
  public:
    using TItemAvaliacao::TItemAvaliacao;
    void Imprime(int) override {
        if (Comentarios) {
            Comentario();
            E().AlignLeft();
            E().WriteText(QStringLiteral("Zelto 32 - Modo de Estatística "));
            E().WriteLine(Ctx().Inferencial ? QStringLiteral("Inferencial.") : QStringLiteral("Descritiva."));
            LinhaVazia();
        }
        Corpo();
        if (Config().IncluirData && Ctx().Data.isValid())
            Linha("Data: " + Ctx().Data.toString(QStringLiteral("dd/MM/yyyy")).toStdString());
        if (Config().IncluirNomeArquivo && Ctx().Grid && !ArquivoPlanilha(Grid()).empty())
            Linha("Nome do Arquivo: " + Literal(ArquivoPlanilha(Grid())));
        LinhaVazia();
        for (const std::string &l : Config().ResumoTecnico)
            Linha(Literal(l));
    }
};

// ---- The sample -----------------------------------------------------------------------------

class TIA_Amostragem : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        const TSistema &s = Sistema();
        const TGridzelto &g = Grid();
        const bool inferencial = Ctx().Inferencial;
        std::set<int> modelo;
        for (std::size_t k = 1; k <= s.m(); ++k)
            modelo.insert(static_cast<int>(s.ColunaTermo(k)));
        colunas_.clear();
        usada_.clear();
        if (inferencial && !Config().VariaveisNaoUsadas) {
            for (std::size_t k = 1; k <= s.m(); ++k) {
                colunas_.push_back(VariavelPlanilha(g, static_cast<int>(s.ColunaTermo(k))));
                usada_.push_back(true);
            }
        } else {
            for (TInfoVariavel &v : VariaveisPlanilha(g)) {
                const bool usada = inferencial ? modelo.count(v.Coluna) > 0 : v.Usada;
                if (!usada && !Config().VariaveisNaoUsadas) continue;
                usada_.push_back(usada);
                colunas_.push_back(std::move(v));
            }
        }
        amostras_.clear();
        for (TInfoAmostra &a : AmostrasPlanilha(g))
            if (a.Ativa() || Config().AmostragensNaoUsadas) amostras_.push_back(std::move(a));
    }
    void Imprime(int) override {
        EscreveTabela(static_cast<int>(amostras_.size()) + 1, static_cast<int>(colunas_.size()) + 1);
        Comentario();
        E().AlignLeft();
        if (!Ctx().Inferencial && !Sig().ExtrapolacaoQualquerFator) VerificaFatores();
        NotasMarcas();
    }
    std::string TextoCelula(int l, int c) const override {
        if (l == 0 && c == 0) return "Nº Am.";
        if (l == 0) {
            const auto j = static_cast<std::size_t>(c - 1);
            return usada_[j] ? Literal(colunas_[j].Nome) : "«" + Literal(colunas_[j].Nome) + "»";
        }
        const TInfoAmostra &a = amostras_[static_cast<std::size_t>(l - 1)];
        if (c == 0) {
            if (a.Desconsiderada) return "«" + Literal(a.Rotulo) + "»";
            if (a.Saneada) return "»" + Literal(a.Rotulo) + "«";
            return Literal(a.Rotulo);
        }
        return TextoAmostra(Grid(), colunas_[static_cast<std::size_t>(c - 1)].Coluna, a.Linha);
    }
    int AlinhamentoCelula(int l, int c) const override {
        if (l == 0 || c == 0) return apCentro;
        return colunas_[static_cast<std::size_t>(c - 1)].Alinhamento;
    }

  private:
    // The homogenisation factors against the admissible intervals (descriptive mode).
    void VerificaFatores() const {
        const TSignificancias &sig = Sig();
        const TGridzelto &g = Grid();
        // The factors are the used coefficient columns other than the value evaluated and the
        // unit value it homogenises. With none there is nothing to check, and no sentence says
        // that factors that do not exist are within their limits.
        std::vector<TInfoVariavel> fatores;
        for (int c : FatoresPlanilha(g).Fatores)
            fatores.push_back(VariavelPlanilha(g, c));
        if (fatores.empty()) {
            LinhaComentario("Nenhuma variável está marcada como coeficiente de homogeneização: "
                            "não há fatores a verificar.");
            return;
        }
        std::vector<TInfoAmostra> emUso;
        for (TInfoAmostra &a : AmostrasPlanilha(g))
            if (a.Ativa()) emUso.push_back(std::move(a));
        // A bound is passed only beyond the rounding of the value compared with it.
        auto abaixo = [](long double x, long double limite) {
            return x < limite - 1e-12L * std::max<long double>(1, std::fabs(limite));
        };
        auto acima = [](long double x, long double limite) {
            return x > limite + 1e-12L * std::max<long double>(1, std::fabs(limite));
        };
        const std::string descricao = sig.Descricao;

        const long double li = sig.IntervaloFatorInferior, ls = sig.IntervaloFatorSuperior;
        const std::string inf = Fixo(li, 2), sup = Fixo(ls, 2);
        std::vector<std::string> fora;
        for (const TInfoVariavel &f : fatores)
            for (const TInfoAmostra &a : emUso) {
                const long double x = ValorPlanilha(g, f.Coluna, a.Linha);
                if (abaixo(x, li) || acima(x, ls)) {
                    fora.push_back(Literal(f.Nome));
                    break;
                }
            }
        const bool marcado = sig.IntervaloFatorNormatizado;
        LinhaComentario((marcado ? "Para atender aos critérios da " + descricao + ", o" : std::string("O")) +
                        (fatores.size() == 1 ? " fator individual deve" : "s fatores individuais devem") +
                        " ficar entre " + inf + " e " + sup + ".");
        if (fora.empty())
            LinhaComentario("Todos os fatores estão dentro deste limite" +
                            (marcado ? ", atendendo aos requisitos da " + descricao + "." : std::string(".")));
        else if (fora.size() == 1)
            LinhaComentario("O fator " + fora[0] + " está fora do limite de " + inf + " a " + sup + ".");
        else {
            LinhaComentario("Os seguintes fatores estão fora dos limites de " + inf + " a " + sup + ": ");
            for (const std::string &nome : fora)
                LinhaComentario("• " + nome);
        }

        const long double ci = sig.IntervaloConjuntoInferior, cs = sig.IntervaloConjuntoSuperior;
        const bool marcadoConjunto = sig.IntervaloConjuntoNormatizado;
        LinhaComentario((marcadoConjunto ? "Para atender aos critérios da " + descricao + ", o" : std::string("O")) +
                        " conjunto de fatores utilizados na avaliação deve ficar entre " + Fixo(ci, 2) +
                        " e " + Fixo(cs, 2) + ".");
        std::vector<std::string> extrapolaram;
        for (const TInfoAmostra &a : emUso) {
            long double produto = 1;
            for (const TInfoVariavel &f : fatores)
                produto *= ValorPlanilha(g, f.Coluna, a.Linha);
            if (abaixo(produto, ci))
                extrapolaram.push_back("· Amostragem [" + a.Rotulo + "]: Conjunto de fatores é " + Fixo(produto, 3) +
                                       " - inferior ao limite mínimo.");
            else if (acima(produto, cs))
                extrapolaram.push_back("· Amostragem [" + a.Rotulo + "]: Conjunto de fatores é " + Fixo(produto, 3) +
                                       " - superior ao limite máximo.");
        }
        if (extrapolaram.empty()) {
            LinhaComentario("Todas as amostragens estão dentro deste limite" +
                            (marcadoConjunto ? ", atendendo aos requisitos da " + descricao + "."
                                             : std::string(".")));
        } else {
            LinhaComentario(extrapolaram.size() == 1 ? "A seguinte amostragem extrapolou este limite:"
                                                     : "As seguintes amostragens extrapolaram este limite:");
            for (const std::string &l : extrapolaram)
                LinhaComentario(l);
        }
    }

    void NotasMarcas() const {
        const bool mostraAmostras = Config().AmostragensNaoUsadas;
        const bool mostraVariaveis = Config().VariaveisNaoUsadas;
        bool excluidas = false, saneadas = false, naoUsadas = false;
        for (const TInfoAmostra &a : amostras_) {
            excluidas = excluidas || a.Desconsiderada;
            saneadas = saneadas || a.Saneada;
        }
        for (bool u : usada_)
            naoUsadas = naoUsadas || !u;
        const bool notaAmostras = mostraAmostras && excluidas;
        const bool notaVariaveis = mostraVariaveis && naoUsadas;
        if (notaAmostras && notaVariaveis)
            LinhaComentario("Amostragens e variáveis marcadas com \"«\" e \"»\" não serão usadas nos cálculos.");
        else if (notaAmostras)
            LinhaComentario("Amostragens marcadas com \"«\" e \"»\" não serão usadas nos cálculos.");
        else if (notaVariaveis)
            LinhaComentario("Variáveis marcadas com \"«\" e \"»\" não serão usadas nos cálculos.");
        if (mostraAmostras && saneadas)
            LinhaComentario("Amostragens marcadas com \"»\" e \"«\" foram eliminadas pelo saneamento automático.");
    }

    std::vector<TInfoVariavel> colunas_;
    std::vector<bool> usada_;
    std::vector<TInfoAmostra> amostras_;
};

// ---- Description of the variables ----------------------------------------------------------

class TIA_Variaveis : public TItemAvaliacao {
  public:
    using TItemAvaliacao::TItemAvaliacao;
    void Imprime(int) override {
        const TSistema &s = Sistema();
        const TGridzelto &g = Grid();
        const bool inferencial = Ctx().Inferencial;
        const int dependente = static_cast<int>(s.ColunaTermo(1));
        std::vector<TInfoVariavel> independentes, naoUsadas;
        std::set<int> modelo;
        if (inferencial) {
            for (std::size_t k = 1; k <= s.m(); ++k) {
                modelo.insert(static_cast<int>(s.ColunaTermo(k)));
                if (k > 1) independentes.push_back(VariavelPlanilha(g, static_cast<int>(s.ColunaTermo(k))));
            }
        }
        for (TInfoVariavel &v : VariaveisPlanilha(g)) {
            if (v.Coluna == dependente || v.Tipo == tvrComentario) continue;
            const bool usada = inferencial ? modelo.count(v.Coluna) > 0 : v.Usada;
            if (!inferencial && usada) independentes.push_back(v);
            if (!usada) naoUsadas.push_back(std::move(v));
        }
        Linha(inferencial ? "Variável Dependente:" : "Valor a avaliar:");
        Variavel(VariavelPlanilha(g, dependente), "");
        LinhaVazia();
        if (!inferencial)
            Linha("Valores e coeficientes de homogeneização:");
        else
            Linha(independentes.size() >= 2 ? "Variáveis Independentes:" : "Variável Independente:");
        for (const TInfoVariavel &v : independentes)
            Variavel(v, "");
        if (Config().VariaveisNaoUsadas)
            for (const TInfoVariavel &v : naoUsadas)
                Variavel(v, " (variável não utilizada no modelo)");
        LinhaVazia();
    }

  private:
    void Variavel(const TInfoVariavel &v, const std::string &nota) const {
        // The note follows the name, so that the description ends the line with its own period
        // (added unless the description brings one).
        std::string descricao = Literal(v.Descricao);
        if (!descricao.empty() && descricao.back() != '.' && descricao.back() != '!' && descricao.back() != '?')
            descricao += '.';
        Linha("• " + Literal(v.Nome) + nota + (descricao.empty() ? std::string() : ": " + descricao));
        switch (v.Tipo) {
        case tvrQualitativa: {
            std::string classes;
            for (const auto &[texto, codigo] : v.Classes)
                classes += (classes.empty() ? "" : "; ") + Literal(texto) + " = " + codigo;
            Linha("   Classificação: " + classes + ".");
            break;
        }
        case tvrDicotomica: Linha("   Opções: " + Literal(v.RotuloVerdadeiro) + "; " + Literal(v.RotuloFalso)); break;
        case tvrCalculada: Linha("   Equação: " + Literal(v.Equacao)); break;
        case tvrData:
            Linha(std::string(v.EmMeses ? "   Número de meses contados a partir de "
                                        : "   Número de dias contados a partir de ") +
                  v.DataReferencia);
            break;
        default: break;
        }
    }
};

// ---- Basic statistics ---------------------------------------------------------------------------

class TIA_EstatBasicas : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Imprime(int) override {
        const TSistema &s = Sistema();
        const bool inferencial = Ctx().Inferencial;
        const std::size_t n = s.n(), k = Regressores(s);
        std::vector<TLinhaRotulada> linhas{{"Nº de elementos da amostra ", std::to_string(n)}};
        if (inferencial) linhas.push_back({"Nº de variáveis independentes ", std::to_string(k)});
        linhas.push_back({"Nº de graus de liberdade ",
                          std::to_string(inferencial ? GrausLiberdade(s) : (n > 0 ? n - 1 : 0))});
        if (inferencial) {
            const long double v = s.VarianciaResidual();
            linhas.push_back({"Desvio padrão da regressão ", Num(v >= Infinito ? Infinito : std::sqrt(v))});
        }
        LinhasRotuladas(linhas);
        LinhaVazia();
        EscreveTabela(static_cast<int>(s.m()) + 1, 4);
        const TSignificancias &sig = Sig();
        if (sig.MultiplicadorAmostras == 0 && sig.AdendoAmostras == 0) return;
        const long long N = static_cast<long long>(sig.MultiplicadorAmostras) * static_cast<long long>(k) +
                            sig.AdendoAmostras;
        Comentario();
        E().AlignLeft();
        if (k == 0)
            LinhaComentario("Número mínimo de amostragens: " + std::to_string(N) + ".");
        else
            LinhaComentario("Número mínimo de amostragens para " + std::to_string(k) +
                            (k == 1 ? " variável independente: " : " variáveis independentes: ") +
                            std::to_string(N) + ".");
        if (sig.Normatizada[mnAmostragens] && static_cast<long long>(n) < N)
            LinhaComentario("Número de amostragens não se enquadra em " + sig.Descricao + ".");
    }
    std::string TextoCelula(int l, int c) const override {
        static const char *titulos[] = {"Variável", "Média", "Desvio Padrão", "Coef. Variação"};
        if (l == 0) return titulos[c];
        const TSistema &s = Sistema();
        const auto k = static_cast<std::size_t>(l);
        const long double media = s.Media(k), dp = s.DesvioPadrao(k);
        switch (c) {
        case 0: return NomeTransformado(s, k);
        // A mean or deviation is no value of the column: it keeps the report's precision even
        // when the column holds whole numbers (a mean of 0,692 is not "1").
        case 1: return Num(media);
        case 2: return Num(dp);
        default: return media == 0 ? "indefinido " : Fixo(std::fabs(dp * 100 / media), 2) + "%";
        }
    }
    int AlinhamentoCelula(int l, int c) const override {
        if (l == 0) return apCentro;
        return c == 0 ? apEsquerda : apDireita;
    }
};

class TIA_EstatNaoTransformadas : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        const TSistema &s = Sistema();
        linhas_.assign(s.m() + 1, {});
        for (std::size_t k = 1; k <= s.m(); ++k) {
            TEstatistica &e = linhas_[k];
            const TResumoBruto r = ResumoBruto(s, k);
            e.media = r.Media, e.desvio = r.Desvio, e.minimo = r.Minimo, e.maximo = r.Maximo;
        }
    }
    void Imprime(int) override { EscreveTabela(static_cast<int>(Sistema().m()) + 1, 7); }
    std::string TextoCelula(int l, int c) const override {
        static const char *titulos[] = {"Nome da\rVariável", "Valor\rmédio",     "Desvio\rPadrão",
                                        "Valor\rMínimo",     "Valor\rMáximo",    "Amplitude\rtotal",
                                        "Coeficiente\rde variação"};
        if (l == 0) return titulos[c];
        const TSistema &s = Sistema();
        const auto k = static_cast<std::size_t>(l);
        const TEstatistica &e = linhas_[k];
        auto valor = [&](long double x) {
            std::string t = SemTransformacao(s, k)
                                ? TextoValorVariavel(Grid(), static_cast<int>(s.ColunaTermo(k)), x)
                                : std::string();
            return t.empty() ? Num(x) : t;
        };
        switch (c) {
        case 0: return NomeVar(s, k);
        case 1: return Num(e.media);
        case 2: return Num(e.desvio);
        case 3: return valor(e.minimo);
        case 4: return valor(e.maximo);
        case 5: return valor(e.maximo - e.minimo);
        default: return e.media == 0 ? "indefinido" : Num(std::fabs(e.desvio * 100 / e.media));
        }
    }
    int AlinhamentoCelula(int l, int c) const override {
        if (l == 0) return apCentro;
        return c == 0 ? apEsquerda : apDireita;
    }

  private:
    struct TEstatistica {
        long double media = 0, desvio = 0, minimo = 0, maximo = 0;
    };
    std::vector<TEstatistica> linhas_;
};

// ---- Ranked models ----------------------------------------------------------------------------

class TIA_ModelosPesquisados : public TItemAvaliacaoTab {
  public:
    explicit TIA_ModelosPesquisados(const TDescricaoItem &d) : TItemAvaliacaoTab(d) { Layout = 0; }
    int NumeroPartes() const override {
        if (!ctx_ || !ctx_->Pesquisa || !ctx_->Grid) return 0;
        return ModelosPesquisados(*ctx_->Pesquisa, *ctx_->Grid).Tabela.size() > 1 ? 1 : 0;
    }
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        if (!Ctx().Pesquisa) throw TErroCalculo("sem pesquisa");
        modelos_ = ModelosPesquisados(*Ctx().Pesquisa, Grid());
    }
    void Imprime(int) override {
        if (ObjetoIncompleto(Grid())) {
            Linha("Algumas variáveis do objeto sob avaliação não estão com seus valores informados.");
            Linha("Variáveis não preenchidas são consideradas com valor 0 (zero). Isso pode impedir alguns "
                  "cálculos em modelos que usem transformação inversa ou logarítmica para a variável não "
                  "preenchida.");
            Linha("Informações que não puderem ser calculadas são mostradas como \"???\".");
            LinhaVazia();
        }
        const auto &t = modelos_.Tabela;
        EscreveTabela(static_cast<int>(t.size()), static_cast<int>(t[0].size()));
        LinhaVazia();
        Linha("MODELOS");
        for (std::size_t l = 1; l < t.size(); ++l)
            Linha("(" + t[l][0] + ")  \t: " + modelos_.Equacoes[l]);
        LinhaVazia();
        if (!Comentarios) return;
        const TSignificancias &sig = Sig();
        bool interrogacao = false;
        for (const auto &linha : t)
            for (const std::string &celula : linha)
                interrogacao = interrogacao || celula.find("???") != std::string::npos;
        LinhaComentario("Observações:");
        if (interrogacao)
            LinhaComentario("Campos com \"???\" indicam que aquele modelo não pode ser calculado com os valores "
                            "informados para o objeto sob avaliação.");
        auto nivel = [](long double x) { return FormatoSignificativo(x * 100, 3); };
        LinhaComentario("(a) Regressores testados a um nível de significância de " +
                        nivel(sig.TesteRegressoresBicaudal) + "%.");
        const std::vector<std::string> criterio = TextoCriterioOutlier(sig, Sistema().n(), true);
        for (std::size_t i = 0; i < criterio.size(); ++i)
            LinhaComentario((i == 0 ? "(b) " : "") + criterio[i]);
        LinhaComentario("(c) Teste de normalidade de Kolmogorov-Smirnov, a um nível de significância de " +
                        nivel(sig.KolmogorovSmirnov) + "%.");
        LinhaComentario("(d) Teste de autocorrelação de Durbin-Watson, a um nível de significância de " +
                        nivel(sig.DurbinWatson) + "%.");
        if (t.size() > 1 && t[1].size() > 8 && t[1][8] != "------")
            LinhaComentario("(e) Intervalos de confiança de " + nivel(sig.ConfiancaEstimativa) +
                            "% para os valores estimados.");
    }
    std::string TextoCelula(int l, int c) const override {
        return modelos_.Tabela[static_cast<std::size_t>(l)][static_cast<std::size_t>(c)];
    }
    int AlinhamentoCelula(int l, int c) const override {
        if (l == 0 || c == 0) return apCentro;
        return apDireita;
    }

  private:
    TModelosPesquisados modelos_;
};

} // namespace

// The builders the catalogue rows hold.
ZELTO_CONSTRUTOR_ITEM(TIA_DadosArquivo)
ZELTO_CONSTRUTOR_ITEM(TIA_Amostragem)
ZELTO_CONSTRUTOR_ITEM(TIA_ModelosPesquisados)
ZELTO_CONSTRUTOR_ITEM(TIA_Variaveis)
ZELTO_CONSTRUTOR_ITEM(TIA_EstatBasicas)
ZELTO_CONSTRUTOR_ITEM(TIA_EstatNaoTransformadas)

} // namespace zelto
