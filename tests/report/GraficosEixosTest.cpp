// The axes of the graph items on a Windsor model: a manual range replaces the automatic one
// (and keeps it when the scale is hidden), an invalid one falls back to it, the histogram and
// the coefficient-of-variation chart keep their own rules on the other axis, nothing outside
// the range is drawn outside the plot, and an axis of a worksheet column's values is labelled
// (and a click described) as that column's cells read.
#include "RelatorioTeste.h"

#include "chart/Chart.h"
#include "evaluation/Avaliacao.h"
#include "items/Catalogo.h"
#include "items/GraficoItem.h"
#include "regression/Sistema.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace zelto;

namespace {

struct TEixos : teste::TRelatorioTeste {
    TListaItens itens = CriaCatalogo();
    TContextoItem ctx;
    TItemGrafico &Item(const char *classe) { return dynamic_cast<TItemGrafico &>(*ItemDaClasse(itens, classe)); }
    // The chart of part 0 of an item drawn with its settings changed by `ajusta`; the settings
    // are put back after.
    TChart Desenha(const char *classe, const std::function<void(TItemGrafico &)> &ajusta = {}) {
        TItemGrafico &g = Item(classe);
        const auto eixos = g.Eixos;
        if (ajusta) ajusta(g);
        TConteudo conteudo;
        ctx.Conteudo = &conteudo;
        g.DefineContexto(&ctx);
        g.Calcula(0);
        g.Imprime(0);
        g.DefineContexto(nullptr);
        g.Eixos = eixos;
        return g.UltimoChart;
    }
};

void Manual(TItemGrafico &g, std::size_t k, double minimo, double maximo, std::uint8_t modo = 1) {
    g.Eixos[k].Modo = modo;
    g.Eixos[k].Minimo = minimo;
    g.Eixos[k].Maximo = maximo;
}

class GraficosEixos : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        r_ = new TEixos;
        r_->grid = teste::LePlanilhaTeste(teste::kDados + "/regression/windsor-houses.txt");
        ASSERT_TRUE(r_->Modelo({{1, 8}, {2, 8}, {3, 4}, {4, 1}, {5, 7}, {10, 1}}));
        r_->ctx = r_->Contexto();
        TAvaliacao av(*r_->s);
        double passo = 0;
        av.CompletaCalculos(nullptr, passo);
    }
    static void TearDownTestSuite() { delete r_; }
    static TEixos *r_;
};
TEixos *GraficosEixos::r_ = nullptr;

bool Igual(TFaixa a, TFaixa b) { return a.Minimo == b.Minimo && a.Maximo == b.Maximo; }

} // namespace

// Prices 20 000 .. 200 000 by hand on the dispersion chart: a sample lands on the pixel of that
// mapping, the ticks run from bound to bound, the X axis stays automatic. Hidden (mode 3), the
// same range holds without a scale.
TEST_F(GraficosEixos, FaixaManualNoGraficoDeDispersao) {
    const TChart automatico = r_->Desenha("TIA_Dispersao");
    const TChart c = r_->Desenha("TIA_Dispersao", [](TItemGrafico &g) { Manual(g, 1, 20000, 200000); });
    EXPECT_TRUE(Igual(c.Y, {20000, 200000}));
    EXPECT_TRUE(Igual(c.X, automatico.X));
    EXPECT_FALSE(Igual(automatico.Y, c.Y));

    const TLayoutChart l = LayoutDe(c);
    const TMapeamento &m = l.Mapa;
    const TElementoChart &p = c.Elementos.front(); // sample 1: price 42 000
    ASSERT_EQ(p.Y1, 42000);
    const double escala = (m.Topo + m.Base - m.Altura + 1) / (200000.0 - 20000.0);
    const int esperado = static_cast<int>(std::lround((42000 - 20000) * escala + m.Altura)) - m.Base - 1;
    EXPECT_EQ(m.YPixel(42000), esperado);
    TChart so = c;
    so.Elementos = {p};
    EXPECT_EQ(ImagemChart(so, 256).pixelColor(m.XPixel(p.X1), esperado), ParaQColor(c.CorMarcador));
    ASSERT_TRUE(l.VisivelY);
    ASSERT_FALSE(l.TiquesY.empty());
    EXPECT_EQ(l.TiquesY.front(), 20000);
    EXPECT_EQ(l.TiquesY.back(), 200000);
    EXPECT_EQ(l.EscalaY.Rotulo(l.TiquesY.front()), "20.000");
    EXPECT_EQ(l.EscalaY.Rotulo(l.TiquesY.back()), "200.000");

    const TChart oculto = r_->Desenha("TIA_Dispersao", [](TItemGrafico &g) { Manual(g, 1, 20000, 200000, 3); });
    EXPECT_TRUE(Igual(oculto.Y, {20000, 200000}));
    EXPECT_TRUE(oculto.EscalaY.Oculta);
    EXPECT_FALSE(LayoutDe(oculto).VisivelY);
}

