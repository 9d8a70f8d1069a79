// The items of the residuals and the outliers: the residuals sample by sample with their
// normalised, studentised and squared forms, the deleted residuals, the summary statistics of
// the residuals, the samples excluded or eliminated, the samples the outlier criterion flags,
// Cook's distance and the leverage of every sample, and how the normalised residuals spread
// compared with the normal curve.
//
// In the descriptive mode the same items speak of the deviations of the dependent variable
// around its mean ("desvios"): the regression system then takes the observed value as the
// residual, so that the centred residual is the deviation from the mean, and the estimate of a
// sample is the mean.
//
// The residual eᵢ is the residual less the mean residual (zero up to rounding with an
// intercept); s² = Σeᵢ²/(n − k − 1). Every per-sample quantity comes from the regression
// system after its closing computations; the items only format and place them. "Observado" and
// "Estimado" are both in the original scale of the dependent variable, so that they compare;
// the residual columns are in the model's scale, the one where its assumptions are made, and
// the line above the table names that scale.
#include "items/ItensResiduos.h"

#include "common/Numeros.h"
#include "items/Catalogo.h"
#include "evaluation/DadosPlanilha.h"
#include "items/ComumItens.h"
#include "regression/Distribuicoes.h"
#include "regression/ResiduosRelatorio.h"
#include "regression/TestesResiduos.h"

#include <cmath>

namespace zelto {

const char *ClassificaCoeficienteVariacao(long double cv) {
    const long double a = std::fabs(cv);
    if (a < 10) return "ótima";
    if (a < 14) return "boa- classe 1";
    if (a < 18) return "boa- classe 2";
    if (a < 22) return "boa- classe 3";
    return "razoável.";
}

bool ForaDoLimite(long double residuo, long double limite) {
    return std::fabs(residuo) > limite;
}

bool CookAceito(long double cook, long double fTabelado) {
    return fTabelado > cook;
}

namespace {

// The outlier limit L of the criterion of the settings for the fitted residuals.
long double LimiteCriterio(const TSistema &s, const TSignificancias &sig, bool inferencial) {
    const long double s2 = s.VarianciaResidual();
    const long double desvio = s2 >= Infinito ? Infinito : std::sqrt(s2);
    const TCriterioAplicado c = CriterioAplicado(sig.Saneamento, sig.ParametroSaneamento, inferencial);
    return LimiteOutlier(c.Criterio, c.Parametro, desvio, s.MediaResiduos(), s.n());
}

std::string Fixo(long double x, int d) {
    return FormatoFixo(x, d);
}

// Row 0 and column 0 centred, the rest right-aligned: the layout of the per-sample tables.
int AlinhamentoAmostras(int l, int c) {
    return l == 0 || c == 0 ? apCentro : apDireita;
}

// ---- Residuals sample by sample ---------------------------------------------------------------

class TIA_TabResiduos : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Imprime(int) override {
        const TSistema &s = Sistema();
        if (Ctx().Inferencial)
            Linha("Resíduos da variável dependente " + NomeTransformado(s, 1) + ".");
        else
            Linha("Desvios em torno da média.");
        LinhaVazia();
        EscreveTabela(static_cast<int>(s.n()) + 1, 7);
    }
    std::string TextoCelula(int l, int c) const override {
        const bool inf = Ctx().Inferencial;
        if (l == 0) {
            static const char *titulos[] = {"Nº Am.",      "Observado",    "Estimado",  "Resíduo",
                                            "Normalizado", "Studentizado", "Quadrático"};
            if (!inf && c == 2) return "Média";
            if (!inf && c == 3) return "Desvio";
            return titulos[c];
        }
        const TSistema &s = Sistema();
        const auto i = static_cast<std::size_t>(l);
        switch (c) {
        case 0:
            return NumeroAmostraTexto(s, i);
        case 1:
            return Num(s.DependenteBruto(i));
        case 2: {
            const auto y = s.EstimativaAmostra(i);
            if (!y) throw TErroCalculo("estimativa");
            return Num(*y);
        }
        case 3:
            return Num(s.Residuo(i));
        case 4:
            return Num(s.ResiduoPadronizado(i));
        case 5:
            return Num(s.ResiduoStudentizado(i));
        default:
            return Num(s.Residuo(i) * s.Residuo(i));
        }
    }
    int AlinhamentoCelula(int l, int c) const override { return AlinhamentoAmostras(l, c); }
};

class TIA_TabResiduosDeletados : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Imprime(int) override {
        const TSistema &s = Sistema();
        if (Ctx().Inferencial)
            Linha("Resíduos deletados da variável dependente " + NomeTransformado(s, 1) + ".");
        else
            Linha("Influência das amostragens nos desvios da média.");
        LinhaVazia();
        EscreveTabela(static_cast<int>(s.n()) + 1, 5);
    }
    std::string TextoCelula(int l, int c) const override {
        static const char *titulos[] = {"Nº Am.", "Deletado", "Variância", "Normalizado",
                                        "Studentizado"};
        if (l == 0) return titulos[c];
        const TSistema &s = Sistema();
        const auto i = static_cast<std::size_t>(l);
        switch (c) {
        case 0:
            return NumeroAmostraTexto(s, i);
        case 1:
            return Num(s.ResiduoDeletado(i));
        case 2:
            return Num(s.VarianciaSemAmostra(i));
        case 3:
            return Num(s.ResiduoSobreDesvioSemAmostra(i));
        default:
            return Num(s.ResiduoStudentizadoExterno(i));
        }
    }
    int AlinhamentoCelula(int l, int c) const override { return AlinhamentoAmostras(l, c); }
};

