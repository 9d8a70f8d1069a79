// The distribution graphs of the residuals: the histogram of the residual classes with the
// normal curve fitted to them, the ogive of the cumulative relative frequencies, the normal
// line (the ordered normalized residuals against their plotting positions) and the
// Kolmogorov-Smirnov graph (the empirical distribution of the ordered normalized residuals
// against the standard normal distribution function).
//
// Classes, counts, bounds, the residual mean and variance, the ordered normalized residuals
// and the normal distribution function all come from the regression system; an item only
// places them. The histogram works in class units: class j is the bar centred on x = j, so the
// data range min e .. max e spans 0.5 .. k + 0.5 and the fitted curve, centred on c + 0.5 with
// c = (ē − min e)·k / (max e − min e), has its peak n / √(2π s²) there. The bars take the colour
// of the area around the plot, outlined in black, so the curve reads over them in colour and
// in a monochrome picture alike.
#include "items/Catalogo.h"
#include "items/GraficoItem.h"
#include "regression/Distribuicoes.h"
#include "regression/Sistema.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelto {

namespace {

double D(long double x) { return static_cast<double>(x); }

// The classes of the residual histogram as the two class graphs read them.
class TGraficoClasses : public TItemGrafico {
  public:
    using TItemGrafico::TItemGrafico;
    int NumeroPartes() const override { return ctx_ && ctx_->Sistema && Sistema().n() > 0 ? 1 : 0; }

  protected:
    std::size_t Classes() const { return Sistema().NumeroClasses(); }
    std::vector<std::string> DescreveClasse(std::string primeira, std::size_t k) {
        const TSistema &s = Sistema();
        DescricaoClique = {std::move(primeira), "Mínimo = " + RotuloNumero(D(s.LimiteInferiorClasse(k))),
                           "Máximo = " + RotuloNumero(D(s.LimiteSuperiorClasse(k)))};
        return DescricaoClique;
    }
    // Whole-number labels on X, one per class.
    static void EixoClasses(TChart &c) {
        c.EscalaX.PassoAutomatico = false;
        c.EscalaX.Passo = 1;
        c.EscalaX.Formata = RotuloInteiro;
    }
};

} // namespace

// The normal curve fitted to the classes, in class units.
TCurvaHistograma CurvaHistograma(const TSistema &s) {
    TCurvaHistograma c;
    const double k = static_cast<double>(s.NumeroClasses());
    const double n = static_cast<double>(s.n());
    const double amplitude = D(s.MaximoResiduo() - s.MinimoResiduo());
    if (amplitude > 0) {
        c.Centro = D(s.MediaResiduos() - s.MinimoResiduo()) * k / amplitude;
        c.Desvio = std::sqrt(D(s.Momento2())) * k / amplitude;
    } else {
        c.Centro = k / 2;
        c.Desvio = 0;
    }
    const double v = c.Desvio * c.Desvio;
    c.Pico = v > 0 ? n / std::sqrt(2 * std::numbers::pi * v) : 2 * n;
    return c;
}

double TCurvaHistograma::operator()(double x) const {
    const double v = Desvio * Desvio;
    if (!(v > 0)) return 0;
    const double d = x - Centro - 0.5;
    return Pico * std::exp(-d * d / (2 * v));
}

