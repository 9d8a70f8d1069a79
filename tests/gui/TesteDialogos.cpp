// The dialogs: the variable definition (its rules and what it hands back),
// the table editor, the sort dialog, the confirmation, the progress window
// with its interrupt button, and the handling of unexpected failures.
#include "TesteGui.h"

#include "gui/app/Aplicacao.h"
#include "gui/dialogs/DlgOrdenar.h"
#include "gui/dialogs/FAtributos.h"
#include "gui/dialogs/FConfirma.h"
#include "gui/dialogs/FProgressao.h"
#include "gui/dialogs/FProgressoPesquisa.h"
#include "gui/dialogs/FTabEditor.h"
#include "gui/dialogs/FormCelulaVazia.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <stdexcept>

using namespace zelto;
using namespace zelto::teste;

namespace {

// An object whose every event fails, for the failure handler.
class Falha : public QObject {
  public:
    bool event(QEvent *e) override {
        if (e->type() == QEvent::User) throw std::runtime_error("falha de teste");
        return QObject::event(e);
    }
};

} // namespace

class TesteDialogos : public QObject {
    Q_OBJECT
  private slots:
    void atributosRegras() {
        QTemporaryDir d;
        TTabelasVariaveis tabelas(d.path().toStdString() + "/TAB_VAR.QVT");
        TGridzelto g;
        TFAtributos f(g, 2, tabelas);
        QCOMPARE(f.windowTitle(), QStringLiteral("Características da variável"));
        QCOMPARE(f.CampoNome()->text(), QStringLiteral("B0"));
        QCOMPARE(f.Paginas()->tabText(0), QStringLiteral("Variável numérica"));
        QCOMPARE(f.CampoDecimais(tvNumerica)->text(), QStringLiteral("2"));
        QVERIFY(f.CaixaUsada()->isChecked());
        QVERIFY(!f.CaixaCoeficiente()->isVisibleTo(&f)); // inferential mode
        // Dependent only while used.
        f.CaixaDependente()->setChecked(true);
        f.CaixaUsada()->setChecked(false);
        QVERIFY(!f.CaixaDependente()->isChecked());
        QVERIFY(!f.CaixaDependente()->isEnabled());
        f.CaixaUsada()->setChecked(true);
        QVERIFY(f.CaixaDependente()->isEnabled());
        // A table page without tables cannot be confirmed.
        f.Paginas()->setCurrentIndex(tvQualitativa);
        QVERIFY(!f.BotaoConfirmar()->isEnabled());
        QVERIFY(!f.CaixaDependente()->isVisibleTo(&f));
        // Comments: not used, no flags; alignment to the kind's default.
        f.Paginas()->setCurrentIndex(tvComentario);
        QVERIFY(!f.CaixaUsada()->isVisibleTo(&f));
        QVERIFY(f.BotaoConfirmar()->isEnabled());
        QCOMPARE(int(f.Atributos().Alinhamento), int(alEsquerda));
        QVERIFY(!f.Atributos().Usada);
        // The formula builder inserts at the caret; the power sign goes at the end.
        f.Paginas()->setCurrentIndex(tvCalculada);
        f.CampoFormula()->setText(QStringLiteral("()"));
        f.CampoFormula()->setCursorPosition(1);
        f.InsereNaFormula(QStringLiteral("[B0]"));
        f.InsereNaFormula(QStringLiteral("×"));
        f.CampoFormula()->setCursorPosition(0);
        f.AcrescentaPotencia();
        QCOMPARE(f.CampoFormula()->text(), QStringLiteral("([B0]×)^"));
        f.CampoNome()->setText(QStringLiteral("área"));
        int perguntas = 0;
        f.PerguntaFormula = [&](const std::string &) { // the formula is faulty: confirmed anyway
            ++perguntas;
            return Resposta::Sim;
        };
        f.accept();
        QCOMPARE(perguntas, 1);
        QCOMPARE(f.result(), int(QDialog::Accepted));
        QCOMPARE(f.Atributos().Equacao, std::string("([B0]×)^"));
        QCOMPARE(f.Atributos().Nome, std::string("área"));
        QCOMPARE(int(f.Atributos().Tipo), int(tvCalculada));
    }

