// The view's layout, read from what it draws: where lines break (nothing lost, nothing past
// the line), tabs and justification where the measure says, pictures that do not fit, tables
// centred and closed by their borders on every page they cross, and the page number of the
// running header.
#include "DispositivoRegistro.h"

#include "chart/Chart.h"
#include "view/ViewRelat.h"
#include "view/ZoomRelatorio.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

using namespace zelto;
using teste::TDispositivoRegistro;
using teste::TTextoDesenhado;

namespace {

// A view on a recording device, drawing page `alvo`, with a text width in mm.
struct TVista {
    TDispositivoRegistro dispositivo;
    TViewRelat v{&dispositivo};
    QPainter pintor;

    explicit TVista(double larguraTexto = 180, int alvo = 1) {
        v.SetPage(larguraTexto, 15, 277, 10, 210, 297);
        v.TargetPage = alvo;
        v.Reinicia();
        pintor.begin(&dispositivo);
        v.DefinePintor(&pintor);
    }
    ~TVista() {
        v.DefinePintor(nullptr);
        pintor.end();
    }
    const std::vector<TTextoDesenhado> &Textos() const { return dispositivo.Motor.Textos; }
    // The texts drawn, one string per baseline, pieces joined in x order.
    std::vector<QString> Linhas() const {
        std::map<double, std::vector<TTextoDesenhado>> porBase;
        for (const auto &t : Textos()) porBase[t.Base.y()].push_back(t);
        std::vector<QString> r;
        for (auto &[y, ts] : porBase) {
            std::sort(ts.begin(), ts.end(),
                      [](const auto &a, const auto &b) { return a.Base.x() < b.Base.x(); });
            QString l;
            for (const auto &t : ts) l += t.Texto;
            r.push_back(l);
        }
        return r;
    }
};

int Largura(const QString &t) { return TViewRelat::LarguraTexto(TFonte{}, t); }

} // namespace

TEST(ViewRelat, LineBreakingLosesNothingAndNeverPassesTheLine) {
    const QString palavra = QStringLiteral("Inconstitucionalissimamente-paralelepipédico-ortorrômbico");
    const QString frase = QStringLiteral("A avaliação é feita por inferência estatística sobre uma "
                                         "amostra de imóveis semelhantes ao avaliando");
    struct TCaso {
        const char *nome;
        double larguraMm;
        QString antes, texto;
    } casos[] = {
        {"word longer than an empty line", 20, QString(), palavra},
        {"word longer than the line after a word", 20, QStringLiteral("ab"), palavra},
        {"sentence", 40, QString(), frase},
        {"sentence after a word", 40, QStringLiteral("Nota: "), frase},
    };
    for (const TCaso &c : casos) {
        SCOPED_TRACE(c.nome);
        TVista t(c.larguraMm);
        if (!c.antes.isEmpty()) t.v.WriteText(c.antes);
        t.v.WriteText(c.texto);
        t.v.NewParagraph();
        const std::vector<QString> linhas = t.Linhas();
        ASSERT_GE(linhas.size(), 2u);
        // Nothing lost: the lines give the text back, a dropped blank at each break.
        QString junto;
        for (const QString &l : linhas) {
            EXPECT_LE(Largura(l), t.v.TextWidth) << l.toStdString();
            junto += l;
        }
        QString esperado = c.antes + c.texto;
        QString semBrancos = junto;
        semBrancos.remove(QLatin1Char(' '));
        EXPECT_EQ(semBrancos, esperado.remove(QLatin1Char(' ')));
        // Each line is as long as it may be: the next word (or, inside a word longer than the
        // line, the next character) would not have fitted.
        for (std::size_t i = 0; i + 1 < linhas.size(); ++i) {
            const QString proxima = linhas[i + 1];
            const bool quebraNaPalavra = !linhas[i].contains(QLatin1Char(' ')) &&
                                         !proxima.contains(QLatin1Char(' ')) &&
                                         linhas[i].size() > 2;
            const QString acrescimo =
                quebraNaPalavra ? proxima.left(1) : QStringLiteral(" ") + proxima.section(' ', 0, 0);
            EXPECT_GT(Largura(linhas[i] + acrescimo), t.v.TextWidth)
                << linhas[i].toStdString() << " | " << proxima.toStdString();
        }
    }
}

