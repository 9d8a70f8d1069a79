// The model path of the main window: the search configured and run from the menu, interrupted
// and continued, the choice of a model and the report page, all compared with the command line
// on the same worksheet; the subject property before a choice; the significance commands and
// the settings of each mode; which commands show when.
#include "TesteGui.h"

#include "config/ConfiguracaoRelatorio.h"
#include "gui/dialogs/FMostraMelhoresModelos.h"
#include "gui/dialogs/FSignificancias.h"
#include "gui/dialogs/FVariaveisIndependentes.h"
#include "gui/reportpage/DocumentoRelatorio.h"
#include "gui/reportpage/PaginaRelatorio.h"
#include "gui/worksheet/ModeloPlanilha.h"
#include "search/ObjetoAvaliacao.h"

#include <QAction>
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTabWidget>
#include <QTest>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include <cmath>
#include <fstream>
#include <optional>

using namespace zelto;
using namespace zelto::teste;

namespace {

const std::string kWindsor = std::string(ZELTO_EXEMPLOS) + "/windsor.QV3";
const std::string kBoston = std::string(ZELTO_EXEMPLOS) + "/boston.QV3";
// Every variable may take six codes: on Boston, billions of models.
constexpr std::uint32_t kMascaraMedia = 0x137u; // {0, 1, 2, 4, 5, 8}

QJsonObject Cli(const QStringList &argumentos) {
    QProcess p;
    p.start(QStringLiteral(ZELTO_CLI), argumentos);
    if (!p.waitForFinished(600000)) return {};
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

bool Proximos(long double a, double b) {
    if (a == b) return true;
    return std::fabs(static_cast<double>(a) - b) <= 1e-14 * std::fabs(b);
}

// The configuration dialog answered: a type button, for "&Usuário" the boxes of a mask.
std::function<int(TSelecaoPesquisa &)> Configura(TipoPesquisa tipo, std::uint32_t mascara,
                                                 int resultado) {
    return [=](TSelecaoPesquisa &d) {
        d.PressionaTipo(tipo);
        if (tipo == tpUsuario)
            for (std::uint8_t k = 0; k <= 14; ++k)
                d.MarcaCaixa(k, (mascara >> k) & 1u);
        return resultado;
    };
}

// The best models as the command line names them: the codes that are not 0, by name.
QJsonObject CodigosPorNome(const TGridzelto &g, const TCodigos &codigos) {
    QJsonObject o;
    for (int c = 1; c <= kMaximoVariaveisPesquisa && c < g.ColCount(); ++c)
        if (codigos[c]) o.insert(QString::fromStdString(g.Celula(c, 0)), codigos[c]);
    return o;
}

void ComparaLista(const TGridzelto &g, const TPesquisa &p, const QJsonObject &cli) {
    const QJsonArray melhores = cli.value(QStringLiteral("best")).toArray();
    QCOMPARE(p.Modelos(), melhores.size());
    for (int i = 1; i <= p.Modelos(); ++i) {
        const QJsonObject m = melhores[i - 1].toObject();
        QCOMPARE(CodigosPorNome(g, p.Lista().Slot(i).Codigos),
                 m.value(QStringLiteral("codes")).toObject());
        QVERIFY2(Proximos(p.Lista().Slot(i).R, m.value(QStringLiteral("R")).toDouble()),
                 qPrintable(QString::number(i)));
    }
}

// Presses "Interromper pesquisa" as soon as the search's progress window shows, noting whether
// the main window took input meanwhile.
class Interruptor : public QObject {
  public:
    explicit Interruptor(TFZELTO &j) : j_(j) {
        connect(&relogio_, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal) return;
            // Interrupted once the window's count of examined models has moved from what it
            // first showed (a loaded machine may take seconds to examine the first models), or
            // after a minute whatever it shows.
            const auto *contagem = modal->findChild<QLabel *>(QStringLiteral("examinados"));
            const QString texto = contagem ? contagem->text() : QString();
            if (!primeiro_) primeiro_ = texto;
            if (texto == *primeiro_ && espera_.elapsed() < 60000) return;
            for (QPushButton *b : modal->findChildren<QPushButton *>())
                if (b->text() == QString::fromUtf8(kBotaoInterromper) && b->isVisible()) {
                    menuHabilitado = j_.menuBar()->isEnabled();
                    // The worksheet stays on view, read-only; the tabs take no click.
                    paginasHabilitadas = j_.Paginas()->tabBar()->isEnabled() || !j_.Modelo()->SomenteLeitura();
                    b->click();
                    ++cliques;
                    relogio_.stop();
                }
        });
        relogio_.start(20);
        espera_.start();
    }
    int cliques = 0;
    bool menuHabilitado = true, paginasHabilitadas = true;

