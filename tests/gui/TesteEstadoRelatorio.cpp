// The report page stays true to the fit it shows: an abandoned choice leaves the fit as it was,
// the sanitation of a choice shows its progress window and may be interrupted, a change of the
// subject makes the page stale and a column's look does not, a worksheet handed over by a
// companion program drops the page, and F5 names the page it leads to.
#include "TesteGui.h"

#include "files/ArquivoZelto.h"
#include "gui/dialogs/FProgressao.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include "gui/reportpage/PaginaRelatorio.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>

#include <filesystem>

using namespace zelto;
using namespace zelto::teste;

namespace {

const std::string kWindsor = std::string(ZELTO_EXEMPLOS) + "/windsor.QV3";

// Windsor with the model of table row 2 chosen and shown.
void Escolhido(TJanelaTeste &w) {
    QVERIFY(w.J().Arquivos().AbreArquivo(kWindsor));
    w.J().ComandosModelo().DialogoObjeto = [] { return std::make_pair(true, false); };
    w.J().ComandosModelo().EscolheLinhaModelo = [](TPesquisa &, int) { return 2; };
    QVERIFY(w.J().ComandosModelo().PesquisaModelos());
    QVERIFY(w.J().Relatorio().Pagina());
}

QString Aba(TJanelaTeste &w) {
    return w.J().Paginas()->tabText(w.J().Paginas()->indexOf(w.J().Relatorio().Pagina()));
}

// Notes what each progress window was told by the time it closed, and interrupts it as soon as
// it shows when asked to.
class Espia : public QObject {
  public:
    explicit Espia(bool interrompe) : interrompe_(interrompe) { qApp->installEventFilter(this); }
    ~Espia() override { qApp->removeEventFilter(this); }
    std::vector<std::string> auxiliares;
    std::vector<bool> interrompiveis;
    // Whether the sanitation's window showed, and with its interrupt button.
    bool Saneamento() const {
        for (std::size_t i = 0; i < auxiliares.size(); ++i)
            if (auxiliares[i] == "Saneando a amostra..." && interrompiveis[i]) return true;
        return false;
    }

  protected:
    bool eventFilter(QObject *o, QEvent *e) override {
        auto *p = qobject_cast<TFProgressao *>(o);
        if (p && e->type() == QEvent::Show && interrompe_) p->Cancela();
        if (p && e->type() == QEvent::Hide) {
            auxiliares.push_back(p->Auxiliar());
            interrompiveis.push_back(p->Interrompivel());
        }
        return false;
    }

  private:
    bool interrompe_;
};

} // namespace

