// The items that test the residuals for normality and independence: the Kolmogorov-Smirnov
// test against the normal distribution, the runs (sequences) and signs tests, the
// Durbin-Watson test of autocorrelation, the central moments with skewness and kurtosis, and
// the table of class intervals. In the descriptive mode they test the deviations of the
// dependent variable around its mean.
//
// eᵢ is the residual less the mean residual and the normalised residual eᵢ/s (ItensResiduos.cpp).
// The levels are those of the significance settings; a level fixed by the valuation standard
// adds its sentence to the verdict. The tests and their critical values come from the
// regression engine (TestesResiduos.h, TabelasCriticas.h, ResiduosRelatorio.h); the classes
// of the histogram are the regression system's, whose last class takes everything from its
// lower bound up, so the largest residual is always counted whatever the rounding of the bounds.
#include "common/Numeros.h"
#include "items/Catalogo.h"
#include "items/ComumItens.h"
#include "items/ItensResiduos.h"
#include "regression/Distribuicoes.h"
#include "regression/LimitesDW.h"
#include "regression/ResiduosRelatorio.h"
#include "regression/TabelasCriticas.h"
#include "regression/TestesResiduos.h"

#include <algorithm>
#include <cmath>

namespace zelto {

bool NormalidadeRejeitada(long double d, long double critico) {
    return critico <= d;
}

namespace {

std::string Fixo(long double x, int d) {
    return FormatoFixo(x, d);
}

// ---- Kolmogorov-Smirnov -------------------------------------------------------------------------

class TIA_TesteKolmogorov : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        const TSistema &s = Sistema();
        const std::size_t n = s.n();
        linhas_.assign(n, {});
        d_ = 0;
        const long double nl = static_cast<long double>(n);
        for (std::size_t j = 1; j <= n; ++j) {
            TLinhaKS &l = linhas_[j - 1];
            l.amostra = s.OrdemResiduo(j);
            l.F = DistribuicaoNormal(s.ResiduoPadronizadoOrdenado(j));
            l.G = static_cast<long double>(j) / nl;
            l.esquerda = std::fabs(l.F - static_cast<long double>(j - 1) / nl);
            l.direita = std::fabs(l.F - l.G);
            d_ = std::max({d_, l.esquerda, l.direita});
        }
        nivel_ = NivelPercentual(Sig().KolmogorovSmirnov);
        critico_ = CriticoKS(nivel_, static_cast<unsigned>(n));
    }
    void Imprime(int) override {
        EscreveTabela(static_cast<int>(linhas_.size()) + 1, 6);
        Corpo();
        E().AlignLeft();
        Linha("Maior diferença obtida: " + Num(d_));
        Linha("Valor crítico: " + Fixo(critico_, 4) + " (para o nível de significância de " +
              std::to_string(nivel_) + " %)");
        LinhaVazia();
        if (!Comentarios) return;
        Comentario();
        E().AlignJustify();
        const std::string inicio =
            "Segundo o teste de Kolmogorov-Smirnov, a um nível de significância de " +
            std::to_string(nivel_) + "%, ";
        LinhaComentario(
            inicio + (NormalidadeRejeitada(d_, critico_)
                          ? "rejeita-se a hipótese de que os resíduos possuam distribuição normal "
                            "(rejeita-se a hipótese nula)."
                          : "não se rejeita a hipótese de que os resíduos possuam distribuição "
                            "normal (não se rejeita a hipótese nula)."));
        if (Sig().Normatizada[mnKolmogorov]) LinhaComentario(FraseNorma(Sig()));
        LinhaVazia();
        LinhaComentario("Observação:");
        LinhaComentario(
            "O teste de Kolmogorov-Smirnov tem valor aproximado quando é realizado sobre uma "
            "população cuja distribuição é desconhecida como é o caso das avaliações pelo método "
            "comparativo.");
    }
    std::string TextoCelula(int l, int c) const override {
        if (l == 0) {
            static const char *titulos[] = {"Nº Am.", "Resíduo",       "F(z)",
                                            "G(z)",   "Dif. esquerda", "Dif. Direita"};
            return c == 1 && !Ctx().Inferencial ? "Desvio" : titulos[c];
        }
        const TLinhaKS &k = linhas_[static_cast<std::size_t>(l) - 1];
        switch (c) {
        case 0:
            return NumeroAmostraTexto(Sistema(), k.amostra);
        case 1:
            return Num(Sistema().Residuo(k.amostra));
        case 2:
            return FormatoSignificativo(k.F, 4);
        case 3:
            return Fixo(k.G, 4);
        case 4:
            return Num(k.esquerda);
        default:
            return Num(k.direita);
        }
    }
    int AlinhamentoCelula(int l, int c) const override {
        return l == 0 || c == 0 ? apCentro : apDireita;
    }

  private:
    struct TLinhaKS {
        std::size_t amostra = 0;
        long double F = 0, G = 0, esquerda = 0, direita = 0;
    };
    std::vector<TLinhaKS> linhas_;
    long double d_ = 0, critico_ = 0;
    int nivel_ = 0;
};

