// The significance and confidence settings dialog: levels read from the
// working file and shown in percent, the configuration list by description,
// choosing and saving named configurations, the zero-level question, refused
// texts, edits written back and read again, the automatic-sanitation option,
// the page chosen by the caller, and the panels that follow the choices.
#include "TesteGui.h"

#include "gui/dialogs/FSignificancias.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <deque>
#include <fstream>
#include <iterator>

using namespace zelto;
using namespace zelto::teste;
namespace fs = std::filesystem;
using T = TSignificancias;

namespace {

// A folder of its own for the working files and configurations, and the record in force that
// the dialog edits, from the defaults.
struct Pasta {
    QTemporaryDir dir;
    fs::path p{dir.path().toStdString()};
    TSignificancias registro;
    std::deque<Resposta> respostas;
    std::vector<std::string> perguntas, avisos;
    std::string nome;

    fs::path Trabalho(bool inferencial = true) const {
        return ArquivoSignificancias(inferencial, p);
    }
    void Escreve(const std::string &arquivo, const std::string &dados) const {
        std::ofstream(p / arquivo, std::ios::binary | std::ios::trunc) << dados;
    }
    std::string Le(const fs::path &arquivo) const {
        std::ifstream in(arquivo, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The working file as the main window loads it when it sets the mode.
    void Carrega(const std::string &dados, bool inferencial = true) {
        std::ofstream(Trabalho(inferencial), std::ios::binary | std::ios::trunc) << dados;
        QVERIFY(CarregaSignificancias(Trabalho(inferencial), Trabalho(inferencial), registro));
    }
    std::unique_ptr<TFSignificancias> Dialogo(PaginaSignificancias pg = pgSignificancias,
                                              bool inferencial = true, bool sanear = false) {
        auto f = std::make_unique<TFSignificancias>(registro, pg, inferencial, sanear, p);
        f->Confirma = [this](const std::string &t) {
            perguntas.push_back(t);
            Resposta r = respostas.empty() ? Resposta::Cancelar : respostas.front();
            if (!respostas.empty()) respostas.pop_front();
            return r;
        };
        f->Avisa = [this](const std::string &t) { avisos.push_back(t); };
        f->PedeNome = [this](const fs::path &) { return nome; };
        return f;
    }
    // The record as the working file holds it, read afresh.
    TSignificancias NoDisco(bool inferencial = true) const {
        TSignificancias s;
        s.Le(TArquivoIni(Trabalho(inferencial)));
        return s;
    }
};

// A field of the dialog: a real, an integer, or else the criterion's parameter.
struct Alvo {
    double T::*real = nullptr;
    std::int32_t T::*inteiro = nullptr;
    QLineEdit *Em(const TFSignificancias &f, CriterioSaneamento c) const {
        return real ? f.Campo(real) : inteiro ? f.Campo(inteiro) : f.CampoParametro(c);
    }
};

QStringList Itens(const QComboBox *c) {
    QStringList r;
    for (int i = 0; i < c->count(); ++i)
        r << c->itemText(i);
    return r;
}

} // namespace

class TesteSignificancias : public QObject {
    Q_OBJECT
  private slots:
    void niveisLidosDoArquivo() {
        // Working file, the control and the text it shows, the stored value after "&Fechar".
        struct Caso {
            const char *arquivo;
            QString kolmogorov, durbin, cook;
            double T::*campo;
            double guardado;
        } casos[] = {
            {"[Geral]\r\nsk=15\r\n", "15 %", "5,0 %", "0,50", &T::KolmogorovSmirnov, 0.15},
            {"[Geral]\r\nsk=12\r\n", "20 %", "5,0 %", "0,50", &T::KolmogorovSmirnov, 0.20},
            {"[Geral]\r\nsfo=5\r\n", "20 %", "5,0 %", "0,50", &T::TesteCook, 0.005},
            {"[Geral]\r\nsfo=12\r\nsdw=3\r\n", "20 %", "2,5 %", "1,20", &T::TesteCook, 0.012},
            {"[Geral]\r\nsdw=1\r\n", "20 %", "1,0 %", "0,50", &T::DurbinWatson, 0.01},
            // Not offered: the choice stays as it was.
            {"[Geral]\r\nsdw=4\r\n", "20 %", "5,0 %", "0,50", &T::DurbinWatson, 0.05},
        };
        for (const Caso &c : casos) {
            Pasta d;
            d.Carrega(c.arquivo);
            auto f = d.Dialogo(pgContinuacao);
            QCOMPARE(f->CaixaKolmogorov()->currentText(), c.kolmogorov);
            QCOMPARE(f->CaixaDurbinWatson()->currentText(), c.durbin);
            QCOMPARE(f->Campo(&T::TesteCook)->text(), c.cook);
            f->accept();
            QCOMPARE(f->result(), int(QDialog::Accepted));
            QCOMPARE(d.registro.*c.campo, c.guardado);
            QCOMPARE(d.NoDisco().*c.campo, c.guardado);
        }
    }