class TesteEstadoRelatorio : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { AtrasoJanelaProgresso = 300; }

    // "&Detalhamento" fits every listed model again; cancelling the window afterwards leaves the
    // chosen model's fit, and a settings change writes the page from it, as before.
    void cancelarMantemOAjuste() {
        TJanelaTeste w;
        Escolhido(w);
        const QString pagina = TextoRelatorio(w);
        const long double r = w.J().ComandosModelo().Sistema().R();
        w.J().ComandosModelo().EscolheLinhaModelo = [](TPesquisa &p, int) {
            p.MontaTabela(true);
            return 0;
        };
        QVERIFY(!w.J().ComandosModelo().SelecionaModelo());
        QCOMPARE(w.J().ComandosModelo().Sistema().R(), r);
        w.J().ComandosModelo().DialogoSignificancias = [](PaginaSignificancias, bool &) { return true; };
        w.J().ComandosModelo().ConfiguraSignificancias(pgSignificancias);
        QCOMPARE(TextoRelatorio(w), pagina);
        QCOMPARE(Aba(w), QStringLiteral("Relatório"));
    }

    // The automatic sanitation of a choice runs with "Saneando a amostra..." and its interrupt
    // button; interrupting it abandons the choice and keeps the page's fit.
    void saneamentoComProgresso() {
        TJanelaTeste w;
        Escolhido(w);
        const QString pagina = TextoRelatorio(w);
        w.J().ComandosModelo().DialogoSignificancias = [](PaginaSignificancias, bool &saneamento) {
            saneamento = true;
            return false;
        };
        w.J().ComandosModelo().ConfiguraSignificancias(pgSignificancias);
        AtrasoJanelaProgresso = 0;
        {
            Espia interrompe(true);
            QVERIFY(!w.J().ComandosModelo().SelecionaModelo());
            QVERIFY(interrompe.Saneamento());
        }
        QCOMPARE(TextoRelatorio(w), pagina);
        QVERIFY(w.J().ComandosModelo().Sistema().n() == 546);
        Espia espia(false);
        QVERIFY(w.J().ComandosModelo().SelecionaModelo());
        QVERIFY(espia.Saneamento());
        QVERIFY(w.J().ComandosModelo().Sistema().n() < 546);
    }

    // Only data make the page stale: a column's width and alignment leave the choice and the
    // page current; a changed subject does not. F5 names the page it leads to.
    void soDadosDesatualizam() {
        TJanelaTeste w;
        Escolhido(w);
        QAction *ver = w.J().Acao(QStringLiteral("Visualizar"));
        QCOMPARE(ver->text(), QStringLiteral("&Visualizar Planilha"));
        ver->trigger();
        QCOMPARE(w.J().Paginas()->currentIndex(), 0);
        QCOMPARE(ver->text(), QStringLiteral("&Visualizar Relatório"));

        w.G().ColunaAtual = 2;
        w.J().Edicao().Alinha(alCentro);
        w.G().DefineLarguraColuna(3, 150);
        w.J().Atualiza();
        QCOMPARE(w.G().Variavel(2)->Alinhamento, alCentro);
        QVERIFY(w.G().Modificada());
        QVERIFY(w.J().Acao(QStringLiteral("SelecionarModelo"))->isVisible());
        QCOMPARE(Aba(w), QStringLiteral("Relatório"));

        w.J().ComandosModelo().DialogoObjeto = [] { return std::make_pair(true, true); };
        w.J().ComandosModelo().DefineObjeto();
        QCOMPARE(Aba(w), QStringLiteral("Relatório (desatualizado)"));
    }

    // A stale report is brought up to date before it leaves the program: after a price was
    // edited, one exported document shows the new price both in the sample table and in the
    // residuals of the model fitted again; a declined question writes nothing; a current
    // report is not asked about; the next edit makes the page stale again.
    void exportarDesatualizadoAtualiza() {
        TJanelaTeste w;
        Escolhido(w);
        QVERIFY(w.G().ValorCelula(1, 1) == 42000);
        w.G().AtribuiTexto(1, 1, "43000");
        w.G().RecalcularTudo();
        w.J().Atualiza();
        QCOMPARE(Aba(w), QStringLiteral("Relatório (desatualizado)"));

        const std::string arquivo = w.Caminho("laudo.json").string();
        w.J().Relatorio().EscolheArquivoExportacao = [&] { return arquivo; };
        w.atualiza = false;
        w.J().Relatorio().ExportaRelatorio();
        QCOMPARE(w.atualizacoes, 1);
        QVERIFY(!std::filesystem::exists(arquivo));

        w.atualiza = true;
        w.J().Relatorio().ExportaRelatorio();
        QCOMPARE(w.atualizacoes, 2);
        QCOMPARE(Aba(w), QStringLiteral("Relatório"));
        QFile f(QString::fromStdString(arquivo));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QJsonArray itens = QJsonDocument::fromJson(f.readAll()).object()[QStringLiteral("items")].toArray();
        auto tabela = [&](int numero) {
            for (const QJsonValue &i : itens)
                if (i[QStringLiteral("number")].toInt() == numero)
                    for (const QJsonValue &b : i[QStringLiteral("parts")][0].toArray())
                        if (b.toObject().contains(QStringLiteral("table"))) return b[QStringLiteral("table")].toArray();
            return QJsonArray();
        };
        QCOMPARE(tabela(2)[1][1].toString(), QStringLiteral("43.000"));
        QCOMPARE(tabela(23)[1][1].toString(), QStringLiteral("43.000,0"));

        w.J().Relatorio().ExportaRelatorio();
        QCOMPARE(w.atualizacoes, 2);
        w.G().AtribuiTexto(1, 1, "44000");
        w.J().Atualiza();
        QCOMPARE(Aba(w), QStringLiteral("Relatório (desatualizado)"));
    }

    // The report is never exported over the worksheet it was made from, by any name.
    void exportarNuncaSobreAPlanilha() {
        TJanelaTeste w;
        const std::string planilha = w.Caminho("w.QV3").string(), outro = w.Caminho("outro.rtf").string();
        std::filesystem::copy_file(kWindsor, planilha);
        std::filesystem::create_hard_link(planilha, outro);
        QVERIFY(w.J().Arquivos().AbreArquivo(planilha));
        w.J().ComandosModelo().DialogoObjeto = [] { return std::make_pair(true, false); };
        w.J().ComandosModelo().EscolheLinhaModelo = [](TPesquisa &, int) { return 2; };
        QVERIFY(w.J().ComandosModelo().PesquisaModelos());
        w.J().Relatorio().EscolheArquivoExportacao = [&] { return outro; };
        w.J().Relatorio().ExportaRelatorio();
        QVERIFY(!w.avisos.empty() && w.avisos.back().find("é a planilha aberta") != std::string::npos);
        QCOMPARE(std::filesystem::file_size(planilha), std::filesystem::file_size(kWindsor));
    }

    // A worksheet handed over by a companion program is a new worksheet: the page goes.
    void transferenciaDescartaRelatorio() {
        TJanelaTeste w;
        Escolhido(w);
        TGridzelto origem;
        Define(origem, 1, "valor", tvNumerica);
        Preenche(origem, 1, {"123"});
        const std::filesystem::path arquivo =
            std::filesystem::path(QDir::tempPath().toStdString()) / kArquivoTransferencia;
        TArquivoZelto z;
        QVERIFY(z.Gravar(arquivo, origem, "", ""));
        w.J().VerificaTransferencia();
        QCOMPARE(w.G().Celula(1, 0), std::string("valor"));
        QVERIFY(!w.J().Relatorio().Pagina());
        QCOMPARE(w.J().Paginas()->count(), 1);
        QVERIFY(!w.J().Acao(QStringLiteral("Visualizar"))->isEnabled());
    }
};

ZELTO_TESTE_GUI(TesteEstadoRelatorio)
#include "TesteEstadoRelatorio.moc"
