// The items of the values of the model: the table of observed against estimated values, the
// property's characteristics against the sample ranges, the rate of change of the estimate with
// each independent variable, the confidence intervals with their precision, and the formation
// of the estimated value of the property under evaluation. All but the last exist only in the
// inferential mode.
//
// Estimates and intervals come from the regression system in the original scale of the
// dependent variable; values of a worksheet variable are written in that variable's own form.
// The property is spoken of as "o objeto", or with its designation and article ("a casa").
//
// Which interval is which: the estimate at the property's point estimates the expected value
// of the dependent variable there, so "E(…)" and the interval that the formation of values
// states for the estimate are the confidence interval of that mean (the one the best-models
// table shows, whose amplitude is the precision the valuation standard grades); the row
// "Valor estimado" is the prediction interval, where the value of one property at that point
// is expected to fall.
//
// A property with values missing never gets invented numbers: the estimate at its point would
// take the missing values as 0, so the items that need it say what is missing and leave the
// estimate out (the confidence intervals stop with their two sentences; the rate of change is
// taken at the sample's mean point instead).
#include "common/Numeros.h"
#include "evaluation/Avaliacao.h"
#include "items/Catalogo.h"
#include "evaluation/DadosPlanilha.h"
#include "items/ComumItens.h"
#include "writer/TextoLiteral.h"
#include "items/DadosObjeto.h"
#include "regression/FormacaoValores.h"
#include "regression/Transformacoes.h"
#include "worksheet/Homogeneizacao.h"

#include <QStringList>

#include <cmath>
#include <set>

namespace zelto {

namespace {

std::string Fixo(long double x, int d) {
    return FormatoFixo(x, d);
}
std::string Percentual(long double fracao) {
    return RemoveZerosFinais(Fixo(fracao * 100, 2));
}
// "a, b, c".
std::string ListaNomes(const std::vector<std::string> &nomes) {
    std::string l;
    for (std::size_t j = 0; j < nomes.size(); ++j)
        l += (j ? ", " : "") + nomes[j];
    return l;
}

// ---- Observed and estimated -------------------------------------------------------------------

class TIA_TabValorEst : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        const TSistema &s = Sistema();
        estimados_.assign(s.n(), std::nullopt);
        falhou_ = false;
        for (std::size_t i = 1; i <= s.n(); ++i) {
            estimados_[i - 1] = s.EstimativaAmostra(i);
            falhou_ = falhou_ || !estimados_[i - 1];
        }
    }
    void Imprime(int) override {
        const TSistema &s = Sistema();
        Linha("Valores para a variável " + NomeVar(s, 1) + ".");
        EscreveTabela(static_cast<int>(s.n()) + 1, 5);
        if (falhou_) TAvaliacao::BlocoErro(E(), TituloModo(Ctx().Inferencial), Ctx().Inferencial);
        if (!Comentarios) return;
        Comentario();
        E().AlignJustify();
        LinhaComentario(
            "A variação (%) é calculada como a diferença entre os valores observado e estimado, "
            "dividida pelo valor observado.");
        LinhaComentario(
            "As variações percentuais são normalmente menores em valores estimados e observados "
            "maiores, não devendo ser usadas como elemento de comparação entre as amostragens.");
    }
    std::string TextoCelula(int l, int c) const override {
        static const char *titulos[] = {"Nº Am.", "Valor observado", "Valor estimado", "Diferença",
                                        "Variação %"};
        if (l == 0) return titulos[c];
        const TSistema &s = Sistema();
        const auto i = static_cast<std::size_t>(l);
        const int coluna = static_cast<int>(s.ColunaTermo(1));
        const long double observado = s.DependenteBruto(i);
        const auto &estimado = estimados_[i - 1];
        switch (c) {
        case 0:
            return NumeroAmostraTexto(s, i);
        case 1:
            return TextoValorColuna(Grid(), coluna, observado);
        case 2:
            return estimado ? TextoValorColuna(Grid(), coluna, *estimado) : "! ERRO !";
        case 3:
            return estimado ? TextoValorColuna(Grid(), coluna, *estimado - observado) : "! ERRO !";
        default:
            if (!estimado) return "! ERRO !";
            return Fixo(observado > 0 ? (*estimado - observado) * 100 / observado : 0, 4) + " %";
        }
    }
    int AlinhamentoCelula(int l, int c) const override {
        return l == 0 || c == 0 ? apCentro : apDireita;
    }

