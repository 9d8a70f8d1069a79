// The series graphs, one part per variable or pair of variables: the residuals against each
// transformed independent variable of the model, the residuals against each worksheet
// variable left out of the model, and the graphs of the regression itself: the estimate as a
// curve along one independent variable (2D), as a colour map over a pair (level curves) and as
// a surface over a pair (3D).
//
// The regression graphs take the accepted variables (the model's independent variables whose
// kind the item's options allow) in model order, and every variable off the axes is held at
// the subject property's value (the sample mean when the property has no values) or at the
// sample mean, as the options say; the plotted function is the regression system's estimate at
// that point with the axis variables replaced. The limit option stops the parts at its count.
// The 2D curve is sampled once per pixel column over the samples' range of its variable (and
// the property's value), where the transformations are known to hold; the level curves and
// the surface span exactly the samples' ranges of their pair.
#include "items/Catalogo.h"
#include "evaluation/DadosPlanilha.h"
#include "items/ComumItens.h"
#include "writer/TextoLiteral.h"
#include "items/GraficoItem.h"
#include "regression/ResiduosRelatorio.h"
#include "regression/Sistema.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace zelto {

namespace {

double D(long double x) { return static_cast<double>(x); }

// ---- Residuals against variables -------------------------------------------------------------

class TIA_Multicolinearidade : public TIA_XYAmostragem {
  public:
    using TIA_XYAmostragem::TIA_XYAmostragem;
    int NumeroPartes() const override {
        return ctx_ && ctx_->Sistema && Sistema().n() > 0 && Sistema().m() > 1 ? static_cast<int>(Sistema().m()) - 1 : 0;
    }
    int VariavelX(int parte) const override { return static_cast<int>(Sistema().ColunaTermo(Termo(parte))); }
    void Imprime(int parte) override {
        if (parte == 0) {
            Corpo();
            E().AlignLeft();
            Linha("Verificação de multicolinearidade:");
        }
        TIA_XYAmostragem::Imprime(parte);
    }

  protected:
    static std::size_t Termo(int parte) { return static_cast<std::size_t>(parte) + 2; }
    double X(std::size_t i) const override { return D(Sistema().ValorTransformado(Termo(parte_), i)); }
    double Y(std::size_t i) const override { return D(Sistema().Residuo(i)); }
    std::string TituloChart() const override { return Res(true) + " x " + TituloX(); }
    std::string TituloX() const override { return NomeTransformado(Sistema(), Termo(parte_)); }
    std::string TituloY() const override { return Res(); }
};

class TIA_ResiduosxNaoUsadas : public TIA_XYAmostragem {
  public:
    using TIA_XYAmostragem::TIA_XYAmostragem;
    int NumeroPartes() const override {
        return ctx_ && ctx_->Sistema && Sistema().n() > 0 ? static_cast<int>(Omitidas().size()) : 0;
    }
    int VariavelX(int parte) const override { return Omitidas()[static_cast<std::size_t>(parte)].Coluna; }
    void Calcula(int parte) override {
        variavel_ = Omitidas()[static_cast<std::size_t>(parte)];
        TIA_XYAmostragem::Calcula(parte);
    }

  protected:
    // The worksheet variables outside the model, in column order: a used variable the model
    // does not contain, or an unused one that is not a comments column.
    std::vector<TInfoVariavel> Omitidas() const {
        const TSistema &s = Sistema();
        std::vector<TInfoVariavel> v;
        for (const TInfoVariavel &i : VariaveisPlanilha(Grid())) {
            bool noModelo = false;
            for (std::size_t k = 1; k <= s.m(); ++k) noModelo = noModelo || static_cast<int>(s.ColunaTermo(k)) == i.Coluna;
            if (noModelo || (!i.Usada && i.Tipo == tvrComentario)) continue;
            v.push_back(i);
        }
        return v;
    }
    double X(std::size_t i) const override {
        return D(ValorPlanilha(Grid(), variavel_.Coluna, Sistema().LinhaAmostra(i)));
    }
    double Y(std::size_t i) const override { return D(Sistema().Residuo(i)); }
    std::string TituloChart() const override { return Res(true) + " x " + Literal(variavel_.Nome); }
    std::string TituloX() const override { return Literal(variavel_.Nome); }
    std::string TituloY() const override { return Inferencial() ? "Resíduo" : "Desvios"; }
    TFormatador FormatoX() const override { return FormatoColuna(variavel_.Coluna); }