// A range that is no range leaves the axis automatic; a range in an automatic mode (0, 2) is
// not used.
TEST_F(GraficosEixos, FaixaInvalidaVoltaAoAutomatico) {
    const TChart automatico = r_->Desenha("TIA_Residuos");
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    const struct {
        double minimo, maximo;
        std::uint8_t modo;
    } casos[] = {{5, 5, 1}, {10, 1, 1}, {nan, 1, 3}, {0, inf, 1}, {-inf, 0, 3}, {-1, 1, 0}, {-1, 1, 2}};
    for (const auto &k : casos) {
        const TChart c = r_->Desenha("TIA_Residuos", [&](TItemGrafico &g) {
            Manual(g, 0, k.minimo, k.maximo, k.modo);
            Manual(g, 1, k.minimo, k.maximo, k.modo);
        });
        EXPECT_TRUE(Igual(c.X, automatico.X)) << k.minimo << " " << k.maximo << " " << int(k.modo);
        EXPECT_TRUE(Igual(c.Y, automatico.Y)) << k.minimo << " " << k.maximo << " " << int(k.modo);
        EXPECT_EQ(c.EscalaY.Oculta, k.modo >= 2);
    }
}

// The histogram's frequencies take a manual range with a whole step of a tenth of it, its
// classes keep 0 .. k + 0.8; the coefficients of variation take a manual X range (the value of
// each bar written at half its visible part), the rows keep theirs.
TEST_F(GraficosEixos, HistogramaECoeficientesDeVariacao) {
    const double k = static_cast<double>(r_->s->NumeroClasses());
    const TChart h = r_->Desenha("TIA_Histograma", [](TItemGrafico &g) { Manual(g, 1, 0, 50); });
    EXPECT_TRUE(Igual(h.Y, {0, 50}));
    EXPECT_TRUE(Igual(h.X, {0, k + 0.8}));
    EXPECT_EQ(h.EscalaY.Passo, 5);
    EXPECT_FALSE(h.EscalaY.PassoAutomatico);

    const double m = static_cast<double>(r_->s->m());
    const TChart automatico = r_->Desenha("TIA_CoefVarNaoT");
    EXPECT_EQ(automatico.X.Minimo, 0);
    const TChart cv = r_->Desenha("TIA_CoefVarNaoT", [](TItemGrafico &g) { Manual(g, 0, 30, 60); });
    EXPECT_TRUE(Igual(cv.X, {30, 60}));
    EXPECT_TRUE(Igual(cv.Y, {0, m + 1}));
    // price 39.2 %: its text halfway between 30 and 39.2; aircon 147 %: halfway along the plot;
    // bedrooms 24.9 % lies wholly left of the range and gets no text.
    std::vector<double> textos;
    for (const TElementoChart &e : cv.Elementos)
        if (e.Tipo == TElementoChart::Texto) textos.push_back(e.X1);
    ASSERT_EQ(textos.size(), 5u);
    EXPECT_NEAR(textos.front(), (30 + 39.198539192370816) / 2, 1e-9);
    EXPECT_NEAR(textos.back(), 45, 1e-9);
}

// Nothing drawn outside the ranges reaches the bitmap outside the plot: a marker outside the
// range is not drawn at all, a line to a far point (1e15) and a curve beyond the range are cut
// at the plot's edge.
TEST_F(GraficosEixos, ForaDaFaixaNadaForaDoPlot) {
    TChart c = r_->Desenha("TIA_Dispersao", [](TItemGrafico &g) { Manual(g, 1, 40000, 60000); });
    c.Numeracao = true;
    TChart vazio = c;
    vazio.Elementos.clear();
    const QImage base = ImagemChart(vazio, 256);
    TChart fora = vazio;
    for (const TElementoChart &e : c.Elementos)
        if (e.Tipo == TElementoChart::Ponto && (e.Y1 < 40000 || e.Y1 > 60000)) fora.Elementos.push_back(e);
    ASSERT_FALSE(fora.Elementos.empty());
    EXPECT_EQ(ImagemChart(fora, 256), base);

    TChart linhas = vazio;
    linhas.Line(1e15, 1e15, 50000, 10);
    linhas.Line(-1e15, 300, 50000, 10);
    linhas.Curve([](double x) { return 45000 + 1000 * x; }, -1e9, 1e9);
    const QImage img = ImagemChart(linhas, 256);
    const TMapeamento m = LayoutDe(linhas).Mapa;
    const QRect dentro(QPoint(m.PlotEsquerda() + 1, m.PlotTopo() + 1), QPoint(m.PlotDireita() - 1, m.PlotBase() - 1));
    int diferentesDentro = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (img.pixel(x, y) == base.pixel(x, y)) continue;
            ASSERT_TRUE(dentro.contains(x, y)) << x << "," << y;
            ++diferentesDentro;
        }
    EXPECT_GT(diferentesDentro, 50);
}