    void configuracoesPorDescricao() {
        Pasta d;
        d.Escreve("A.NRM", "[Geral]\r\nDcr=Norma A\r\nstcc=10\r\n");
        d.Escreve("b.nrm", "[Geral]\r\nstcc=15\r\nsfm=1\r\n");
        d.Escreve("c.txt", "[Geral]\r\nDcr=Outra\r\n");
        d.Carrega("[Geral]\r\nDcr=Norma A\r\nstcc=30\r\n");
        const std::string trabalho = d.Le(d.Trabalho());
        auto f = d.Dialogo();
        QCOMPARE(Itens(f->CaixaDescricao()), (QStringList{"Norma A", "NENHUM"}));
        // The configuration that bears the description is selected; the record
        // kept since is shown, not the configuration's levels.
        QCOMPARE(f->CampoArquivo()->text(), QStringLiteral("A.NRM"));
        QCOMPARE(f->Campo(&T::TesteCorrelacao)->text(), QStringLiteral("30,00"));

        // Choosing fills the controls; Escape stores nothing.
        f->EscolheConfiguracao(1);
        QCOMPARE(f->Campo(&T::TesteCorrelacao)->text(), QStringLiteral("15,00"));
        QCOMPARE(f->CaixaDescricao()->currentText(), QStringLiteral("Configuração Padrão"));
        QCOMPARE(f->CampoArquivo()->text(), QStringLiteral("b.nrm"));
        QTest::keyClick(f.get(), Qt::Key_Escape);
        QCOMPARE(f->result(), int(QDialog::Rejected));
        QVERIFY(!f->Alterou());
        QCOMPARE(d.registro.TesteCorrelacao, 0.30);
        QCOMPARE(d.Le(d.Trabalho()), trabalho);

        // Chosen and closed: the record and the working file take it.
        auto g = d.Dialogo();
        g->EscolheConfiguracao(0);
        g->accept();
        QVERIFY(g->Alterou());
        QCOMPARE(d.registro.TesteCorrelacao, 0.10);
        QCOMPARE(d.NoDisco().TesteCorrelacao, 0.10);
        QCOMPARE(d.NoDisco().Descricao, std::string("Norma A"));
    }

