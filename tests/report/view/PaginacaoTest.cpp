// The paging run on the whole Windsor report and on small made-up items: a page drawn alone is
// the page of a run through every page, pixel for pixel; pages beyond the end; items that need
// more room than the page has left; positions and clicks mapped back to items and chart units;
// the PDF holds the view's pages with their text.
#include "PlanilhaTeste.h"

#include "config/ConfiguracaoRelatorio.h"
#include "evaluation/Avaliacao.h"
#include "evaluation/Relatorio.h"
#include "export/Exportacao.h"
#include "items/Catalogo.h"
#include "regression/Sistema.h"
#include "significance/Significancias.h"
#include "view/ImpressaoRelatorio.h"
#include "view/PaginacaoRelatorio.h"
#include "writer/RtfWriter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <map>

using namespace zelto;

namespace {

const std::string kDados = ZELTO_DADOS_TESTE;

// The Windsor model of the regression reference tests, every item of the catalogue.
struct TWindsor {
    std::shared_ptr<TGridzelto> grid = teste::LePlanilhaTeste(kDados + "/regression/windsor-houses.txt");
    std::unique_ptr<TSistema> s;
    TListaItens itens = CriaCatalogo();
    TSignificancias sig;
    TConfiguracaoRelatorio config;
    std::unique_ptr<TAvaliacao> av;

    TWindsor() {
        config.Cabecalho = {QStringLiteral("Relatório de avaliação — página (página)"), TFonte{}, 2};
        // Graphs in colour, as the settings file's defaults give them.
        for (auto &item : itens)
            if (auto *g = dynamic_cast<TItemAvaliacaoGraf *>(item.get())) g->OpcoesSerie[0] = 3;
        if (!grid) return;
        s = std::make_unique<TSistema>(*grid);
        s->CarregaDados();
        const std::vector<TTermo> termos{{1, 2}, {2, 2}, {3, 1}, {4, 8}, {5, 5}, {6, 1},
                                         {7, 1}, {8, 1}, {9, 1}, {10, 1}, {11, 1}, {12, 1}};
        s->DefineTermos(termos);
        if (!s->MontaSistema() || !s->Resolve()) return;
        s->CalculaEstatisticas();
        av = std::make_unique<TAvaliacao>(*s);
    }
    std::unique_ptr<TPaginacao> Paginacao(QImage &imagem, int zoom = 100) {
        TContextoItem c;
        c.Sistema = s.get();
        c.Grid = grid.get();
        c.Significancias = &sig;
        c.Data = QDate(2026, 1, 2);
        auto p = std::make_unique<TPaginacao>(*av, itens, c, config);
        p->RefreshReport(&imagem, zoom);
        return p;
    }
};

QImage Pagina(TPaginacao &p, QImage &imagem, int n) {
    imagem.fill(Qt::white);
    p.RenderPage(n);
    return imagem.copy();
}

QImage ImagemA4(int zoom = 100) {
    QImage i(794 * zoom / 100, 1123 * zoom / 100, QImage::Format_RGB32);
    i.fill(Qt::white);
    return i;
}

} // namespace

// The items compute once: the first layout computes each item of the report, and turning
// every page forwards and back, the PDF of those pages and an RTF of the same report compute
// nothing more. A changed item computes again itself and the items after it, never those
// before it.
TEST(Paginacao, TurningPagesRunsNoItemCode) {
    TWindsor w;
    ASSERT_TRUE(w.av);
    int noRelatorio = 0;
    for (const auto &item : w.itens) noRelatorio += TAvaliacao::NoRelatorio(*item, true);
    const long antes = TAvaliacao::ConteudosCalculados();
    QImage a = ImagemA4();
    auto p = w.Paginacao(a);
    const int total = p->TotalPages();
    ASSERT_GE(total, 50);
    const long calculados = TAvaliacao::ConteudosCalculados();
    EXPECT_EQ(calculados - antes, noRelatorio);
    for (int n = 1; n <= total; ++n) p->RenderPage(n);
    for (int n = total; n >= 1; n -= 7) p->RenderPage(n);
    QTemporaryDir d;
    const TResultadoRelatorio pdf = ExportaRelatorio(p->Relatorio(), d.filePath("a.pdf"), nullptr, p.get());
    ASSERT_TRUE(pdf.Ok) << pdf.Erro;
    EXPECT_EQ(pdf.Paginas, total);
    const TResultadoRelatorio rtf = ExportaRelatorio(p->Relatorio(), d.filePath("a.rtf"), nullptr);
    ASSERT_TRUE(rtf.Ok) << rtf.Erro;
    EXPECT_EQ(TAvaliacao::ConteudosCalculados(), calculados);

    const int mudou = static_cast<int>(w.itens.size()) - 4;
    int depois = 0;
    for (std::size_t i = static_cast<std::size_t>(mudou); i < w.itens.size(); ++i)
        depois += TAvaliacao::NoRelatorio(*w.itens[i], true);
    p->Invalidate(mudou);
    EXPECT_EQ(p->TotalPages(), total);
    EXPECT_EQ(TAvaliacao::ConteudosCalculados(), calculados + depois);
}