TEST(ViewRelat, WidthsAddedFromCharactersAreTheWidthsTheShaperGives) {
    // The oracle: the whole text shaped at once, in the font that draws it. Plain text (accents,
    // numbers, symbols, Greek) is added up from cached advances; marks, a surrogate pair and
    // pairs a face may join go to the shaper: both must give the width the drawing takes.
    const QStringList textos = {
        QStringLiteral("A avaliação é feita por inferência estatística: R² = 0,9431"),
        QStringLiteral("1.163.000,00 ± 12,5% ≤ ∞ — “aspas” € ‰ Œ œ ™ αβγ Ωμ"),
        QStringLiteral("ofício fluxo affair ﬁm"),
        QStringLiteral("e\u0301 combinado; \U0001D6FD fora do plano básico; \u00ADhífen"),
        QString(3000, QLatin1Char('W')) + QStringLiteral(" iiii ...."),
    };
    for (const char *nome : {"Arial", "Times New Roman", "Courier New"})
        for (const int tamanho : {7, 10, 13})
            for (const bool negrito : {false, true}) {
                TFonte f;
                f.Nome = QString::fromLatin1(nome);
                f.Tamanho = tamanho;
                f.Negrito = negrito;
                f.Italico = tamanho == 13;
                const QFontMetricsF oraculo(TViewRelat::FonteTwips(f));
                for (const QString &t : textos)
                    EXPECT_EQ(TViewRelat::LarguraTexto(f, t), std::lround(oraculo.horizontalAdvance(t)))
                        << nome << " " << tamanho << " " << t.left(40).toStdString();
            }
}

TEST(ViewRelat, ACellNarrowerThanACharacterStillPlacesEveryCharacter) {
    TVista t;
    t.v.BeginTable(1, 1, 100, atCentro); // less than the cell's padding
    t.v.BeginRow();
    t.v.WriteText(QStringLiteral("abc"));
    t.v.NextCell();
    t.v.EndTable();
    const std::vector<QString> linhas = t.Linhas();
    EXPECT_EQ(linhas, (std::vector<QString>{"a", "b", "c"}));
}

TEST(ViewRelat, TabsAndJustificationDrawWhereTheyMeasure) {
    TVista t;
    t.v.WriteText(QStringLiteral("a\tb"));
    const QString largo = QStringLiteral("Rótulo bem mais largo que um tab");
    ASSERT_GT(Largura(largo), 720);
    t.v.NewParagraph();
    t.v.WriteText(largo + QStringLiteral("\t: valor"));
    EXPECT_EQ(t.v.LineWidth, (Largura(largo) / 720 + 1) * 720 + Largura(QStringLiteral(": valor")));
    t.v.NewParagraph();
    const auto &tx = t.Textos();
    auto x = [&](const QString &s) {
        for (const auto &d : tx)
            if (d.Texto == s) return d.Base.x();
        return -1.0;
    };
    EXPECT_EQ(x(QStringLiteral("b")), t.v.LeftMargin + 720);
    EXPECT_EQ(x(QStringLiteral(": valor")), t.v.LeftMargin + (Largura(largo) / 720 + 1) * 720);

    // A justified paragraph: every line but the last ends on the right edge, the last keeps its
    // natural spacing.
    TVista j(60);
    j.v.AlignJustify();
    j.v.WriteText(QStringLiteral("O modelo selecionado parece ser inadequado à amostra e/ou o bem "
                                 "avaliando informado, recomenda-se trocar o modelo"));
    j.v.NewParagraph();
    std::map<double, std::pair<double, double>> extremos; // baseline: first x, last right edge
    for (const auto &d : j.Textos()) {
        auto [it, novo] = extremos.try_emplace(d.Base.y(), d.Base.x(), 0.0);
        it->second.first = std::min(it->second.first, d.Base.x());
        QString sem = d.Texto;
        while (sem.endsWith(QLatin1Char(' '))) sem.chop(1);
        it->second.second = std::max(it->second.second, d.Base.x() + Largura(sem));
    }
    ASSERT_GE(extremos.size(), 3u);
    const double direita = j.v.LeftMargin + j.v.TextWidth;
    for (auto it = extremos.begin(); it != extremos.end(); ++it) {
        EXPECT_EQ(it->second.first, j.v.LeftMargin);
        if (std::next(it) != extremos.end())
            EXPECT_NEAR(it->second.second, direita, 2.0);
        else
            EXPECT_LT(it->second.second, direita - 100);
    }
}