// ---- Summary statistics ---------------------------------------------------------------------

class TIA_EstatResiduos : public TItemAvaliacao {
  public:
    using TItemAvaliacao::TItemAvaliacao;
    void Calcula(int parte) override {
        TItemAvaliacao::Calcula(parte);
        const TSistema &s = Sistema();
        s2_ = s.VarianciaResidual();
        media_ = ZeroDeArredondamento(s, s.MediaResiduos());
        cvDefinido_ = media_ != 0 && s2_ < Infinito;
        cv_ = cvDefinido_ ? std::fabs(std::sqrt(s2_) * 100 / media_) : 0;
    }
    void Imprime(int) override {
        const TSistema &s = Sistema();
        const bool inf = Ctx().Inferencial;
        std::vector<TLinhaRotulada> l = {
            {"Número de elementos ", std::to_string(s.n())},
            // The degrees of freedom of s² printed below: n − k − 1 about a fitted model, n − 1
            // about the mean.
            {"Graus de liberdade ",
             std::to_string(inf ? GrausLiberdade(s) : (s.n() > 0 ? s.n() - 1 : 0))},
            {"Valor médio ", Num(media_)},
        };
        if (!inf) {
            l.push_back({"Mediana ", Num(s.MedianaAgrupada())});
            l.push_back({"Moda ", Num(s.ModaAgrupada())});
        }
        const long double variancia = s.Momento2();
        l.push_back({"Variância ", Num(variancia)});
        l.push_back({"Desvio padrão ", Num(std::sqrt(variancia))});
        l.push_back({"Desvio médio ", Num(s.DesvioMedioAbsoluto())});
        l.push_back({"Variância (não tendenciosa) ", Num(s2_)});
        l.push_back(
            {"Desvio padrão (não tend.) ", Num(s2_ >= Infinito ? Infinito : std::sqrt(s2_))});
        if (!inf)
            l.push_back({"Coef. de variação ",
                         cvDefinido_ ? FormatoSignificativo(cv_, 4) + "%" : "indefinido"});
        const long double minimo = s.MinimoResiduo(), maximo = s.MaximoResiduo();
        l.push_back({"Valor mínimo ", Num(minimo)});
        l.push_back({"Valor máximo ", Num(maximo)});
        l.push_back({"Amplitude ", Num(maximo - minimo)});
        l.push_back({"Número de classes ", std::to_string(s.NumeroClasses())});
        l.push_back({"Intervalo de classes ", Num(s.LarguraClasse())});
        LinhasRotuladas(l);
        LinhaVazia();
        if (!inf && cvDefinido_)
            LinhaComentario(
                std::string("Sob o aspecto do coeficiente de variação, a amostra é considerada ") +
                ClassificaCoeficienteVariacao(cv_));
    }

  private:
    long double s2_ = 0, media_ = 0, cv_ = 0;
    bool cvDefinido_ = false;
};

// ---- Samples flagged by the outlier criterion ----------------------------------------------

