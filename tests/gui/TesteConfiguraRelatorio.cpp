// The report settings dialogs driven as the valuer would: an item's font changed in its dialog
// reaches the item, the settings file and the text written for it; "Aplicar a Todos" reaches
// every item of the kind and no other; a cancelled dialog changes nothing; a named
// configuration saved and read back through the dialog; the check marks and their counts.
//
// With ZELTO_CAPTURAS set to a folder, each dialog is also saved there as a PNG.
//
// It registers its class with the test runner by hand.
#include "chart/Chart.h"
#include "evaluation/ArquivoItens.h"
#include "evaluation/Avaliacao.h"
#include "gui/dialogs/FProgressao.h"
#include "gui/reportconfig/ComponentesConfig.h"
#include "gui/reportconfig/ConfiguraRelatorio.h"
#include "gui/reportconfig/DLGCNFGrafico.h"
#include "gui/reportconfig/DlgItem.h"
#include "gui/reportconfig/DlgConfiguraCelula.h"
#include "gui/reportconfig/EditorCabecalho.h"
#include "gui/reportconfig/FCNFTexto.h"
#include "gui/reportconfig/FConfiguraRelatorio.h"
#include "gui/reportconfig/FOpcoes.h"
#include "writer/EscritorEstrutura.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>
#include <utility>

namespace zelto::teste {
using Fabrica = std::function<std::unique_ptr<QObject>()>;
int RegistraClasse(const char *nome, Fabrica f);
} // namespace zelto::teste

using namespace zelto;

namespace {

// Answers the next modal dialog of class D (after the call that opens it has started).
template <class D> void Responde(std::function<void(D &)> f) {
    QTimer::singleShot(0, [f] {
        auto *d = qobject_cast<D *>(QApplication::activeModalWidget());
        if (!d) {
            if (QWidget *outro = QApplication::activeModalWidget()) outro->close();
            QFAIL("the expected dialog is not on screen");
        }
        f(*d);
        // A failed check inside the handler leaves the dialog open: close it so the test ends.
        if (QTest::currentTestFailed() && d->isVisible()) d->reject();
    });
}

template <class W> W *Filho(QObject &pai, const char *nome) {
    W *w = pai.findChild<W *>(QString::fromLatin1(nome));
    if (!w) qWarning("no child %s", nome);
    return w;
}

void Clica(QObject &pai, const char *nome) { Filho<QAbstractButton>(pai, nome)->click(); }

// Saves the dialog as a PNG when captures are asked for.
void Captura(QWidget &w, const char *nome) {
    const QByteArray pasta = qgetenv("ZELTO_CAPTURAS");
    if (pasta.isEmpty()) return;
    w.adjustSize();
    QApplication::processEvents();
    w.grab().save(QString::fromUtf8(pasta) + QLatin1Char('/') + QString::fromLatin1(nome) + QStringLiteral(".png"));
}

int PrimeiroDoTipo(const TListaItens &itens, TTipoItem tipo, int depois = -1) {
    for (int i = depois + 1; i < static_cast<int>(itens.size()); ++i)
        if (itens[static_cast<std::size_t>(i)]->Tipo == tipo) return i;
    return -1;
}

// The runs of the title block of an item, as the structure writer records them.
QJsonArray RunsDoTitulo(const TItemAvaliacao &item) {
    TEscritorEstrutura e(QString{});
    TConteudo c;
    c.BeginItem(item.Descricao().Numero, QString::fromLatin1(item.Descricao().Classe), QString::fromStdString(item.Titulo));
    TAvaliacao::BlocoTitulo(c, item, item.Titulo);
    c.Escreve(e);
    const QJsonArray partes = e.Documento().object()[QStringLiteral("items")].toArray()[0].toObject()[QStringLiteral("parts")].toArray();
    for (const QJsonValue bloco : partes[0].toArray()) {
        const QJsonObject b = bloco.toObject();
        if (b[QStringLiteral("paragraph")].toString() == QString::fromStdString(item.Titulo))
            return b[QStringLiteral("runs")].toArray();
    }
    return {};
}

// The titles of the progress windows shown while it lives, and the steps of the last run.
class EspiaProgresso : public QObject, public TProgresso {
  public:
    EspiaProgresso() { qApp->installEventFilter(this); }
    ~EspiaProgresso() override { qApp->removeEventFilter(this); }
    std::vector<std::string> titulos;
    double maximo = -1, ultimo = -1;
    bool terminou = false;
    void Inicia(const std::string &, double, double m, bool) override { maximo = m; }
    void Avanca(double p) override { ultimo = p; }
    void Termina() override { terminou = true; }