  private:
    TFZELTO &j_;
    QTimer relogio_;
    QElapsedTimer espera_;
    std::optional<QString> primeiro_;
};

} // namespace

class TesteEscolha : public QObject {
    Q_OBJECT
  private slots:
    // "Configurar pesquisa" with "&Executa pesquisa": the search, the subject dialog, the
    // best-models window on row 1, the chosen model fitted as the command line fits it.
    void pesquisaEscolhaIgualALinhaDeComando() {
        TJanelaTeste w;
        QVERIFY(w.J().Arquivos().AbreArquivo(kWindsor));
        int objetos = 0, janelas = 0, linhaInicial = 0;
        w.J().ComandosModelo().DialogoObjeto = [&] {
            ++objetos;
            return std::make_pair(true, false);
        };
        w.J().ComandosModelo().EscolheLinhaModelo = [&](TPesquisa &p, int linha) {
            ++janelas;
            linhaInicial = linha;
            return p.TabelaMontada() ? 1 : 0;
        };
        w.J().ComandosModelo().DialogoPesquisa = Configura(tpPadrao, 0, kResultadoExecuta);
        w.J().Acao(QStringLiteral("ConfigurarPesquisa"))->trigger();

        QCOMPARE(objetos, 1); // "sempre pedir dados do objeto" is on by default
        QCOMPARE(janelas, 1);
        QCOMPARE(linhaInicial, 1);
        QVERIFY(w.J().ComandosModelo().Pesquisa().ResultadosValidos);
        QVERIFY(w.J().Acao(QStringLiteral("SelecionarModelo"))->isVisible());
        QVERIFY(w.avisos.empty());

        const QJsonObject cli =
            Cli({QStringLiteral("search"), QString::fromStdString(kWindsor),
                 QStringLiteral("--choose"), QStringLiteral("1"), QStringLiteral("--json")});
        ComparaLista(w.G(), w.J().ComandosModelo().Pesquisa(), cli);
        const QJsonObject escolhido = cli.value(QStringLiteral("chosen")).toObject();
        const TSistema &s = w.J().ComandosModelo().Sistema();
        QCOMPARE(int(s.n()), escolhido.value(QStringLiteral("n")).toInt());
        QCOMPARE(int(s.m()), escolhido.value(QStringLiteral("m")).toInt());
        QVERIFY(Proximos(s.R(), escolhido.value(QStringLiteral("R")).toDouble()));
        QVERIFY(Proximos(s.R2(), escolhido.value(QStringLiteral("R2")).toDouble()));
        QVERIFY(Proximos(s.F(), escolhido.value(QStringLiteral("F")).toDouble()));
        const QJsonArray coef = escolhido.value(QStringLiteral("coefficients")).toArray();
        QCOMPARE(coef.size(), int(s.m()));
        for (std::size_t k = 1; k <= s.m(); ++k) {
            const QJsonObject c = coef[int(k) - 1].toObject();
            QVERIFY(Proximos(s.Coeficiente(k), c.value(QStringLiteral("b")).toDouble()));
            QVERIFY(Proximos(s.TCoeficiente(k), c.value(QStringLiteral("t")).toDouble()));
        }
        QCOMPARE(QString::fromStdString(s.Equacao()),
                 escolhido.value(QStringLiteral("equation")).toString());

        // The report page is the current page, at page 1; its text is the report's.
        TPaginaRelatorio *r = w.J().Relatorio().Pagina();
        QVERIFY(r);
        QCOMPARE(w.J().Paginas()->currentWidget(), r);
        QCOMPARE(w.J().Paginas()->tabText(1), QStringLiteral("Relatório"));
        QCOMPARE(r->PaginaAtual(), 1);
        const QString texto = TextoRelatorio(w);
        QVERIFY(texto.contains(QStringLiteral("Intervalo de confiança de 80,0 % para o valor estimado:")));

        // A changed cell: the list no longer belongs to the worksheet, the page is stale.
        auto *m = w.J().Grade()->model();
        QVERIFY(m->setData(m->index(3, 2), QStringLiteral("7000"), Qt::EditRole));
        QApplication::processEvents();
        w.J().Atualiza();
        QVERIFY(!w.J().ComandosModelo().Pesquisa().ResultadosValidos);
        QVERIFY(!w.J().Acao(QStringLiteral("SelecionarModelo"))->isVisible());
        QCOMPARE(w.J().Paginas()->tabText(1), QStringLiteral("Relatório (desatualizado)"));
        QVERIFY(!w.J().ComandosModelo().SelecionaModelo());

        // A new worksheet takes the page and the list away.
        w.respostas = {Resposta::Nao};
        w.J().Arquivos().NovaPlanilha();
        QCOMPARE(w.J().Paginas()->count(), 1);
        QVERIFY(!w.J().Relatorio().Pagina());
        QCOMPARE(w.J().ComandosModelo().Pesquisa().Modelos(), 0);
    }