class TIA_OutLiers : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        const TSistema &s = Sistema();
        limite_ = LimiteCriterio(s, Sig(), Ctx().Inferencial);
        foras_.clear();
        // An exact fit's residuals are rounding noise: no sample lies outside.
        if (s.AjusteExato()) return;
        for (std::size_t i = 1; i <= s.n(); ++i)
            if (ForaDoLimite(s.Residuo(i), limite_)) foras_.push_back(i);
    }
    void Imprime(int) override {
        const TSistema &s = Sistema();
        const bool inf = Ctx().Inferencial;
        for (const std::string &l : TextoCriterioOutlier(Sig(), s.n(), inf))
            Linha(l);
        LinhaVazia();
        if (foras_.empty()) {
            Corpo();
            E().WriteText(QStringLiteral("Nenhuma amostragem foi encontrada fora do intervalo. "));
            E().WriteLine(inf ? QStringLiteral("Não existem outliers.") : QString());
            return;
        }
        LinhaVazia();
        Linha(foras_.size() == 1 ? std::string("Foi encontrada 1 amostragem fora do intervalo.")
                                 : "Foram encontradas " + std::to_string(foras_.size()) +
                                       " amostragens fora do intervalo.");
        LinhaVazia();
        EscreveTabela(static_cast<int>(foras_.size()) + 1, 3);
    }
    std::string TextoCelula(int l, int c) const override {
        const TSistema &s = Sistema();
        if (l == 0) return c == 0 ? "Nº Am." : c == 1 ? NomeVar(s, 1) : "Erro/Desvio Padrão";
        const std::size_t i = foras_[static_cast<std::size_t>(l) - 1];
        if (c == 0) return NumeroAmostraTexto(s, i);
        if (c == 1) return Num(s.DependenteBruto(i));
        return Num(s.ResiduoPadronizado(i));
    }
    int AlinhamentoCelula(int l, int c) const override {
        return l == 0 || c == 0 ? apEsquerda : apDireita;
    }

  private:
    long double limite_ = 0;
    std::vector<std::size_t> foras_;
};

// ---- Samples excluded by the user or eliminated by the sanitation ---------------------------

class TIA_Saneadas : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        naoUsadas_.clear();
        eliminadas_.clear();
        for (const TInfoAmostra &a : AmostrasPlanilha(Grid())) {
            if (a.Desconsiderada)
                naoUsadas_.push_back(a);
            else if (a.Saneada)
                eliminadas_.push_back(a);
        }
    }
    void Imprime(int) override {
        const bool inf = Ctx().Inferencial;
        if (naoUsadas_.empty() && eliminadas_.empty()) {
            Linha("Todas as amostragens foram utilizadas.");
            return;
        }
        if (!naoUsadas_.empty()) {
            tabela_ = &naoUsadas_;
            Linha("Amostragens não utilizadas na avaliação: ");
            LinhaVazia();
            EscreveTabela(static_cast<int>(naoUsadas_.size()) + 1, 3);
        }
        if (eliminadas_.empty()) return;
        Corpo();
        E().AlignLeft();
        Linha(inf ? "Amostragens eliminadas automaticamente (\"outliers\"): "
                  : "Amostragens eliminadas por saneamento automático: ");
        LinhaVazia();
        for (const std::string &l : TextoCriterioOutlier(Sig(), Sistema().n(), inf))
            Linha(l);
        LinhaVazia();
        tabela_ = &eliminadas_;
        EscreveTabela(static_cast<int>(eliminadas_.size()) + 1, 3);
        LinhaComentario(
            std::string(
                "(*) Utilizando o desvio padrão para amostra final (que exclui as amostragens "
                "não usadas na avaliação e as eliminadas ") +
            (inf ? "automaticamente - \"outliers\")." : "por saneamento automático)."));
    }
    std::string TextoCelula(int l, int c) const override {
        const TSistema &s = Sistema();
        if (l == 0)
            return c == 0   ? "Nº Am."
                   : c == 1 ? NomeVar(s, 1)
                            : (Comentarios ? "Erro/Desvio Padrão(*)" : "Erro/Desvio Padrão");
        const TInfoAmostra &a = (*tabela_)[static_cast<std::size_t>(l) - 1];
        if (c == 0) return a.Rotulo;
        if (c == 1) return Num(ValorPlanilha(Grid(), static_cast<int>(s.ColunaTermo(1)), a.Linha));
        const auto erro = ErroPadronizadoLinha(s, a.Linha, Ctx().Inferencial);
        return erro ? Num(*erro) : "valor inválido";
    }
    int AlinhamentoCelula(int l, int c) const override { return AlinhamentoAmostras(l, c); }

  private:
    std::vector<TInfoAmostra> naoUsadas_, eliminadas_;
    const std::vector<TInfoAmostra> *tabela_ = &naoUsadas_;
};

// ---- Influence of each sample ---------------------------------------------------------------

