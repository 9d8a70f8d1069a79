// The residual graphs of a Windsor model, checked on the drawn picture: every sample's marker
// at the pixel the mapping gives for its values, the line y = x where it belongs, the outlier
// limits ±L at their height, and the point values taken from the regression system.
#include "RelatorioTeste.h"

#include "chart/Chart.h"
#include "evaluation/Avaliacao.h"
#include "evaluation/Catalogo.h"
#include "items/GraficoItem.h"
#include "regression/Sistema.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zelto;

namespace {

const std::string kDados = ZELTO_DADOS_TESTE;

struct TGraficos : teste::TRelatorioTeste {
    TListaItens itens = CriaCatalogo();
    void Executa() {
        TAvaliacao av(*s, true);
        double passo = 0;
        av.CompletaCalculos(nullptr, passo);
        av.ExecutaItens(itens, Contexto(), true, nullptr, passo);
    }
    const TChart &Chart(const char *classe) {
        auto *g = dynamic_cast<TItemGrafico *>(ItemDaClasse(itens, classe));
        EXPECT_NE(g, nullptr) << classe;
        static const TChart vazio;
        return g ? g->UltimoChart : vazio;
    }
};

bool CorProxima(const QImage &img, QPoint p, QColor c, int raio = 1) {
    for (int dy = -raio; dy <= raio; ++dy)
        for (int dx = -raio; dx <= raio; ++dx)
            if (img.pixelColor(p + QPoint(dx, dy)) == c) return true;
    return false;
}

class Graficos : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        r_ = new TGraficos;
        r_->grid = teste::LePlanilhaTeste(kDados + "/regression/windsor-houses.txt");
        ASSERT_TRUE(r_->Modelo({{1, 8}, {2, 8}, {3, 4}, {4, 1}, {5, 7}, {10, 1}}));
        r_->Executa();
    }
    static void TearDownTestSuite() { delete r_; }
    static TGraficos *r_;
};
TGraficos *Graficos::r_ = nullptr;

} // namespace

TEST_F(Graficos, PontosNosPixelsDoMapeamento) {
    const TSistema &s = *r_->s;
    for (const char *classe : {"TIA_Residuos", "TIA_ResiduosQuad", "TIA_GrafValorEst", "TIA_GrafResiduosDeletados",
                               "TIA_GrafResiduosNormalizados", "TIA_GrafResiduosStudentizados",
                               "TIA_GrafOutliers", "TIA_GrafHiiRi2", "TIA_GrafAutoCorrelacao"}) {
        const TChart &c = r_->Chart(classe);
        const TLayoutChart l = LayoutDe(c);
        std::size_t pontos = 0, vistos = 0, conferidos = 0;
        for (const TElementoChart &e : c.Elementos) {
            if (e.Tipo != TElementoChart::Ponto) continue;
            ++pontos;
            EXPECT_GE(e.X1, c.X.Minimo) << classe;
            EXPECT_LE(e.X1, c.X.Maximo) << classe;
            EXPECT_GE(e.Y1, c.Y.Minimo) << classe;
            EXPECT_LE(e.Y1, c.Y.Maximo) << classe;
            if (pontos % 37 != 1) continue;
            // The point alone (the layout does not depend on what is drawn): its marker's
            // centre at the mapped pixel.
            TChart so = c;
            so.Elementos = {e};
            const QImage img = ImagemChart(so, 256);
            ++conferidos;
            vistos += img.pixelColor(l.Mapa.XPixel(e.X1), l.Mapa.YPixel(e.Y1)) == ParaQColor(c.CorMarcador);
        }
        EXPECT_EQ(vistos, conferidos) << classe;
        EXPECT_EQ(pontos, s.n()) << classe;
    }
    // The values come from the system: residual against estimate, first autocorrelation x = 0.
    const TChart &res = r_->Chart("TIA_Residuos");
    EXPECT_NEAR(res.Elementos[0].Y1, static_cast<double>(s.Residuo(1)), 1e-12);
    EXPECT_NEAR(res.Elementos[0].X1, static_cast<double>(s.ValorTransformado(1, 1) - s.ResiduoBruto(1)), 1e-12);
    EXPECT_EQ(r_->Chart("TIA_GrafAutoCorrelacao").Elementos[0].X1, 0);
}

TEST_F(Graficos, LinhasDeReferencia) {
    // y = x over the shared range of the estimate against the observed value.
    const TChart &ve = r_->Chart("TIA_GrafValorEst");
    EXPECT_EQ(ve.X.Minimo, ve.Y.Minimo);
    EXPECT_EQ(ve.X.Maximo, ve.Y.Maximo);
    const TElementoChart *reta = nullptr;
    for (const TElementoChart &e : ve.Elementos)
        if (e.Tipo == TElementoChart::Linha) reta = &e;
    ASSERT_NE(reta, nullptr);
    EXPECT_EQ(reta->X1, reta->Y1);
    EXPECT_EQ(reta->X2, reta->Y2);
    const TLayoutChart l = LayoutDe(ve);
    const QImage img = ImagemChart(ve, 256);
    int naReta = 0;
    for (int k = 1; k < 10; ++k) {
        const double v = ve.X.Minimo + (ve.X.Maximo - ve.X.Minimo) * k / 10;
        naReta += CorProxima(img, {l.Mapa.XPixel(v), l.Mapa.YPixel(v)}, ParaQColor(ve.CanetaReferencia.Cor));
    }
    EXPECT_GE(naReta, 7);

    // The outlier limits: two horizontal lines at ±L, L = 2 deviations by default.
    const TChart &o = r_->Chart("TIA_GrafOutliers");
    std::vector<double> alturas;
    for (const TElementoChart &e : o.Elementos)
        if (e.Tipo == TElementoChart::Linha) {
            EXPECT_EQ(e.Y1, e.Y2);
            alturas.push_back(e.Y1);
        }
    if (o.Y.Minimo < -2 && o.Y.Maximo > 2) {
        ASSERT_EQ(alturas.size(), 2u);
        EXPECT_NEAR(alturas[0], -2, 1e-9);
        EXPECT_NEAR(alturas[1], 2, 1e-9);
        const TLayoutChart lo = LayoutDe(o);
        const QImage io = ImagemChart(o, 256);
        const int x = (lo.Mapa.PlotEsquerda() + lo.Mapa.PlotDireita()) / 2 + 3;
        EXPECT_TRUE(CorProxima(io, {x, lo.Mapa.YPixel(2)}, ParaQColor(o.CanetaReferencia.Cor), 0));
    }
    // The normalized residuals: y = x as well.
    bool temReta = false;
    for (const TElementoChart &e : r_->Chart("TIA_GrafResiduosNormalizados").Elementos)
        temReta = temReta || (e.Tipo == TElementoChart::Linha && e.X1 == e.Y1 && e.X2 == e.Y2);
    EXPECT_TRUE(temReta);
}