    void atributosModoDescritivo() {
        QTemporaryDir d;
        TTabelasVariaveis tabelas(d.path().toStdString() + "/TAB_VAR.QVT");
        tabelas.Acrescenta("Conservação", TTabelaQualitativa{{"Ruim", 0.8L}, {"Boa", 1}});
        TGridzelto g;
        g.Modo.Inferencial = false;
        TFAtributos f(g, 1, tabelas);
        QCOMPARE(f.Paginas()->tabText(0), QStringLiteral("Coeficiente"));
        QCOMPARE(f.Paginas()->tabText(1), QStringLiteral("Tabelas de coeficientes"));
        QCOMPARE(f.CaixaDependente()->text(), QStringLiteral("Variável a &avaliar"));
        QVERIFY(f.CaixaCoeficiente()->isVisibleTo(&f));
        f.CaixaCoeficiente()->setChecked(true);
        f.CaixaDependente()->setChecked(true); // dependent: no coefficient
        QVERIFY(!f.CaixaCoeficiente()->isChecked());
        QVERIFY(!f.CaixaCoeficiente()->isEnabled());
        f.Paginas()->setCurrentIndex(tvQualitativa);
        QVERIFY(!f.BotaoConfirmar()->isEnabled());
        f.ListaTabelas(TipoTabela::Qualitativa)->setCurrentRow(0);
        QVERIFY(f.BotaoConfirmar()->isEnabled());
        f.accept();
        QCOMPARE(f.Atributos().Tabela, std::string("Conservação"));
        QCOMPARE(int(f.Atributos().Alinhamento), int(alCentro));
    }

    // "Confirmar" on a calculated variable tries the formula on the first rows: a fault is
    // explained, with the hint that names go between brackets, and may still be confirmed.
    void formulaComErro() {
        QTemporaryDir d;
        TTabelasVariaveis tabelas(d.path().toStdString() + "/TAB_VAR.QVT");
        TGridzelto g;
        Define(g, 1, "price", tvNumerica);
        Define(g, 2, "lotsize", tvNumerica);
        Preenche(g, 1, {"100", "200"});
        Preenche(g, 2, {"4", "0"});
        struct Caso {
            const char *formula;
            Resposta resposta;
            std::string texto; // empty: no question
        } casos[] = {
            {"price/lotsize", Resposta::Nao,
             "A fórmula usa o nome \"price\", que não é variável da planilha, função nem "
             "constante.\r\nOs nomes das variáveis vão entre colchetes: [price]."},
            {"([price]/[lotsize]", Resposta::Sim,
             "Os parênteses da fórmula não se fecham corretamente."},
            {"[preco]*2", Resposta::Nao,
             "A fórmula usa a variável [preco], que não existe na planilha."},
            {"[price]/[lotsize]", Resposta::Nao, "A fórmula divide por zero na amostragem 2."},
            {"[price]/RAIZ([lotsize]+1)", Resposta::Nao, ""},
        };
        const std::string fim = "\r\n\r\nAs células com erro mostram \"???\" e a variável fica "
                                "fora dos modelos pesquisados.\r\nDeseja confirmar a variável "
                                "assim mesmo?";
        for (const Caso &c : casos) {
            TFAtributos f(g, 3, tabelas);
            std::vector<std::string> perguntas;
            f.PerguntaFormula = [&](const std::string &t) {
                perguntas.push_back(t);
                return c.resposta;
            };
            f.Paginas()->setCurrentIndex(tvCalculada);
            f.CampoFormula()->setText(QString::fromUtf8(c.formula));
            f.accept();
            if (c.texto.empty()) {
                QVERIFY2(perguntas.empty(), c.formula);
                QCOMPARE(f.result(), int(QDialog::Accepted));
                continue;
            }
            QCOMPARE(perguntas.size(), std::size_t(1));
            QCOMPARE(QString::fromStdString(perguntas[0]), QString::fromStdString(c.texto + fim));
            QCOMPARE(f.result(),
                     int(c.resposta == Resposta::Sim ? QDialog::Accepted : QDialog::Rejected));
        }
    }

    void editorDeTabelas() {
        QTemporaryDir d;
        TTabelasVariaveis tabelas(d.path().toStdString() + "/TAB_VAR.QVT");
        tabelas.Acrescenta("Padrão", TTabelaQualitativa{{"Baixo", 1}});
        {
            TFTabEditor e(tabelas, TipoTabela::Qualitativa, std::nullopt, false);
            QCOMPARE(e.windowTitle(), QStringLiteral("Tabela de variável qualitativa"));
            std::vector<std::string> perguntas;
            e.Confirma = [&](const std::string &t) {
                perguntas.push_back(t);
                return Resposta::Sim;
            };
            e.CampoNome()->setText(QStringLiteral("padrão"));
            e.Grade()->item(0, 0)->setText(QStringLiteral("Médio"));
            e.Grade()->setCurrentCell(0, 0);
            QTest::keyClick(e.Grade(),
                            Qt::Key_Down); // leaving the last row fills its value and adds a row
            QCOMPARE(e.Grade()->rowCount(), 2);
            QCOMPARE(e.Grade()->item(0, 1)->text(), QStringLiteral("1,000"));
            e.Grade()->item(1, 0)->setText(QStringLiteral("Alto"));
            e.accept();
            QCOMPARE(perguntas, (std::vector<std::string>{
                                    "A tabela \r\npadrão já existe.\r\nDeseja substituí-la ?"}));
            QCOMPARE(e.NomeGravado(), std::string("padrão"));
        }
        QCOMPARE(tabelas.Nomes(TipoTabela::Qualitativa), (std::vector<std::string>{"padrão"}));
        auto t = tabelas.CarregaQualitativa("padrão");
        QVERIFY(t);
        QCOMPARE(t->size(), std::size_t(2));
        QCOMPARE((*t)[1].Rotulo, std::string("Alto"));
        QCOMPARE(double((*t)[1].Valor), 2.0);
        // A dichotomous table saved empty gets its default labels.
        TFTabEditor e(tabelas, TipoTabela::Dicotomica, std::nullopt, false);
        e.CampoNome()->setText(QStringLiteral("Tem"));
        e.accept();
        auto dic = tabelas.CarregaDicotomica("Tem");
        QVERIFY(dic);
        QCOMPARE((*dic)[0], std::string("Positivo"));
        QCOMPARE((*dic)[1], std::string("Negativo"));
    }

