// The report page and the windows around it as a valuer uses them: the page indicator and the
// box that takes a page number, the keys given back to the page after a zoom choice, the
// worksheet on view (read-only) while a search runs, the best-models window that shows every
// column and keeps the size it was left at, whole tabs in the variable dialog, the page
// miniature that follows the header's alignment.
//
// With ZELTO_CAPTURAS set to a folder, the report page and the best-models window are saved
// there as PNGs at a 1366x768 window (run under xvfb-run with QT_QPA_PLATFORM=xcb to look at
// them as a screen shows them).
#include "TesteGui.h"

#include "items/Catalogo.h"
#include "gui/dialogs/FAtributos.h"
#include "gui/dialogs/FMostraMelhoresModelos.h"
#include "gui/dialogs/FProgressao.h"
#include "gui/dialogs/FProgressoPesquisa.h"
#include "gui/dialogs/FVariaveisIndependentes.h"
#include "gui/reportconfig/EditorCabecalho.h"
#include "gui/reportconfig/FConfiguraRelatorio.h"
#include "gui/reportpage/PaginaRelatorio.h"
#include "gui/worksheet/ModeloPlanilha.h"
#include "view/PaginacaoRelatorio.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace zelto;
using namespace zelto::teste;

namespace {

const std::string kWindsor = std::string(ZELTO_EXEMPLOS) + "/windsor.QV3";

TPaginaRelatorio *EscolheWindsor(TJanelaTeste &w, QSize tamanho = {1100, 800}) {
    if (!w.J().Arquivos().AbreArquivo(kWindsor)) return nullptr;
    w.J().ComandosModelo().DialogoObjeto = [] { return std::make_pair(true, false); };
    w.J().ComandosModelo().EscolheLinhaModelo = [](TPesquisa &, int) { return 1; };
    w.J().resize(tamanho);
    w.J().show();
    if (!w.J().ComandosModelo().PesquisaModelos()) return nullptr;
    return w.J().Relatorio().Pagina();
}

void Digita(QLineEdit *caixa, const QString &texto) {
    caixa->setFocus();
    caixa->selectAll();
    QTest::keyClicks(caixa, texto);
    QTest::keyClick(caixa, Qt::Key_Return);
}

// The mean column of the dark pixels of a picture.
double ColunaMediaEscura(const QImage &imagem) {
    double soma = 0;
    long n = 0;
    for (int y = 0; y < imagem.height(); ++y)
        for (int x = 0; x < imagem.width(); ++x)
            if (qGray(imagem.pixel(x, y)) < 80) {
                soma += x;
                ++n;
            }
    return n ? soma / n : -1;
}

QString PastaCapturas() { return qEnvironmentVariable("ZELTO_CAPTURAS"); }

} // namespace