  private:
    TInfoVariavel variavel_;
};

// ---- The regression graphs -------------------------------------------------------------------

class TGraficoRegressao : public TItemGrafico {
  public:
    using TItemGrafico::TItemGrafico;
    int NumeroPartes() const override {
        if (!ctx_ || !ctx_->Sistema || Sistema().n() == 0) return 0;
        int partes = static_cast<int>(Eixos().size());
        if (OpcoesMGr[5]) partes = std::min(partes, static_cast<int>(ValorMGr));
        return std::max(partes, 0);
    }
    int VariavelX(int parte) const override { return Coluna(Eixos()[static_cast<std::size_t>(parte)].first); }
    int VariavelY(int parte) const override {
        const auto &e = Eixos()[static_cast<std::size_t>(parte)];
        return Coluna(e.second ? e.second : e.first);
    }
    void Calcula(int parte) override {
        TItemGrafico::Calcula(parte);
        const auto e = Eixos()[static_cast<std::size_t>(parte)];
        kx_ = e.first, ky_ = e.second;
        fixo_ = PontoFixo();
    }

  protected:
    // The model positions (2 .. m) whose kind the options accept.
    std::vector<std::size_t> Aceitas() const {
        const TSistema &s = Sistema();
        std::vector<std::size_t> v;
        for (std::size_t k = 2; k <= s.m(); ++k) {
            const int tipo = VariavelPlanilha(Grid(), Coluna(k)).Tipo;
            const bool aceita = ((tipo == tvrNumerica || tipo == tvrCalculada) && OpcoesMGr[1]) ||
                                (tipo == tvrData && OpcoesMGr[2]) || (tipo == tvrQualitativa && OpcoesMGr[3]) ||
                                (tipo == tvrDicotomica && OpcoesMGr[4]);
            if (aceita) v.push_back(k);
        }
        return v;
    }
    // The axis variables of every part: (k, 0) for one variable, (i, j) for a pair.
    virtual std::vector<std::pair<std::size_t, std::size_t>> Eixos() const = 0;
    std::vector<std::pair<std::size_t, std::size_t>> Pares() const {
        const std::vector<std::size_t> a = Aceitas();
        std::vector<std::pair<std::size_t, std::size_t>> v;
        for (std::size_t i = 0; i < a.size(); ++i)
            for (std::size_t j = i + 1; j < a.size(); ++j) v.emplace_back(a[i], a[j]);
        return v;
    }
    int Coluna(std::size_t k) const { return static_cast<int>(Sistema().ColunaTermo(k)); }
    bool NoObjeto() const { return OpcoesMGr[0] == 0 && Sistema().ObjetoInformado(); }
    TPonto PontoFixo() const {
        const TSistema &s = Sistema();
        if (NoObjeto()) return s.PontoObjeto();
        TPonto p(s.m() + 1, 0);
        for (std::size_t k = 2; k <= s.m(); ++k) p[k] = ResumoBruto(s, k).Media;
        return p;
    }
    // The estimate with the axis variables at x (and y); NaN where it cannot be computed. The
    // function holds its own copy of the point, so a chart keeps it past the report run.
    std::function<double(double, double)> Funcao() const {
        return [s = &Sistema(), p = fixo_, kx = kx_, ky = ky_](double x, double y) mutable {
            p[kx] = x;
            if (ky) p[ky] = y;
            const std::optional<long double> v = s->Estimativa(p);
            return v ? D(*v) : std::numeric_limits<double>::quiet_NaN();
        };
    }
    double Estima(double x, double y = 0) const { return Funcao()(x, y); }
    std::string Valor(std::size_t k, double v) const { return FormatoColuna(Coluna(k))(v); }
    TFaixa Limites(std::size_t k) const {
        const TLimitesAmostra l = LimitesTermo(Sistema(), k);
        return {D(l.Minimo), D(l.Maximo)};
    }
    // The held values under their heading.
    void EscreveFixos() const {
        const TSistema &s = Sistema();
        std::vector<TLinhaRotulada> linhas;
        for (std::size_t k = 2; k <= s.m(); ++k)
            if (k != kx_ && k != ky_) linhas.push_back({"• " + NomeVar(s, k), "= " + Valor(k, D(fixo_[k]))});
        if (linhas.empty()) return;
        Corpo();
        E().AlignLeft();
        Linha(NoObjeto() ? "Calculados no ponto de estimativa, para:" : "Calculados no ponto médio da amostra, para:");
        LinhasTabuladas(linhas);
    }
    std::string Nome(std::size_t k) const { return NomeVar(Sistema(), k); }