TEST(Paginacao, APageDrawnAloneIsThePageOfAWholeRun) {
    TWindsor w;
    ASSERT_TRUE(w.av);
    QImage a = ImagemA4();
    auto pa = w.Paginacao(a);
    const int total = pa->TotalPages();
    ASSERT_GE(total, 5);
    // One run draws every page (as printing and the PDF do): each page is kept as it ends.
    std::map<int, QImage> todas;
    a.fill(Qt::white);
    QPainter pintor(&a);
    ASSERT_TRUE(pa->RenderPages(1, total, &pintor, nullptr, [&](int p) {
        todas[p] = a.copy();
        pintor.save();
        pintor.resetTransform();
        pintor.fillRect(a.rect(), Qt::white);
        pintor.restore();
        return true;
    }));
    pintor.end();
    todas[total] = a.copy();
    ASSERT_EQ(todas.size(), static_cast<std::size_t>(total));
    EXPECT_NE(todas[1], todas[2]);
    // Drawn one by one, from the caches, they are the same pages.
    for (int p : {1, 3, total - 1}) EXPECT_TRUE(Pagina(*pa, a, p) == todas[p]) << p;

    // Each page of a fresh view, drawn first and alone, then drawn again from the caches.
    for (int n : {2, total / 2, total}) {
        SCOPED_TRACE(n);
        QImage b = ImagemA4();
        auto pb = w.Paginacao(b);
        const QImage sozinha = Pagina(*pb, b, n);
        EXPECT_TRUE(sozinha == todas[n]);
        EXPECT_TRUE(Pagina(*pb, b, n) == todas[n]);
        // Forgetting everything from the item that began on that page changes nothing drawn.
        const int item = pb->ItemAtPosition(pb->View()->TopoTexto());
        ASSERT_GE(item, 0);
        pb->Invalidate(item);
        EXPECT_TRUE(Pagina(*pb, b, n) == todas[n]);
    }

    // A click on a marker of a drawn graph describes a sample.
    int graficos = 0, descritos = 0;
    for (int p = 1; p <= total; ++p) {
        const QImage imagem = Pagina(*pa, a, p);
        for (const TAreaGrafico &g : pa->View()->AreasGraficas) {
            ++graficos;
            const auto *item = dynamic_cast<const TItemAvaliacaoGraf *>(w.itens[g.Item].get());
            ASSERT_TRUE(item);
            const QRgb cor = ParaQColor(item->Cores[5]).rgb();
            QPoint marcador(-1, -1);
            // A marker is a filled disc: a 3 x 3 block of its colour (a line is thinner).
            auto bloco = [&](int x, int y) {
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if (imagem.pixel(x + dx, y + dy) != cor) return false;
                return true;
            };
            for (int y = g.Retangulo.top() + 1; y < g.Retangulo.bottom() && marcador.x() < 0; ++y)
                for (int x = g.Retangulo.left() + 1; x < g.Retangulo.right(); ++x)
                    if (bloco(x, y)) {
                        marcador = {x, y};
                        break;
                    }
            if (marcador.x() < 0 || !g.TemMapa) continue;
            const auto linhas = pa->GraphClick(marcador);
            ASSERT_EQ(linhas.size(), 3u) << "item " << g.Item << " page " << p;
            EXPECT_FALSE(linhas[0].empty()) << "item " << g.Item;
            ++descritos;
        }
    }
    EXPECT_GT(graficos, 0);
    EXPECT_GT(descritos, 0);

    // Beyond the end: nothing drawn, the count known.
    QImage c = ImagemA4();
    auto pc = w.Paginacao(c);
    EXPECT_EQ(pc->View()->TotalPages, -1);
    QImage branca = ImagemA4();
    EXPECT_TRUE(Pagina(*pc, c, total + 3) == branca);
    EXPECT_EQ(pc->View()->TotalPages, total);
    EXPECT_TRUE(pc->View()->AreasGraficas.empty());
}