  private:
    std::vector<std::optional<long double>> estimados_;
    bool falhou_ = false;
};

// ---- The property against the sample -----------------------------------------------------------

class TIA_Avaliando_x_Amostra : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        const TSistema &s = Sistema();
        limites_.clear();
        faltando_.clear();
        fora_ = 0;
        for (std::size_t k = 2; k <= s.m(); ++k) {
            limites_.push_back(LimitesTermo(s, k));
            const int coluna = static_cast<int>(s.ColunaTermo(k));
            if (!ObjetoTemValor(Grid(), coluna)) {
                faltando_.push_back(NomeVar(s, k));
                continue;
            }
            const long double v = s.ValorBrutoObjeto(k);
            if (v < limites_.back().Minimo || v > limites_.back().Maximo) ++fora_;
        }
    }
    void Imprime(int) override {
        if (limites_.empty()) {
            Linha("Não existem variáveis independentes no modelo selecionado.");
            LinhaVazia();
            return;
        }
        EscreveTabela(static_cast<int>(limites_.size()) + 1, 4);
        const std::string objeto = DescricaoObjeto(Grid()).ComArtigo();
        // Only the characteristics given are compared; the missing ones are named, and nothing
        // is said of them.
        if (!faltando_.empty()) {
            LinhaComentario(std::string(faltando_.size() == 1 ? "Falta informar o valor de "
                                                               : "Falta informar os valores de ") +
                            ListaNomes(faltando_) + " d" + objeto + " sob avaliação.");
            if (faltando_.size() == limites_.size()) return;
            if (fora_ == 0)
                LinhaComentario("Nenhuma das características informadas encontra-se fora do "
                                "intervalo da amostra.");
            else if (fora_ == 1)
                LinhaComentario("Uma das características informadas encontra-se fora do "
                                "intervalo da amostra.");
            else
                LinhaComentario("Algumas das características informadas encontram-se fora do "
                                "intervalo da amostra.");
            return;
        }
        if (fora_ == 0)
            LinhaComentario("Nenhuma característica d" + objeto +
                            " sob avaliação encontra-se fora do intervalo da amostra.");
        else if (fora_ == 1)
            LinhaComentario("Uma das características d" + objeto +
                            " sob avaliação encontra-se fora do intervalo da amostra.");
        else
            LinhaComentario("Algumas das características d" + objeto +
                            " sob avaliação encontram-se fora do intervalo da amostra.");
    }
    std::string TextoCelula(int l, int c) const override {
        static const char *titulos[] = {"Nome da\rVariável", "Valor\rMínimo", "Valor\rMáximo",
                                        "Imóvel\rAvaliando"};
        if (l == 0) return titulos[c];
        const TSistema &s = Sistema();
        const std::size_t k = static_cast<std::size_t>(l) + 1;
        const int coluna = static_cast<int>(s.ColunaTermo(k));
        const TLimitesAmostra &lim = limites_[static_cast<std::size_t>(l) - 1];
        // A date counts days or months back from its reference: the earliest date is the largest
        // value, so the columns exchange to read from the earliest to the latest.
        const bool data = VariavelPlanilha(Grid(), coluna).Tipo == tvrData;
        switch (c) {
        case 0:
            return NomeVar(s, k);
        case 1:
            return TextoValorColuna(Grid(), coluna, data ? lim.Maximo : lim.Minimo);
        case 2:
            return TextoValorColuna(Grid(), coluna, data ? lim.Minimo : lim.Maximo);
        default:
            return ObjetoTemValor(Grid(), coluna)
                       ? TextoValorColuna(Grid(), coluna, s.ValorBrutoObjeto(k))
                       : std::string();
        }
    }
    int AlinhamentoCelula(int l, int c) const override {
        return l > 0 && c == 0 ? apEsquerda : apCentro;
    }

  private:
    std::vector<TLimitesAmostra> limites_;
    std::vector<std::string> faltando_;
    std::size_t fora_ = 0;
};