    void gravarConfiguracao() {
        const std::string existente = "[Geral]\r\nDcr=Antiga\r\nstcc=10\r\n";
        // Name typed, answer to the overwrite question, whether it was asked,
        // whether X.NRM is rewritten, the descriptions listed afterwards.
        struct Caso {
            std::string nome;
            Resposta resposta;
            bool perguntou, regravado;
            QStringList lista;
        } casos[] = {
            {"X", Resposta::Nao, true, false, {"Antiga"}},
            {"X.nrm", Resposta::Cancelar, true, false, {"Antiga"}},
            {"X.NRM", Resposta::Sim, true, true, {"Minha"}},
            {"", Resposta::Sim, false, false, {"Antiga"}},
            {"*.NRM", Resposta::Sim, false, false, {"Antiga"}},
            {"nova", Resposta::Sim, false, false, {"Minha", "Antiga"}},
        };
        for (const Caso &c : casos) {
            Pasta d;
            d.Escreve("X.NRM", existente);
            auto f = d.Dialogo();
            f->CaixaDescricao()->setEditText(QStringLiteral("Minha"));
            f->Campo(&T::TesteModelo)->setText(QStringLiteral("2"));
            d.nome = c.nome;
            d.respostas = {c.resposta};
            f->GravaConfiguracaoNomeada();
            QCOMPARE(d.perguntas.empty(), !c.perguntou);
            if (c.perguntou) QCOMPARE(d.perguntas[0], PerguntaSobrescrever("X.NRM"));
            const std::string agora = d.Le(d.p / "X.NRM");
            QCOMPARE(agora == existente, !c.regravado);
            if (c.regravado) QCOMPARE(agora, d.Le(d.Trabalho()));
            // The values were stored and written before the name was asked.
            QCOMPARE(d.registro.TesteModelo, 0.02);
            QCOMPARE(d.NoDisco().Descricao, std::string("Minha"));
            QCOMPARE(Itens(f->CaixaDescricao()), c.lista);
            QCOMPARE(f->result(), 0); // not closed
        }
    }

    void camposRecusados() {
        // The field, its text, the criterion, the page that must show it, and
        // whether it is a zero (asked about) or a text refused with a notice.
        struct Caso {
            Alvo alvo;
            const char *texto;
            CriterioSaneamento criterio;
            int pagina;
            bool nulo;
        } casos[] = {
            {{&T::TesteCorrelacao}, "0", csDesvioPadrao, pgSignificancias, true},
            {{&T::TesteSequencias}, "", csDesvioPadrao, pgContinuacao, true},
            {{&T::TesteCook}, "0,04", csDesvioPadrao, pgContinuacao, true}, // 0 per mille
            {{}, "0", csDesvioPadrao, pgCriterios, true},
            {{}, "0,00", csMedia, pgCriterios, true},
            {{&T::ConfiancaEstimativa}, " 0 ", csDesvioPadrao, pgConfiancas, true},
            {{&T::TesteModelo}, "abc", csDesvioPadrao, pgSignificancias, false},
            {{&T::TesteModelo}, "5%", csDesvioPadrao, pgSignificancias, false},
            {{&T::ConfiancaRegressores}, "100", csDesvioPadrao, pgConfiancas, false},
            {{&T::TesteCook}, "-1", csDesvioPadrao, pgContinuacao, false},
            {{&T::ExcessoSuperior}, "1.5.0", csDesvioPadrao, pgExtrapolacoes, false},
            {{&T::IntervaloFatorInferior}, "um", csDesvioPadrao, pgExtrapolacoes, false},
            {{nullptr, &T::MultiplicadorAmostras}, "1,5", csDesvioPadrao, pgCriterios, false},
            {{}, "dois", csMedia, pgCriterios, false},
        };
        for (const Caso &c : casos) {
            for (Resposta r : {Resposta::Sim, Resposta::Nao}) {
                Pasta d;
                d.Carrega("[Geral]\r\n");
                const std::string trabalho = d.Le(d.Trabalho());
                auto f = d.Dialogo(pgExtrapolacoes);
                f->show();
                f->OpcaoSaneamento(c.criterio)->setChecked(true);
                f->OpcaoExtrapolacao(meAdmitidaComLimites)->setChecked(true);
                // A later zero field: only the first one is taken.
                f->Campo(&T::ConfiancaEstimativa)->setText(QStringLiteral("0"));
                QLineEdit *campo = c.alvo.Em(*f, c.criterio);
                campo->setText(QString::fromUtf8(c.texto));
                d.respostas = {r};
                f->BotaoFechar()->click();
                if (c.nulo) {
                    QCOMPARE(d.perguntas, std::vector<std::string>{kPerguntaSignificanciaNula});
                } else {
                    QVERIFY(d.perguntas.empty());
                    QCOMPARE(d.avisos.size(), std::size_t(1));
                    QVERIFY(d.avisos[0].find('"' + std::string(c.texto) + '"') !=
                            std::string::npos);
                }
                QVERIFY(!f->Alterou());
                QCOMPARE(d.Le(d.Trabalho()), trabalho);
                // A refused text, or a zero the user wants to correct, keeps the dialog open.
                QCOMPARE(f->isVisible(), !c.nulo || r == Resposta::Sim);
                if (f->isVisible()) {
                    QCOMPARE(f->Paginas()->currentIndex(), c.pagina);
                    QCOMPARE(f->focusWidget(), campo);
                } else {
                    QCOMPARE(f->result(), int(QDialog::Rejected));
                }
            }
        }
    }