TEST(Paginacao, PdfHoldsTheViewsPagesAndItsText) {
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdfinfo.isEmpty() || pdftotext.isEmpty()) GTEST_SKIP() << "poppler-utils not installed";
    TWindsor w;
    ASSERT_TRUE(w.av);
    QImage a = ImagemA4();
    auto p = w.Paginacao(a);
    QTemporaryDir dir;
    const QString arquivo = dir.filePath(QStringLiteral("relatório.pdf"));
    QString erro;
    ASSERT_TRUE(ExportaPdf(*p, arquivo, nullptr, &erro)) << erro.toStdString();
    QProcess info;
    info.start(pdfinfo, {arquivo});
    ASSERT_TRUE(info.waitForFinished(30000));
    const QString saida = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(saida.contains(QRegularExpression(
        QStringLiteral("Pages:\\s+%1\\n").arg(p->View()->TotalPages))))
        << saida.toStdString() << " pages in the view: " << p->View()->TotalPages;
    EXPECT_TRUE(saida.contains(QStringLiteral("Page size:       595 x 842 pts")))
        << saida.toStdString();
    QProcess texto;
    texto.start(pdftotext, {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                            QString::number(p->View()->TotalPages), arquivo, QStringLiteral("-")});
    ASSERT_TRUE(texto.waitForFinished(30000));
    const QString t = QString::fromUtf8(texto.readAllStandardOutput());
    for (const char *esperado : {"Análise da Variância", "Estatísticas Básicas", "Regressores do Modelo",
                                 "Relatório de avaliação — página 2"})
        EXPECT_TRUE(t.contains(QString::fromUtf8(esperado))) << esperado;

    // Cancelled on the third page: false, and the file written before is left as it was.
    struct TCancela : TProgresso {
        void TextoAuxiliar(const std::string &t) override {
            if (t.find("Página 3)") != std::string::npos) Cancela();
        }
    } cancela;
    QFile anterior(arquivo);
    const qint64 tamanho = anterior.size();
    EXPECT_FALSE(ExportaPdf(*p, arquivo, &cancela, &erro));
    EXPECT_EQ(erro, QStringLiteral("A exportação do relatório foi interrompida."));
    EXPECT_EQ(QFile(arquivo).size(), tamanho);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

namespace {

// Items made to measure: some lines, an optional minimum height, an optional picture with a
// known axis mapping whose click returns the chart units it was given.
const TDescricaoItem kTexto{4, "TIA_Variaveis", tiTexto, "Descrição das Variáveis",
                            "Descrição das Variáveis", 0};
const TDescricaoItem kGrafico{9, "TIA_Dispersao", tiGrafico, "Dispersão dos elementos",
                              "Dispersão dos elementos", 0};

class TItemMedido : public TItemAvaliacaoGraf {
  public:
    TItemMedido(const TDescricaoItem &d, int linhas, int alturaMinima, bool figura)
        : TItemAvaliacaoGraf(d), linhas_(linhas), altura_(alturaMinima), figura_(figura) {}
    void Imprime(int) override {
        for (int i = 0; i < linhas_; ++i) E().WriteLine(QStringLiteral("linha %1").arg(i));
        if (!figura_) return;
        QImage imagem(200, 100, QImage::Format_RGB32);
        imagem.fill(Qt::cyan);
        E().SetChartMapping(TMapaEixos{10, 90, 2, -4, 100, 5});
        E().WritePicture(imagem, 100, 256);
        E().NewParagraph();
    }
    int AlturaMinima() const override { return altura_; }
    std::vector<std::string> CliqueGrafico(double x, double y, double tx, double ty) override {
        return {std::to_string(x), std::to_string(y), std::to_string(tx) + " " + std::to_string(ty)};
    }

  private:
    int linhas_, altura_;
    bool figura_;
};

struct TMedidos {
    std::shared_ptr<TGridzelto> grid = teste::PlanilhaDeColunas({"x"}, {{1, 2, 3}});
    TSistema s{*grid};
    TAvaliacao av{s};
    TConfiguracaoRelatorio config;
    TListaItens itens;
    QImage imagem;
    std::unique_ptr<TPaginacao> p;