// ---- Rate of change of the estimate ------------------------------------------------------------

class TIA_Derivadas : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        const TSistema &s = Sistema();
        noObjeto_ = s.ObjetoInformado() && s.ObjetoCompleto();
        if (noObjeto_) {
            ponto_ = s.PontoObjeto();
        } else {
            // The mean point: each regressor's mean in the model's scale, brought back.
            ponto_.assign(s.m() + 1, 0);
            for (std::size_t k = 2; k <= s.m(); ++k)
                ponto_[k] = FuncaoInversa(s.CodigoTermo(k), s.Media(k)).Valor;
        }
        y_ = s.Estimativa(ponto_);
    }
    void Imprime(int) override {
        const TSistema &s = Sistema();
        if (Regressores(s) == 0) {
            Linha("Não existem variáveis independentes. A análise da variação da função estimativa "
                  "não pode ser feita.");
            return;
        }
        Linha("Variação da variável dependente (" + NomeVar(s, 1) +
              ") em função das variáveis independentes, " +
              (noObjeto_ ? "tomada no ponto de estimativa." : "tomada no ponto médio da amostra."));
        LinhaVazia();
        EscreveTabela(static_cast<int>(Regressores(s)) + 1, 3);
        LinhaComentario(
            "(*)  derivada parcial da variável dependente em função das independentes.");
        LinhaComentario(
            "(**) variação percentual da variável dependente correspondente a uma variação de "
            "1% na variável independente.");
    }
    std::string TextoCelula(int l, int c) const override {
        if (l == 0) {
            if (c == 0) return "Variável";
            if (c == 1) return Comentarios ? "dy/dx (*)" : "dy/dx";
            return Comentarios ? "dy % (**)" : "dy %";
        }
        const TSistema &s = Sistema();
        const std::size_t k = static_cast<std::size_t>(l) + 1;
        if (c == 0) return NomeVar(s, k);
        if (!y_) throw TErroCalculo("estimativa");
        const auto d = s.EfeitoMarginal(k, ponto_[k], *y_);
        if (!d) throw TErroCalculo("derivada");
        if (c == 1) return Num(*d);
        if (*y_ == 0) return "infinita";
        if (std::fabs(*d) >= Infinito) return Num(*d) + "%";
        return Num(*d * ponto_[k] / *y_) + "%";
    }
    int AlinhamentoCelula(int l, int c) const override {
        if (l == 0) return apCentro;
        return c == 0 ? apEsquerda : apDireita;
    }

  private:
    bool noObjeto_ = false;
    TPonto ponto_;
    std::optional<long double> y_;
};

// ---- Confidence intervals ----------------------------------------------------------------------

// "o objeto sob avaliação." or "a casa sob avaliação.".
std::string SobAvaliacao(const TGridzelto &g) {
    return DescricaoObjeto(g).ComArtigo() + " sob avaliação.";
}