    // "grau de fundamentação, depois R" chosen in the configuration, criteria 1 and 3 declared in
    // the report settings: "Melhores Modelos" shows the grade of every listed model in "Fund.",
    // in the order and with the grades of `zelto-cli search --criterion grau` under the same
    // declarations, and its row 2 is the command line's --choose 2. On Windsor every listed
    // model reaches the same grade; on Boston the grades differ, so the order shows.
    void grauDeFundamentacao() {
        struct Caso {
            const std::string &arquivo;
            std::uint8_t caracterizacao, identificacao;
            bool misto; // grades differ within the list
        };
        for (const Caso &caso : {Caso{kWindsor, 3, 2, false}, Caso{kBoston, 3, 3, true}}) {
            TJanelaTeste w;
            QVERIFY(w.J().Arquivos().AbreArquivo(caso.arquivo));
            TConfiguracaoRelatorio &cfg = w.J().Relatorio().Documento().Configuracao();
            cfg.Caracterizacao = caso.caracterizacao;
            cfg.Identificacao = caso.identificacao;
            w.J().ComandosModelo().DialogoObjeto = [] { return std::make_pair(true, false); };
            QStringList fund, equacoes;
            w.J().ComandosModelo().EscolheLinhaModelo = [&](TPesquisa &p, int linha) {
                TFMostraMelhoresModelos f(p, linha, false, TAparenciaPlanilha{}, {});
                const int c = TFMostraMelhoresModelos::kColunaFund;
                if (f.Grade()->columnCount() != c + 1 || f.Grade()->isColumnHidden(c)) return 0;
                fund << f.Grade()->horizontalHeaderItem(c)->text();
                for (int r = 1; r <= f.Grade()->rowCount(); ++r) {
                    f.SelecionaLinha(r);
                    fund << f.Grade()->item(r - 1, c)->text();
                    equacoes << QString::fromStdString(f.Equacao());
                }
                return 2;
            };
            w.J().ComandosModelo().DialogoPesquisa = [](TSelecaoPesquisa &d) {
                d.PressionaTipo(tpPadrao);
                d.DefineCriterio(cpGrau);
                return kResultadoExecuta;
            };
            w.J().Acao(QStringLiteral("ConfigurarPesquisa"))->trigger();
            QVERIFY(!fund.isEmpty());
            QCOMPARE(fund.takeFirst(), QStringLiteral("Fund."));

            auto grau = [](std::uint8_t g) { return QString::fromLatin1(TextoGrauDeclarado(g)); };
            const QJsonObject cli = Cli(
                {QStringLiteral("search"), QString::fromStdString(caso.arquivo), QStringLiteral("--criterion"),
                 QStringLiteral("grau"), QStringLiteral("--caracterizacao"), grau(caso.caracterizacao),
                 QStringLiteral("--identificacao"), grau(caso.identificacao), QStringLiteral("--choose"),
                 QStringLiteral("2"), QStringLiteral("--json")});
            const QJsonArray melhores = cli.value(QStringLiteral("best")).toArray();
            QCOMPARE(melhores.size(), 50);
            QCOMPARE(fund.size(), melhores.size());
            for (int i = 0; i < melhores.size(); ++i) {
                const QJsonObject m = melhores[i].toObject();
                QCOMPARE(fund[i], m.value(QStringLiteral("grau")).toString());
                QCOMPARE(equacoes[i], m.value(QStringLiteral("equation")).toString());
            }
            QCOMPARE(fund.front() != fund.back(), caso.misto);
            const QJsonObject escolhido = cli.value(QStringLiteral("chosen")).toObject();
            QVERIFY(Proximos(w.J().ComandosModelo().Sistema().R(), escolhido.value(QStringLiteral("R")).toDouble()));
            QCOMPARE(QString::fromStdString(w.J().ComandosModelo().Sistema().Equacao()),
                     escolhido.value(QStringLiteral("equation")).toString());

            // The grades are kept with the list until the subject (or the list) changes.
            TPesquisa &p = w.J().ComandosModelo().Pesquisa();
            QVERIFY(p.Graus() && p.Graus()->Graus.size() == 50u);
            p.DescartaTabela();
            QVERIFY(!p.Graus());
            QElapsedTimer t;
            t.start();
            p.Gradua(w.J().Relatorio().Documento().Declaracoes());
            qInfo("Grading the 50 listed models of %s: %.0f ms", caso.arquivo.c_str(),
                  t.nsecsElapsed() / 1e6);
            QCOMPARE(p.Graus()->Slots.size(), 50u);
            // Other significance settings: the table and the grades are made again at once,
            // under them (the report still lists the searched models).
            w.J().ComandosModelo().DialogoSignificancias = [](PaginaSignificancias, bool &) { return true; };
            w.J().Acao(QStringLiteral("Significancias"))->trigger();
            QVERIFY(p.TabelaMontada() && p.Graus());
            QCOMPARE(p.Graus()->Slots.size(), 50u);
        }
    }

