// The chart geometry at its edge cases, and the painted chart where a reader looks: a point's
// marker at the pixel the mapping gives, a curve's dashes, the colour map's end colours.
#include "chart/Chart.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace zelto;

// Automatic ranges cover the data with little waste, their ends on halves of a nice step; the
// nice step switches at the geometric means of its neighbours (√2, √5, √12.5, √50).
TEST(GeometriaChart, RegraDaFaixa) {
    auto faixa = [](double a, double b, bool alarga = true) {
        const TFaixa f = RegraFaixa(a, b, alarga);
        return std::pair{f.Minimo, f.Maximo};
    };
    auto perto = [](std::pair<double, double> f, double a, double b) {
        return std::fabs(f.first - a) < 1e-9 && std::fabs(f.second - b) < 1e-9;
    };
    EXPECT_TRUE(perto(faixa(10.4, 11.8), 10.3, 11.9)); // the residual axis ran 8 .. 14
    EXPECT_TRUE(perto(faixa(12.3, 87.6), 5, 95));
    EXPECT_TRUE(perto(faixa(-87.6, -12.3), -95, -5));
    EXPECT_TRUE(perto(faixa(87.6, 12.3), 5, 95)); // reversed ends are swapped
    EXPECT_TRUE(perto(faixa(1, 546), -25, 575));
    EXPECT_TRUE(perto(faixa(0, 0, false), -0.1, 0.1));
    EXPECT_TRUE(perto(faixa(0, 0, true), -0.1, 0.1));
    EXPECT_TRUE(perto(faixa(5, 5), 4.5, 5.5)); // one value is still spread
    // An end that floating point puts just off a multiple stays on it: 0.7 / 0.025 is 27.999….
    EXPECT_TRUE(perto(faixa(0.1, 0.7, false), 0.1, 0.7));
    for (const auto &[a, b] : {std::pair{10.4, 11.8}, std::pair{1.0, 546.0}, std::pair{-3e-5, 7e-4}}) {
        const TFaixa f = RegraFaixa(a, b);
        EXPECT_LT(f.Minimo, a);
        EXPECT_GT(f.Maximo, b);
        EXPECT_LT(f.Maximo - f.Minimo, 1.3 * (b - a)) << a << ".." << b; // little waste
    }
    EXPECT_DOUBLE_EQ(PassoAgradavel(14.1, 10), 1);
    EXPECT_DOUBLE_EQ(PassoAgradavel(14.2, 10), 2);
    EXPECT_DOUBLE_EQ(PassoAgradavel(22.3, 10), 2);
    EXPECT_DOUBLE_EQ(PassoAgradavel(22.4, 10), 2.5);
    EXPECT_DOUBLE_EQ(PassoAgradavel(35.3, 10), 2.5);
    EXPECT_DOUBLE_EQ(PassoAgradavel(35.4, 10), 5);
    EXPECT_DOUBLE_EQ(PassoAgradavel(70.7, 10), 5);
    EXPECT_DOUBLE_EQ(PassoAgradavel(70.8, 10), 10);
    EXPECT_DOUBLE_EQ(PassoAgradavel(0, 10), 0);
    EXPECT_DOUBLE_EQ(PassoInteiro(25, 10), 2); // 2.5 is no whole step
    EXPECT_DOUBLE_EQ(PassoInteiro(3, 10), 1);
    EXPECT_DOUBLE_EQ(PassoInteiro(590, 10), 50);
}