    void Cria(int zoom = 100) {
        imagem = ImagemA4(zoom);
        p = std::make_unique<TPaginacao>(av, itens, TContextoItem{}, config);
        p->NovaView(&imagem, zoom);
    }
};

} // namespace

TEST(Paginacao, AnItemThatNeedsMoreRoomStartsAPage) {
    TMedidos m;
    m.itens.push_back(std::make_unique<TItemMedido>(kTexto, 50, 0, false));
    m.itens.push_back(std::make_unique<TItemMedido>(kTexto, 1, 0, false));
    m.itens.push_back(std::make_unique<TItemMedido>(kTexto, 1, 6000, false));
    m.itens.push_back(std::make_unique<TItemMedido>(kTexto, 1, 100000, false)); // taller than a page
    m.Cria();
    EXPECT_EQ(m.p->TotalPages(), 3);
    const auto &inicio = m.p->InicioItens();
    const TViewRelat &v = *m.p->View();
    EXPECT_EQ(inicio[0].Pagina, 1);
    EXPECT_EQ(inicio[0].Y, v.TopoTexto());
    EXPECT_EQ(inicio[1].Pagina, 1);
    EXPECT_EQ(inicio[2].Pagina, 2); // 6000 twips did not fit below item 1
    EXPECT_EQ(inicio[2].Y, v.TopoTexto());
    EXPECT_EQ(inicio[3].Pagina, 3); // never fits: it starts at the top of a page, once
    EXPECT_EQ(inicio[3].Y, v.TopoTexto());
    ASSERT_EQ(m.p->InicioPaginas().size(), 3u);
    EXPECT_EQ(m.p->InicioPaginas()[1].Item, 2);

    m.p->RenderPage(2);
    EXPECT_EQ(m.p->ItemAtPosition(0), kAcimaDoTexto);
    EXPECT_EQ(m.p->ItemAtPosition(v.PaperHeight), kAbaixoDoTexto);
    EXPECT_EQ(m.p->ItemAtPosition(v.TopoTexto()), 2);
    EXPECT_EQ(m.p->ItemAtPosition(v.FundoTexto()), 2);
    m.p->RenderPage(1);
    EXPECT_EQ(m.p->ItemAtPosition(inicio[1].Y - 1), 0);
    EXPECT_EQ(m.p->ItemAtPosition(inicio[1].Y), 1);
}

TEST(Paginacao, AClickOnAGraphComesBackInChartUnits) {
    for (int zoom : {100, 200}) {
        SCOPED_TRACE(zoom);
        TMedidos m;
        m.itens.push_back(std::make_unique<TItemMedido>(kTexto, 3, 0, false));
        m.itens.push_back(std::make_unique<TItemMedido>(kGrafico, 0, 0, true));
        m.Cria(zoom);
        m.p->RenderPage(1);
        const auto &areas = m.p->View()->AreasGraficas;
        ASSERT_EQ(areas.size(), 1u);
        EXPECT_EQ(areas[0].Item, 1);
        EXPECT_EQ(areas[0].Parte, 0);
        const QRect r = areas[0].Retangulo;
        EXPECT_EQ(r.size(), QSize(200, 100) * zoom / 100);
        // Picture pixel (50, 30): x = (50 - 10) / 2 + 100, y = (30 - 90) / -4 + 5; three picture
        // pixels of tolerance.
        const auto linhas = m.p->GraphClick(r.topLeft() + QPoint(50, 30) * zoom / 100);
        ASSERT_EQ(linhas.size(), 3u);
        EXPECT_DOUBLE_EQ(std::stod(linhas[0]), 120);
        EXPECT_DOUBLE_EQ(std::stod(linhas[1]), 20);
        EXPECT_EQ(linhas[2], std::to_string(1.5) + " " + std::to_string(0.75));
        // Outside every graph: nothing.
        EXPECT_TRUE(m.p->GraphClick(r.topLeft() - QPoint(1, 1)).empty());
        EXPECT_TRUE(m.p->GraphClick(r.bottomRight() + QPoint(1, 1)).empty());
        EXPECT_TRUE(m.p->GraphClick(QPoint(0, 0)).empty());
    }
}