    // F9 with the progress window's "Interromper pesquisa": the search stops with the main
    // window disabled; F9 again continues it from the next model (a search far too long to end
    // by itself, so the button is always pressed in time).
    void interrompeEContinua() {
        TJanelaTeste w;
        QVERIFY(w.J().Arquivos().AbreArquivo(kBoston));
        w.J().ComandosModelo().DialogoObjeto = [] { return std::make_pair(true, false); };
        int janelas = 0;
        w.J().ComandosModelo().EscolheLinhaModelo = [&](TPesquisa &, int) {
            ++janelas;
            return 0; // "&Cancelar"
        };
        w.J().ComandosModelo().DialogoPesquisa = Configura(tpUsuario, kMascaraMedia, kResultadoConfirma);
        w.J().ComandosModelo().ConfiguraPesquisa();
        QCOMPARE(w.J().ComandosModelo().Pesquisa().Configuracao.MascaraComum, kMascaraMedia);

        TPesquisa &p = w.J().ComandosModelo().Pesquisa();
        std::uint64_t antes = 0;
        for (int vez = 1; vez <= 2; ++vez) {
            {
                Interruptor botao(w.J());
                w.J().Acao(QStringLiteral("PesquisarModelos"))->trigger();
                QCOMPARE(botao.cliques, 1);
                QVERIFY(!botao.menuHabilitado);
                QVERIFY(!botao.paginasHabilitadas);
            }
            QVERIFY(w.J().menuBar()->isEnabled());
            QVERIFY(p.Interrompida());
            QVERIFY(p.Examinados() > antes);
            QVERIFY(p.Examinados() < p.Total());
            // Continued, not restarted: the second run examined only models after the first's.
            QCOMPARE(p.ExaminadosNaExecucao(), p.Examinados() - antes);
            antes = p.Examinados();
            // The models found so far are offered; cancelling the window chooses nothing.
            QCOMPARE(janelas, p.Modelos() > 0 ? vez : 0);
            QVERIFY(!w.J().Relatorio().Pagina());
        }
        // A confirmed configuration starts the next search afresh.
        w.J().ComandosModelo().ConfiguraPesquisa();
        QVERIFY(p.ReinicioNecessario());
    }