class TIA_TesteOutliers : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        const TSistema &s = Sistema();
        alfa_ = Sig().TesteCook;
        Ft_ = QuantilF(static_cast<std::uint16_t>(Regressores(s) + 1), GrausLiberdade(s), alfa_);
    }
    void Imprime(int) override {
        const TSistema &s = Sistema();
        Linha("    F tabelado: " + FormatoSignificativo(Ft_, 4) +
              " (para o nível de significância de " + Fixo(alfa_ * 100, 2) + " %)");
        LinhaVazia();
        EscreveTabela(static_cast<int>(s.n()) + 1, 4);
        if (!Comentarios) return;
        Comentario();
        E().AlignLeft();
        LinhaComentario(
            "(*) A distância de Cook corresponde à variação máxima sofrida pelos coeficientes do "
            "modelo quando se retira o elemento da amostra. Não deve ser maior que F tabelado.");
        bool todos = true;
        for (std::size_t i = 1; i <= s.n(); ++i)
            todos = todos && CookAceito(s.DistanciaCook(i), Ft_);
        if (todos)
            LinhaComentario(
                "Todos os elementos da amostragem passaram pelo teste de consistência.");
        LinhaVazia();
        LinhaComentario(
            "(**) Hii são os elementos da diagonal da matriz de previsão. São equivalentes à "
            "distância de Mahalanobis e medem a distância  da observação para o conjunto "
            "das demais observações.");
    }
    std::string TextoCelula(int l, int c) const override {
        if (l == 0) {
            if (c == 0) return "Nº Am.";
            if (c == 1) return Comentarios ? "Distância de Cook(*)" : "Distância de Cook";
            if (c == 2) return Comentarios ? "Hii(**)" : "Hii";
            return "Aceito";
        }
        const TSistema &s = Sistema();
        const auto i = static_cast<std::size_t>(l);
        switch (c) {
        case 0:
            return NumeroAmostraTexto(s, i);
        case 1:
            return Num(s.DistanciaCook(i));
        case 2:
            return Num(s.Alavanca(i));
        default:
            return CookAceito(s.DistanciaCook(i), Ft_) ? "Sim" : "Não";
        }
    }
    int AlinhamentoCelula(int l, int c) const override {
        return l == 0 || c == 0 || c == 3 ? apCentro : apDireita;
    }

  private:
    long double alfa_ = 0, Ft_ = 0;
};

// ---- Spread of the normalised residuals -----------------------------------------------------

class TIA_DistrResiduos : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        const TSistema &s = Sistema();
        const long double limites[] = {1, 1.64L, 1.96L};
        for (int j = 0; j < 3; ++j) {
            std::size_t dentro = 0;
            for (std::size_t i = 1; i <= s.n(); ++i) {
                const long double z = s.ResiduoPadronizado(i);
                if (z >= -limites[j] && z <= limites[j]) ++dentro;
            }
            percentual_[j] =
                s.n() ? 100.0L * static_cast<long double>(dentro) / static_cast<long double>(s.n())
                      : 0;
        }
    }
    void Imprime(int) override { EscreveTabela(4, 3); }
    std::string TextoCelula(int l, int c) const override {
        static const char *intervalos[] = {"Intervalo", "-1; +1", "-1,64; +1,64", "-1,96; +1,96"};
        static const char *gauss[] = {"Distribuição de Gauss", "68,3 %", "89,9 %", "95,0 %"};
        if (c == 0) return intervalos[l];
        if (c == 1) return gauss[l];
        if (l == 0)
            return Ctx().Inferencial ? "% de Resíduos no Intervalo"
                                     : "% de Amostragens no Intervalo";
        return Fixo(percentual_[l - 1], 2) + " %";
    }
    int AlinhamentoCelula(int, int) const override { return apCentro; }

  private:
    long double percentual_[3] = {};
};

} // namespace

// The builders the catalogue rows hold.
ZELTO_CONSTRUTOR_ITEM(TIA_TabResiduos)
ZELTO_CONSTRUTOR_ITEM(TIA_TabResiduosDeletados)
ZELTO_CONSTRUTOR_ITEM(TIA_EstatResiduos)
ZELTO_CONSTRUTOR_ITEM(TIA_OutLiers)
ZELTO_CONSTRUTOR_ITEM(TIA_Saneadas)
ZELTO_CONSTRUTOR_ITEM(TIA_TesteOutliers)
ZELTO_CONSTRUTOR_ITEM(TIA_DistrResiduos)

} // namespace zelto