class TIA_IntervalosdeConfianca : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        const TSistema &s = Sistema();
        completo_ = s.ObjetoInformado() && s.ObjetoCompleto();
        linhas_.clear();
        if (!completo_) return;
        const long double c = Sig().ConfiancaEstimativa;
        const TPonto p = s.PontoObjeto();
        for (std::size_t k = 2; k <= s.m(); ++k)
            linhas_.push_back({NomeVar(s, k), s.IntervaloTermo(k, p, c)});
        linhas_.push_back({"Valor estimado (predição)", s.IntervaloPredicao(p, c)});
        linhas_.push_back({"E(" + NomeVar(s, 1) + ")", s.IntervaloMedia(p, c)});
    }
    void Imprime(int) override {
        const TSignificancias &sig = Sig();
        if (!completo_) {
            E().AlignJustify();
            Linha("Não foram indicadas algumas características para " + SobAvaliacao(Grid()));
            Linha("Não é possível estabelecer os limites do intervalo de confiança.");
            return;
        }
        Linha("( Estabelecidos para os regressores e valor estimado )");
        LinhaVazia();
        Linha("Intervalo de confiança de " + Percentual(sig.ConfiancaEstimativa) + "%:");
        LinhaVazia();
        EscreveTabela(static_cast<int>(linhas_.size()) + 1, 5);
        if (sig.AmplitudeIlimitada || !Comentarios) return;
        // The precision is that of the confidence intervals: the expected value's E(·) and the
        // regressors'. The prediction row is wider by the spread of a single property and is
        // no precision of the estimate; a row whose interval could not be computed is not
        // judged at all.
        const std::string P = Percentual(sig.AmplitudeEstimativa);
        const std::string resto = "% em torno do valor central da estimativa.";
        std::vector<std::string> variaveis, semIntervalo;
        const TLinha &esperado = linhas_.back();
        for (std::size_t j = 0; j + 2 < linhas_.size(); ++j) {
            if (!linhas_[j].intervalo)
                semIntervalo.push_back("\"" + linhas_[j].nome + "\"");
            else if (Excede(linhas_[j]))
                variaveis.push_back("\"" + linhas_[j].nome + "\"");
        }
        LinhaComentario("Amplitude do intervalo de confiança (precisão): limite de " + P + resto);
        LinhaComentario("A precisão é julgada pelos intervalos de confiança de " + esperado.nome +
                        (linhas_.size() > 2 ? " e dos regressores" : "") +
                        "; o intervalo de predição do valor estimado não entra neste julgamento.");
        LinhaVazia();
        // A limit set by the norm introduces every verdict judged against it, within or beyond.
        if (sig.AmplitudeNormatizada && (esperado.intervalo || !variaveis.empty()))
            LinhaComentario("Segundo os critérios da " + sig.Descricao + ":");
        if (!esperado.intervalo)
            LinhaComentario("• Não foi possível calcular o intervalo de confiança de " +
                            esperado.nome + ": a precisão da estimativa não pode ser julgada.");
        else if (Excede(esperado))
            LinhaComentario("• " + esperado.nome + " possui uma precisão superior ao limite de " +
                            P + resto);
        else
            LinhaComentario("• " + esperado.nome + " possui uma precisão dentro do limite de " +
                            P + resto);
        if (variaveis.size() == 1)
            LinhaComentario("• A variável " + variaveis[0] +
                            " possui uma precisão superior ao limite de " + P + resto);
        if (variaveis.size() > 1)
            LinhaComentario("• As seguintes variáveis possuem precisão superior ao limite de " +
                            P + "% em torno do valor central da estimativa: " +
                            ListaNomes(variaveis) + ".");
        if (!semIntervalo.empty())
            LinhaComentario(std::string(semIntervalo.size() == 1
                                            ? "• Não foi possível calcular o intervalo da variável "
                                            : "• Não foi possível calcular os intervalos das "
                                              "variáveis ") +
                            ListaNomes(semIntervalo) + ": sua precisão não pode ser julgada.");
    }
    std::string TextoCelula(int l, int c) const override {
        static const char *titulos[] = {"Nome da\rvariável", "Limite\rInferior", "Limite\rSuperior",
                                        "Amplitude\rTotal", "Amplitude/média\r- Precisão - "};
        if (l == 0) return titulos[c];
        const TLinha &linha = linhas_[static_cast<std::size_t>(l) - 1];
        if (c == 0) return linha.nome;
        if (!linha.intervalo) throw TErroCalculo("intervalo");
        const int coluna = static_cast<int>(Sistema().ColunaTermo(1));
        const TIntervalo &i = *linha.intervalo;
        switch (c) {
        case 1:
            return TextoValorColuna(Grid(), coluna, i.Inferior);
        case 2:
            return TextoValorColuna(Grid(), coluna, i.Superior);
        case 3:
            return TextoValorColuna(Grid(), coluna, i.Superior - i.Inferior);
        default:
            return Fixo(Precisao(linha) * 100, 2) + " %";
        }
    }
    int AlinhamentoCelula(int l, int c) const override {
        if (l == 0) return apCentro;
        return c == 0 ? apEsquerda : apDireita;
    }

  private:
    struct TLinha {
        std::string nome;
        std::optional<TIntervalo> intervalo;
    };
    static long double Precisao(const TLinha &l) {
        if (!l.intervalo) return Infinito;
        const long double centro = (l.intervalo->Inferior + l.intervalo->Superior) / 2;
        const long double amplitude = l.intervalo->Superior - l.intervalo->Inferior;
        if (centro == 0) return amplitude == 0 ? 0 : Infinito;
        return amplitude / centro;
    }
    bool Excede(const TLinha &l) const {
        return l.intervalo && Sig().AmplitudeEstimativa < std::fabs(Precisao(l));
    }

    bool completo_ = false;
    std::vector<TLinha> linhas_;
};

