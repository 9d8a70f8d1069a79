// The data graphs: the observed value of the dependent variable by sample (in its worksheet
// format), the transformed dependent value by sample around its mean, and the coefficients of
// variation of the model's variables, transformed and untransformed, as horizontal bars.
//
// The coefficient-of-variation chart puts one row per variable of the model, the dependent
// first at the top, each a bar of length |100·σ / mean| labelled with its value at half
// length (the bar in the colour around the plot, so the value reads on it in monochrome too). A variable whose mean is 0 (or whose deviation cannot be computed) has no
// coefficient: its row carries no bar, only the word "indefinido", and it takes no part in the
// X range, which runs from 0 to the largest defined coefficient (0 .. 1 when none is). The
// same word is what the statistics tables print for such a coefficient, and a bar of any
// length would be read as a value.
#include "items/Catalogo.h"
#include "items/ComumItens.h"
#include "items/GraficoItem.h"
#include "regression/ResiduosRelatorio.h"
#include "regression/Sistema.h"

#include <cmath>
#include <optional>

namespace zelto {

namespace {

double D(long double x) { return static_cast<double>(x); }

class TIA_Dispersao : public TIA_XAmostragem {
  public:
    using TIA_XAmostragem::TIA_XAmostragem;

  protected:
    double Y(std::size_t i) const override { return D(Sistema().DependenteBruto(i)); }
    std::string TituloChart() const override { return "Dispersão"; }
    std::string TituloY() const override { return NomeVar(Sistema(), 1); }
    // Labels in the dependent column's own format.
    TFormatador FormatoY() const override { return FormatoColuna(static_cast<int>(Sistema().ColunaTermo(1))); }
};

class TIA_DispTransformada : public TIA_XAmostragem {
  public:
    using TIA_XAmostragem::TIA_XAmostragem;
    std::vector<std::string> CliqueGrafico(double x, double y, double toleranciaX, double toleranciaY) override {
        TIA_XAmostragem::CliqueGrafico(x, y, toleranciaX, toleranciaY);
        if (DescricaoClique.empty() && std::fabs(y - Media()) <= toleranciaY)
            DescricaoClique = {"Valor Médio = " + RotuloNumero(Media())};
        return DescricaoClique;
    }

  protected:
    double Media() const { return D(Sistema().Media(1)); }
    double Y(std::size_t i) const override { return D(Sistema().ValorTransformado(1, i)); }
    std::string TituloChart() const override { return "Dispersão"; }
    std::string TituloY() const override { return NomeTransformado(Sistema(), 1); }
    void Extras(TChart &c) const override { c.Line(Media(), c.X.Maximo, Media(), c.X.Minimo); }
};

// One row per variable of the model, term k at y = m + 1 − k.
class TGraficoCoefVar : public TItemGrafico {
  public:
    using TItemGrafico::TItemGrafico;
    int NumeroPartes() const override { return ctx_ && ctx_->Sistema && Sistema().m() > 0 ? 1 : 0; }
    void Calcula(int parte) override {
        TItemGrafico::Calcula(parte);
        const TSistema &s = Sistema();
        linhas_.clear();
        for (std::size_t k = 1; k <= s.m(); ++k) linhas_.push_back({Nome(k), Coeficiente(k)});
    }
    void Imprime(int) override {
        const double m = static_cast<double>(linhas_.size());
        double maior = 0;
        for (const TLinha &l : linhas_)
            if (l.cv) maior = std::max(maior, D(*l.cv));
        const TFaixa x{0, maior > 0 ? RegraFaixa(0, maior).Maximo : 1};
        TChart c = ChartBase(x, {0, m + 1}, "Coeficientes de Variação", "Variação (%)", "Variáveis");
        c.EscalaY.PassoAutomatico = false;
        c.EscalaY.Passo = 1;
        std::vector<std::string> nomes;
        for (const TLinha &l : linhas_) nomes.push_back(l.nome);
        c.EscalaY.Formata = [nomes](double v) {
            const long r = std::lround(v), k = static_cast<long>(nomes.size()) + 1 - r;
            return r >= 1 && k >= 1 && k <= static_cast<long>(nomes.size()) ? nomes[static_cast<std::size_t>(k - 1)]
                                                                             : std::string();
        };
        for (std::size_t k = 1; k <= linhas_.size(); ++k) {
            const double y = m + 1 - static_cast<double>(k);
            const std::optional<long double> &cv = linhas_[k - 1].cv;
            if (!cv) {
                c.TextAt("indefinido", y, c.X.Minimo + (c.X.Maximo - c.X.Minimo) / 4);
                continue;
            }
            c.HorizontalBar(0.75, y, D(*cv), c.FundoLegendas);
            // The value at half the bar's visible length (a manual range may cut the bar).
            const double de = std::max(c.X.Minimo, 0.0), ate = std::min(c.X.Maximo, D(*cv));
            if (de < ate) c.TextAt(RotuloNumero(D(*cv)) + "%", y, (de + ate) / 2);
        }
        EscreveChart(c);
    }
    std::vector<std::string> CliqueGrafico(double x, double y, double, double) override {
        DescricaoClique.clear();
        const double m = static_cast<double>(linhas_.size());
        const long k = std::lround(m + 1 - y);
        if (k < 1 || k > static_cast<long>(linhas_.size()) || std::fabs(m + 1 - y - static_cast<double>(k)) > 0.375)
            return DescricaoClique;
        const TLinha &l = linhas_[static_cast<std::size_t>(k - 1)];
        if (l.cv && x >= 0 && x <= D(*l.cv)) DescricaoClique = {l.nome, "Variação (%) = " + RotuloNumero(D(*l.cv))};
        return DescricaoClique;
    }

  protected:
    virtual std::string Nome(std::size_t k) const = 0;
    virtual std::optional<long double> Coeficiente(std::size_t k) const = 0;

  private:
    struct TLinha {
        std::string nome;
        std::optional<long double> cv;
    };
    std::vector<TLinha> linhas_;
};

class TIA_CoefVar : public TGraficoCoefVar {
  public:
    using TGraficoCoefVar::TGraficoCoefVar;

  protected:
    std::string Nome(std::size_t k) const override { return NomeTransformado(Sistema(), k); }
    std::optional<long double> Coeficiente(std::size_t k) const override {
        return CoeficienteVariacao(Sistema().Media(k), Sistema().DesvioPadrao(k));
    }
};

class TIA_CoefVarNaoT : public TGraficoCoefVar {
  public:
    using TGraficoCoefVar::TGraficoCoefVar;

  protected:
    std::string Nome(std::size_t k) const override { return NomeVar(Sistema(), k); }
    std::optional<long double> Coeficiente(std::size_t k) const override {
        const TResumoBruto r = ResumoBruto(Sistema(), k);
        return CoeficienteVariacao(r.Media, r.Desvio);
    }
};

} // namespace

// The builders the catalogue rows hold.
ZELTO_CONSTRUTOR_ITEM(TIA_Dispersao)
ZELTO_CONSTRUTOR_ITEM(TIA_DispTransformada)
ZELTO_CONSTRUTOR_ITEM(TIA_CoefVar)
ZELTO_CONSTRUTOR_ITEM(TIA_CoefVarNaoT)

} // namespace zelto