TEST(GeometriaChart, TiquesUmPorCentoCentroEMarcas) {
    TEscalaChart e;
    ASSERT_TRUE(CalculaEscala(e, 10.3, 11.9));
    EXPECT_DOUBLE_EQ(e.Passo, 0.2);
    const auto t = Tiques(e, 10.3, 11.9);
    ASSERT_EQ(t.size(), 8u); // 10.4 .. 11.8: 12.0 lies half a step past the end
    EXPECT_NEAR(t.front(), 10.4, 1e-12);
    EXPECT_NEAR(t.back(), 11.8, 1e-12);
    EXPECT_TRUE(TemGrade(t.front(), 10.3, 11.9)); // a step from the frame: its grid line shows
    TEscalaChart g;
    ASSERT_TRUE(CalculaEscala(g, 10.0, 11.999));
    const auto f = Tiques(g, 10.0, 11.999); // 12 is within a hundredth of a step: on the end
    EXPECT_DOUBLE_EQ(f.back(), 11.999);
    EXPECT_FALSE(TemMarca(f.front(), 10.0, 11.999));
    EXPECT_FALSE(TemGrade(f.front(), 10.0, 11.999));
    EXPECT_TRUE(TemMarca(f[1], 10.0, 11.999));

    TEscalaChart c;
    c.CentraZero = true;
    ASSERT_TRUE(CalculaEscala(c, -5, 15));
    const auto tc = Tiques(c, -5, 15);
    ASSERT_FALSE(tc.empty());
    EXPECT_DOUBLE_EQ(tc.front(), -4);
    EXPECT_NE(std::find(tc.begin(), tc.end(), 0.0), tc.end());

    TEscalaChart h; // automatic step with no divisions, or hidden: nothing shown
    h.Divisoes = 0;
    EXPECT_FALSE(CalculaEscala(h, 0, 1));
    TEscalaChart o;
    o.Oculta = true;
    EXPECT_FALSE(CalculaEscala(o, 0, 1));
    TEscalaChart d;
    d.Divisoes = 500;
    CalculaEscala(d, 0, 1);
    EXPECT_EQ(d.Divisoes, 100);
    EXPECT_TRUE(DentroDeUmPorCento(0, 0));
    EXPECT_TRUE(DentroDeUmPorCento(100, 100.9));
    EXPECT_FALSE(DentroDeUmPorCento(100, 101.1));
}

TEST(GeometriaChart, MapeamentoEFaixaVazia) {
    TMapeamento m;
    m.Largura = 211, m.Altura = 111;
    m.XMin = 0, m.XMax = 100, m.YMin = 0, m.YMax = 50;
    EXPECT_EQ(m.XPixel(0), m.PlotEsquerda() + 1);
    EXPECT_EQ(m.XPixel(100), m.PlotDireita());
    EXPECT_EQ(m.YPixel(0), m.PlotBase());
    EXPECT_EQ(m.YPixel(50), m.PlotTopo());
    EXPECT_NEAR(m.XDado(m.XPixel(37)), 37, 0.5);
    m.XMax = m.XMin; // empty: every value on the left edge
    m.YMax = m.YMin;
    EXPECT_EQ(m.EscalaX(), 0);
    EXPECT_EQ(m.XPixel(1e6), m.PlotEsquerda() + 1);
    EXPECT_EQ(m.YPixel(-1e6), m.PlotBase());
}

TEST(GeometriaChart, MargensDoLayout) {
    TMedidasTexto t;
    t.AlturaTitulo = 16, t.AlturaSubtitulo = 14, t.AlturaTituloX = 14, t.AlturaTituloY = 14;
    t.AlturaTituloDireita = 14, t.AlturaAg = 12, t.LarguraRotuloY = 30;
    const TMargens g = LayoutChart(t, true, true);
    EXPECT_EQ(g.Topo, 16 + 10 + 14 + 10 + 10);
    EXPECT_EQ(g.Base, 14 + 21 + 12 + 10 + 10);
    EXPECT_EQ(g.Esquerda, 14 + 10 + 30 + 10 + 10);
    EXPECT_EQ(g.Direita, 14 + 10 + 10);
    const TMargens s = LayoutChart(t, false, false); // hidden scales take no label room
    EXPECT_EQ(s.Esquerda, 14 + 10 + 10);
    EXPECT_TRUE(RotulosXAlternados(10, 26, 300)); // 30 pixels a division: no room for the gap
    EXPECT_FALSE(RotulosXAlternados(10, 25, 300));
    EXPECT_EQ(RotulosLegenda(29, 300), 10);
    EXPECT_EQ(RotulosLegenda(30, 300), 5);
}