    void edicoesGravadasERelidas() {
        Pasta d;
        // A real no control can show exactly survives an untouched close.
        d.Carrega("[Geral]\r\ncals=0,333333\r\n");
        {
            auto f = d.Dialogo();
            QCOMPARE(f->Campo(&T::AmplitudeEstimativa)->text(), QStringLiteral("33,33"));
            f->accept();
            QVERIFY(!f->Alterou());
            QCOMPARE(d.registro.AmplitudeEstimativa, 0.333333);
        }
        // Texts typed and the fractions they stand for.
        const struct {
            double T::*campo;
            const char *texto;
            double valor;
        } reais[] = {{&T::TesteCorrelacao, "10", 0.10},
                     {&T::TesteCook, "1,2", 0.012},
                     {&T::ExcessoSuperior, "50", 0.5},
                     {&T::IntervaloFatorSuperior, "2", 2}};
        auto f = d.Dialogo();
        TSignificancias esperado = d.registro;
        f->OpcaoExtrapolacao(meAdmitidaComLimites)->setChecked(true);
        for (const auto &r : reais) {
            f->Campo(r.campo)->setText(QString::fromUtf8(r.texto));
            esperado.*r.campo = r.valor;
        }
        f->CaixaDescricao()->setEditText(QStringLiteral("Norma própria"));
        f->CaixaKolmogorov()->setCurrentIndex(3);
        f->CaixaDurbinWatson()->setCurrentIndex(1);
        f->CaixaNorma(mnModelo)->setChecked(true);
        f->OpcaoSaneamento(csArley)->setChecked(true);
        f->CaixaArley()->setCurrentIndex(3);
        f->Campo(&T::VariaveisExtrapolando)->setText(QStringLiteral("2"));
        f->Caixa(&T::SemExtrapolarQualitativas)->setChecked(false);
        f->accept();
        QVERIFY(f->Alterou());
        esperado.Descricao = "Norma própria";
        esperado.KolmogorovSmirnov = 0.05;
        esperado.DurbinWatson = 0.025;
        esperado.Normatizada[mnModelo] = true;
        esperado.Saneamento = csArley;
        esperado.ParametroSaneamento = 0.1;
        esperado.Extrapolacao = meAdmitidaComLimites;
        esperado.VariaveisExtrapolando = 2;
        esperado.SemExtrapolarQualitativas = false;
        QCOMPARE(d.registro, esperado);
        QCOMPARE(d.NoDisco(), esperado);
        QCOMPARE(d.Dialogo()->CaixaArley()->currentText(), QStringLiteral("0,1%"));
    }