    void ordenar() {
        TDlgOrdenar d({"preço", "área"});
        QCOMPARE(d.Lista()->count(), 3);
        QCOMPARE(d.Lista()->item(0)->text(), QStringLiteral("Número das linhas"));
        QVERIFY(!d.BotaoOrdenar()->isEnabled());
        d.Lista()->setCurrentRow(2);
        QVERIFY(d.BotaoOrdenar()->isEnabled());
        d.OpcaoDecrescente()->setChecked(true);
        d.accept();
        QCOMPARE(d.Coluna(), 2);
        QVERIFY(!d.Crescente());
        TDlgOrdenar outra({"x"}); // the direction is remembered for the run
        QVERIFY(outra.OpcaoDecrescente()->isChecked());
        outra.OpcaoDecrescente()->setChecked(false);
    }

    void confirmacao() {
        for (int i = 0; i < 3; ++i) {
            TFConfirma c(QStringLiteral("Deseja?"), true);
            QPushButton *b[] = {c.BotaoSim(), c.BotaoNao(), c.BotaoCancelar()};
            QTimer::singleShot(0, b[i], &QPushButton::click);
            c.exec();
            QCOMPARE(int(c.Escolha()), i); // Sim, Nao, Cancelar in that order
        }
        TFConfirma c(QStringLiteral("Deseja?"), false);
        QVERIFY(!c.BotaoCancelar());
        QTimer::singleShot(0, &c, &QDialog::reject);
        c.exec();
        QCOMPARE(int(c.Escolha()), int(Resposta::Nao));
        QCOMPARE(TFormCelulaVazia::Texto("área", "7"),
                 std::string("A variável \"área\" da amostragem 7 está em branco."));
    }

    // The work runs on another thread; the window appears, its button sets
    // the cancel flag, and the work stops at its next step.
    void progressoInterrompido() {
        std::atomic<int> passos{0};
        QTimer relogio;
        relogio.setInterval(20);
        connect(&relogio, &QTimer::timeout, [&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *p = qobject_cast<TFProgressao *>(w);
                    p && p->isVisible() && p->BotaoInterromper()->isVisible())
                    p->BotaoInterromper()->click();
        });
        relogio.start();
        bool completo = ExecutaComProgresso(nullptr, [&](TProgresso &p) {
            p.Inicia("Ordenando planilha . . .", 0, 1000, true);
            for (int i = 0; i < 1000 && !p.Cancelado(); ++i) {
                QThread::msleep(10);
                p.Avanca(i);
                ++passos;
            }
            p.Termina();
        });
        QVERIFY(!completo);
        QVERIFY(passos > 0 && passos < 1000);
        // Short work shows nothing and completes; a failure comes back here.
        QVERIFY(ExecutaComProgresso(nullptr, [](TProgresso &) {}));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, ExecutaComProgresso(nullptr, [](TProgresso &) {
                                     throw std::runtime_error("x");
                                 }));
    }

    // A failure inside an event handler reaches the error dialog;
    // "Prosseguir" returns to the loop, "Encerrar programa" ends the program.
    void falhaInesperada() {
        auto *app = qobject_cast<TAplicacao *>(QCoreApplication::instance());
        QVERIFY(app);
        auto pergunta = app->PerguntaErro;
        auto encerra = app->Encerra;
        QStringList detalhes;
        int encerrou = 0;
        TAplicacao::EscolhaErro escolha = TAplicacao::EscolhaErro::Prosseguir;
        app->PerguntaErro = [&](const QString &d) {
            detalhes << d;
            return escolha;
        };
        app->Encerra = [&] { ++encerrou; };
        Falha f;
        // "Prosseguir" abandons the command: its progress window goes, the search's too.
        TFProgressoPesquisa pesquisa;
        pesquisa.show();
        QCoreApplication::postEvent(&f, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(detalhes, QStringList{"falha de teste"});
        QCOMPARE(encerrou, 0);
        QVERIFY(!pesquisa.isVisible());
        escolha = TAplicacao::EscolhaErro::Encerrar;
        QCoreApplication::postEvent(&f, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(encerrou, 1);
        app->PerguntaErro = pergunta;
        app->Encerra = encerra;
    }
};

ZELTO_TESTE_GUI(TesteDialogos)
#include "TesteDialogos.moc"