TEST(GeometriaChart, TracosDaCurva) {
    EXPECT_EQ(PadraoTraco(0), 0xFFFFFFFFu);
    EXPECT_EQ(PadraoTraco(1), 0xFFF0FFF0u);
    EXPECT_EQ(PadraoTraco(2), 0xF0F0F0F0u);
    EXPECT_EQ(PadraoTraco(3), 0xFFFF0FF0u);
    // 63 pixels: 64 steps; dotted draws 4 of every 8, so 32 segments, the first four drawn.
    const auto s = SegmentosCurva([](double x) { return 2 * x; }, 0, 64, 63, PadraoTraco(2));
    ASSERT_EQ(s.size(), 32u);
    EXPECT_DOUBLE_EQ(s[0].X1, 0);
    EXPECT_DOUBLE_EQ(s[3].X2, 4);
    EXPECT_DOUBLE_EQ(s[4].X1, 8); // steps 4..7 skipped
    EXPECT_DOUBLE_EQ(s[4].Y1, 16);
    EXPECT_EQ(SegmentosCurva([](double x) { return x; }, 0, 1, 9, PadraoTraco(0)).size(), 10u);
    EXPECT_EQ(SegmentosCurva([](double x) { return std::log(x); }, -1.1, 0.9, 9, PadraoTraco(0)).size(), 4u);
}

TEST(GeometriaChart, MapaDeCores) {
    const TRgb azul{0, 0, 255}, vermelho{255, 0, 0};
    EXPECT_EQ(InterpolaCor(azul, vermelho, 0), azul);
    EXPECT_EQ(InterpolaCor(azul, vermelho, 1), vermelho);
    EXPECT_EQ(InterpolaCor(azul, vermelho, 0.5), (TRgb{128, 0, 128}));
    EXPECT_EQ(InterpolaCor(azul, vermelho, 7), vermelho);
    const TMapaCores m = CalculaMapaCores([](double x, double y) { return x + 10 * y; }, {0, 20}, {0, 2});
    EXPECT_DOUBLE_EQ(m.Minimo, 0); // nodes include both ends
    EXPECT_DOUBLE_EQ(m.Maximo, 40);
    EXPECT_DOUBLE_EQ(m.Centros[0], 0.5 + 0.05 * 10);
    EXPECT_DOUBLE_EQ(m.Fracao(40), 1);
    const TMapaCores plano = CalculaMapaCores([](double, double) { return 3; }, {0, 1}, {0, 1});
    EXPECT_EQ(plano.Fracao(3), 0);
}

TEST(GeometriaChart, Projecao3D) {
    TProjecao3D p;
    p.AnguloX = p.AnguloY = p.AnguloZ = 0; // seen from the front: x right, z up
    const auto q = p.Projeta(0.5, 0, 0.25);
    EXPECT_DOUBLE_EQ(q.X, 0.5);
    EXPECT_DOUBLE_EQ(q.Y, 0.25);
    p.AnguloX = 90; // from above: y goes up the screen
    EXPECT_NEAR(p.Projeta(0, 0.5, 0).Y, 0.5, 1e-12);
    p.AnguloX = 0, p.AnguloZ = 90; // a quarter turn brings +y to the left
    EXPECT_NEAR(p.Projeta(0, 0.5, 0).X, -0.5, 1e-12);
}

namespace {

TChart ChartTeste() {
    TChart c;
    c.Largura = 300, c.Altura = 220;
    c.Titulo = "Dispersão", c.TituloX = "x", c.TituloY = "y";
    c.FundoChart = Cor(255, 255, 255), c.FundoLegendas = Cor(192, 192, 192);
    c.CorMarcador = Cor(0, 0, 255);
    c.X = {0, 10}, c.Y = {-5, 15};
    c.EscalaY.CentraZero = true;
    return c;
}

} // namespace