    void entradaPaginaESaneamento() {
        // Page asked for, option in, whether the box is ticked, how the dialog
        // ends (Enter on "&Fechar" or Escape), option out, change reported.
        struct Caso {
            PaginaSignificancias pagina;
            bool entrada, marca, fecha, saida, alterou;
        } casos[] = {
            {pgSignificancias, false, false, true, false, false},
            {pgContinuacao, false, true, true, true, true},
            {pgConfiancas, true, true, true, false, true},
            {pgCriterios, true, false, true, true, false},
            {pgExtrapolacoes, false, true, false, false, false},
        };
        for (const Caso &c : casos) {
            Pasta d;
            bool visto = false;
            QTimer::singleShot(0, [&] {
                auto *f = qobject_cast<TFSignificancias *>(QApplication::activeModalWidget());
                QVERIFY(f);
                visto = true;
                QCOMPARE(f->Paginas()->currentIndex(), int(c.pagina));
                QCOMPARE(f->CaixaSaneamentoAutomatico()->isChecked(), c.entrada);
                if (c.marca) f->CaixaSaneamentoAutomatico()->toggle();
                QTest::keyClick(f, c.fecha ? Qt::Key_Return : Qt::Key_Escape);
            });
            bool sanear = c.entrada;
            const bool alterou = MostraSignificancias(nullptr, d.registro, c.pagina, true, sanear, d.p);
            QVERIFY(visto);
            QCOMPARE(sanear, c.saida);
            QCOMPARE(alterou, c.alterou);
            QCOMPARE(fs::exists(d.Trabalho()), c.fecha);
        }
    }

    void paineisSeguemEscolhas() {
        Pasta d;
        d.Carrega("[Geral]\r\nnasl=1\r\n", false);
        auto f = d.Dialogo(pgExtrapolacoes, false);
        f->show();
        QVERIFY(f->PainelDescritivo()->isVisible() && !f->PainelInferencial()->isVisible());
        QVERIFY(!f->Campo(&T::AmplitudeEstimativa)->isEnabled());
        f->Caixa(&T::AmplitudeIlimitada)->setChecked(false);
        QVERIFY(f->Campo(&T::AmplitudeEstimativa)->isEnabled());
        for (int i : {2, 0, 3, 1}) {
            f->OpcaoSaneamento(CriterioSaneamento(i))->setChecked(true);
            QCOMPARE(f->PaginasCriterio()->currentIndex(), i);
        }
        auto g = d.Dialogo(pgExtrapolacoes, true);
        g->show();
        QVERIFY(g->PainelInferencial()->isVisible() && !g->PainelDescritivo()->isVisible());
        for (int m : {0, 2, 1}) {
            g->OpcaoExtrapolacao(ModoExtrapolacao(m))->setChecked(true);
            QCOMPARE(g->Campo(&T::ExcessoSuperior)->isEnabled(), m == meAdmitidaComLimites);
        }
        g->Campo(&T::ExcessoSuperior)->setText(QStringLiteral("abc"));
        g->Campo(&T::ExcessoInferior)->setText(QStringLiteral("30"));
        g->OpcaoExtrapolacao(meAdmitida)->setChecked(true);
        // A field left disabled with a text that is no number keeps its value.
        g->accept();
        QCOMPARE(g->result(), int(QDialog::Accepted));
        QCOMPARE(d.registro.ExcessoSuperior, 1.0);
        QCOMPARE(d.registro.ExcessoInferior, 0.3);
        QCOMPARE(d.NoDisco(true).ExcessoInferior, 0.3);
    }

    void nomeDaConfiguracao() {
        Pasta d;
        for (const char *a : {"UM.NRM", "dois.nrm", "tres.txt"})
            d.Escreve(a, "");
        TFSalvaSigConf s(d.p);
        QCOMPARE(s.CampoNome()->text(), QStringLiteral("*.NRM"));
        QCOMPARE(s.ListaArquivos()->count(), 2);
        s.CampoNome()->setText(QStringLiteral("*.txt"));
        s.accept(); // a mask filters and keeps the prompt open
        QCOMPARE(s.result(), 0);
        s.ListaArquivos()->setCurrentRow(0);
        QCOMPARE(s.Nome(), std::string("tres.txt"));
    }
};
ZELTO_TESTE_GUI(TesteSignificancias)
#include "TesteSignificancias.moc"
