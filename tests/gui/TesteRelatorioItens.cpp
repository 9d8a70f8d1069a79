// The report page reaching the settings: a font changed in an item's dialog after a double
// click shows in the page and in what the writers write; the question when no item is selected
// and its loop; the chart point a double click on a graph hands to the graph's dialog; the
// scroll range of the page at two zooms; the report's toolbar at an ordinary window width.
#include "TesteGui.h"

#include "gui/reportpage/DocumentoRelatorio.h"
#include "gui/reportpage/PaginaRelatorio.h"
#include "gui/reportpage/ReguaRelatorio.h"
#include "regression/Sistema.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

using namespace zelto;
using namespace zelto::teste;

namespace {

const std::string kWindsor = std::string(ZELTO_EXEMPLOS) + "/windsor.QV3";
const std::string kSemItens = "Não há itens de relatório selecionados.\r\nDeseja selecioná-los ?";
constexpr int kEspaco = TReguaRelatorio::Espaco;

bool Windsor(TJanelaTeste &w) {
    if (!w.J().Arquivos().AbreArquivo(kWindsor)) return false;
    w.J().ComandosModelo().DialogoObjeto = [] { return std::make_pair(true, false); };
    w.J().ComandosModelo().EscolheLinhaModelo = [](TPesquisa &, int) { return 1; };
    w.J().resize(1100, 800);
    w.J().show();
    return true;
}

// Windsor searched and its first model chosen: the report page is shown.
TPaginaRelatorio *EscolheWindsor(TJanelaTeste &w) {
    if (!Windsor(w) || !w.J().ComandosModelo().PesquisaModelos()) return nullptr;
    return w.J().Relatorio().Pagina();
}

// The first run of an item's title paragraph, as the structure writer records the report.
QJsonObject RunDoTitulo(TJanelaTeste &w, const QString &titulo) {
    const std::string arquivo = w.Caminho("estrutura.json").string();
    w.J().Relatorio().EscolheArquivoExportacao = [arquivo] { return arquivo; };
    QFile::remove(QString::fromStdString(arquivo));
    w.J().Relatorio().ExportaRelatorio();
    QFile f(QString::fromStdString(arquivo));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QJsonArray itens = QJsonDocument::fromJson(f.readAll()).object()[QStringLiteral("items")].toArray();
    for (const QJsonValue i : itens) {
        if (i.toObject()[QStringLiteral("title")].toString() != titulo) continue;
        for (const QJsonValue parte : i.toObject()[QStringLiteral("parts")].toArray())
            for (const QJsonValue bloco : parte.toArray())
                if (bloco.toObject()[QStringLiteral("paragraph")].toString() == titulo)
                    return bloco.toObject()[QStringLiteral("runs")].toArray()[0].toObject();
    }
    return {};
}

// The first height (image pixels) of the drawn page at which an item lies; -1 when none.
int AlturaDoItem(const TPaginaRelatorio &p, int item) {
    for (int y = 0; y < p.Imagem().height(); ++y)
        if (p.ItemNaAltura(y) == item) return y;
    return -1;
}

void DuploClique(TPaginaRelatorio &p, QPoint pixel) {
    QTest::mouseDClick(p.Superficie(), Qt::LeftButton, {}, pixel + QPoint(kEspaco, kEspaco));
}

// Runs f on the modal dialog that has a child of that name as soon as it shows (other modal
// windows, the search's progress, are let be); gives up after ten seconds.
void QuandoAbrirCom(const char *filho, std::function<void(QDialog &)> f) {
    auto *t = new QTimer;
    auto tentativas = std::make_shared<int>(0);
    QObject::connect(t, &QTimer::timeout, [t, f, tentativas, filho] {
        auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (d && !d->findChild<QObject *>(QString::fromLatin1(filho))) d = nullptr;
        if (!d && ++*tentativas < 1000) return;
        t->stop();
        t->deleteLater();
        if (d) f(*d);
    });
    t->start(10);
}

int Perguntas(const TJanelaTeste &w, const std::string &texto) {
    return static_cast<int>(std::count(w.perguntas.begin(), w.perguntas.end(), texto));
}

} // namespace