    std::size_t kx_ = 2, ky_ = 0;
    TPonto fixo_;
};

class TIA_Regressao2D : public TGraficoRegressao {
  public:
    using TGraficoRegressao::TGraficoRegressao;
    void Imprime(int) override {
        const TSistema &s = Sistema();
        std::vector<double> xs, ys;
        for (std::size_t i = 1; i <= s.n(); ++i) {
            xs.push_back(D(s.ValorBruto(kx_, i)));
            ys.push_back(D(s.DependenteBruto(i)));
        }
        TFaixa curva = Limites(kx_);
        const std::optional<long double> objeto = s.ObjetoCompleto() ? s.EstimativaObjeto() : std::nullopt;
        if (objeto) {
            const double xo = D(s.ValorBrutoObjeto(kx_));
            xs.push_back(xo), ys.push_back(D(*objeto));
            curva = {std::min(curva.Minimo, xo), std::max(curva.Maximo, xo)};
        }
        for (int t = 0; t <= 50; ++t) {
            const double y = Estima(curva.Minimo + (curva.Maximo - curva.Minimo) * t / 50);
            if (std::isfinite(y)) ys.push_back(y);
        }
        TChart c = ChartBase(Faixa(xs), Faixa(ys), Nome(1) + " x " + Nome(kx_), Nome(kx_), Nome(1));
        c.EscalaX.Formata = FormatoColuna(Coluna(kx_));
        c.EscalaY.Formata = FormatoColuna(Coluna(1));
        for (std::size_t i = 1; i <= s.n(); ++i)
            c.PlotPoint(NumeroAmostraTexto(s, i), D(s.DependenteBruto(i)), D(s.ValorBruto(kx_, i)));
        c.Curve([f = Funcao()](double x) { return f(x, 0); }, curva.Minimo, curva.Maximo);
        if (objeto) c.PlotPoint("Objeto", D(*objeto), D(s.ValorBrutoObjeto(kx_)));
        EscreveChart(c);
        EscreveFixos();
    }
    std::vector<std::string> CliqueGrafico(double x, double y, double tolX, double tolY) override {
        const TSistema &s = Sistema();
        DescricaoClique.clear();
        for (std::size_t i = 1; i <= s.n(); ++i)
            if (std::fabs(D(s.ValorBruto(kx_, i)) - x) <= tolX && std::fabs(D(s.DependenteBruto(i)) - y) <= tolY)
                return DescricaoClique = {"Amostragem nº " + NumeroAmostraTexto(s, i),
                                          Nome(kx_) + " = " + Valor(kx_, D(s.ValorBruto(kx_, i))),
                                          Nome(1) + " = " + Valor(1, D(s.DependenteBruto(i)))};
        const std::optional<long double> objeto = s.ObjetoCompleto() ? s.EstimativaObjeto() : std::nullopt;
        if (objeto && std::fabs(D(s.ValorBrutoObjeto(kx_)) - x) <= tolX && std::fabs(D(*objeto) - y) <= tolY)
            return DescricaoClique = {"Objeto sob avaliação ", Nome(kx_) + " = " + Valor(kx_, D(s.ValorBrutoObjeto(kx_))),
                                      Nome(1) + " = " + Valor(1, D(*objeto))};
        const double f = Estima(x);
        if (std::isfinite(f) && std::fabs(f - y) <= tolY)
            DescricaoClique = {"Curva da regressão:", Nome(kx_) + " = " + Valor(kx_, x), Nome(1) + " = " + Valor(1, f)};
        return DescricaoClique;
    }