namespace {

class TIA_Histograma : public TGraficoClasses {
  public:
    using TGraficoClasses::TGraficoClasses;
    void Imprime(int) override {
        const TSistema &s = Sistema();
        const std::size_t k = Classes();
        const TCurvaHistograma curva = CurvaHistograma(s);
        double maior = 0;
        for (std::size_t j = 1; j <= k; ++j) maior = std::max(maior, static_cast<double>(s.ContagemClasse(j)));
        const double topo = std::max(maior, curva.Pico) + 2;
        TChart c = ChartBase({0, static_cast<double>(k) + 0.8}, {0, topo}, "Frequências Absolutas", "Classe",
                             "Frequência");
        EixoClasses(c);
        // A nice whole step of about ten divisions: of 0 .. top, or of a manual range.
        c.EscalaY.PassoAutomatico = false;
        c.EscalaY.Passo = PassoInteiro(c.Y.Maximo - c.Y.Minimo, 10);
        c.EscalaY.Formata = RotuloInteiro;
        for (std::size_t j = 1; j <= k; ++j)
            c.VerticalBar(1, static_cast<double>(s.ContagemClasse(j)), static_cast<double>(j), c.FundoLegendas);
        c.Curve(curva, c.X.Minimo, c.X.Maximo, true);
        EscreveChart(c);
    }
    std::vector<std::string> CliqueGrafico(double x, double y, double, double toleranciaY) override {
        DescricaoClique.clear();
        const TSistema &s = Sistema();
        const long j = std::lround(x);
        if (j < 1 || static_cast<std::size_t>(j) > Classes() || y < 0) return DescricaoClique;
        const std::size_t a = static_cast<std::size_t>(j);
        const double f = static_cast<double>(s.ContagemClasse(a));
        if (y > f + toleranciaY) return DescricaoClique;
        return DescreveClasse("Frequência da Classe nº " + std::to_string(a) + " = " + RotuloInteiro(f), a);
    }
};

class TIA_Ogiva : public TGraficoClasses {
  public:
    using TGraficoClasses::TGraficoClasses;
    // The cumulative relative frequency of class k in percent (0 at k = 0).
    double Acumulada(std::size_t k) const {
        const TSistema &s = Sistema();
        return k == 0 ? 0 : 100.0 * static_cast<double>(s.ContagemAcumulada(k)) / static_cast<double>(s.n());
    }
    void Imprime(int) override {
        const std::size_t k = Classes();
        TChart c = ChartBase({0, static_cast<double>(k) + 1}, {0, 100}, "Frequências Relativas Acumuladas",
                             "Classe", "Frequência relativa (%)");
        EixoClasses(c);
        for (std::size_t j = 1; j <= k; ++j)
            c.Line(Acumulada(j), static_cast<double>(j), Acumulada(j - 1), static_cast<double>(j - 1));
        for (std::size_t j = 1; j <= k; ++j) c.PlotPoint("", Acumulada(j), static_cast<double>(j));
        EscreveChart(c);
    }
    std::vector<std::string> CliqueGrafico(double x, double y, double toleranciaX, double toleranciaY) override {
        DescricaoClique.clear();
        for (std::size_t j = 1; j <= Classes(); ++j)
            if (std::fabs(x - static_cast<double>(j)) <= toleranciaX && std::fabs(y - Acumulada(j)) <= toleranciaY)
                return DescreveClasse("Freq. ac.(%)(Classe nº " + std::to_string(j) +
                                          ") = " + RotuloNumero(Acumulada(j)),
                                      j);
        return DescricaoClique;
    }
};

// The ordered normalized residuals, each labelled with its sample's number.
class TXYOrdenados : public TIA_XYAmostragem {
  public:
    using TIA_XYAmostragem::TIA_XYAmostragem;

  protected:
    double Z(std::size_t i) const { return D(Sistema().ResiduoPadronizadoOrdenado(i)); }
    std::string RotuloAmostra(std::size_t i) const override {
        return std::to_string(Sistema().NumeroAmostra(Sistema().OrdemResiduo(i)));
    }
    std::string TituloX() const override { return "z"; }
    std::string TituloY() const override { return "Prob(z)"; }
};

class TIA_GrafNormalidade : public TXYOrdenados {
  public:
    using TXYOrdenados::TXYOrdenados;

  protected:
    double X(std::size_t i) const override {
        return (static_cast<double>(i) - 0.5) / static_cast<double>(Amostras());
    }
    double Y(std::size_t i) const override { return Z(i); }
    std::string TituloChart() const override { return "Normalidade"; }
    void FaixasAutomaticas(TFaixa &x, TFaixa &) const override { x = RegraFaixa(0, 1); }
    void Extras(TChart &c) const override {
        const std::size_t n = Amostras();
        c.Line(Y(n), X(n), Y(1), X(1));
    }
};

class TIA_GrafKolmogorov : public TXYOrdenados {
  public:
    using TXYOrdenados::TXYOrdenados;

  protected:
    double X(std::size_t i) const override { return Z(i); }
    double Y(std::size_t i) const override {
        return static_cast<double>(i) / static_cast<double>(Amostras());
    }
    std::string TituloChart() const override { return "Kolmogorov-Smirnov"; }
    // 0 .. 1 widened as the normal line's positions are: on a range of exactly 0 .. 1 the
    // first and last samples would sit on the frame, their markers cut in half.
    void FaixasAutomaticas(TFaixa &, TFaixa &y) const override { y = RegraFaixa(0, 1); }
    void AjustaEixos(TChart &c) const override { c.Subtitulo = "(elementos da amostra)"; }
    void Extras(TChart &c) const override {
        c.Curve([](double z) { return D(DistribuicaoNormal(z)); }, c.X.Minimo, c.X.Maximo);
    }
};

} // namespace

// The builders the catalogue rows hold.
ZELTO_CONSTRUTOR_ITEM(TIA_Histograma)
ZELTO_CONSTRUTOR_ITEM(TIA_Ogiva)
ZELTO_CONSTRUTOR_ITEM(TIA_GrafKolmogorov)
ZELTO_CONSTRUTOR_ITEM(TIA_GrafNormalidade)

} // namespace zelto
