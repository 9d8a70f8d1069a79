// The residual graphs of a Windsor model, checked on the drawn picture: every sample's marker
// at the pixel the mapping gives for its values, the line y = x where it belongs, the outlier
// limits ±L at their height, and the point values taken from the regression system.
#include "RelatorioTeste.h"

#include "chart/Chart.h"
#include "evaluation/Avaliacao.h"
#include "items/Catalogo.h"
#include "items/GraficoItem.h"
#include "regression/Sistema.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace zelto;

namespace {

const std::string kDados = ZELTO_DADOS_TESTE;

struct TGraficos : teste::TRelatorioTeste {
    TListaItens itens = CriaCatalogo();
    void Executa() {
        TAvaliacao av(*s);
        double passo = 0;
        av.CompletaCalculos(nullptr, passo);
        av.ExecutaItens(itens, Contexto(), e, nullptr, passo);
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
        for (const auto &i : r_->itens)
            if (auto *g = dynamic_cast<TItemGrafico *>(i.get())) g->GuardaFiguras = true;
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
                               "TIA_GrafOutliers", "TIA_GrafHiiRi2", "TIA_GrafAutoCorrelacao", "TIA_Dispersao",
                               "TIA_DispTransformada", "TIA_GrafNormalidade", "TIA_GrafKolmogorov",
                               "TIA_Multicolinearidade", "TIA_ResiduosxNaoUsadas", "TIA_Regressao2D"}) {
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

namespace {

const TElementoChart *Elemento(const TChart &c, TElementoChart::TTipo tipo) {
    for (const TElementoChart &e : c.Elementos)
        if (e.Tipo == tipo) return &e;
    return nullptr;
}

// A writer that keeps the pictures and their colour counts.
struct TEscritorFiguras : teste::TEscritorCaptura {
    std::vector<std::pair<QImage, int>> Figuras;
    void WritePicture(const QImage &imagem, int, int cores) override { Figuras.emplace_back(imagem, cores); }
};

} // namespace

// The histogram: one bar per class as high as its count (on the picture too), and the normal
// curve fitted to the residuals, its centre and peak from the residuals' own mean and variance
// in class units.
TEST_F(Graficos, HistogramaBarrasECurva) {
    const TSistema &s = *r_->s;
    const TChart &h = r_->Chart("TIA_Histograma");
    const std::size_t k = s.NumeroClasses(), n = s.n();
    double soma = 0, menor = 1e300, maior = -1e300;
    for (std::size_t i = 1; i <= n; ++i) {
        const double e = static_cast<double>(s.ResiduoBruto(i));
        soma += e, menor = std::min(menor, e), maior = std::max(maior, e);
    }
    const double media = soma / static_cast<double>(n);
    double quadrados = 0;
    for (std::size_t i = 1; i <= n; ++i) quadrados += std::pow(static_cast<double>(s.ResiduoBruto(i)) - media, 2);
    const double kd = static_cast<double>(k);
    const double centro = (media - menor) * kd / (maior - menor) + 0.5;
    const double desvio = std::sqrt(quadrados / static_cast<double>(n)) * kd / (maior - menor);
    const double pico = static_cast<double>(n) / std::sqrt(2 * M_PI * desvio * desvio);

    const TElementoChart *curva = Elemento(h, TElementoChart::Curva);
    ASSERT_NE(curva, nullptr);
    double xMax = 0, yMax = -1;
    for (int t = 0; t <= 20000; ++t) {
        const double x = h.X.Minimo + (h.X.Maximo - h.X.Minimo) * t / 20000;
        if (curva->Funcao(x) > yMax) yMax = curva->Funcao(x), xMax = x;
    }
    EXPECT_NEAR(xMax, centro, 1e-3);
    EXPECT_NEAR(yMax, pico, 1e-6 * pico);
    EXPECT_EQ(h.X.Minimo, 0);
    EXPECT_DOUBLE_EQ(h.X.Maximo, kd + 0.8);

    std::size_t barras = 0, total = 0;
    double maiorContagem = 0;
    TChart so = h;
    std::erase_if(so.Elementos, [](const TElementoChart &e) { return e.Tipo == TElementoChart::Curva; });
    so.FundoChart = CorBranca; // the bars take the colour around the plot
    const QImage img = ImagemChart(so, 256);
    const TLayoutChart l = LayoutDe(so);
    for (const TElementoChart &e : h.Elementos) {
        if (e.Tipo != TElementoChart::BarraVertical) continue;
        ++barras;
        const std::size_t j = static_cast<std::size_t>(e.X1);
        EXPECT_EQ(e.X1, static_cast<double>(barras));
        EXPECT_EQ(e.Y2, static_cast<double>(s.ContagemClasse(j)));
        total += s.ContagemClasse(j);
        maiorContagem = std::max(maiorContagem, e.Y2);
        if (e.Y2 < 1) continue;
        const QColor cor = ParaQColor(e.Preenchimento);
        const int x = l.Mapa.XPixel(e.X1 - 0.25), topo = l.Mapa.YPixel(e.Y2);
        EXPECT_EQ(img.pixelColor(x, topo + 2), cor) << j;
        EXPECT_NE(img.pixelColor(x, topo - 2), cor) << j;
    }
    EXPECT_EQ(barras, k);
    EXPECT_EQ(total, n);
    EXPECT_DOUBLE_EQ(h.Y.Maximo, std::max(maiorContagem, pico) + 2);
}

// The ogive climbs to 100 %; the normal line joins the first and last ordered normalized
// residuals; the Kolmogorov-Smirnov graph plots i / n against them under Φ.
TEST_F(Graficos, OgivaNormalidadeKolmogorov) {
    const TSistema &s = *r_->s;
    const std::size_t n = s.n(), k = s.NumeroClasses();
    const TChart &o = r_->Chart("TIA_Ogiva");
    std::vector<const TElementoChart *> trechos;
    for (const TElementoChart &e : o.Elementos)
        if (e.Tipo == TElementoChart::Linha) trechos.push_back(&e);
    ASSERT_EQ(trechos.size(), k);
    EXPECT_EQ(trechos.front()->X1, 0);
    EXPECT_EQ(trechos.front()->Y1, 0);
    EXPECT_DOUBLE_EQ(trechos.back()->Y2, 100);
    EXPECT_EQ(o.X.Maximo, static_cast<double>(k + 1));
    for (std::size_t j = 1; j < k; ++j)
        EXPECT_DOUBLE_EQ(trechos[j - 1]->Y2, 100.0 * static_cast<double>(s.ContagemAcumulada(j)) / static_cast<double>(n));

    const TChart &nl = r_->Chart("TIA_GrafNormalidade");
    const TElementoChart *reta = Elemento(nl, TElementoChart::Linha);
    ASSERT_NE(reta, nullptr);
    EXPECT_DOUBLE_EQ(reta->X1, 0.5 / static_cast<double>(n));
    EXPECT_DOUBLE_EQ(reta->Y1, static_cast<double>(s.ResiduoPadronizadoOrdenado(1)));
    EXPECT_DOUBLE_EQ(reta->X2, (static_cast<double>(n) - 0.5) / static_cast<double>(n));
    EXPECT_DOUBLE_EQ(reta->Y2, static_cast<double>(s.ResiduoPadronizadoOrdenado(n)));
    EXPECT_LT(nl.X.Minimo, 0);
    EXPECT_GT(nl.X.Maximo, 1);

    const TChart &ks = r_->Chart("TIA_GrafKolmogorov");
    EXPECT_LT(ks.Y.Minimo, 0);
    EXPECT_GT(ks.Y.Maximo, 1);
    EXPECT_EQ(ks.Subtitulo, "(elementos da amostra)");
    const TElementoChart *phi = Elemento(ks, TElementoChart::Curva);
    ASSERT_NE(phi, nullptr);
    EXPECT_NEAR(phi->Funcao(0), 0.5, 1e-7); // the distribution function the KS table uses
    EXPECT_NEAR(phi->Funcao(1.959963984540054), 0.975, 1e-7);
    std::size_t i = 0;
    for (const TElementoChart &e : ks.Elementos) {
        if (e.Tipo != TElementoChart::Ponto) continue;
        ++i;
        EXPECT_EQ(e.Rotulo, std::to_string(s.NumeroAmostra(s.OrdemResiduo(i))));
        EXPECT_DOUBLE_EQ(e.Y1, static_cast<double>(i) / static_cast<double>(n));
    }
    EXPECT_EQ(i, n);
}

// The data graphs: the observed dependent by sample with labels in its worksheet format, the
// mean line through the transformed values, and the untransformed coefficients of variation
// against R (sd(x) / mean(x) on windsor-houses.txt, R 4.2.2).
TEST_F(Graficos, DispersaoECoeficientesDeVariacao) {
    const TSistema &s = *r_->s;
    const TChart &d = r_->Chart("TIA_Dispersao");
    EXPECT_EQ(Elemento(d, TElementoChart::Ponto)->Y1, 42000);
    EXPECT_EQ(d.TituloY, "price");
    EXPECT_EQ(d.EscalaY.Formata(42000), "42.000"); // the column shows thousands, no decimals

    const TChart &t = r_->Chart("TIA_DispTransformada");
    double soma = 0;
    std::size_t pontos = 0;
    for (const TElementoChart &e : t.Elementos)
        if (e.Tipo == TElementoChart::Ponto) soma += e.Y1, ++pontos;
    const TElementoChart *media = Elemento(t, TElementoChart::Linha);
    ASSERT_NE(media, nullptr);
    EXPECT_NEAR(media->Y1, soma / static_cast<double>(pontos), 1e-9 * std::fabs(media->Y1));
    EXPECT_EQ(media->Y1, media->Y2);

    const double cvR[] = {39.198539192370816, 42.097998573095111, 24.868055169041995,
                          39.056722446219467, 48.028223442794449, 146.97025055222210};
    const TChart &cv = r_->Chart("TIA_CoefVarNaoT");
    std::size_t k = 0;
    for (const TElementoChart &e : cv.Elementos) {
        if (e.Tipo != TElementoChart::BarraHorizontal) continue;
        EXPECT_NEAR(e.X2, cvR[k], 1e-9) << k;
        EXPECT_EQ(e.Y1, static_cast<double>(s.m() - k)) << k; // the dependent on top
        EXPECT_EQ(e.Y2, 0.75);
        ++k;
    }
    EXPECT_EQ(k, s.m());
    EXPECT_EQ(cv.X.Minimo, 0);
    EXPECT_GE(cv.X.Maximo, cvR[5]);
    EXPECT_LT(cv.X.Maximo, 1.2 * cvR[5]);
    EXPECT_EQ(cv.EscalaY.Formata(static_cast<double>(s.m())), "price");
}

// A 2-colour setting gives every graph item a 2-colour picture.
TEST_F(Graficos, MonocromaticoDuasCores) {
    TGraficos r;
    r.grid = r_->grid;
    ASSERT_TRUE(r.Modelo({{1, 8}, {2, 8}, {3, 4}, {4, 1}, {5, 7}, {10, 1}}));
    std::size_t graficos = 0;
    for (const auto &i : r.itens)
        if (auto *g = dynamic_cast<TItemGrafico *>(i.get())) g->OpcoesSerie[0] = 0, ++graficos;
    TEscritorFiguras e;
    TContextoItem ctx = r.Contexto();
    TAvaliacao av(*r.s);
    double passo = 0;
    av.CompletaCalculos(nullptr, passo);
    av.ExecutaItens(r.itens, ctx, e, nullptr, passo);
    EXPECT_GE(e.Figuras.size(), graficos);
    for (const auto &[imagem, cores] : e.Figuras) {
        EXPECT_EQ(cores, 2);
        std::set<QRgb> distintas;
        for (int y = 0; y < imagem.height(); ++y)
            for (int x = 0; x < imagem.width(); ++x) distintas.insert(imagem.pixel(x, y));
        EXPECT_LE(distintas.size(), 2u);
    }
}

namespace {

const std::vector<TItemGrafico::TFigura> &Partes(const TListaItens &itens, const char *classe) {
    return dynamic_cast<TItemGrafico &>(*ItemDaClasse(itens, classe)).Figuras;
}

} // namespace

// The series: one part per independent variable, per variable left out, per accepted variable
// and per pair of them up to the limit; the 2D curves all pass through the estimate at the
// sample means where their own variable is at its mean; the 3D text gives the axes' limits.
TEST_F(Graficos, SeriesPartesECurvas) {
    const TSistema &s = *r_->s;
    EXPECT_EQ(Partes(r_->itens, "TIA_Multicolinearidade").size(), 5u);
    const auto &omitidas = Partes(r_->itens, "TIA_ResiduosxNaoUsadas");
    ASSERT_EQ(omitidas.size(), 6u); // driveway, recreation, fullbase, gasheat, garage, prefer
    EXPECT_EQ(omitidas[0].Chart.TituloX, "driveway");
    EXPECT_EQ(omitidas[5].Chart.TituloX, "prefer");
    EXPECT_EQ(Partes(r_->itens, "TIA_Multicolinearidade")[0].Chart.Titulo, "Resíduos x 1/[lotsize]");

    const auto &duas = Partes(r_->itens, "TIA_Regressao2D");
    ASSERT_EQ(duas.size(), 5u);
    TPonto medio(s.m() + 1, 0);
    for (std::size_t k = 2; k <= s.m(); ++k) {
        long double soma = 0;
        for (std::size_t i = 1; i <= s.n(); ++i) soma += s.ValorBruto(k, i);
        medio[k] = soma / static_cast<long double>(s.n());
    }
    const double noMeio = static_cast<double>(*s.Estimativa(medio));
    for (std::size_t p = 0; p < duas.size(); ++p) {
        const TElementoChart *curva = Elemento(duas[p].Chart, TElementoChart::Curva);
        ASSERT_NE(curva, nullptr);
        EXPECT_NEAR(curva->Funcao(static_cast<double>(medio[p + 2])), noMeio, 1e-9 * noMeio) << p;
        EXPECT_EQ(duas[p].Chart.TituloY, "price");
    }
    // Pairs of 5 variables: 10, the default limit.
    EXPECT_EQ(Partes(r_->itens, "TIA_CurvaNivel").size(), 10u);
    const auto &tres = Partes(r_->itens, "TIA_Grafico3D");
    ASSERT_EQ(tres.size(), 10u);
    EXPECT_TRUE(static_cast<bool>(tres[0].Chart.Superficie));
    EXPECT_EQ(tres[0].Chart.X.Minimo, 1650);
    EXPECT_EQ(tres[0].Chart.X.Maximo, 16200);
    const TChart &nivel = Partes(r_->itens, "TIA_CurvaNivel")[0].Chart;
    ASSERT_TRUE(static_cast<bool>(nivel.Mapa));
    EXPECT_EQ(nivel.TituloLegenda, "price");
    TPonto p = medio;
    p[2] = 5000, p[3] = 3;
    EXPECT_NEAR(nivel.Mapa(5000, 3), static_cast<double>(*s.Estimativa(p)), 1e-6);
}

// The options: a limit of 3 graphs and the numeric kinds left out.
TEST_F(Graficos, SeriesOpcoes) {
    TGraficos r;
    r.grid = r_->grid;
    ASSERT_TRUE(r.Modelo({{1, 8}, {2, 8}, {3, 4}, {4, 1}, {5, 7}, {10, 1}}));
    auto *duas = dynamic_cast<TItemAvaliacaoGraf *>(ItemDaClasse(r.itens, "TIA_Regressao2D"));
    auto *nivel = dynamic_cast<TItemAvaliacaoGraf *>(ItemDaClasse(r.itens, "TIA_CurvaNivel"));
    duas->ValorMGr = 3;
    nivel->OpcoesMGr[1] = 0;
    const TContextoItem ctx = r.Contexto();
    duas->DefineContexto(&ctx);
    nivel->DefineContexto(&ctx);
    TAvaliacao av(*r.s);
    double passo = 0;
    av.CompletaCalculos(nullptr, passo);
    EXPECT_EQ(duas->NumeroPartes(), 3);
    EXPECT_EQ(nivel->NumeroPartes(), 0);
    duas->OpcoesMGr[5] = 0;
    EXPECT_EQ(duas->NumeroPartes(), 5);
    EXPECT_EQ(duas->VariavelX(4), 10);
    duas->DefineContexto(nullptr);
    nivel->DefineContexto(nullptr);
}

// Sample numbers show while they stay legible: the Windsor scatter (546 points) has none by
// default, an explicit choice wins either way, and the boundary is 100 points.
TEST_F(Graficos, NumerosDasAmostrasSoEnquantoLegiveis) {
    EXPECT_EQ(PontosDoChart(r_->Chart("TIA_Dispersao")), r_->s->n());
    EXPECT_GT(r_->s->n(), kMaxPontosNumerados);
    EXPECT_FALSE(r_->Chart("TIA_Dispersao").Numeracao);
    EXPECT_TRUE(NumeracaoDoChart(0x03, 100));
    EXPECT_FALSE(NumeracaoDoChart(0x03, 101));
    EXPECT_TRUE(NumeracaoDoChart(0x03 | kMostraNumeros, 546));
    EXPECT_FALSE(NumeracaoDoChart(0x03 | kOcultaNumeros, 3));
}