// ---- Runs and signs ---------------------------------------------------------------------------

class TIA_TesteSequencias : public TItemAvaliacao {
  public:
    using TItemAvaliacao::TItemAvaliacao;
    void Calcula(int parte) override {
        TItemAvaliacao::Calcula(parte);
        alfa_ = Sig().TesteSequencias;
        t_ = TesteSequencias(Sistema().Residuos(), alfa_);
    }
    void Imprime(int) override {
        const std::string nivel =
            " (para o nível de significância de " + Fixo(alfa_ * 100, 0) + "%)";
        LinhasRotuladas({
            {"Número de elementos positivos ", std::to_string(t_.Positivos)},
            {"Número de elementos negativos ", std::to_string(t_.Negativos)},
            {"Número de sequências ", std::to_string(t_.Sequencias)},
            {"Média da distribuição de sinais ", FormatoGeral(t_.MediaSinais)},
            {"Desvio padrão ", FormatoSignificativo(t_.DesvioSinais, 4)},
        });
        LinhaVazia();
        if (t_.Desvio != 0) {
            Linha("Teste de Sequências");
            Linha("(desvios em torno da média):");
            LinhaVazia();
            E().AlignJustify();
            LinhasRotuladas({{"Limite inferior ", Fixo(t_.ZInferior, 4)},
                             {"Limite superior ", Fixo(t_.ZSuperior, 4)}});
            Linha("Intervalo para a normalidade: [-" + Fixo(t_.ZCritico, 4) + " , " +
                  Fixo(t_.ZCritico, 4) + "]" + nivel);
            LinhaVazia();
            LinhaComentario(std::string("Pelo teste de sequências, ") +
                            (t_.SequenciasAleatorias()
                                 ? "aceita-se a hipótese da aleatoriedade dos sinais dos "
                                 : "rejeita-se a hipótese da aleatoriedade dos sinais dos ") +
                            (Ctx().Inferencial ? "resíduos." : "desvios."));
        }
        LinhaVazia();
        Corpo();
        Linha("Teste de Sinais");
        Linha("(desvios em torno da média)");
        LinhaVazia();
        LinhasRotuladas({{"Valor z (calculado) ", Fixo(t_.ZSinais, 4)},
                         {"Valor z (crítico) ", Fixo(t_.ZCritico, 4) + nivel}});
        LinhaVazia();
        LinhaComentario(
            std::string("Pelo teste de sinais, ") +
            (t_.SinaisNormais()
                 ? "aceita-se a hipótese nula, podendo ser afirmado que a distribuição dos desvios "
                   "em "
                   "torno da média segue a curva normal (curva de Gauss)."
                 : "rejeita-se a hipótese nula. A distribuição dos desvios em torno da média não "
                   "apresenta características de normalidade."));
    }

  private:
    long double alfa_ = 0;
    TSequencias t_;
};

// ---- Durbin-Watson ------------------------------------------------------------------------------

class TIA_AutoCorrelacao : public TItemAvaliacao {
  public:
    using TItemAvaliacao::TItemAvaliacao;
    void Calcula(int parte) override {
        TItemAvaliacao::Calcula(parte);
        const TSistema &s = Sistema();
        k_ = static_cast<unsigned>(Regressores(s));
        alfa_ = Sig().DurbinWatson;
        dw_ = s.DurbinWatson();
        const auto n = static_cast<unsigned>(s.n());
        dl_ = LimiteBaixoDW(n, k_, alfa_);
        du_ = LimiteAltoDW(n, k_, alfa_);
        veredito_ = ClassificaDW(dw_, n, k_, alfa_);
        p_ = ProbabilidadeDW(s);
    }
    void Imprime(int) override {
        if (k_ == 0) {
            Linha("Número de regressores = 0.");
            Linha("Não é possível aplicar o teste de Durbin-Watson");
            LinhaVazia();
            return;
        }
        Linha("Estatística de Durbin-Watson (DW) \t: " + Fixo(dw_, 4));
        Linha("(nível de significância de " + Fixo(alfa_ * 100, 1) + "%)");
        LinhaVazia();
        Linha("Autocorrelação positiva (DW < DL) \t: DL   = " + Fixo(dl_, 2));
        Linha("Autocorrelação negativa (DW > 4-DL) \t: 4-DL = " + Fixo(4 - dl_, 2));
        LinhaVazia();
        Linha("Intervalo para ausência de autocorrelação (DU < DW < 4-DU)");
        Linha("DU = " + Fixo(du_, 2) + "   4-DU = " + Fixo(4 - du_, 2));
        if (p_)
            Linha(std::string("p-valor exato (unilateral, ") +
                  (p_->Positiva ? "d ≤ DW" : "d ≥ DW") +
                  ") \t: " + (p_->Valor < 0.00005L ? "< " + Fixo(0.0001L, 4) : Fixo(p_->Valor, 4)));
        LinhaVazia();
        if (!Comentarios) return;
        if (veredito_ == 2) {
            LinhaComentario("Teste de Durbin-Watson inconclusivo.");
        } else {
            LinhaComentario(std::string("Pelo teste de Durbin-Watson, ") +
                            (veredito_ == 1    ? "há autocorrelação positiva."
                             : veredito_ == -1 ? "há autocorrelação negativa."
                                               : "não existe autocorrelação."));
            if (veredito_ == 0 && Sig().Normatizada[mnDurbinWatson])
                LinhaComentario(FraseNorma(Sig()));
        }
        LinhaVazia();
        LinhaComentario("A autocorrelação (ou autorregressão)  só pode ser verificada se as "
                        "amostragens estiverem "
                        "ordenadas segundo um critério conhecido.  Se os dados estiverem "
                        "aleatoriamente dispostos, "
                        "o resultado (positivo ou negativo)  não pode ser considerado.");
    }