class TesteRelatorioItens : public QObject {
    Q_OBJECT
  private slots:
    // A double click on an item opens its dialog; a new title font chosen in the font dialog
    // redraws the page and reaches the text the writers write for the item.
    void fonteNoDuploClique() {
        TJanelaTeste w;
        TPaginaRelatorio *p = EscolheWindsor(w);
        QVERIFY(p);
        const QString titulo = p->ModeloItens()->index(0).data().toString();
        const int item = p->ModeloItens()->Item(0);
        const QJsonObject antes = RunDoTitulo(w, titulo);
        QVERIFY2(!antes.isEmpty(), qPrintable(titulo));
        p->MostraPagina(1, 0);
        const int y = AlturaDoItem(*p, item);
        QVERIFY(y >= 0);
        const QImage imagem = p->Imagem().copy();

        const QStringList familias = QFontDatabase::families();
        QVERIFY(!familias.isEmpty());
        QString familia = familias.contains(QStringLiteral("DejaVu Serif")) ? QStringLiteral("DejaVu Serif")
                                                                             : familias.last();
        QVERIFY(familia != antes[QStringLiteral("font")].toString());
        QFont escolhida;
        bool abriu = false;
        QuandoAbrirCom("Tit", [&](QDialog &d) {
            abriu = true;
            auto *botao = d.findChild<QPushButton *>(QStringLiteral("Tit"));
            if (!botao) return d.reject();
            QuandoAbrir<QFontDialog>([&](QFontDialog &f) {
                QFont q(familia, 16);
                q.setBold(true);
                f.setCurrentFont(q);
                escolhida = f.currentFont();
                f.accept();
            });
            botao->click();
            d.findChild<QPushButton *>(QStringLiteral("Confirma"))->click();
        });
        DuploClique(*p, QPoint(p->Imagem().width() / 2, y + 2));
        QVERIFY(abriu);
        QCOMPARE(escolhida.family(), familia);
        QCOMPARE(p->PaginaAtual(), 1);
        QVERIFY(p->Imagem() != imagem);
        const QJsonObject depois = RunDoTitulo(w, titulo);
        QCOMPARE(depois[QStringLiteral("font")].toString(), familia);
        QCOMPARE(depois[QStringLiteral("size")].toInt(), 16);
        QCOMPARE(depois[QStringLiteral("bold")].toBool(), escolhida.bold());
        QVERIFY(antes[QStringLiteral("size")].toInt() != 16);
    }

    // With every item unselected the choice asks to select them: yes opens the settings on
    // their items tab and asks again while none is selected; no ends without a report; items
    // selected there end the loop with the report built.
    void semItensSelecionados() {
        TJanelaTeste w;
        QVERIFY(Windsor(w));
        QuandoAbrirCom("Abas", [](QDialog &d) {
            d.findChild<QPushButton *>(QStringLiteral("DesmarcarTodos"))->click();
            d.findChild<QPushButton *>(QStringLiteral("Confirma"))->click();
        });
        w.J().Acao(QStringLiteral("ConfigurarRelatorio"))->trigger();
        QVERIFY(!w.J().Relatorio().Documento().AlgumItemSelecionado(true));

        std::vector<int> abas;
        w.respostas = {Resposta::Sim, Resposta::Nao};
        QuandoAbrirCom("Abas", [&](QDialog &d) {
            abas.push_back(d.findChild<QTabWidget *>(QStringLiteral("Abas"))->currentIndex());
            d.reject();
        });
        w.J().ComandosModelo().PesquisaModelos();
        QVERIFY(!w.J().Relatorio().Pagina());
        QCOMPARE(Perguntas(w, kSemItens), 2);
        QCOMPARE(abas, std::vector<int>{1});

        w.respostas = {Resposta::Sim};
        QuandoAbrirCom("Abas", [&](QDialog &d) {
            abas.push_back(d.findChild<QTabWidget *>(QStringLiteral("Abas"))->currentIndex());
            d.findChild<QPushButton *>(QStringLiteral("MarcarTodos"))->click();
            d.findChild<QPushButton *>(QStringLiteral("Confirma"))->click();
        });
        w.J().ComandosModelo().PesquisaModelos();
        QVERIFY(w.J().Relatorio().Pagina());
        QCOMPARE(Perguntas(w, kSemItens), 3);
        QCOMPARE(abas, (std::vector<int>{1, 1}));
        QCOMPARE(w.J().Relatorio().Pagina()->PaginaAtual(), 1);
    }

    // A double click on a point of "Resíduos x Valor Estimado" hands the graph's dialog that
    // point in chart units (it maps back to the clicked pixel), which the dialog's title
    // shows; a double click on a text item hands none.
    void pontoDoGrafico() {
        TJanelaTeste w;
        TPaginaRelatorio *p = EscolheWindsor(w);
        QVERIFY(p);
        int linha = -1;
        for (int r = 0; r < p->ModeloItens()->rowCount(); ++r)
            if (p->ModeloItens()->index(r).data().toString() == QStringLiteral("Resíduos x Valor Estimado")) linha = r;
        QVERIFY(linha >= 0);
        const int item = p->ModeloItens()->Item(linha);
        p->EscolheLinha(linha);
        const TSistema &s = w.J().ComandosModelo().Sistema();
        const double x = static_cast<double>(s.ValorTransformado(1, 1) - s.ResiduoBruto(1));
        const double y = static_cast<double>(s.Residuo(1));
        std::optional<QPoint> pixel = p->PixelDoPonto(item, x, y);
        if (!pixel) {
            p->MostraPagina(p->PaginaAtual() + 1, 0);
            pixel = p->PixelDoPonto(item, x, y);
        }
        QVERIFY(pixel);
        const auto dialogo = w.J().Relatorio().DialogoConfiguraItem;
        std::vector<std::pair<int, std::optional<QPointF>>> pedidos;
        w.J().Relatorio().DialogoConfiguraItem = [&](int i, const std::optional<QPointF> &ponto) {
            pedidos.emplace_back(i, ponto);
            return -1;
        };
        DuploClique(*p, *pixel);
        QCOMPARE(pedidos.size(), std::size_t{1});
        QCOMPARE(pedidos[0].first, item);
        QVERIFY(pedidos[0].second);
        const std::optional<QPoint> devolta = p->PixelDoPonto(item, pedidos[0].second->x(), pedidos[0].second->y());
        QVERIFY(devolta);
        QVERIFY2((*devolta - *pixel).manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2 x %3,%4")
                     .arg(devolta->x()).arg(devolta->y()).arg(pixel->x()).arg(pixel->y())));