// ---- Formation of the values ------------------------------------------------------------------

// The descriptive mode values the mean of the dependent column, which is a valuation only when
// that column is the homogenised value and every column in use is a factor the sample item
// checks. The sentences saying what is missing; none when nothing is.
std::vector<std::string> FaltasHomogeneizacao(const TGridzelto &g) {
    const TFatoresPlanilha f = FatoresPlanilha(g);
    auto nomes = [&](const std::vector<int> &colunas) {
        std::string t;
        for (std::size_t i = 0; i < colunas.size(); ++i) {
            if (i > 0) t += i + 1 == colunas.size() ? " e " : ", ";
            t += g.Variavel(colunas[i])->Nome;
        }
        return t;
    };
    std::vector<std::string> faltas;
    if (f.Fatores.empty())
        faltas.push_back("Nenhuma variável está marcada como coeficiente de homogeneização.");
    if (f.SemMarca.size() == 1)
        faltas.push_back("A variável " + nomes(f.SemMarca) +
                         " está em uso sem estar marcada como coeficiente de homogeneização.");
    else if (f.SemMarca.size() > 1)
        faltas.push_back("As variáveis " + nomes(f.SemMarca) +
                         " estão em uso sem estar marcadas como coeficientes de homogeneização.");
    if (!f.Fatores.empty() && !f.Homogeneizado && f.Dependente != 0)
        faltas.push_back("O valor a avaliar, " + g.Variavel(f.Dependente)->Nome +
                         ", não é o valor homogeneizado pelos coeficientes (uma coluna calculada "
                         "como \"Valor Homog.\").");
    if (!faltas.empty())
        faltas.push_back("Sem a amostra homogeneizada, o valor " + DescricaoObjeto(g).Contraido() +
                         " não é estimado.");
    return faltas;
}