// The variance analysis table (heading row, last row and first column formats in effect) with a
// background per region: on the page the heading's colour is above the first column's, which is
// above the totals row's, and the RTF gives each row its own definition with its colours.
TEST(Paginacao, EachRowOfATableTakesTheFormatOfItsRegion) {
    TWindsor w;
    ASSERT_TRUE(w.av);
    auto *anova = dynamic_cast<TItemAvaliacaoTab *>(ItemDaClasse(w.itens, "TIA_ANOVA"));
    ASSERT_TRUE(anova);
    for (auto &i : w.itens) i->Incluido = i.get() == anova;
    const TCor vermelho = 0x0000FF, azul = 0xFF0000, verde = 0x00FF00;
    anova->Formatos[rtPrimeiraLinha].Fundo = vermelho;
    anova->Formatos[rtPrimeiraColuna].Fundo = azul;
    anova->Formatos[rtUltimaLinha].Fundo = verde;
    // A thick heading rule: three pixels, heavier than the body's top border below it.
    anova->Formatos[rtPrimeiraLinha].Lados[1] = TLadoCelula{1, 1, 3, 0};

    QImage a = ImagemA4();
    auto p = w.Paginacao(a);
    const QImage pagina = Pagina(*p, a, 1);
    std::map<QRgb, std::pair<int, int>> faixas; // colour: first and last pixel row
    for (int y = 0; y < pagina.height(); ++y)
        for (int x = 0; x < pagina.width(); ++x) {
            const QRgb c = pagina.pixel(x, y) & 0xFFFFFF;
            if (c != 0xFF0000 && c != 0x0000FF && c != 0x00FF00) continue;
            auto [it, novo] = faixas.try_emplace(c, y, y);
            if (!novo) it->second.second = y;
        }
    ASSERT_EQ(faixas.size(), 3u);
    const auto cabecalho = faixas[0xFF0000], coluna = faixas[0x0000FF], totais = faixas[0x00FF00];
    EXPECT_LT(cabecalho.second, coluna.first);
    EXPECT_LT(coluna.second, totais.first);
    // Between the heading and the first body row the heading's rule is drawn: three dark rows.
    int escuras = 0;
    const int x = (pagina.width() / 2);
    for (int y = cabecalho.second + 1; y < coluna.first; ++y)
        escuras += qGray(pagina.pixel(x, y)) < 64;
    EXPECT_GE(escuras, 3);

    QTemporaryDir d;
    const QString rtf = d.filePath("anova.rtf");
    {
        tRTF_Writer e(rtf);
        ASSERT_TRUE(e.Valido());
        TContextoItem c;
        c.Sistema = w.s.get();
        c.Grid = w.grid.get();
        c.Significancias = &w.sig;
        TRelatorio relatorio(*w.av, w.itens, c, w.config);
        ASSERT_TRUE(relatorio.Exporta(e, nullptr));
    }
    QFile f(rtf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString texto = QString::fromLatin1(f.readAll());
    // Colour numbers of the table; the first cell's background of each row definition.
    const QString tabela = QRegularExpression(R"(\{\\colortbl;([^}]*)\})").match(texto).captured(1);
    QStringList cores;
    for (const QString &c : tabela.split(';')) cores << c.trimmed();
    const int iVermelho = cores.indexOf(QStringLiteral("\\red255\\green0\\blue0")) + 1;
    const int iAzul = cores.indexOf(QStringLiteral("\\red0\\green0\\blue255")) + 1;
    const int iVerde = cores.indexOf(QStringLiteral("\\red0\\green255\\blue0")) + 1;
    ASSERT_GT(iVermelho, 0);
    ASSERT_GT(iAzul, 0);
    ASSERT_GT(iVerde, 0);
    QList<int> primeiras;
    const QRegularExpression fundo(QStringLiteral(R"(\\clcbpat(\d+))"));
    const QStringList definicoes = texto.split(QStringLiteral("\\trowd"));
    for (qsizetype i = 1; i < definicoes.size(); ++i)
        primeiras << fundo.match(definicoes[i]).captured(1).toInt();
    ASSERT_GE(primeiras.size(), 3);
    EXPECT_EQ(primeiras.front(), iVermelho);
    EXPECT_EQ(primeiras.back(), iVerde);
    EXPECT_TRUE(primeiras.contains(iAzul));
}