TEST(ViewRelat, APictureWiderThanTheRestOfTheLineStartsANewLine) {
    TVista t(100);
    QImage figura(200, 100, QImage::Format_RGB32); // 3000 x 1500 twips at 96 per inch
    figura.fill(Qt::gray);
    t.v.WriteText(QStringLiteral("Legenda"));
    const int topo = t.v.Y;
    const int alturaTexto = TViewRelat::AlturaFonte(TFonte{});
    t.v.WritePicture(figura, 100, 256); // fits beside the text
    t.v.WritePicture(figura, 100, 256); // does not: a new line
    t.v.NewParagraph();
    const auto &im = t.dispositivo.Motor.Imagens;
    ASSERT_EQ(im.size(), 2u);
    // Pictures are placed on whole device pixels (15 twips each here).
    auto pixels = [](double x, double y) {
        return QRectF(QTransform::fromScale(1 / 15.0, 1 / 15.0).mapRect(QRectF(x, y, 3000, 1500)).toRect());
    };
    EXPECT_EQ(im[0], pixels(t.v.LeftMargin + Largura(QStringLiteral("Legenda")), topo));
    EXPECT_EQ(im[1], pixels(t.v.LeftMargin, topo + 1500));
    EXPECT_GT(1500, alturaTexto);
    EXPECT_EQ(t.v.Y, topo + 3000);
}

// A chart is painted as vectors at its place: no picture reaches the device, its titles are
// texts inside the chart's rectangle (15 twips per layout unit), and the line is as tall as it.
TEST(ViewRelat, AChartIsPaintedAsVectorsInItsPlace) {
    TVista t(180);
    TChart c;
    c.Largura = 200, c.Altura = 150;
    c.Titulo = "Dispersão";
    c.TituloX = "Amostragem";
    c.X = {0, 10}, c.Y = {0, 10};
    c.PlotPoint("7", 5, 5);
    const int topo = t.v.Y;
    t.v.AlignLeft();
    t.v.WriteChart(c, 256);
    t.v.NewParagraph();
    EXPECT_TRUE(t.dispositivo.Motor.Imagens.empty());
    EXPECT_EQ(t.v.Y, topo + 2250);
    const QRectF lugar(t.v.LeftMargin / 15.0, topo / 15.0, 200, 150); // device pixels
    std::set<QString> achados;
    for (const TTextoDesenhado &d : t.Textos()) {
        EXPECT_TRUE(lugar.contains(d.BaseDispositivo)) << d.Texto.toStdString();
        achados.insert(d.Texto);
    }
    for (const char *s : {"Dispersão", "Amostragem", "7"}) EXPECT_TRUE(achados.count(QString::fromUtf8(s))) << s;
    ASSERT_EQ(t.v.AreasGraficas.size(), 1u);
    EXPECT_EQ(t.v.AreasGraficas[0].TamanhoImagem, QSize(200, 150));
}

