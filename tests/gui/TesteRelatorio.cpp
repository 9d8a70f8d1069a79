// The report page and the report commands on the Windsor example: paging with the keys to the
// end and back, a jump from the item list, a click on a point of a residual graph, a ruler drag
// that moves a margin, the zoom, the export to RTF, Write and PDF, printing to a PDF printer,
// and the question when no item is selected. Paging times are printed (medians).
#include "TesteGui.h"

#include "config/ArquivoRelatorio.h"
#include "gui/reportpage/DocumentoRelatorio.h"
#include "gui/reportpage/PaginaRelatorio.h"
#include "gui/reportpage/ReguaRelatorio.h"
#include "regression/Sistema.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QLabel>
#include <QListView>
#include <QPrinter>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

#include <algorithm>
#include <functional>
#include <map>

using namespace zelto;
using namespace zelto::teste;

namespace {

const std::string kWindsor = std::string(ZELTO_EXEMPLOS) + "/windsor.QV3";

// Windsor read, searched and its first model chosen: the report page is shown.
TPaginaRelatorio *EscolheWindsor(TJanelaTeste &w) {
    if (!w.J().Arquivos().AbreArquivo(kWindsor)) return nullptr;
    w.J().ComandosModelo().DialogoObjeto = [] { return std::make_pair(true, false); };
    w.J().ComandosModelo().EscolheLinhaModelo = [](TPesquisa &, int) { return 1; };
    w.J().resize(1100, 800);
    w.J().show();
    if (!w.J().ComandosModelo().PesquisaModelos()) return nullptr;
    return w.J().Relatorio().Pagina();
}

QString Executa(const QString &programa, const QStringList &argumentos) {
    QProcess p;
    p.start(programa, argumentos);
    if (!p.waitForFinished(120000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

int PaginasPdf(const QString &arquivo) {
    const QString info = Executa(QStringLiteral("pdfinfo"), {arquivo});
    for (const QString &l : info.split(QLatin1Char('\n')))
        if (l.startsWith(QStringLiteral("Pages:"))) return l.mid(6).trimmed().toInt();
    return -1;
}

int Linha(TPaginaRelatorio &p, const QString &titulo) {
    for (int r = 0; r < p.ModeloItens()->rowCount(); ++r)
        if (p.ModeloItens()->index(r).data().toString() == titulo) return r;
    return -1;
}

} // namespace

class TesteRelatorio : public QObject {
    Q_OBJECT
  private slots:
    // The shadow offset follows the zoom within 5..30 pixels; the ruler's scale and the margins
    // it gives back.
    void geometria() {
        QCOMPARE(DeslocamentoSombra(25), 5);
        QCOMPARE(DeslocamentoSombra(100), 20);
        QCOMPARE(DeslocamentoSombra(150), 30);
        QCOMPARE(DeslocamentoSombra(200), 30);
        const TEscalaRegua e = EscalaRegua(210, 25, 17);
        QCOMPARE(e.Inicio, -2.5);
        QCOMPARE(e.Fim, 18.5);
        QCOMPARE(MargensDaEscala(e), std::make_pair(25, 17));
        QCOMPARE(ExtensaoDoFiltro(QStringLiteral("Arquivos Write (*.WRI)")), QStringLiteral(".WRI"));
    }

    // Page Down through the whole report, Ctrl+End, Page Up back to page 1; a page beyond the
    // end shows the last; the item list follows the top of the view; paging times.
    void paginacaoComTeclas() {
        TJanelaTeste w;
        TPaginaRelatorio *p = EscolheWindsor(w);
        QVERIFY(p);
        QCOMPARE(w.J().Paginas()->currentWidget(), p);
        QCOMPARE(w.J().Paginas()->tabText(1), QStringLiteral("Relatório"));
        QCOMPARE(p->PaginaAtual(), 1);
        QCOMPARE(p->TotalPaginas(), -1);
        QScrollBar *v = p->Area()->verticalScrollBar();
        QVERIFY(v->maximum() > 0);
        // Page Up at the top of page 1 does nothing.
        QVERIFY(p->Tecla(Qt::Key_PageUp, {}));
        QCOMPARE(p->PaginaAtual(), 1);
        QCOMPARE(v->value(), 0);

        std::vector<double> tempos;
        QElapsedTimer t;
        int guarda = 0;
        while ((p->TotalPaginas() < 0 || p->PaginaAtual() < p->TotalPaginas()) && guarda++ < 2000) {
            const int antes = p->PaginaAtual();
            t.start();
            QTest::keyClick(p->Area(), Qt::Key_PageDown);
            if (p->PaginaAtual() != antes) {
                tempos.push_back(t.nsecsElapsed() / 1e6);
                QCOMPARE(v->value(), 0);
                QCOMPARE(p->PaginaAtual(), antes + 1);
            }
        }
        const int total = p->TotalPaginas();
        QVERIFY(total > 10);
        QCOMPARE(p->PaginaAtual(), total);
        std::sort(tempos.begin(), tempos.end());
        qInfo("Page Down to a new page: %d pages, median %.1f ms, max %.1f ms", total,
              tempos[tempos.size() / 2], tempos.back());
        // Page Down at the bottom of the known last page does nothing.
        v->setValue(v->maximum());
        QTest::keyClick(p->Area(), Qt::Key_PageDown);
        QCOMPARE(p->PaginaAtual(), total);
        QCOMPARE(v->value(), v->maximum());

        // Page Up from the top of a page shows the previous page at its bottom.
        v->setValue(0);
        QTest::keyClick(p->Area(), Qt::Key_PageUp);
        QCOMPARE(p->PaginaAtual(), total - 1);
        QCOMPARE(v->value(), v->maximum());
        QTest::keyClick(p->Area(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(p->PaginaAtual(), 1);
        QCOMPARE(v->value(), 0);
        QTest::keyClick(p->Area(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(p->PaginaAtual(), total);
        // Page 12 of a report of fewer pages... here: one beyond the last shows the last.
        v->setValue(17);
        p->MostraPagina(total + 2, 0);
        QCOMPARE(p->PaginaAtual(), total);
        QCOMPARE(v->value(), 17);
        // Arrows scroll by 10 pixels.
        p->MostraPagina(1, 0);
        QTest::keyClick(p->Area(), Qt::Key_Down);
        QCOMPARE(v->value(), 10);
        QTest::keyClick(p->Area(), Qt::Key_Up);
        QCOMPARE(v->value(), 0);
    }

    // Ctrl+End on a report never counted lays it out once; the item list jumps; the point box.
    void listaEPonto() {
        TJanelaTeste w;
        TPaginaRelatorio *p = EscolheWindsor(w);
        QVERIFY(p);
        QTest::keyClick(p->Area(), Qt::Key_End, Qt::ControlModifier);
        const int total = p->TotalPaginas();
        QVERIFY(total > 1);
        QCOMPARE(p->PaginaAtual(), total);

        const int linha = Linha(*p, QStringLiteral("Resíduos x Valor Estimado"));
        QVERIFY(linha >= 0);
        const int item = p->ModeloItens()->Item(linha);
        p->Lista()->setCurrentIndex(p->ModeloItens()->index(linha));
        p->EscolheLinha(linha);
        QVERIFY(p->PaginaAtual() < total);
        QVERIFY(p->PaginaAtual() > 1);
        // The item's first line is at the top of the view (unless the page cannot scroll that
        // far): the list names it back after a scroll.
        QScrollBar *v = p->Area()->verticalScrollBar();
        const bool noTopo = v->value() < v->maximum();
        QTest::keyClick(p->Area(), Qt::Key_Down);
        QTest::keyClick(p->Area(), Qt::Key_Up);
        if (noTopo) QCOMPARE(p->Lista()->currentIndex().row(), linha);

        // The chart may begin on the next page when the title fills this one.
        std::optional<QPoint> pixel;
        const TSistema &s = w.J().ComandosModelo().Sistema();
        const double x = static_cast<double>(s.ValorTransformado(1, 1) - s.ResiduoBruto(1));
        const double y = static_cast<double>(s.Residuo(1));
        for (int tentativa = 0; tentativa < 2 && !pixel; ++tentativa) {
            pixel = p->PixelDoPonto(item, x, y);
            if (!pixel) p->MostraPagina(p->PaginaAtual() + 1, 0);
        }
        QVERIFY(pixel);
        p->Clique(*pixel);
        QVERIFY(p->CaixaPonto()->isVisible());
        const QString texto = p->CaixaPonto()->text();
        QVERIFY2(texto.startsWith(QStringLiteral("Amostragem nº ")), qPrintable(texto));
        QCOMPARE(texto.count(QLatin1Char('\n')), 2);
        // A click outside every graph hides the box.
        p->Clique(QPoint(2, 2));
        QVERIFY(!p->CaixaPonto()->isVisible());

        // "&Lista de Itens" hides the list and stores the state.
        QVERIFY(p->ListaVisivel());
        w.J().Acao(QStringLiteral("ListaItens"))->trigger();
        QVERIFY(!p->ListaVisivel());
        QVERIFY(!w.IniNoDisco().LeBooleano("Geral", "LocIt", true));
    }

    // Dragging the left margin marker 1 cm to the right raises the left margin by 10 mm and
    // lays the report out again; the zoom changes the image and is stored.
    void reguaEZoom() {
        TJanelaTeste w;
        TPaginaRelatorio *p = EscolheWindsor(w);
        QVERIFY(p);
        const std::array<int, 4> antes = p->Margens();
        const QImage imagem = p->Imagem().copy();
        TReguaRelatorio *r = p->ReguaHorizontal();
        const int x0 = static_cast<int>(std::lround(r->PixelDe(0)));
        const int dx = static_cast<int>(std::lround(r->PixelsCm()));
        QTest::mousePress(r, Qt::LeftButton, {}, QPoint(x0, 10));
        QTest::mouseMove(r, QPoint(x0 + dx, 10));
        QVERIFY(r->Guia() >= 0);
        QTest::mouseRelease(r, Qt::LeftButton, {}, QPoint(x0 + dx, 10));
        QCOMPARE(r->Guia(), -1);
        QCOMPARE(p->Margens()[0], antes[0] + 10);
        QCOMPARE(p->Margens()[1], antes[1]);
        QVERIFY(p->Imagem() != imagem);
        QCOMPARE(p->PaginaAtual(), 1);

        // F11: a confirmed change lays the report out again (the page count is counted anew).
        QTest::keyClick(p->Area(), Qt::Key_End, Qt::ControlModifier);
        QVERIFY(p->TotalPaginas() > 0);
        p->MostraPagina(1, 0);
        std::vector<int> pedidos;
        w.J().Relatorio().DialogoConfiguraRelatorio = [&](int item) {
            pedidos.push_back(item);
            return true;
        };
        w.J().Acao(QStringLiteral("ConfigurarRelatorio"))->trigger();
        QCOMPARE(pedidos, std::vector<int>{-1});
        QCOMPARE(p->TotalPaginas(), -1);
        QCOMPARE(p->PaginaAtual(), 1);
        QCOMPARE(w.J().Acao(QStringLiteral("ConfigurarRelatorio"))->shortcut(), QKeySequence(Qt::Key_F11));

        const QSize tamanho = p->Imagem().size();
        w.J().Acao(QStringLiteral("AmpliaRelatorio"))->trigger();
        QCOMPARE(p->Zoom(), 120);
        QCOMPARE(w.IniNoDisco().LeInteiro("Geral", "ZRl", 0), 120);
        QVERIFY(p->Imagem().width() > tamanho.width());
        QComboBox *z = w.J().CaixaZoom();
        z->setCurrentText(QStringLiteral("Página Inteira"));
        emit z->textActivated(QStringLiteral("Página Inteira"));
        QVERIFY(p->Zoom() < 120);
        QVERIFY(p->Imagem().height() <= p->Area()->viewport()->height());
    }

    // Export through the writers' table (RTF, Write, PDF) with the overwrite question, and
    // printing onto a PDF printer: its page count is the report's.
    void exportaEImprime() {
        TJanelaTeste w;
        TPaginaRelatorio *p = EscolheWindsor(w);
        QVERIFY(p);
        std::string arquivo;
        w.J().Relatorio().EscolheArquivoExportacao = [&] { return arquivo; };
        for (const char *ext : {"rtf", "WRI", "pdf"}) {
            arquivo = w.Caminho(std::string("laudo.") + ext).string();
            w.J().Acao(QStringLiteral("ExportarRelatorio"))->trigger();
            QVERIFY2(QFile::exists(QString::fromStdString(arquivo)), ext);
        }
        QFile rtf(QString::fromStdString(w.Caminho("laudo.rtf").string()));
        QVERIFY(rtf.open(QIODevice::ReadOnly));
        const QByteArray bytes = rtf.readAll();
        QVERIFY(bytes.startsWith("{\\rtf1"));
        QVERIFY(bytes.contains("Res\\'edduos x Valor Estimado") || bytes.contains("Valor Estimado"));
        QFile wri(QString::fromStdString(w.Caminho("laudo.WRI").string()));
        QVERIFY(wri.open(QIODevice::ReadOnly));
        QVERIFY(wri.size() > 1024);
        const QString pdf = QString::fromStdString(w.Caminho("laudo.pdf").string());
        const int paginasPdf = PaginasPdf(pdf);
        QCOMPARE(paginasPdf, p->TotalPaginas());
        const QString texto = Executa(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QVERIFY(texto.contains(QStringLiteral("Resíduos x Valor Estimado")));

        // An existing file: "não" keeps it.
        const qint64 tamanho = rtf.size();
        arquivo = w.Caminho("laudo.rtf").string();
        w.respostas.push_back(Resposta::Nao);
        QFile::resize(QString::fromStdString(arquivo), 10);
        w.J().Acao(QStringLiteral("ExportarRelatorio"))->trigger();
        QCOMPARE(QFileInfo(QString::fromStdString(arquivo)).size(), qint64(10));
        QVERIFY(!w.perguntas.empty());
        QVERIFY(QString::fromStdString(w.perguntas.back()).contains(QStringLiteral("LAUDO.RTF")));
        (void)tamanho;

        // Printing to a PDF printer: pages 2 to 4, then all.
        const QString impresso = QString::fromStdString(w.Caminho("impresso.pdf").string());
        w.J().Relatorio().DialogoImpressao = [&](QPrinter &pr) {
            pr.setOutputFormat(QPrinter::PdfFormat);
            pr.setOutputFileName(impresso);
            pr.setPrintRange(QPrinter::PageRange);
            pr.setFromTo(2, 4);
            return true;
        };
        w.J().Acao(QStringLiteral("ImprimirRelatorio"))->trigger();
        QCOMPARE(PaginasPdf(impresso), 3);
        w.J().Relatorio().DialogoImpressao = [&](QPrinter &pr) {
            pr.setOutputFormat(QPrinter::PdfFormat);
            pr.setOutputFileName(impresso);
            pr.setPrintRange(QPrinter::AllPages);
            pr.setFromTo(0, 0);
            return true;
        };
        w.J().Acao(QStringLiteral("ImprimirRelatorio"))->trigger();
        QCOMPARE(PaginasPdf(impresso), paginasPdf);

        // The sample table on its own, whatever the settings include.
        QFile::remove(impresso);
        w.J().Acao(QStringLiteral("ImprimirTabela"))->trigger();
        QVERIFY(PaginasPdf(impresso) >= 1);
        QVERIFY(PaginasPdf(impresso) < paginasPdf);
        QVERIFY(Executa(QStringLiteral("pdftotext"), {impresso, QStringLiteral("-")})
                    .contains(QStringLiteral("Amostra")));

        // An empty worksheet: the warning after the print dialog.
        TJanelaTeste vazia;
        bool dialogo = false;
        vazia.J().Relatorio().DialogoImpressao = [&](QPrinter &) { return dialogo = true; };
        vazia.J().Acao(QStringLiteral("ImprimirTabela"))->trigger();
        QVERIFY(dialogo);
        QCOMPARE(vazia.avisos, std::vector<std::string>{"A tabela de amostragens está vazia."});
    }

    // One export entry: the report on screen exported to JSON by the desktop is the file the
    // command line writes for the same worksheet and model; the desktop's PDF of it says the
    // same words as that JSON, in the same order.
    void mesmoConteudoEmTodaSaida() {
        // The settings the command line uses: the defaults (earlier tests moved a margin).
        std::error_code e;
        std::filesystem::remove(ArquivoRelatorioUsuario(), e);
        TJanelaTeste w;
        TPaginaRelatorio *p = EscolheWindsor(w);
        QVERIFY(p);
        std::string arquivo;
        w.J().Relatorio().EscolheArquivoExportacao = [&] { return arquivo; };
        for (const char *ext : {"json", "pdf"}) {
            arquivo = w.Caminho(std::string("tela.") + ext).string();
            w.J().Acao(QStringLiteral("ExportarRelatorio"))->trigger();
            QVERIFY2(QFile::exists(QString::fromStdString(arquivo)), ext);
        }
        const QString cli = QString::fromStdString(w.Caminho("cli.json").string());
        QProcess linha;
        linha.start(QStringLiteral(ZELTO_CLI), {QStringLiteral("report"), QString::fromStdString(kWindsor),
                                                QStringLiteral("--choose"), QStringLiteral("1"),
                                                QStringLiteral("-o"), cli});
        QVERIFY(linha.waitForFinished(120000));
        QCOMPARE(linha.exitCode(), 0);
        QFile a(QString::fromStdString(w.Caminho("tela.json").string())), b(cli);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        const QByteArray tela = a.readAll();
        QVERIFY(tela.size() > 100000);
        QVERIFY2(tela == b.readAll(), "the desktop's JSON differs from the command line's");

        // The words of every paragraph and cell of the JSON against the PDF's words. Blanks,
        // the dots that lead a label to its stop (each writer fills to its own measure) and
        // the signs that pdftotext glues to a neighbour a blank away ("= 1" read "=1") part
        // words.
        static const QRegularExpression Separadores(QStringLiteral("[\\s.=;\\[\\]]+"));
        QStringList esperadas;
        const std::function<void(const QJsonValue &)> junta = [&](const QJsonValue &v) {
            if (v.isString()) {
                // The file writes an exponent after "^"; the page draws it raised.
                for (const QString &x : QString(v.toString()).remove(QLatin1Char('^')).split(Separadores,
                                                          Qt::SkipEmptyParts))
                    esperadas << x;
            } else if (v.isArray()) {
                for (const QJsonValue &x : v.toArray()) junta(x);
            } else if (v.isObject()) {
                const QJsonObject o = v.toObject();
                for (const char *k : {"paragraph", "table"})
                    if (o.contains(QLatin1String(k))) junta(o[QLatin1String(k)]);
                for (const char *k : {"items", "parts"})
                    if (o.contains(QLatin1String(k))) junta(o[QLatin1String(k)]);
            }
        };
        junta(QJsonDocument::fromJson(tela).object());
        QVERIFY(esperadas.size() > 5000);
        const QString pdf = Executa(QStringLiteral("pdftotext"),
                                    {QString::fromStdString(w.Caminho("tela.pdf").string()), QStringLiteral("-")});
        const QStringList lidas = pdf.split(Separadores, Qt::SkipEmptyParts);

        // No page ends with a title: a part's title stays with what it heads.
        QSet<QString> titulos;
        for (const QJsonValue &item : QJsonDocument::fromJson(tela).object()[QStringLiteral("items")].toArray())
            titulos.insert(item.toObject()[QStringLiteral("title")].toString());
        const QStringList folhas = pdf.split(QLatin1Char('\f'));
        for (int f = 0; f < folhas.size(); ++f) {
            QStringList linhas = folhas[f].split(QLatin1Char('\n'));
            while (!linhas.isEmpty() && linhas.last().trimmed().isEmpty()) linhas.removeLast();
            if (!linhas.isEmpty())
                QVERIFY2(!titulos.contains(linhas.last().trimmed()),
                         qPrintable(QStringLiteral("page %1 ends with the title \"%2\"").arg(f + 1).arg(linhas.last())));
        }
        // Every word of the JSON is on the pages as often as there (the pages hold more: the
        // running header and footer; a wide table's blocks change the order of its cells).
        std::map<QString, int> contagem;
        for (const QString &x : lidas) ++contagem[x];
        QStringList faltam;
        for (const QString &x : esperadas)
            if (--contagem[x] < 0) faltam << x;
        QVERIFY2(faltam.isEmpty(), qPrintable(QStringLiteral("%1 of %2 words of the JSON are not in the PDF: %3")
                                                  .arg(faltam.size())
                                                  .arg(esperadas.size())
                                                  .arg(faltam.mid(0, 30).join(QLatin1Char(' ')))));
    }

    // Pictures of the report page at 100 % and at "Página Inteira", into the folder named by
    // ZELTO_CAPTURAS (run under a real display server to look at them).
    void capturas() {
        const QString pasta = qEnvironmentVariable("ZELTO_CAPTURAS");
        if (pasta.isEmpty()) QSKIP("ZELTO_CAPTURAS not set");
        TJanelaTeste w;
        TPaginaRelatorio *p = EscolheWindsor(w);
        QVERIFY(p);
        w.J().Relatorio().MudaZoom(100);
        const int linha = Linha(*p, QStringLiteral("Resíduos x Valor Estimado"));
        p->EscolheLinha(linha);
        QTest::qWait(200);
        QVERIFY(w.J().grab().save(pasta + QStringLiteral("/relatorio-100.png")));
        emit w.J().CaixaZoom()->textActivated(QStringLiteral("Página Inteira"));
        QTest::qWait(200);
        QVERIFY(w.J().grab().save(pasta + QStringLiteral("/relatorio-pagina-inteira.png")));
    }
};

ZELTO_TESTE_GUI(TesteRelatorio)
#include "TesteRelatorio.moc"
