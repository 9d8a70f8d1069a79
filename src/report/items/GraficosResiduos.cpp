// The residual graphs: residuals against the estimate (homoscedasticity) and their squares,
// the estimate against the observed value with the line y = x, the residual against its
// deleted counterparts (plain, normalized and studentized, the last two with the line y = x),
// the normalized residuals by sample with the outlier limits ±L, the leverage against the
// squared normalized residual, and each residual against the previous one (autocorrelation).
//
// Every value comes from the regression system: estimates are the transformed dependent value
// less its residual, residuals are centred, the normalized residual is e / s, the outlier
// limit is the criterion's L of the significance settings divided by s. In the descriptive
// mode "Resíduo" reads "Desvio" in the titles.
#include "common/Numeros.h"
#include "items/Catalogo.h"
#include "items/ComumItens.h"
#include "items/GraficoItem.h"
#include "regression/Sistema.h"
#include "regression/TestesResiduos.h"

#include <cmath>

namespace zelto {

namespace {

double D(long double x) { return static_cast<double>(x); }

// The estimate of the transformed dependent value of sample i.
double EstimadoTransformado(const TSistema &s, std::size_t i) {
    return D(s.ValorTransformado(1, i) - s.ResiduoBruto(i));
}

// The line y = x across the plot.
void RetaIdentidade(TChart &c) {
    const double a = std::max(c.X.Minimo, c.Y.Minimo), b = std::min(c.X.Maximo, c.Y.Maximo);
    if (a < b) c.Line(b, b, a, a);
}

// In the descriptive mode the estimate is the mean of every sample, so the deviations are
// drawn by sample number instead (against the estimate they would all stand on one line).
class TIA_Residuos : public TIA_XYAmostragem {
  public:
    using TIA_XYAmostragem::TIA_XYAmostragem;

  protected:
    double X(std::size_t i) const override {
        return Inferencial() ? EstimadoTransformado(Sistema(), i) : static_cast<double>(Sistema().NumeroAmostra(i));
    }
    double Y(std::size_t i) const override { return D(Sistema().Residuo(i)); }
    std::string TituloChart() const override { return Res(true); }
    std::string TituloX() const override { return Inferencial() ? NomeTransformado(Sistema(), 1) : "Amostragem"; }
    TFormatador FormatoX() const override { return Inferencial() ? TFormatador(RotuloNumero) : TFormatador(RotuloInteiro); }
    void AjustaEixos(TChart &c) const override {
        if (Inferencial()) return;
        c.EscalaX.PassoAutomatico = false;
        c.EscalaX.Passo = PassoInteiro(c.X.Maximo - c.X.Minimo, std::max(1, c.EscalaX.Divisoes));
    }
    std::string TituloY() const override { return Res(); }
    std::vector<std::string> Comentarios() const override {
        return {"Este gráfico deve ser usado para verificação de homocedasticidade do modelo."};
    }
};

class TIA_ResiduosQuad : public TIA_Residuos {
  public:
    using TIA_Residuos::TIA_Residuos;

  protected:
    double Y(std::size_t i) const override { return std::pow(D(Sistema().Residuo(i)), 2); }
    std::string TituloChart() const override { return Res(true) + " Quadráticos"; }
    std::string TituloY() const override { return Res() + "%^%2%"; }
    std::vector<std::string> Comentarios() const override { return {}; }
};

class TIA_GrafValorEst : public TIA_XYAmostragem {
  public:
    using TIA_XYAmostragem::TIA_XYAmostragem;

  protected:
    double X(std::size_t i) const override { return D(Sistema().ValorTransformado(1, i)); }
    double Y(std::size_t i) const override { return EstimadoTransformado(Sistema(), i); }
    std::string TituloChart() const override { return NomeTransformado(Sistema(), 1); }
    std::string TituloX() const override { return "Valor Observado"; }
    std::string TituloY() const override { return "Valor Estimado"; }
    void FaixasAutomaticas(TFaixa &x, TFaixa &y) const override {
        x = y = TFaixa{std::min(x.Minimo, y.Minimo), std::max(x.Maximo, y.Maximo)};
    }
    void Extras(TChart &c) const override { RetaIdentidade(c); }
    std::vector<std::string> Comentarios() const override {
        return {"Uma melhor adequação dos pontos à reta significa um melhor ajuste do modelo."};
    }
};

class TIA_GrafResiduosDeletados : public TIA_XYAmostragem {
  public:
    using TIA_XYAmostragem::TIA_XYAmostragem;

  protected:
    double X(std::size_t i) const override { return D(Sistema().ResiduoDeletado(i)); }
    double Y(std::size_t i) const override { return D(Sistema().Residuo(i)); }
    std::string TituloChart() const override {
        return Inferencial() ? "Resíduo x Resíduo Deletado" : "Desvio x Resíduo Deletado";
    }
    std::string TituloX() const override { return Res() + " Deletado"; }
    std::string TituloY() const override { return Res(); }
};

// Normalized and studentized: the line y = x and the influence comment.
class TIA_GrafResiduosNormalizados : public TIA_XYAmostragem {
  public:
    using TIA_XYAmostragem::TIA_XYAmostragem;