namespace {

// Lines drawn by a table on one page: horizontal ones by y, vertical ones by x.
struct TBordasPagina {
    std::vector<double> horizontais;
    std::map<double, std::vector<std::pair<double, double>>> verticais;
};

TBordasPagina Bordas(const std::vector<QLineF> &linhas) {
    TBordasPagina b;
    for (const QLineF &l : linhas) {
        if (l.y1() == l.y2())
            b.horizontais.push_back(l.y1());
        else
            b.verticais[l.x1()].push_back({std::min(l.y1(), l.y2()), std::max(l.y1(), l.y2())});
    }
    std::sort(b.horizontais.begin(), b.horizontais.end());
    return b;
}

// Every vertical edge runs unbroken from the topmost to the bottommost horizontal border: the
// table's part on this page is closed.
void ConfereFechada(const TBordasPagina &b, int fundo) {
    ASSERT_FALSE(b.horizontais.empty());
    ASSERT_FALSE(b.verticais.empty());
    const double topo = b.horizontais.front(), base = b.horizontais.back();
    EXPECT_LE(base, fundo);
    for (auto [x, trechos] : b.verticais) {
        std::sort(trechos.begin(), trechos.end());
        double alcance = topo;
        for (auto [de, ate] : trechos) {
            EXPECT_LE(de, alcance) << "gap in the edge at x " << x;
            alcance = std::max(alcance, ate);
        }
        EXPECT_EQ(trechos.front().first, topo) << x;
        EXPECT_EQ(alcance, base) << x;
    }
}

// A table of `linhas` rows of two cells; the cell (linhaLonga, 2) holds `linhasLongas` lines.
void Tabela(TViewRelat &v, int linhas, int alinhamento, int linhaLonga = -1, int linhasLongas = 0) {
    v.BeginTable(2, linhas, 4000, alinhamento);
    v.BeginRow();
    for (int l = 0; l < linhas; ++l) {
        if (l > 0) v.EndRow();
        v.WriteText(QStringLiteral("Linha ") + QString::number(l));
        v.NextCell();
        if (l == linhaLonga)
            for (int k = 0; k < linhasLongas; ++k) {
                v.WriteText(QString::number(k));
                v.NewParagraph();
            }
        v.WriteText(QStringLiteral("valor"));
        v.NextCell();
    }
    v.EndTable();
}

} // namespace

TEST(ViewRelat, TablesAreCentredWhateverTheirAlignment) {
    for (int alinhamento : {atEsquerda, atDireita, atCentro}) {
        TVista t;
        Tabela(t.v, 2, alinhamento);
        const TBordasPagina b = Bordas(t.dispositivo.Motor.Linhas);
        ASSERT_EQ(b.verticais.size(), 3u);
        EXPECT_EQ(b.verticais.begin()->first, t.v.LeftMargin + (t.v.TextWidth - 4000) / 2);
        EXPECT_EQ(b.verticais.rbegin()->first, t.v.LeftMargin + (t.v.TextWidth + 4000) / 2);
        ConfereFechada(b, t.v.FundoTexto());
        EXPECT_EQ(b.horizontais.size(), 3u * 2); // two tops and the last bottom, per column
    }
}

TEST(ViewRelat, ATableCrossingPagesIsClosedOnEveryPage) {
    // Whole rows cross the break, then a row whose long cell is split by it.
    struct TCaso {
        const char *nome;
        int linhas, linhaLonga, linhasLongas;
    } casos[] = {{"rows", 120, -1, 0}, {"a row split by the break", 20, 10, 80}};
    for (const TCaso &c : casos) {
        SCOPED_TRACE(c.nome);
        int paginas = 0;
        for (int alvo = 1; alvo <= 3; ++alvo) {
            TVista t(180, alvo);
            Tabela(t.v, c.linhas, atCentro, c.linhaLonga, c.linhasLongas);
            paginas = t.v.CurrentPage;
            if (alvo > paginas) break;
            SCOPED_TRACE(alvo);
            ConfereFechada(Bordas(t.dispositivo.Motor.Linhas), t.v.FundoTexto());
            for (const auto &d : t.Textos()) EXPECT_LE(d.Base.y(), t.v.FundoTexto());
        }
        EXPECT_GE(paginas, 2);
    }
}