    // The commands follow the data and the mode; the mode brings its own significance settings.
    void comandosPorEstadoEModo() {
        TJanelaTeste w;
        auto visivel = [&](const char *n) {
            return w.J().Acao(QString::fromLatin1(n))->isVisible();
        };
        QVERIFY(!visivel("ConfigurarPesquisa"));
        QVERIFY(!visivel("PesquisarModelos"));
        QVERIFY(!visivel("SelecionarModelo"));
        QCOMPARE(w.J().Acao(QStringLiteral("PesquisarModelos"))->shortcut(),
                 QKeySequence(Qt::Key_F9));
        QCOMPARE(w.J().Acao(QStringLiteral("SelecionarModelo"))->shortcut(),
                 QKeySequence(Qt::Key_F10));
        QCOMPARE(w.J().Acao(QStringLiteral("DefinirObjeto"))->shortcut(), QKeySequence(Qt::Key_F4));
        QCOMPARE(w.J().Acao(QStringLiteral("Criterios"))->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_F12));

        QVERIFY(w.J().Arquivos().AbreArquivo(kWindsor));
        QVERIFY(visivel("ConfigurarPesquisa"));
        QVERIFY(visivel("PesquisarModelos"));
        QVERIFY(!visivel("SelecionarModelo"));

        // Each mode reads its own working file of significance settings.
        {
            TArquivoIni d(ArquivoSignificancias(false));
            d.EscreveTexto(kSecaoSignificancias, "Dcr", "Fatores");
        }
        w.J().AlternaModo();
        QCOMPARE(w.J().ComandosModelo().Significancias().Descricao, std::string("Fatores"));
        QVERIFY(!visivel("ConfigurarPesquisa"));
        QCOMPARE(w.J().Acao(QStringLiteral("PesquisarModelos"))->text(),
                 QStringLiteral("&Avaliar"));
        QCOMPARE(w.J().Acao(QStringLiteral("PesquisarModelos"))->toolTip(),
                 QStringLiteral("Avaliar"));

        // "Avaliar": the single model, no best-models window, the report page.
        int janelas = 0, objetos = 0;
        w.J().ComandosModelo().EscolheLinhaModelo = [&](TPesquisa &, int) { return ++janelas; };
        w.J().ComandosModelo().DialogoObjeto = [&] {
            ++objetos; // the multiplier is 0
            return std::make_pair(true, false);
        };
        QVERIFY(w.J().ComandosModelo().PesquisaModelos());
        QCOMPARE(janelas, 0);
        QCOMPARE(objetos, 1);
        QVERIFY(w.J().Relatorio().Pagina());
        QVERIFY(!visivel("SelecionarModelo")); // choosing is for the regression mode
        QVERIFY(!TextoRelatorio(w).isEmpty());