  protected:
    std::vector<std::pair<std::size_t, std::size_t>> Eixos() const override {
        std::vector<std::pair<std::size_t, std::size_t>> v;
        for (std::size_t k : Aceitas()) v.emplace_back(k, 0);
        return v;
    }
};

class TIA_CurvaNivel : public TGraficoRegressao {
  public:
    using TGraficoRegressao::TGraficoRegressao;
    void Imprime(int) override {
        TChart c = ChartBase(Limites(kx_), Limites(ky_), Nome(kx_) + " x " + Nome(ky_), Nome(kx_), Nome(ky_));
        c.EscalaX.Formata = FormatoColuna(Coluna(kx_));
        c.EscalaY.Formata = FormatoColuna(Coluna(ky_));
        c.Mapa = Funcao();
        c.TituloLegenda = Nome(1);
        c.FormataLegenda = FormatoColuna(Coluna(1));
        fx_ = c.X, fy_ = c.Y;
        EscreveChart(c);
        EscreveFixos();
    }
    std::vector<std::string> CliqueGrafico(double x, double y, double, double) override {
        DescricaoClique.clear();
        const double f = Estima(x, y);
        if (x >= fx_.Minimo && x <= fx_.Maximo && y >= fy_.Minimo && y <= fy_.Maximo && std::isfinite(f))
            DescricaoClique = {Nome(kx_) + " = " + Valor(kx_, x), Nome(ky_) + " = " + Valor(ky_, y),
                               Nome(1) + " = " + Valor(1, f)};
        return DescricaoClique;
    }

  protected:
    std::vector<std::pair<std::size_t, std::size_t>> Eixos() const override { return Pares(); }

  private:
    TFaixa fx_, fy_; // the ranges of the map last drawn
};

class TIA_Grafico3D : public TGraficoRegressao {
  public:
    using TGraficoRegressao::TGraficoRegressao;
    void Imprime(int) override {
        TChart c = ChartBase(Limites(kx_), Limites(ky_), Nome(kx_) + " x " + Nome(ky_), Nome(kx_), Nome(ky_));
        const TFaixa fx = c.X, fy = c.Y;
        c.Superficie = Funcao();
        c.TituloZ = Nome(1);
        EscreveChart(c);
        EscreveFixos();
        // The estimate's range over the drawn mesh.
        double zmin = std::numeric_limits<double>::infinity(), zmax = -zmin;
        for (int j = 0; j <= c.Malha; ++j)
            for (int i = 0; i <= c.Malha; ++i) {
                const double z = Estima(fx.Minimo + (fx.Maximo - fx.Minimo) * i / c.Malha,
                                        fy.Minimo + (fy.Maximo - fy.Minimo) * j / c.Malha);
                if (std::isfinite(z)) zmin = std::min(zmin, z), zmax = std::max(zmax, z);
            }
        Corpo();
        Linha("Limites dos eixos dos gráficos:");
        std::vector<TLinhaRotulada> eixos;
        auto eixo = [&](std::size_t k, double a, double b) {
            eixos.push_back({Nome(k), ":  [ " + Valor(k, a) + " ; " + Valor(k, b) + " ]"});
        };
        eixo(kx_, fx.Minimo, fx.Maximo);
        eixo(ky_, fy.Minimo, fy.Maximo);
        if (zmin <= zmax) eixo(1, zmin, zmax);
        LinhasTabuladas(eixos);
    }

  protected:
    std::vector<std::pair<std::size_t, std::size_t>> Eixos() const override { return Pares(); }
};

} // namespace

// The builders the catalogue rows hold.
ZELTO_CONSTRUTOR_ITEM(TIA_Multicolinearidade)
ZELTO_CONSTRUTOR_ITEM(TIA_ResiduosxNaoUsadas)
ZELTO_CONSTRUTOR_ITEM(TIA_Regressao2D)
ZELTO_CONSTRUTOR_ITEM(TIA_CurvaNivel)
ZELTO_CONSTRUTOR_ITEM(TIA_Grafico3D)

} // namespace zelto