TEST(ViewRelat, HeaderAndFooterCarryThePageNumber) {
    TVista t(180, 3);
    TCabecalhoRodape cabecalho{QStringLiteral("Laudo (página) de avaliação"), TFonte{}, 2};
    TCabecalhoRodape rodape{QStringLiteral("Folha (página)"), TFonte{}, 1};
    t.v.DefineCabecalho([&](TArqEditor &e) { e.WriteHeaderFooterText(cabecalho); });
    t.v.DefineRodape([&](TArqEditor &e) { e.WriteHeaderFooterText(rodape); });
    const int altura = TViewRelat::AlturaFonte(TFonte{});
    EXPECT_EQ(t.v.HeaderHeight, altura);
    EXPECT_EQ(t.v.FooterHeight, altura);
    t.v.Reinicia();
    EXPECT_EQ(t.v.Y, t.v.TopMargin + altura); // the body starts below the header
    t.v.NewPage();
    t.v.NewPage();
    t.v.WriteText(QStringLiteral("corpo"));
    t.v.DesenhaCabecalhoRodape();
    t.v.NewParagraph();
    std::vector<QString> linhas = t.Linhas();
    ASSERT_EQ(linhas.size(), 3u);
    EXPECT_EQ(linhas[0], QStringLiteral("Laudo 3 de avaliação"));
    EXPECT_EQ(linhas[1], QStringLiteral("corpo"));
    EXPECT_EQ(linhas[2], QStringLiteral("Folha 3"));
    // The footer is right-aligned at the bottom of the text area.
    for (const auto &d : t.Textos())
        if (d.Texto == QStringLiteral("3") && d.Base.y() > t.v.FundoTexto()) {
            EXPECT_NEAR(d.Base.x() + Largura(QStringLiteral("3")), t.v.LeftMargin + t.v.TextWidth, 1);
        }
}

TEST(ZoomRelatorio, StepsLevelsAndFitsStayWithinTheLimits) {
    EXPECT_EQ(ZoomMenos(25), 25);
    EXPECT_EQ(ZoomMenos(40), 25);
    EXPECT_EQ(ZoomMenos(100), 80);
    EXPECT_EQ(ZoomMais(190), 200);
    EXPECT_EQ(ZoomMais(200), 200);
    EXPECT_EQ(TextoZoom(80), QStringLiteral("80 %"));
    // A4 on a 600 pixels-per-inch printer: 4961 x 7016 pixels; the screen at 96.
    TAreaZoom a;
    a.DpiImpressoraX = a.DpiImpressoraY = 600;
    a.LarguraPapel = 4961;
    a.AlturaPapel = 7016;
    a.LarguraVisivel = 844; // (844 - 50) x 100 x 6.25 / 4961 = 100.03
    a.AlturaVisivel = 700;  // (700 - 45) x 100 x 6.25 / 7016 = 58.35
    EXPECT_EQ(ZoomLarguraPagina(a), 100);
    EXPECT_EQ(ZoomPaginaInteira(a), 58);
    a.LarguraVisivel = 5000;
    EXPECT_EQ(ZoomLarguraPagina(a), 200);
    a.AlturaVisivel = 60;
    EXPECT_EQ(ZoomPaginaInteira(a), 25);
    const struct {
        const char *texto;
        int zoom;
    } niveis[] = {{"  25 % ", 25}, {"  40 %", 40}, {"100 %", 100}, {"abc", 100}, {"7", 25},
                  {"350 %", 200}, {"99999999999", 200}, {"Largura da página", 200},
                  {"Página Inteira", 25}};
    for (const auto &n : niveis) EXPECT_EQ(LeZoom(QString::fromUtf8(n.texto), a), n.zoom) << n.texto;
    EXPECT_EQ(NiveisZoom().size(), 7);
}