  protected:
    double X(std::size_t i) const override { return D(Sistema().ResiduoSobreDesvioSemAmostra(i)); }
    double Y(std::size_t i) const override { return D(Sistema().ResiduoPadronizado(i)); }
    std::string TituloChart() const override { return "r[i] x r[-i]"; }
    std::string TituloX() const override { return Res() + " Deletado Normalizado"; }
    std::string TituloY() const override { return Res() + " Normalizado"; }
    void Extras(TChart &c) const override { RetaIdentidade(c); }
    std::vector<std::string> Comentarios() const override {
        if (Inferencial())
            return {"As amostragens cujos resíduos mais se desviam da reta de referência influem "
                    "significativamente nos valores estimados."};
        return {"As amostragens cujos desvios mais se deslocam da reta de referência influem "
                "significativamente no valor médio."};
    }
};

class TIA_GrafResiduosStudentizados : public TIA_GrafResiduosNormalizados {
  public:
    using TIA_GrafResiduosNormalizados::TIA_GrafResiduosNormalizados;

  protected:
    double X(std::size_t i) const override { return D(Sistema().ResiduoStudentizadoExterno(i)); }
    double Y(std::size_t i) const override { return D(Sistema().ResiduoStudentizado(i)); }
    std::string TituloChart() const override { return "t[i] x t[-i]"; }
    std::string TituloX() const override { return Inferencial() ? "Resíduo deletado " : "Desvio Deletado "; }
    std::string TituloY() const override { return Res() + " "; }
};

class TIA_GrafOutliers : public TIA_XAmostragem {
  public:
    using TIA_XAmostragem::TIA_XAmostragem;
    // The limit L in units of the residual's standard deviation (0: none).
    double Limite() const {
        const TSistema &s = Sistema();
        const long double v = s.VarianciaResidual();
        if (!(v > 0) || v >= Infinito) return 0;
        const long double sd = std::sqrt(v);
        const TCriterioAplicado c = CriterioAplicado(Sig().Saneamento, Sig().ParametroSaneamento, Inferencial());
        return D(LimiteOutlier(c.Criterio, c.Parametro, sd, s.MediaResiduos(), s.n()) / sd);
    }

  protected:
    double Y(std::size_t i) const override { return D(Sistema().ResiduoPadronizado(i)); }
    std::string TituloChart() const override { return Inferencial() ? "Outliers" : "Saneamento"; }
    std::string TituloY() const override { return Res() + " Normalizado"; }
    void Extras(TChart &c) const override {
        const double L = Limite();
        for (double y : {-L, L})
            if (L > 0 && y > c.Y.Minimo && y < c.Y.Maximo) c.Line(y, c.X.Maximo, y, c.X.Minimo);
    }
};

class TIA_GrafHiiRi2 : public TIA_XYAmostragem {
  public:
    using TIA_XYAmostragem::TIA_XYAmostragem;

  protected:
    double X(std::size_t i) const override { return std::pow(D(Sistema().ResiduoPadronizado(i)), 2); }
    double Y(std::size_t i) const override { return D(Sistema().Alavanca(i)); }
    std::string TituloChart() const override { return "Hii x (Resíduo normalizado)²"; }
    std::string TituloX() const override { return "(Resíduo normalizado)²"; }
    std::string TituloY() const override { return "Hii"; }
    std::vector<std::string> Comentarios() const override {
        return {"Pontos no canto superior esquerdo podem possuir alta influência no resultado da regressão.",
                "Pontos no canto inferior direito podem ser \"outliers\"."};
    }
};

class TIA_GrafAutoCorrelacao : public TIA_XYAmostragem {
  public:
    using TIA_XYAmostragem::TIA_XYAmostragem;

  protected:
    double X(std::size_t i) const override { return i <= 1 ? 0 : D(Sistema().Residuo(i - 1)); }
    double Y(std::size_t i) const override { return D(Sistema().Residuo(i)); }
    std::string TituloChart() const override { return "Autocorrelação"; }
    std::string TituloX() const override { return "Resíduo(i-1)"; }
    std::string TituloY() const override { return "Resíduo(i)"; }
    std::vector<std::string> Comentarios() const override {
        return {"Se os pontos estiverem alinhados e a amostra estiver com os dados "
                "ordenados, pode-se suspeitar da existência de autocorrelação."};
    }
};

} // namespace

// The builders the catalogue rows hold.
ZELTO_CONSTRUTOR_ITEM(TIA_Residuos)
ZELTO_CONSTRUTOR_ITEM(TIA_ResiduosQuad)
ZELTO_CONSTRUTOR_ITEM(TIA_GrafValorEst)
ZELTO_CONSTRUTOR_ITEM(TIA_GrafResiduosDeletados)
ZELTO_CONSTRUTOR_ITEM(TIA_GrafResiduosNormalizados)
ZELTO_CONSTRUTOR_ITEM(TIA_GrafResiduosStudentizados)
ZELTO_CONSTRUTOR_ITEM(TIA_GrafOutliers)
ZELTO_CONSTRUTOR_ITEM(TIA_GrafHiiRi2)
ZELTO_CONSTRUTOR_ITEM(TIA_GrafAutoCorrelacao)

} // namespace zelto