        // The graph's own dialog names the point in its title.
        w.J().Relatorio().DialogoConfiguraItem = dialogo;
        QString titulo;
        QuandoAbrirCom("Tit", [&](QDialog &d) {
            titulo = d.windowTitle();
            d.reject();
        });
        DuploClique(*p, *pixel);
        QVERIFY2(titulo.contains(QStringLiteral("ponto clicado: X = ")), qPrintable(titulo));

        // A text item: no point.
        w.J().Relatorio().DialogoConfiguraItem = [&](int i, const std::optional<QPointF> &ponto) {
            pedidos.emplace_back(i, ponto);
            return -1;
        };
        p->MostraPagina(1, 0);
        const int primeiro = p->ModeloItens()->Item(0);
        const int altura = AlturaDoItem(*p, primeiro);
        QVERIFY(altura >= 0);
        DuploClique(*p, QPoint(p->Imagem().width() / 2, altura + 2));
        QCOMPARE(pedidos.size(), std::size_t{2});
        QCOMPARE(pedidos[1].first, primeiro);
        QVERIFY(!pedidos[1].second);
    }

    // At 100 % and 150 %: the scroll range is the page image at the zoom with the rulers' space
    // around it; Page Down stops exactly where the page's bottom and shadow come into view, the
    // next Page Down shows the next page at its top, Page Up from there comes back to that bottom,
    // and End reaches the right edge.
    void rolagemNaGeometria() {
        TJanelaTeste w;
        TPaginaRelatorio *p = EscolheWindsor(w);
        QVERIFY(p);
        QScrollBar *v = p->Area()->verticalScrollBar();
        QScrollBar *h = p->Area()->horizontalScrollBar();
        int altura100 = 0;
        for (int zoom : {100, 150}) {
            w.J().Relatorio().MudaZoom(zoom);
            p->MostraPagina(1, 0);
            const int altura = p->Imagem().height();
            if (zoom == 100) altura100 = altura;
            else QVERIFY(std::abs(altura - altura100 * 3 / 2) <= 1);
            const int sombra = DeslocamentoSombra(zoom);
            QCOMPARE(p->AlcanceRolagem().height(), kEspaco + altura + std::max(kEspaco, sombra));
            QCOMPARE(v->maximum(), p->Fundo());
            QVERIFY(p->Fundo() > 0);
            int ultimo = -1, guarda = 0;
            while (p->PaginaAtual() == 1 && guarda++ < 100) {
                ultimo = v->value();
                QTest::keyClick(p->Area(), Qt::Key_PageDown);
                QVERIFY(v->value() <= p->Fundo());
            }
            QCOMPARE(ultimo, p->Fundo());
            QCOMPARE(ultimo + p->Area()->viewport()->height(), kEspaco + altura + std::max(kEspaco, sombra));
            QCOMPARE(p->PaginaAtual(), 2);
            QCOMPARE(v->value(), 0);
            QTest::keyClick(p->Area(), Qt::Key_PageUp);
            QCOMPARE(p->PaginaAtual(), 1);
            QCOMPARE(v->value(), p->Fundo());
            QTest::keyClick(p->Area(), Qt::Key_End);
            QCOMPARE(h->value(), p->BordaDireita());
            QTest::keyClick(p->Area(), Qt::Key_Home);
            QCOMPARE(h->value(), 0);
        }
    }

    // At 1100 pixels the report's toolbar keeps the zoom box and every button on screen (none
    // goes into the overflow menu), and so does the commands' bar.
    void barraNaLargura() {
        TJanelaTeste w;
        TPaginaRelatorio *p = EscolheWindsor(w);
        QVERIFY(p);
        QTest::qWait(50);
        QVERIFY(w.J().CaixaZoom()->isVisible());
        const QList<QToolBar *> barras = w.J().findChildren<QToolBar *>();
        QVERIFY(barras.size() >= 2);
        for (QToolBar *b : barras) {
            for (QAction *a : b->actions()) {
                if (a->isSeparator()) continue;
                QWidget *wa = b->widgetForAction(a);
                QVERIFY2(wa && wa->isVisible(), qPrintable(b->objectName() + QLatin1Char(' ') + a->text()));
            }
        }
    }
};

ZELTO_TESTE_GUI(TesteRelatorioItens)
#include "TesteRelatorioItens.moc"