TEST(PinturaChart, PontoNoPixelDoMapeamentoEMonocromatico) {
    TChart c = ChartTeste();
    c.PlotPoint("7", 3, 4);
    c.CanetaReferencia = {Cor(255, 0, 0), 1, 0};
    c.Line(7, 10, 7, 0);
    const TLayoutChart l = LayoutDe(c);
    const QImage img = ImagemChart(c, 256);
    const QPoint p(l.Mapa.XPixel(4), l.Mapa.YPixel(3));
    EXPECT_EQ(img.pixelColor(p), QColor(0, 0, 255));
    const QPoint r(l.Mapa.XPixel(2.5), l.Mapa.YPixel(7));
    EXPECT_EQ(img.pixelColor(r), QColor(255, 0, 0));
    EXPECT_EQ(l.TiquesY.front(), -4); // centred on zero
    const QImage mono = ImagemChart(c, 2).convertToFormat(QImage::Format_RGB32);
    std::set<QRgb> cores;
    for (int y = 0; y < mono.height(); ++y)
        for (int x = 0; x < mono.width(); ++x) cores.insert(mono.pixel(x, y));
    EXPECT_EQ(cores.size(), 2u);
}

TEST(PinturaChart, MapaDeCoresPintaAsCoresDasPontas) {
    TChart c = ChartTeste();
    c.Mapa = [](double x, double) { return x; };
    c.TituloLegenda = "Valor";
    const TLayoutChart l = LayoutDe(c);
    EXPECT_GT(l.AlturaLegenda, 0);
    const QImage img = ImagemChart(c, 256);
    const QColor esquerda = img.pixelColor(l.Mapa.XPixel(0.1), l.Mapa.YPixel(5));
    const QColor direita = img.pixelColor(l.Mapa.XPixel(9.9), l.Mapa.YPixel(5));
    EXPECT_GT(esquerda.blue(), 200);
    EXPECT_LT(esquerda.red(), 30);
    EXPECT_GT(direita.red(), 200);
    EXPECT_LT(direita.blue(), 30);
}

// Titles and labels render the writers' markup: a superscript, a power of ten; and the
// right-hand title, reading downwards, lies inside the picture between the plot and x = width − 5.
TEST(Chart, MarcacaoETituloDireito) {
    using V = std::vector<TTrechoTexto>;
    EXPECT_EQ(TrechosTexto("Resíduo%^%2%"), (V{{"Resíduo", false}, {"2", true}}));
    EXPECT_EQ(TrechosTexto("1,23###7%"), (V{{"1,23x10", false}, {"7", true}}));
    EXPECT_EQ(TrechosTexto("a###-3%b%^%x%"), (V{{"ax10", false}, {"-3", true}, {"b", false}, {"x", true}}));
    EXPECT_EQ(TextoRotulo("1,23###7%"), "1,23x107");
    EXPECT_EQ(TrechosTexto("1,23###7"), (V{{"1,23###7", false}})); // never closed: as written

    TChart c;
    c.Largura = c.Altura = 240;
    c.FundoChart = c.FundoLegendas = CorBranca;
    c.EscalaX.Oculta = c.EscalaY.Oculta = true;
    c.TituloDireita = "Zelto® 32";
    const QImage img = ImagemChart(c, 256);
    const TLayoutChart l = LayoutDe(c);
    int dentro = 0, fora = 0;
    for (int y = 0; y < c.Altura; ++y)
        for (int x = l.Mapa.PlotDireita() + 2; x < c.Largura; ++x)
            if (qGray(img.pixel(x, y)) < 128) (x <= c.Largura - 5 ? dentro : fora)++;
    EXPECT_GT(dentro, 20);
    EXPECT_EQ(fora, 0);
}

// A text centred near the plot's edge (the value of a short bar) is moved inside whole: its
// first pixel is right of the frame, and a text at the middle stays centred.
TEST(PinturaChart, TextoJuntoDaBordaFicaInteiroNoPlot) {
    TChart c = ChartTeste();
    c.EscalaX.Oculta = c.EscalaY.Oculta = true;
    c.FonteRotulos.Cor = Cor(255, 0, 0);
    c.TextAt("1.234.567,89%", 9, 0.1);
    c.TextAt("5", 3, 5);
    const TLayoutChart l = LayoutDe(c);
    const QImage img = ImagemChart(c, 256).convertToFormat(QImage::Format_RGB32);
    const auto vermelhos = [&](double y, int &primeiro, int &ultimo) {
        primeiro = img.width(), ultimo = -1;
        const int py = l.Mapa.YPixel(y);
        for (int yy = py - 8; yy <= py + 8; ++yy)
            for (int x = 0; x < img.width(); ++x)
                if (qRed(img.pixel(x, yy)) > 150 && qGreen(img.pixel(x, yy)) < 100)
                    primeiro = std::min(primeiro, x), ultimo = std::max(ultimo, x);
    };
    int a = 0, b = 0;
    vermelhos(9, a, b);
    EXPECT_GT(a, l.Mapa.PlotEsquerda());
    const int largura = QFontMetrics(c.FonteRotulos.ParaQFont()).horizontalAdvance("1.234.567,89%");
    EXPECT_GE(b - a, largura - 4); // the whole text, not its tail
    vermelhos(3, a, b);
    EXPECT_NEAR((a + b) / 2.0, l.Mapa.XPixel(5), 3);
}