// A worksheet column's format reaches the axis, its ticks and the click: price with two
// decimals and thousands reads "42.000,00" on the dispersion chart and in its click text, the
// sample number as a whole number; lotsize with one decimal labels the level curves' X axis.
TEST_F(GraficosEixos, FormatoDaColunaNoEixoENoClique) {
    TGridzelto &g = *r_->grid;
    const auto preco = teste::FormataVariavel(g, 1, 2, true), lote = teste::FormataVariavel(g, 2, 1, true);

    const TChart d = r_->Desenha("TIA_Dispersao");
    EXPECT_EQ(d.EscalaY.Rotulo(42000), "42.000,00");
    EXPECT_EQ(d.EscalaX.Rotulo(12), "12");
    const TLayoutChart l = LayoutDe(d);
    for (double t : l.TiquesY) EXPECT_EQ(d.EscalaY.Rotulo(t).substr(d.EscalaY.Rotulo(t).size() - 3), ",00") << t;
    TItemGrafico &item = r_->Item("TIA_Dispersao");
    item.DefineContexto(&r_->ctx);
    const std::vector<std::string> clique = item.CliqueGrafico(1, 42000, 0.1, 1);
    item.DefineContexto(nullptr);
    ASSERT_EQ(clique.size(), 3u);
    EXPECT_EQ(clique[0], "Amostragem nº 1");
    EXPECT_EQ(clique[1], "Amostragem = 1");
    EXPECT_EQ(clique[2], "price = 42.000,00");

    const TChart nivel = r_->Desenha("TIA_CurvaNivel");
    EXPECT_EQ(nivel.TituloX, "lotsize");
    EXPECT_EQ(nivel.EscalaX.Rotulo(5850), "5.850,0");
    EXPECT_EQ(nivel.FormataLegenda(42000), "42.000,00");
    teste::FormataVariavel(g, 1, preco.first, preco.second);
    teste::FormataVariavel(g, 2, lote.first, lote.second);
}

// The manual range lives in memory only: the settings text is the same with or without it,
// reading the settings back keeps the range of the item in memory (a fresh item has none), and
// a manual mode 1 reads back as automatic, 3 as hidden and manual.
TEST(GraficosEixosConfiguracao, FaixaManualSoNaMemoria) {
    TListaItens itens = CriaCatalogo();
    auto &g = dynamic_cast<TItemAvaliacaoGraf &>(*ItemDaClasse(itens, "TIA_Dispersao"));
    TArquivoIni sem, com;
    g.Eixos[1].Modo = 3;
    g.GravaConfiguracao(sem);
    g.Eixos[1].Minimo = 5, g.Eixos[1].Maximo = 9;
    g.Eixos[0].Modo = 1;
    g.Eixos[0].Minimo = -1, g.Eixos[0].Maximo = 1;
    g.GravaConfiguracao(com);
    g.Eixos[0].Modo = 0;
    TArquivoIni soModo;
    g.GravaConfiguracao(soModo);
    EXPECT_EQ(soModo.Conteudo(), sem.Conteudo());

    ASSERT_TRUE(g.LeConfiguracao(com));
    EXPECT_EQ(g.Eixos[0].Modo, 0);
    EXPECT_EQ(g.Eixos[1].Modo, 3);
    EXPECT_EQ(g.Eixos[1].Minimo, 5);
    EXPECT_EQ(g.Eixos[1].Maximo, 9);
    TListaItens outros = CriaCatalogo();
    auto &novo = dynamic_cast<TItemAvaliacaoGraf &>(*ItemDaClasse(outros, "TIA_Dispersao"));
    ASSERT_TRUE(novo.LeConfiguracao(com));
    EXPECT_EQ(novo.Eixos[1].Modo, 3);
    EXPECT_EQ(novo.Eixos[1].Minimo, 0);
    EXPECT_EQ(novo.Eixos[1].Maximo, 0);
}