class TesteUsoRelatorio : public QObject {
    Q_OBJECT
  private slots:
    // "Página X de N" follows the page; a typed page is shown (past the end: the last one) and
    // the keys go back to the page; after a zoom choice Page Down turns the page, the zoom stays.
    void indicadorEZoom() {
        TJanelaTeste w;
        TPaginaRelatorio *p = EscolheWindsor(w);
        QVERIFY(p);
        w.J().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.J()));
        // N arrives by itself: the pages are counted in idle moments, no key asks for it.
        QTRY_VERIFY_WITH_TIMEOUT(p->TotalPaginas() > 0, 30000);
        const int total = p->TotalPaginas();
        QVERIFY(total > 3);
        QCOMPARE(p->TextoIndicador(), QStringLiteral("Página 1 de %1").arg(total));
        Digita(p->CaixaPagina(), QStringLiteral("3"));
        QCOMPARE(p->PaginaAtual(), 3);
        QCOMPARE(p->TextoIndicador(), QStringLiteral("Página 3 de %1").arg(total));
        QCOMPARE(QApplication::focusWidget(), p->Superficie());
        Digita(p->CaixaPagina(), QStringLiteral("9999"));
        QCOMPARE(p->PaginaAtual(), total);
        QCOMPARE(p->TextoIndicador(), QStringLiteral("Página %1 de %1").arg(total));
        QTest::keyClick(p->Superficie(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(p->TextoIndicador(), QStringLiteral("Página 1 de %1").arg(total));

        // The zoom chosen in its box, as a click on an entry does it.
        QComboBox *zoom = w.J().CaixaZoom();
        zoom->setFocus();
        QCOMPARE(QApplication::focusWidget(), zoom);
        const int i50 = zoom->findText(QStringLiteral("  50 %"));
        QVERIFY(i50 >= 0);
        zoom->setCurrentIndex(i50);
        emit zoom->textActivated(zoom->itemText(i50));
        QCOMPARE(p->Zoom(), 50);
        QScrollBar *v = p->Area()->verticalScrollBar();
        const int antes = v->value();
        for (int k = 0; k < 3; ++k) QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
        QCOMPARE(p->Zoom(), 50);
        QCOMPARE(zoom->currentIndex(), i50);
        QVERIFY(v->value() > antes || p->PaginaAtual() > 1);
    }

    // While the search runs the worksheet shows its cells and takes no edit; afterwards it
    // takes edits again.
    void pesquisaMostraPlanilha() {
        TJanelaTeste w;
        QVERIFY(w.J().Arquivos().AbreArquivo(kWindsor));
        w.J().resize(1000, 700);
        w.J().show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.J()));
        w.J().ComandosModelo().EscolheLinhaModelo = [](TPesquisa &, int) { return 0; };
        w.J().ComandosModelo().DialogoObjeto = [] { return std::make_pair(true, false); };
        // A search long enough to be seen: the complete one, interrupted from its window.
        w.J().ComandosModelo().Pesquisa().Configuracao.Tipo = tpCompleta;
        const int atraso = AtrasoJanelaProgresso;
        AtrasoJanelaProgresso = 0;
        TModeloPlanilha *m = w.J().Modelo();
        const QString celula = m->data(m->index(0, 0)).toString();
        QVERIFY(!celula.isEmpty());
        bool visto = false;
        QuandoAbrir<TFProgressoPesquisa>([&](TFProgressoPesquisa &j) {
            visto = true;
            // Interrupted first: the worksheet stays read-only until the search has ended.
            j.BotaoInterromper()->click();
            const QModelIndex i = m->index(0, 0);
            QCOMPARE(m->data(i).toString(), celula);
            QVERIFY(!m->headerData(0, Qt::Horizontal).toString().isEmpty());
            QVERIFY(!(m->flags(i) & Qt::ItemIsEditable));
            QVERIFY(!m->setData(i, QStringLiteral("1")));
            QVERIFY(w.J().Grade()->isVisible());
            QVERIFY(w.J().Grade()->isEnabled());
            QVERIFY(w.J().Grade()->updatesEnabled());
            // Painted: the text of a cell (not the current one) is drawn.
            const QImage imagem = w.J().Grade()->viewport()->grab().toImage();
            const QRect r = w.J().Grade()->visualRect(m->index(1, 0));
            bool tinta = false;
            for (int y = r.top(); y <= r.bottom() && !tinta; ++y)
                for (int x = r.left(); x <= r.right() && !tinta; ++x)
                    tinta = qGray(imagem.pixel(x, y)) < 100;
            QVERIFY(tinta);
        });
        w.J().ComandosModelo().PesquisaModelos();
        AtrasoJanelaProgresso = atraso;
        QVERIFY(visto);
        QCOMPARE(m->data(m->index(0, 0)).toString(), celula);
        QVERIFY(m->flags(m->index(0, 0)) & Qt::ItemIsEditable);
    }

    // The count in idle moments, step by step, equals the count of one run over the whole
    // report, and leaves the drawn page as it was: its number, its image, what lies at each
    // height, its graphs.
    void contagemEmSegundoPlano() {
        TJanelaTeste w;
        TPaginaRelatorio *p = EscolheWindsor(w);
        QVERIFY(p);
        TPaginacao &pg = p->Paginacao();
        pg.Invalidate(0);
        const int total = pg.TotalPages(); // one run
        QVERIFY(total > 3);
        // A page drawn inside the last item (it runs over several pages) does not end the count.
        pg.Invalidate(0);
        p->MostraPagina(total - 2, 0);
        QVERIFY(p->TotalPaginas() == -1 || p->TotalPaginas() == total);
        // A page with graphs drawn, the count forgotten.
        int pagina = 1;
        for (; pagina <= total; ++pagina) {
            p->MostraPagina(pagina, 0);
            if (!pg.View()->AreasGraficas.empty()) break;
        }
        QVERIFY(pagina <= total);
        pg.Invalidate(0);
        p->MostraPagina(pagina, 0);
        QCOMPARE(p->TotalPaginas(), -1);
        const QImage imagem = p->Imagem();
        const std::size_t graficos = pg.View()->AreasGraficas.size();
        const QRect primeiro = pg.View()->AreasGraficas.front().Retangulo;
        std::vector<int> itens;
        for (int y = 0; y < p->Imagem().height(); y += 40)
            itens.push_back(p->ItemNaAltura(y));
        int passos = 0;
        double maior = 0, soma = 0;
        QElapsedTimer t;
        for (bool fim = false; !fim && passos < 1000; ++passos) {
            t.start();
            fim = pg.AvancaContagem(2);
            const double ms = t.nsecsElapsed() / 1e6;
            maior = std::max(maior, ms);
            soma += ms;
        }
        qInfo("Counting %d pages in idle moments: %d steps, longest %.1f ms, in all %.0f ms", total,
              passos, maior, soma);
        QVERIFY(passos > 1); // a few pages a step, not the whole report at once
        QCOMPARE(p->TotalPaginas(), total);
        QCOMPARE(p->PaginaAtual(), pagina);
        QVERIFY(p->Imagem() == imagem);
        QCOMPARE(pg.View()->AreasGraficas.size(), graficos);
        QCOMPARE(pg.View()->AreasGraficas.front().Retangulo, primeiro);
        std::vector<int> depois;
        for (int y = 0; y < p->Imagem().height(); y += 40)
            depois.push_back(p->ItemNaAltura(y));
        QCOMPARE(depois, itens);
        // Drawn again from the pages counted, the page is the same picture.
        p->MostraPagina(pagina, 0);
        QVERIFY(p->Imagem() == imagem);
    }

    // The best-models window opens wide enough for every column on a 1366x768 screen, and
    // opens again at the size the valuer left it at.
    void melhoresModelos() {
        TJanelaTeste w;
        QVERIFY(w.J().Arquivos().AbreArquivo(kWindsor));
        w.J().ComandosModelo().DialogoObjeto = [] { return std::make_pair(true, false); };
        w.J().ComandosModelo().EscolheLinhaModelo = [](TPesquisa &, int) { return 0; };
        w.J().ComandosModelo().PesquisaModelos();
        TPesquisa &pesquisa = w.J().ComandosModelo().Pesquisa();
        pesquisa.MontaTabela(true);
        {
            TFMostraMelhoresModelos f(pesquisa, 1, true, TAparenciaPlanilha{}, {});
            f.resize(f.TamanhoParaColunas(QRect(0, 0, 1366, 728)));
            QVERIFY(f.width() <= 1366);
            f.show();
            QVERIFY(QTest::qWaitForWindowExposed(&f));
            QCOMPARE(f.Grade()->horizontalScrollBar()->maximum(), 0);
            const int ultima = f.Grade()->columnCount() - 1;
            QVERIFY(!f.Grade()->isColumnHidden(ultima));
            QVERIFY(f.Grade()->columnViewportPosition(ultima) + f.Grade()->columnWidth(ultima) <=
                    f.Grade()->viewport()->width());
        }
        // Through the main window: the size is kept in the settings.
        TJanelaTeste real; // the window's own chooser
        QVERIFY(real.J().Arquivos().AbreArquivo(kWindsor));
        real.J().ComandosModelo().DialogoObjeto = [] { return std::make_pair(true, false); };
        QSize aberta;
        QuandoAbrir<TFMostraMelhoresModelos>([&](TFMostraMelhoresModelos &f) {
            aberta = f.size();
            f.resize(640, 380);
            f.reject();
        });
        real.J().ComandosModelo().PesquisaModelos();
        QVERIFY(aberta.width() > 640);
        QCOMPARE(real.IniNoDisco().LeInteiro("Geral", "LgMM", 0), 640);
        QCOMPARE(real.IniNoDisco().LeInteiro("Geral", "AlMM", 0), 380);
        QuandoAbrir<TFMostraMelhoresModelos>([&](TFMostraMelhoresModelos &f) {
            aberta = f.size();
            f.reject();
        });
        real.J().ComandosModelo().SelecionaModelo();
        QCOMPARE(aberta, QSize(640, 380));
    }

    // Every tab of the variable dialog shows its whole caption.
    void abasInteiras() {
        TJanelaTeste w;
        TFAtributos f(w.G(), 1, *w.tabelas);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QTabBar *abas = f.Paginas()->tabBar();
        for (int i = 0; i < abas->count(); ++i) {
            const QRect r = abas->tabRect(i);
            QVERIFY2(r.right() < abas->width(), qPrintable(abas->tabText(i)));
            QVERIFY2(r.width() > abas->fontMetrics().horizontalAdvance(abas->tabText(i)),
                     qPrintable(abas->tabText(i)));
        }
    }

    // The miniature of "Configurar Relatório" writes the header where the report will.
    void miniaturaAlinhamento() {
        TListaItens itens = CriaCatalogo();
        auto imagem = [&](std::uint8_t alinhamento) {
            TConfiguracaoRelatorio c;
            c.Cabecalho.Texto = QStringLiteral("MMMMMMMMMM");
            c.Cabecalho.Alinhamento = alinhamento;
            c.Rodape.Texto.clear();
            TFConfiguraRelatorio d(itens, c, true, -1);
            QWidget *m = d.findChild<QWidget *>(QStringLiteral("Miniatura"));
            if (!m) return QImage();
            m->resize(300, 400);
            return m->grab().toImage();
        };
        const double esquerda = ColunaMediaEscura(imagem(acEsquerda));
        const double centro = ColunaMediaEscura(imagem(acCentro));
        const double direita = ColunaMediaEscura(imagem(acDireita));
        QVERIFY(esquerda > 0);
        QVERIFY(esquerda < centro);
        QVERIFY(centro < direita);
    }

    // Pictures at a 1366x768 window: the report page with its indicator, the best-models window.
    void capturas() {
        const QString pasta = PastaCapturas();
        if (pasta.isEmpty()) QSKIP("ZELTO_CAPTURAS not set");
        TJanelaTeste w;
        QVERIFY(w.J().Arquivos().AbreArquivo(kWindsor));
        w.J().resize(1366, 768);
        w.J().show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.J()));
        QCoreApplication::processEvents();
        QVERIFY(w.J().grab().save(pasta + QStringLiteral("/planilha.png")));
        {
            TFAtributos f(w.G(), 2, *w.tabelas);
            f.show();
            QVERIFY(QTest::qWaitForWindowExposed(&f));
            QCoreApplication::processEvents();
            QVERIFY(f.grab().save(pasta + QStringLiteral("/variavel.png")));
        }
        QuandoAbrir<TFVariaveisIndependentes>([&](TFVariaveisIndependentes &f) {
            QCoreApplication::processEvents();
            f.grab().save(pasta + QStringLiteral("/objeto.png"));
            f.reject();
        });
        InformaObjeto(&w.J(), w.G(), w.ini, true, w.J().Grade()->font());
        w.J().ComandosModelo().DialogoObjeto = [] { return std::make_pair(true, false); };
        QuandoAbrir<TFMostraMelhoresModelos>([&](TFMostraMelhoresModelos &f) {
            QCoreApplication::processEvents();
            f.grab().save(pasta + QStringLiteral("/melhores-modelos.png"));
            f.SelecionaLinha(1);
            f.accept();
        });
        QVERIFY(w.J().ComandosModelo().PesquisaModelos());
        TPaginaRelatorio *p = w.J().Relatorio().Pagina();
        QVERIFY(p);
        w.J().Relatorio().MudaZoom(100);
        Digita(p->CaixaPagina(), QStringLiteral("4"));
        QTRY_VERIFY_WITH_TIMEOUT(p->TotalPaginas() > 0, 30000); // counted in idle moments
        QCoreApplication::processEvents();
        QVERIFY(w.J().grab().save(pasta + QStringLiteral("/relatorio-indicador.png")));
        QTest::keyClick(p->Superficie(), Qt::Key_End, Qt::ControlModifier);
        QCoreApplication::processEvents();
        QVERIFY(w.J().grab().save(pasta + QStringLiteral("/relatorio-ultima.png")));
    }
};

ZELTO_TESTE_GUI(TesteUsoRelatorio)
#include "TesteUsoRelatorio.moc"