class TIA_FormacaoValores : public TItemAvaliacao {
  public:
    using TItemAvaliacao::TItemAvaliacao;
    void Calcula(int parte) override {
        TItemAvaliacao::Calcula(parte);
        faltas_.clear();
        if (!Ctx().Inferencial) {
            faltas_ = FaltasHomogeneizacao(Grid());
            if (!faltas_.empty()) return;
        }
        const TSistema &s = Sistema();
        std::vector<bool> tem(s.m() + 1, false);
        for (std::size_t k = 2; k <= s.m(); ++k) tem[k] = ObjetoTemValor(Grid(), static_cast<int>(s.ColunaTermo(k)));
        f_ = FormacaoValores(s, Sig(), Ctx().Inferencial, tem);
    }
    void Imprime(int) override {
        for (const std::string &l : faltas_)
            Linha(l);
        if (!faltas_.empty()) return;
        const TSistema &s = Sistema();
        const TGridzelto &g = Grid();
        const TSignificancias &sig = Sig();
        const bool inf = Ctx().Inferencial;
        const TDescricaoObjeto obj = DescricaoObjeto(g);
        const int colDep = static_cast<int>(s.ColunaTermo(1));
        auto valorDep = [&](long double x) {
            return obj.ComUnidade(TextoValorColuna(g, colDep, x));
        };
        auto nomes = [&](const std::vector<std::size_t> &termos) {
            std::vector<std::string> r;
            for (std::size_t k : termos) r.push_back(NomeVar(s, k));
            return r;
        };

        // The independent variables with the property's values; the others of the worksheet.
        if (inf) {
            std::vector<TLinhaRotulada> modelo, outras;
            std::set<int> noModelo;
            for (std::size_t k = 1; k <= s.m(); ++k)
                noModelo.insert(static_cast<int>(s.ColunaTermo(k)));
            for (std::size_t k = 2; k <= s.m(); ++k) {
                const int c = static_cast<int>(s.ColunaTermo(k));
                modelo.push_back(
                    {"• " + NomeVar(s, k) + " ", ObjetoTemValor(g, c) ? TextoObjetoVariavel(g, c) : " "});
            }
            for (const TInfoVariavel &v : VariaveisPlanilha(g))
                if (!v.Dependente && v.Tipo != tvrComentario && !noModelo.count(v.Coluna))
                    outras.push_back({"• " + Literal(v.Nome) + " ", ObjetoTemValor(g, v.Coluna)
                                                               ? TextoObjetoVariavel(g, v.Coluna)
                                                               : " "});
            if (modelo.empty()) {
                Linha("O modelo não tem variáveis independentes.");
            } else {
                Linha("Variáveis independentes:");
                LinhasRotuladas(modelo, "= ");
            }
            if (!outras.empty()) {
                Linha("Outras variáveis não usadas no modelo:");
                LinhasRotuladas(outras, "= ");
            }
        }
        const std::size_t k = Regressores(s);
        const std::size_t faltando = f_.Faltam.size();
        if (inf && faltando > 0) {
            // The sentence ends naming the variables whose values are missing.
            const std::string de = obj.Contraido() + " sob avaliação: " + ListaNomes(nomes(f_.Faltam)) + ".";
            if (faltando == k)
                LinhaComentario("Não foram informados os valores das variáveis independentes " +
                                de);
            else if (faltando == 1)
                LinhaComentario("Falta informar o valor de uma das variáveis independentes " + de);
            else
                LinhaComentario("Falta informar o valor de algumas variáveis independentes " + de);
        }
        if (inf && !f_.Extrapolaram.empty()) {
            const std::vector<std::string> extrapolaram = nomes(f_.Extrapolaram);
            if (extrapolaram.size() == 1) {
                LinhaComentario("A variável " + extrapolaram[0] + " extrapolou o limite amostral.");
            } else {
                LinhaComentario(std::to_string(extrapolaram.size()) +
                                " variáveis extrapolaram o limite amostral: " +
                                ListaNomes(extrapolaram) + ".");
            }
            if (f_.LimiteExtrapolacao) {
                const long limite = *f_.LimiteExtrapolacao;
                LinhaComentario(sig.Descricao + " limita a extrapolação em " +
                                std::to_string(limite) + " variáve" + (limite == 1 ? "l." : "is."));
            }
        }

        // The estimate needs every value of the property.
        if (f_.Estima && (!f_.Estimativa || !f_.Intervalo)) throw TErroCalculo("estimativa");
        if (f_.Estima)
            Linha("Estima-se " + NomeVar(s, 1) + " " + obj.Contraido() + ": " + valorDep(*f_.Estimativa));
        if (inf && Comentarios) {
            LinhaComentario("O modelo utilizado foi:");
            for (const QString &l :
                 QString::fromStdString(EquacaoLiteral(s, true)).split(QLatin1Char('\n')))
                LinhaComentario(l.trimmed().toStdString());
        }
        if (!f_.Estima) return;
        const long double y = *f_.Estimativa;
        const TIntervalo &intervalo = *f_.Intervalo;
        Linha("Intervalo de confiança de " + Fixo(sig.ConfiancaEstimativa * 100, 1) +
              " % para o valor estimado:");
        Linha("Mínimo: " + valorDep(intervalo.Inferior));
        Linha("Máximo: " + valorDep(intervalo.Superior));
        const std::string U = Fixo(sig.EstimativaSuperior * 100, 1),
                          D = Fixo(sig.EstimativaInferior * 100, 1);
        const std::string deAcordo =
            "O valor estimado está de acordo com os limites estabelecidos em " + sig.Descricao +
            " de extrapolação em +" + U + "% do limite amostral superior e de -" + D +
            "% do limite amostral inferior.";
        if (f_.AmplitudeExcedida && Comentarios) {
            if (!*f_.AmplitudeExcedida) {
                if (sig.EstimativaNormatizada) LinhaComentario(deAcordo);
            } else {
                LinhaComentario((sig.AmplitudeNormatizada ? "Segundo " + sig.Descricao + ", a"
                                                          : std::string("A")) +
                                " amplitude do intervalo de confiança em torno do valor estimado "
                                "não pode ultrapassar " +
                                Fixo(sig.AmplitudeEstimativa * 100, 1) + "%.");
            }
            Corpo();
        }
        if (f_.Faixa && Comentarios) {
            const long double lo = f_.Faixa->Inferior, hi = f_.Faixa->Superior;
            if (f_.Posicao != 0) {
                LinhaComentario((sig.EstimativaNormatizada
                                     ? "Segundo " + sig.Descricao + ", o valor estimado não pode"
                                     : std::string("O valor estimado não deve")) +
                                " extrapolar em " + U +
                                "% o limite amostral superior, nem ser inferior em " + D +
                                "% o limite amostral inferior.");
                LinhaComentario(
                    "Os valores amostrais mínimo e máximo para a variável dependente são: " +
                    TextoValorColuna(g, colDep, lo) + " e " + TextoValorColuna(g, colDep, hi) +
                    ".");
                LinhaComentario("O valor estimado de " + TextoValorColuna(g, colDep, y) +
                                (f_.Posicao > 0 ? " é maior que o limite superior de extrapolação"
                                                : " é menor que o limite inferior de extrapolação") +
                                (sig.EstimativaNormatizada
                                     ? ", em desacordo com a " + sig.Descricao + "."
                                     : "."));
            } else if (sig.EstimativaNormatizada) {
                LinhaComentario(deAcordo);
            }
            Corpo();
        }
        // The final value: the estimate times the property's characteristic.
        if (obj.Multiplicador != 0 && !obj.Caracteristica.Texto.empty()) {
            const TNomeObjeto &car = obj.Caracteristica, &fin = obj.ValorFinal;
            const std::string tamanho = RemoveZerosFinais(FormatoMilhar(obj.Multiplicador, 4)) +
                                        (car.Unidade.empty() ? "" : " " + car.Unidade);
            Linha(std::string(car.Feminino ? "Para uma " : "Para um ") + car.Texto + " de " +
                  tamanho + ", teremos:");
            const char *g2 = fin.Feminino ? "a" : "o";
            auto total = [&](long double v) {
                const std::string numero = TextoValorColuna(g, colDep, v * obj.Multiplicador);
                if (fin.Unidade.empty()) return obj.ComUnidade(numero);
                return fin.UnidadeDepois ? numero + " " + fin.Unidade : fin.Unidade + " " + numero;
            };
            Linha("\t\t" + fin.Texto + " obtid" + g2 + " = " + total(y));
            Linha("\t\t" + fin.Texto + " mínim" + g2 + " = " + total(intervalo.Inferior));
            Linha("\t\t" + fin.Texto + " máxim" + g2 + " = " + total(intervalo.Superior));
        }
    }

  private:
    std::vector<std::string> faltas_;
    TFormacaoValores f_;
};

} // namespace

// The builders the catalogue rows hold.
ZELTO_CONSTRUTOR_ITEM(TIA_TabValorEst)
ZELTO_CONSTRUTOR_ITEM(TIA_Avaliando_x_Amostra)
ZELTO_CONSTRUTOR_ITEM(TIA_Derivadas)
ZELTO_CONSTRUTOR_ITEM(TIA_IntervalosdeConfianca)
ZELTO_CONSTRUTOR_ITEM(TIA_FormacaoValores)

} // namespace zelto