  private:
    unsigned k_ = 0;
    int veredito_ = 0;
    long double alfa_ = 0, dw_ = 0, dl_ = 0, du_ = 0;
    std::optional<TProbabilidadeDW> p_;
};

// ---- Central moments ---------------------------------------------------------------------------

class TIA_MomentosCentrais : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Calcula(int parte) override {
        TItemAvaliacaoTab::Calcula(parte);
        const TSistema &s = Sistema();
        long double soma = 0;
        for (long double e : s.Residuos())
            soma += e;
        media_ = ZeroDeArredondamento(s, s.n() ? soma / static_cast<long double>(s.n()) : 0);
        assimetria_ = s.Assimetria();
        curtose_ = s.Curtose();
    }
    void Imprime(int) override {
        const TSistema &s = Sistema();
        Linha("Momento central de 1ª ordem \t: " + Num(media_));
        Linha("Momento central de 2ª ordem \t: " + Num(s.Momento2()));
        Linha("Momento central de 3ª ordem \t: " + Num(s.Momento3()));
        Linha("Momento central de 4ª ordem \t: " + Num(s.Momento4()));
        LinhaVazia();
        EscreveTabela(3, 4);
        LinhaComentario(std::string("Distribuição ") +
                        (assimetria_ == 0  ? "simétrica "
                         : assimetria_ < 0 ? "assimétrica à esquerda "
                                           : "assimétrica à direita ") +
                        (curtose_ == 0  ? "e mesocúrtica."
                         : curtose_ < 0 ? "e platicúrtica."
                                        : "e leptocúrtica."));
    }
    std::string TextoCelula(int l, int c) const override {
        static const char *titulos[] = {"Coeficiente", "Amostral", "Normal", "t de Student"};
        if (l == 0) return titulos[c];
        if (c == 0) return l == 1 ? "Assimetria" : "Curtose";
        if (c == 1) return Num(l == 1 ? assimetria_ : curtose_);
        if (c == 2) return "0";
        return l == 1 ? "0" : "Indefinido";
    }
    int AlinhamentoCelula(int l, int c) const override {
        if (l == 0 || c == 0) return apEsquerda;
        return c == 3 ? apCentro : apDireita;
    }

  private:
    long double media_ = 0, assimetria_ = 0, curtose_ = 0;
};

// ---- Class intervals
// -----------------------------------------------------------------------------

class TIA_IntervalosClasse : public TItemAvaliacaoTab {
  public:
    using TItemAvaliacaoTab::TItemAvaliacaoTab;
    void Imprime(int) override {
        EscreveTabela(static_cast<int>(Sistema().NumeroClasses()) + 1, 6);
    }
    std::string TextoCelula(int l, int c) const override {
        static const char *titulos[] = {"Classe", "Mínimo", "Máximo", "Freq.", "Freq.(%)", "Média"};
        if (l == 0) return titulos[c];
        const TSistema &s = Sistema();
        const auto a = static_cast<std::size_t>(l);
        switch (c) {
        case 0:
            return std::to_string(l);
        case 1:
            return Num(s.LimiteInferiorClasse(a));
        case 2:
            return Num(s.LimiteSuperiorClasse(a));
        case 3:
            return std::to_string(s.ContagemClasse(a));
        case 4:
            return Fixo(s.n() ? static_cast<long double>(s.ContagemClasse(a)) * 100 /
                                    static_cast<long double>(s.n())
                              : 0,
                        2);
        default:
            return Num(s.MediaClasse(a));
        }
    }
    int AlinhamentoCelula(int l, int c) const override {
        return l == 0 || c == 0 ? apCentro : apDireita;
    }
};

} // namespace

// The builders the catalogue rows hold.
ZELTO_CONSTRUTOR_ITEM(TIA_TesteKolmogorov)
ZELTO_CONSTRUTOR_ITEM(TIA_TesteSequencias)
ZELTO_CONSTRUTOR_ITEM(TIA_AutoCorrelacao)
ZELTO_CONSTRUTOR_ITEM(TIA_MomentosCentrais)
ZELTO_CONSTRUTOR_ITEM(TIA_IntervalosClasse)

} // namespace zelto