// The three axis names of a surface are drawn whole inside the plot, each in its own font's
// colour.
TEST(PinturaChart, NomesDosEixosDaSuperficieDentroDoPlot) {
    TChart c = ChartTeste();
    c.EscalaX.Oculta = c.EscalaY.Oculta = true;
    c.Superficie = [](double x, double y) { return x * y; };
    c.TituloX = c.TituloY = c.TituloZ = "nome do eixo";
    c.FonteEscalaX.Cor = Cor(255, 0, 0), c.FonteEscalaY.Cor = Cor(0, 204, 0), c.FonteLegendas.Cor = Cor(0, 0, 255);
    const TLayoutChart l = LayoutDe(c);
    const QImage img = ImagemChart(c, 256).convertToFormat(QImage::Format_RGB32);
    const int largura = QFontMetrics(c.FonteEscalaX.ParaQFont()).horizontalAdvance("nome do eixo");
    for (const QRgb cor : {qRgb(255, 0, 0), qRgb(0, 204, 0), qRgb(0, 0, 255)}) {
        int x0 = img.width(), x1 = -1, y0 = img.height(), y1 = -1;
        for (int y = l.Mapa.PlotTopo(); y <= l.Mapa.PlotBase(); ++y)
            for (int x = l.Mapa.PlotEsquerda(); x <= l.Mapa.PlotDireita(); ++x)
                if (img.pixel(x, y) == cor) x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
        EXPECT_GE(x1 - x0, largura * 4 / 5) << std::hex << cor; // whole, not cut by the frame
        EXPECT_GT(x0, l.Mapa.PlotEsquerda());
        EXPECT_LT(x1, l.Mapa.PlotDireita());
        EXPECT_GT(y0, l.Mapa.PlotTopo());
        EXPECT_LT(y1, l.Mapa.PlotBase());
    }
    // Each axis is named once: no axis title below or left of the plot.
    int fora = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == qRgb(0, 0, 255) && (y > l.Mapa.PlotBase() || x < l.Mapa.PlotEsquerda())) ++fora;
    EXPECT_EQ(fora, 0);
}

// At print resolution the chart is the same drawing, finer: the picture is 300/96 as large,
// says its resolution, and its title spans 300/96 as many pixels (the text is sized for the
// device, not enlarged twice).
TEST(PinturaChart, NaResolucaoDeImpressaoOTextoGuardaOTamanho) {
    TChart c;
    c.Largura = 300, c.Altura = 120;
    c.EscalaX.Oculta = c.EscalaY.Oculta = true;
    c.Titulo = "Dispersão dos elementos";
    c.FonteTitulo.Tamanho = 12;
    auto larguraEscura = [](const QImage &i, int ate) {
        int menor = i.width(), maior = -1;
        for (int y = 0; y < ate; ++y)
            for (int x = 0; x < i.width(); ++x)
                if (qGray(i.pixel(x, y)) < 100) menor = std::min(menor, x), maior = std::max(maior, x);
        return maior - menor + 1;
    };
    const QImage tela = ImagemChart(c, 256), impressao = ImagemChart(c, 256, 300);
    EXPECT_EQ(impressao.size(), QSize(938, 375));
    EXPECT_NEAR(impressao.dotsPerMeterX() * 0.0254, 300, 0.5);
    const double razao = static_cast<double>(larguraEscura(impressao, 120)) / larguraEscura(tela, 38);
    EXPECT_NEAR(razao, 300 / 96.0, 0.15);
}