  protected:
    bool eventFilter(QObject *o, QEvent *e) override {
        if (auto *p = qobject_cast<TFProgressao *>(o); p && e->type() == QEvent::Hide) titulos.push_back(p->Titulo());
        return false;
    }
};

} // namespace

class TesteConfiguraRelatorio : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> pasta_;

    std::filesystem::path Arquivo() const { return ArquivoRelatorioUsuario(); }

  private slots:
    void init() {
        pasta_ = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", pasta_->path().toUtf8());
    }

    // A new title font in a text item's dialog: the item, the text written for it and the
    // settings file change; no other item does.
    void fonteDoTexto() {
        TListaItens itens = CriaCatalogo();
        const int i = PrimeiroDoTipo(itens, tiTexto);
        const int outro = PrimeiroDoTipo(itens, tiTexto, i);
        QVERIFY(i >= 0 && outro > i);
        TFonte nova;
        nova.Nome = QStringLiteral("Courier New");
        nova.Tamanho = 14;
        nova.Negrito = true;
        QCOMPARE(RunsDoTitulo(*itens[static_cast<std::size_t>(i)])[0].toObject()[QStringLiteral("size")].toInt(), 10);
        Responde<TFCNFTexto>([&](TFCNFTexto &d) {
            Filho<TBotaoFonte>(d, "Tit")->DefineFonte(nova);
            Filho<QAbstractButton>(d, "Espacamento1")->click();
            Captura(d, "FCNFTexto");
            Clica(d, "Confirma");
        });
        QVERIFY(ConfiguraItem(nullptr, itens, i, true));
        const TItemAvaliacao &item = *itens[static_cast<std::size_t>(i)];
        QCOMPARE(item.FonteTitulo, nova);
        QCOMPARE(item.Espacamento, std::uint16_t{150});
        QCOMPARE(itens[static_cast<std::size_t>(outro)]->FonteTitulo, TFonte());
        const QJsonObject run = RunsDoTitulo(item)[0].toObject();
        QCOMPARE(run[QStringLiteral("font")].toString(), QStringLiteral("Courier New"));
        QCOMPARE(run[QStringLiteral("size")].toInt(), 14);
        QCOMPARE(run[QStringLiteral("bold")].toBool(), true);
        // The report run reads the settings file: a fresh catalogue finds the font there.
        TListaItens lidos = CriaCatalogo();
        TConfiguracaoRelatorio c;
        QVERIFY(LeConfiguracaoRelatorio(Arquivo(), c, lidos));
        QCOMPARE(lidos[static_cast<std::size_t>(i)]->FonteTitulo, nova);
        QCOMPARE(lidos[static_cast<std::size_t>(outro)]->FonteTitulo, TFonte());

        // Confirming without a change is not a change, and cancelling changes nothing.
        Responde<TFCNFTexto>([](TFCNFTexto &d) { Clica(d, "Confirma"); });
        QVERIFY(!ConfiguraItem(nullptr, itens, i, true));
        Responde<TFCNFTexto>([](TFCNFTexto &d) {
            Filho<TBotaoFonte>(d, "Crp")->DefineFonte(TFonte{QStringLiteral("Times New Roman"), 20});
            Clica(d, "Cancela");
        });
        QVERIFY(!ConfiguraItem(nullptr, itens, i, true));
        QCOMPARE(item.FonteCorpo, TFonte());
    }

    // "Aplicar a Todos" from a later text item reaches the earlier ones: the first item changed
    // is told back, so that the report is laid out again from there.
    void aplicarATodosPrimeiroMudado() {
        TListaItens itens = CriaCatalogo();
        const int primeiro = PrimeiroDoTipo(itens, tiTexto);
        const int depois = PrimeiroDoTipo(itens, tiTexto, primeiro);
        QVERIFY(primeiro >= 0 && depois > primeiro);
        Responde<TFCNFTexto>([&](TFCNFTexto &d) {
            Filho<QAbstractButton>(d, "Espacamento1")->click();
            Clica(d, "AplicarTodos");
        });
        int mudado = -1;
        QVERIFY(ConfiguraItem(nullptr, itens, depois, true, std::nullopt, &mudado));
        QCOMPARE(mudado, primeiro);
    }

    // "Aplicar a Todos" in the graph dialog changes every graph item (both kinds), no table;
    // a series graph keeps its own series options.
    void aplicarATodosGraficos() {
        TListaItens itens = CriaCatalogo();
        const int g = PrimeiroDoTipo(itens, tiGrafico);
        const int serie = PrimeiroDoTipo(itens, tiSeries);
        QVERIFY(g >= 0 && serie >= 0);
        auto &s = static_cast<TItemAvaliacaoGraf &>(*itens[static_cast<std::size_t>(serie)]);
        s.OpcoesMGr = {0, 1, 1, 1, 1, 0};
        const std::string tabelasAntes = [&] {
            TArquivoIni ini;
            for (const auto &it : itens)
                if (it->Tipo == tiTabela || it->Tipo == tiTexto) it->GravaConfiguracao(ini);
            return ini.Conteudo();
        }();
        Responde<TDLGCNFGrafico>([&](TDLGCNFGrafico &d) {
            Filho<TBotaoCor>(d, "Cor0")->DefineCor(Cor(255, 255, 0));
            emit Filho<TBotaoCor>(d, "Cor0")->Mudou();
            Filho<QSpinBox>(d, "Altura")->setValue(60);
            Filho<QComboBox>(d, "NumeroCores")->setCurrentIndex(0);
            Filho<QCheckBox>(d, "OcultaY")->setChecked(true);
            // The preview is drawn by the chart component from the same settings.
            QCOMPARE(d.Previa().FundoChart, Cor(255, 255, 0));
            QVERIFY(d.Previa().EscalaY.Oculta);
            QCOMPARE(Filho<QLabel>(d, "TamanhoEstimado")->text(),
                     TamanhoEstimado(d.Previa().Largura, d.Previa().Altura, 2));
            Captura(d, "DLGCNFGrafico");
            Clica(d, "AplicarTodos");
        });
        QVERIFY(ConfiguraItem(nullptr, itens, g, true));
        int graficos = 0;
        for (const auto &it : itens) {
            const auto *gr = dynamic_cast<const TItemAvaliacaoGraf *>(it.get());
            if (it->Tipo != tiGrafico && it->Tipo != tiSeries) continue;
            ++graficos;
            QVERIFY(gr);
            QCOMPARE(gr->Cores[0], Cor(255, 255, 0));
            QCOMPARE(gr->AlturaGrafico, std::uint8_t{60});
            QCOMPARE(gr->OpcoesSerie[0] & 0x03, 0);
            QCOMPARE(gr->Eixos[1].Modo, std::uint8_t{2});
        }
        QVERIFY(graficos > 2);
        QCOMPARE(s.OpcoesMGr, (std::array<std::uint8_t, 6>{0, 1, 1, 1, 1, 0}));
        TArquivoIni ini;
        for (const auto &it : itens)
            if (it->Tipo == tiTabela || it->Tipo == tiTexto) it->GravaConfiguracao(ini);
        QCOMPARE(ini.Conteudo(), tabelasAntes);

        // The series options of a series graph, through its dialog.
        Responde<TDLGCNFGrafico>([&](TDLGCNFGrafico &d) {
            Responde<TFOpcoes>([](TFOpcoes &o) {
                Captura(o, "FOpcoes");
                Clica(o, "Objeto");
                Clica(o, "Limitar");
                Filho<QSpinBox>(o, "Limite")->setValue(4);
                Clica(o, "Confirma");
            });
            Clica(d, "Opcoes");
            Clica(d, "Confirma");
        });
        QVERIFY(ConfiguraItem(nullptr, itens, serie, true));
        QCOMPARE(s.OpcoesMGr, (std::array<std::uint8_t, 6>{0, 1, 1, 1, 1, 1}));
        QCOMPARE(s.ValorMGr, std::uint16_t{4});
    }

    // A table's region format through the cell dialog: border kind, colour names, font; the
    // inner sides follow the left and top ones. "Aplicar a Todos" reaches every table.
    void formatoDaTabela() {
        TListaItens itens = CriaCatalogo();
        const int t = PrimeiroDoTipo(itens, tiTabela);
        const int outra = PrimeiroDoTipo(itens, tiTabela, t);
        QVERIFY(t >= 0 && outra > t);
        Responde<TFCNFTabela>([&](TFCNFTabela &d) {
            Responde<TDlgConfiguraCelula>([](TDlgConfiguraCelula &c) {
                Filho<QComboBox>(c, "Borda2")->setCurrentIndex(4); // "Dupla", left
                Filho<QComboBox>(c, "Borda0")->setCurrentIndex(0); // none, top
                auto *fundo = Filho<TComboCor>(c, "Fundo");
                fundo->setCurrentIndex(2); // "Sombra" has the value of "Prata"
                QCOMPARE(fundo->Cor(), TCor{0xC0C0C0});
                Clica(c, "Negrito");
                Captura(c, "DlgConfiguraCelula");
                Clica(c, "Confirma");
            });
            Clica(d, "Regiao0");
            Captura(d, "FCNFTabela");
            Clica(d, "AplicarTodos");
        });
        QVERIFY(ConfiguraItem(nullptr, itens, t, true));
        for (const int k : {t, outra}) {
            const auto &f = static_cast<TItemAvaliacaoTab &>(*itens[static_cast<std::size_t>(k)]).Formatos[rtPrimeiraLinha];
            QCOMPARE(f.Fundo, TCor{0xC0C0C0});
            QVERIFY(f.Fonte.Negrito);
            QCOMPARE(f.Lados[2].Multiplicidade, std::uint8_t{2});
            QCOMPARE(f.Lados[4], f.Lados[2]);
            QCOMPARE(f.Lados[0].Tipo, std::uint8_t{0});
            QCOMPARE(f.Lados[5], f.Lados[0]);
            QCOMPARE(static_cast<TItemAvaliacaoTab &>(*itens[static_cast<std::size_t>(k)]).Formatos[rtCorpo],
                     TFormatoCelula{});
        }
    }

    // The colour names and border kinds as the cell dialog shows stored values.
    void coresEBordas() {
        QCOMPARE(NomeCor(0xC0C0C0), QStringLiteral("Prata"));
        QCOMPARE(NomeCor(0xFFFFFF), QStringLiteral("Branco"));
        QCOMPARE(NomeCor(0x123456), QString());
        TComboCor c(0xC0C0C0);
        QCOMPARE(c.currentText(), QStringLiteral("Prata"));
        c.DefineCor(0x123456); // kept, not lost
        QCOMPARE(c.Cor(), TCor{0x123456});
        QCOMPARE(c.count(), 21);
        struct {
            std::uint8_t t, m, e;
            int indice;
        } casos[] = {{0, 1, 1, 0}, {1, 0, 1, 0}, {1, 1, 0, 0}, {1, 1, 1, 1}, {1, 1, 2, 2},
                     {1, 1, 3, 3}, {1, 2, 1, 4}, {2, 1, 1, 5}, {3, 1, 1, 6}, {4, 1, 1, -1}};
        for (const auto &k : casos) QCOMPARE(IndiceTipoBorda(k.t, k.m, k.e), k.indice);
        // A kind the list does not have stays as it was.
        TComboBorda b(4, 1, 2);
        std::uint8_t t = 0, m = 0, e = 0;
        b.Aplica(t, m, e);
        QCOMPARE((std::array<int, 3>{t, m, e}), (std::array<int, 3>{4, 1, 2}));
        QCOMPARE(TamanhoEstimado(10, 10, 2), QStringLiteral("( 102 bytes )"));      // 54 + 8 + 40
        QCOMPARE(TamanhoEstimado(378, 378, 256), QStringLiteral("( 141 kbytes )")); // 54+1024+380*378
        QCOMPARE(TamanhoEstimado(1200, 1000, 256), QStringLiteral("( 1 Mbytes )"));
    }

    // Cancel puts back every change made in the dialog, the items' included anything.
    void cancelarNaoMuda() {
        TListaItens itens = CriaCatalogo();
        TConfiguracaoRelatorio cfg;
        const std::string antes = TextoConfiguracaoItens(itens);
        Responde<TFConfiguraRelatorio>([&](TFConfiguraRelatorio &d) {
            Filho<QSpinBox>(d, "Superior")->setValue(40);
            Filho<QCheckBox>(d, "NaoCientifica")->setChecked(true);
            Clica(d, "DesmarcarTodos");
            Responde<TFCNFTexto>([](TFCNFTexto &t) {
                Filho<TBotaoFonte>(t, "Cmn")->DefineFonte(TFonte{QStringLiteral("Courier New"), 8});
                Clica(t, "AplicarTodos");
            });
            Clica(d, "TodosTextos");
            QVERIFY(d.ItensMudaram());
            Clica(d, "Cancelar");
        });
        QVERIFY(!ConfiguraRelatorio(nullptr, itens, cfg, true));
        QVERIFY(cfg == TConfiguracaoRelatorio());
        QCOMPARE(TextoConfiguracaoItens(itens), antes);
        for (const auto &it : itens) QVERIFY(it->Incluido);
        QVERIFY(!std::filesystem::exists(Arquivo()));
    }

    // A configuration saved through the dialog and read back over later changes; confirming
    // writes the settings file.
    void gravaELeConfiguracao() {
        TListaItens itens = CriaCatalogo();
        TConfiguracaoRelatorio cfg;
        const QString cnf = pasta_->filePath(QStringLiteral("laudo.CNF"));
        EscolheArquivoConfiguracao = [&](QWidget *, bool) { return cnf; };
        Responde<TFConfiguraRelatorio>([&](TFConfiguraRelatorio &d) {
            Filho<QSpinBox>(d, "Esquerda")->setValue(30);
            Filho<QPlainTextEdit>(*Filho<TEditorCabecalho>(d, "Cabecalho"), "Texto")->setPlainText(QStringLiteral("Laudo"));
            auto *lista = Filho<QListWidget>(d, "Itens");
            lista->item(0)->setCheckState(Qt::Unchecked);
            Filho<QComboBox>(d, "Caracterizacao")->setCurrentText(QStringLiteral("II"));
            Clica(d, "Gravar");
            // Changes after the save, undone by reading it back.
            Filho<QSpinBox>(d, "Esquerda")->setValue(12);
            Filho<QComboBox>(d, "Caracterizacao")->setCurrentIndex(0);
            lista->item(0)->setCheckState(Qt::Checked);
            lista->item(1)->setCheckState(Qt::Unchecked);
            // The read shows its progress window at once here, however short it is.
            const int atraso = std::exchange(AtrasoJanelaProgresso, 0);
            EspiaProgresso espia;
            Clica(d, "Ler");
            AtrasoJanelaProgresso = atraso;
            QCOMPARE(espia.titulos, std::vector<std::string>{kLendoConfiguracao});
            QCOMPARE(Filho<QSpinBox>(d, "Esquerda")->value(), 30);
            QCOMPARE(Filho<QComboBox>(d, "Caracterizacao")->currentText(), QStringLiteral("II"));
            QCOMPARE(Filho<QComboBox>(d, "Identificacao")->currentText(), QStringLiteral("Não declarado"));
            QCOMPARE(lista->item(0)->checkState(), Qt::Unchecked);
            QCOMPARE(lista->item(1)->checkState(), Qt::Checked);
            Clica(d, "Confirma");
        });
        QVERIFY(ConfiguraRelatorio(nullptr, itens, cfg, true));
        EscolheArquivoConfiguracao = nullptr;
        QCOMPARE(cfg.MargemEsquerda, std::uint16_t{30});
        QCOMPARE(cfg.Cabecalho.Texto, QStringLiteral("Laudo"));
        QCOMPARE(cfg.Caracterizacao, std::optional<std::uint8_t>(2));
        QVERIFY(!cfg.Identificacao);
        QVERIFY(!itens[0]->Incluido && itens[1]->Incluido);
        for (const std::filesystem::path &p : {std::filesystem::path(cnf.toStdString()), Arquivo()}) {
            TListaItens lidos = CriaCatalogo();
            TConfiguracaoRelatorio c;
            QVERIFY(LeConfiguracaoRelatorio(p, c, lidos));
            QCOMPARE(c.MargemEsquerda, std::uint16_t{30});
            QVERIFY(!lidos[0]->Incluido && lidos[1]->Incluido);
        }
        // The read counts the items and eight steps before them, to the end.
        EspiaProgresso passos;
        TListaItens outros = CriaCatalogo();
        TConfiguracaoRelatorio c0;
        QVERIFY(LeConfiguracaoNomeada(cnf.toStdString(), Arquivo(), c0, outros, &passos, "x"));
        QCOMPARE(passos.maximo, static_cast<double>(outros.size() + 8));
        QCOMPARE(passos.ultimo, passos.maximo);
        QVERIFY(passos.terminou);
        // Saving under the settings file's own name leaves it whole.
        const QString proprio = QString::fromStdString(Arquivo().string());
        EscolheArquivoConfiguracao = [&](QWidget *, bool) { return proprio; };
        Responde<TFConfiguraRelatorio>([&](TFConfiguraRelatorio &d) {
            Clica(d, "Gravar");
            Clica(d, "Confirma");
        });
        QVERIFY(!ConfiguraRelatorio(nullptr, itens, cfg, true));
        EscolheArquivoConfiguracao = nullptr;
        TListaItens lidos = CriaCatalogo();
        TConfiguracaoRelatorio c;
        QVERIFY(LeConfiguracaoRelatorio(Arquivo(), c, lidos));
        QVERIFY(c == cfg);
        QCOMPARE(TextoConfiguracaoItens(lidos), TextoConfiguracaoItens(itens));
    }

    // Check marks and counts; the descriptive mode lists only the items it offers.
    void marcasEContagens() {
        TListaItens itens = CriaCatalogo();
        TConfiguracaoRelatorio cfg;
        int graficos = 0, tabelas = 0, outros = 0, descritivos = 0;
        for (const auto &it : itens) {
            (it->Tipo == tiGrafico || it->Tipo == tiSeries ? graficos : it->Tipo == tiTabela ? tabelas : outros)++;
            descritivos += it->OferecidoDescritivo;
        }
        Responde<TFConfiguraRelatorio>([&](TFConfiguraRelatorio &d) {
            auto *lista = Filho<QListWidget>(d, "Itens");
            QCOMPARE(lista->count(), kNumeroItens);
            QCOMPARE(Filho<QLabel>(d, "Contagem0")->text(), QStringLiteral("Total      : %1").arg(kNumeroItens));
            QCOMPARE(Filho<QLabel>(d, "Contagem1")->text(), QStringLiteral("Gráficos : %1").arg(graficos));
            QCOMPARE(Filho<QLabel>(d, "Contagem2")->text(), QStringLiteral("Tabelas  : %1").arg(tabelas));
            QCOMPARE(Filho<QLabel>(d, "Contagem3")->text(), QStringLiteral("Outros : %1").arg(outros));
            const int g = PrimeiroDoTipo(itens, tiGrafico);
            emit lista->itemDoubleClicked(lista->item(g));
            QVERIFY(!itens[static_cast<std::size_t>(g)]->Incluido);
            QCOMPARE(d.Contagem().Graficos, graficos - 1);
            QCOMPARE(Filho<QLabel>(d, "Contagem0")->text(), QStringLiteral("Total      : %1").arg(kNumeroItens - 1));
            Clica(d, "DesmarcarTodos");
            QCOMPARE(Filho<QLabel>(d, "Contagem0")->text(), QStringLiteral("Total      : 0"));
            Clica(d, "MarcarTodos");
            QCOMPARE(d.Contagem().Total, kNumeroItens);
            emit lista->itemDoubleClicked(lista->item(0));
            Filho<QTabWidget>(d, "Abas")->setCurrentIndex(1);
            Captura(d, "FConfiguraRelatorio-itens");
            Filho<QTabWidget>(d, "Abas")->setCurrentIndex(0);
            Captura(d, "FConfiguraRelatorio-pagina");
            Filho<QTabWidget>(d, "Abas")->setCurrentIndex(2);
            Captura(d, "FConfiguraRelatorio-geral");
            Clica(d, "Confirma");
        });
        QVERIFY(ConfiguraRelatorio(nullptr, itens, cfg, true));
        QVERIFY(!itens[0]->Incluido);
        Responde<TFConfiguraRelatorio>([&](TFConfiguraRelatorio &d) {
            QCOMPARE(Filho<QListWidget>(d, "Itens")->count(), descritivos);
            Clica(d, "Cancelar");
        });
        QVERIFY(!ConfiguraRelatorio(nullptr, itens, cfg, false));
        // An item's dialog names it as the mode does.
        int residuos = 0;
        while (itens[static_cast<std::size_t>(residuos)]->Titulo == itens[static_cast<std::size_t>(residuos)]->TituloDescritivo ||
               !itens[static_cast<std::size_t>(residuos)]->OferecidoDescritivo)
            ++residuos;
        Responde<TDlgItem>([&](TDlgItem &d) {
            QCOMPARE(Filho<QLabel>(d, "TituloItem")->text(),
                     QString::fromStdString(itens[static_cast<std::size_t>(residuos)]->TituloDescritivo));
            Clica(d, "Cancela");
        });
        QVERIFY(!ConfiguraItem(nullptr, itens, residuos, false));
    }

    // The header dialog: "#" puts "(página)" at the caret; alignments as stored (2 centre).
    void cabecalho() {
        TConfiguracaoRelatorio cfg;
        Responde<TDlgCabecalhoRodape>([](TDlgCabecalhoRodape &d) {
            auto *texto = Filho<QPlainTextEdit>(d, "Texto");
            texto->setPlainText(QStringLiteral("Folha "));
            texto->moveCursor(QTextCursor::End);
            Clica(d, "Pagina");
            Clica(d, "Alinha2");
            Captura(d, "Cabecalho");
            Clica(d, "Confirma");
        });
        QVERIFY(ConfiguraCabecalhoRodape(nullptr, cfg, false));
        QCOMPARE(cfg.Cabecalho.Texto, QStringLiteral("Folha (página)"));
        QCOMPARE(cfg.Cabecalho.Alinhamento, std::uint8_t{acCentro});
        QVERIFY(cfg.Rodape.Texto.isEmpty());
        TConfiguracaoRelatorio lida;
        TListaItens itens = CriaCatalogo();
        QVERIFY(LeConfiguracaoRelatorio(Arquivo(), lida, itens));
        QVERIFY(lida == cfg);
    }

    // A manual range changed alone (the axis was manual already) is a change of the item; and
    // the configuration's cancel gives the graphs back their manual modes and ranges, which the
    // settings text does not hold.
    void faixaManualMudaECancelaVolta() {
        TListaItens itens = CriaCatalogo();
        const int g = PrimeiroDoTipo(itens, tiGrafico);
        QVERIFY(g >= 0);
        auto &item = static_cast<TItemAvaliacaoGraf &>(*itens[static_cast<std::size_t>(g)]);
        item.Eixos[1].Modo = 1;
        item.Eixos[1].Minimo = 3, item.Eixos[1].Maximo = 4;
        Responde<TDLGCNFGrafico>([](TDLGCNFGrafico &d) {
            Filho<QLineEdit>(d, "MaximoY")->setText(QStringLiteral("9"));
            Clica(d, "Confirma");
        });
        QVERIFY(ConfiguraItem(nullptr, itens, g, true));
        QCOMPARE(item.Eixos[1].Maximo, 9.0);

        TConfiguracaoRelatorio cfg;
        TFConfiguraRelatorio d(itens, cfg, true, -1);
        QVERIFY(!d.ItensMudaram());
        item.Eixos[1].Minimo = 5; // as the item's own dialog would, from the list
        QVERIFY(d.ItensMudaram());
        d.reject();
        QCOMPARE(item.Eixos[1].Modo, std::uint8_t{1});
        QCOMPARE(item.Eixos[1].Minimo, 3.0);
        QCOMPARE(item.Eixos[1].Maximo, 9.0);
    }
};

static const int registroTesteConfiguraRelatorio = ::zelto::teste::RegistraClasse(
    "TesteConfiguraRelatorio", [] { return std::make_unique<TesteConfiguraRelatorio>(); });
#include "TesteConfiguraRelatorio.moc"