        // Back to the regression mode: the report is stale, the settings are the mode's own.
        w.J().AlternaModo();
        QCOMPARE(w.J().ComandosModelo().Significancias().Descricao, std::string(kDescricaoPadrao));
        QVERIFY(!w.J().ComandosModelo().Pesquisa().ResultadosValidos);
        QCOMPARE(w.J().Paginas()->tabText(1), QStringLiteral("Relatório (desatualizado)"));
        QCOMPARE(w.J().Acao(QStringLiteral("PesquisarModelos"))->text(),
                 QStringLiteral("&Pesquisar modelos"));
    }

    // Before the choice: the subject dialog only when a value is missing (option off), the
    // question while values are still missing; a changed subject drops the table's estimates.
    void objetoAntesDaEscolha() {
        TJanelaTeste w;
        QVERIFY(w.J().Arquivos().AbreArquivo(kWindsor));
        w.J().AlternaOpcao("PdOA"); // off
        int objetos = 0, janelas = 0;
        bool alterado = false;
        w.J().ComandosModelo().DialogoObjeto = [&] {
            ++objetos;
            return std::make_pair(true, alterado);
        };
        w.J().ComandosModelo().EscolheLinhaModelo = [&](TPesquisa &, int) {
            ++janelas;
            return 0;
        };
        QVERIFY(w.J().ComandosModelo().PesquisaModelos());
        QCOMPARE(objetos, 0); // every value is there
        QCOMPARE(janelas, 1);
        QVERIFY(w.perguntas.empty());

        DefineValorObjeto(w.G().ValoresObjeto, "lotsize", " ");
        w.respostas = {Resposta::Cancelar};
        QVERIFY(!w.J().ComandosModelo().SelecionaModelo());
        QCOMPARE(objetos, 1);
        QCOMPARE(janelas, 1);
        QCOMPARE(w.perguntas.back(), std::string(kPerguntaObjetoIncompleto));
        // "Não": on with a zero; "Sim" opens the dialog again first.
        w.respostas = {Resposta::Sim, Resposta::Nao};
        QVERIFY(!w.J().ComandosModelo().SelecionaModelo()); // the window is cancelled
        QCOMPARE(objetos, 3);
        QCOMPARE(janelas, 2);

        // F4: a change of the subject makes the table be built again with the new estimates.
        QVERIFY(w.J().ComandosModelo().Pesquisa().TabelaMontada());
        alterado = true;
        w.J().Acao(QStringLiteral("DefinirObjeto"))->trigger();
        QCOMPARE(objetos, 4);
        QVERIFY(!w.J().ComandosModelo().Pesquisa().TabelaMontada());
        QVERIFY(w.J().ComandosModelo().Pesquisa().ResultadosValidos);
    }

    // F12 and Ctrl+F12 open the settings on their pages; the sanitation option is persisted
    // and a changed confidence rewrites the report page.
    void significancias() {
        TJanelaTeste w;
        QVERIFY(w.J().Arquivos().AbreArquivo(kWindsor));
        std::vector<PaginaSignificancias> paginas;
        w.J().ComandosModelo().DialogoSignificancias = [&](PaginaSignificancias p, bool &) {
            paginas.push_back(p);
            return false;
        };
        w.J().Acao(QStringLiteral("Significancias"))->trigger();
        w.J().Acao(QStringLiteral("Criterios"))->trigger();
        QCOMPARE(paginas.size(), std::size_t(2));
        QCOMPARE(paginas[0], pgSignificancias);
        QCOMPARE(paginas[1], pgCriterios);

        w.J().ComandosModelo().DialogoObjeto = [] { return std::make_pair(true, false); };
        w.J().ComandosModelo().EscolheLinhaModelo = [](TPesquisa &, int) { return 2; };
        QVERIFY(w.J().ComandosModelo().PesquisaModelos());
        QVERIFY(w.J().Relatorio().Pagina());
        const long double antes = w.J().ComandosModelo().Sistema().R();

        // The dialog turns the automatic sanitation on and changes the confidence.
        w.J().ComandosModelo().DialogoSignificancias = [&](PaginaSignificancias, bool &saneamento) {
            saneamento = true;
            w.J().ComandosModelo().Significancias().ConfiancaEstimativa = 0.9;
            return true;
        };
        w.J().ComandosModelo().ConfiguraSignificancias(pgSignificancias);
        QVERIFY(w.J().Acao(QStringLiteral("SnAu"))->isChecked());
        QVERIFY(w.IniNoDisco().LeBooleano("Geral", "SnAu", false));
        QVERIFY(TextoRelatorio(w).contains(QStringLiteral("Intervalo de confiança de 90,0 % para o valor estimado:")));

        // The next choice removes the outliers before fitting.
        QVERIFY(w.J().ComandosModelo().SelecionaModelo());
        QVERIFY(w.J().ComandosModelo().Sistema().n() < 546);
        QVERIFY(w.J().ComandosModelo().Sistema().R() != antes);
    }

    // The real dialogs from the menu: the subject typed after F4 is saved with the worksheet and
    // read back; a level changed after F12 reaches the record and the mode's working file.
    void dialogosReaisPersistem() {
        TJanelaTeste w;
        QVERIFY(w.J().Arquivos().AbreArquivo(kWindsor));
        bool objeto = false;
        QuandoAbrir<TFVariaveisIndependentes>([&](TFVariaveisIndependentes &d) {
            d.CampoNome(TFVariaveisIndependentes::dObjeto)->setText(QStringLiteral("Casa"));
            d.CampoNome(TFVariaveisIndependentes::dCaracteristica)->setText(QStringLiteral("área"));
            d.CampoMultiplicador()->setText(QStringLiteral("150,5"));
            d.accept();
            objeto = true;
        });
        w.J().Acao(QStringLiteral("DefinirObjeto"))->trigger();
        QVERIFY(objeto);
        QVERIFY(w.G().Modificada());
        const std::string nome = w.Caminho("casa.QV3").string();
        w.arquivosGravacao = {{nome, ""}};
        QVERIFY(w.J().Arquivos().GravaComo());
        w.J().Arquivos().NovaPlanilha();
        QCOMPARE(w.G().IdentificacaoObjeto.Objeto.Texto, std::string());
        QVERIFY(w.J().Arquivos().AbreArquivo(nome));
        QCOMPARE(w.G().IdentificacaoObjeto.Objeto.Texto, std::string("Casa"));
        QCOMPARE(w.G().IdentificacaoObjeto.Caracteristica.Texto, std::string("área"));
        QCOMPARE(double(w.G().IdentificacaoObjeto.Multiplicador), 150.5);

        const TSignificancias antes = w.J().ComandosModelo().Significancias();
        bool significancias = false;
        QuandoAbrir<TFSignificancias>([&](TFSignificancias &d) {
            d.Campo(&TSignificancias::TesteModelo)->setText(QStringLiteral("10"));
            d.accept();
            significancias = true;
        });
        w.J().Acao(QStringLiteral("Significancias"))->trigger();
        QVERIFY(significancias);
        QCOMPARE(w.J().ComandosModelo().Significancias().TesteModelo, 0.10);
        TSignificancias lido;
        lido.Le(TArquivoIni(ArquivoSignificancias(true)));
        QCOMPARE(lido.TesteModelo, 0.10);
        QVERIFY(GravaSignificancias(ArquivoSignificancias(true), antes));
    }
};

ZELTO_TESTE_GUI(TesteEscolha)
#include "TesteEscolha.moc"
