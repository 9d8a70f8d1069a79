// The search dialogs on the Windsor example: the configuration dialog shows
// its model and hands the clicks to it, the progress window follows and
// interrupts a real search, and the best-models window shows the table and
// hands back the chosen row.
#include "TesteGui.h"

#include "files/LerArquivo.h"
#include "gui/dialogs/FMostraMelhoresModelos.h"
#include "gui/dialogs/FProgressao.h"
#include "gui/dialogs/FProgressoPesquisa.h"
#include "gui/dialogs/FSelecionaPesquisa.h"
#include "regression/Sistema.h"
#include "search/Pesquisa.h"
#include "significance/Significancias.h"
#include "writer/TextoLiteral.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <memory>

using namespace zelto;

namespace {

// Windsor with its search; columns 6..10 are dichotomous.
struct TWindsor {
    TGridzelto g;
    std::unique_ptr<TSistema> sistema;
    std::unique_ptr<TPesquisa> p;
    bool lido = false;
    TWindsor() {
        std::string resumo;
        lido = LerArquivo(ZELTO_EXEMPLOS "/windsor.QV3", g, 65535, resumo, nullptr).ok;
        sistema = std::make_unique<TSistema>(g);
        p = std::make_unique<TPesquisa>(g, *sistema);
        p->Aviso = [](const std::string &) {};
    }
};

template <class T> T *Visivel() {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *j = qobject_cast<T *>(w); j && j->isVisible()) return j;
    return nullptr;
}

std::uint32_t Marcadas(const TFSelecionaPesquisa &f) {
    std::uint32_t m = 0;
    for (int k = 0; k < 15; ++k)
        if (f.Caixa(k)->isChecked()) m |= 1u << k;
    return m;
}

int VisiveisNaGrade(const TFMostraMelhoresModelos &f) {
    int n = 1; // the row numbers
    for (int c = 0; c < f.Grade()->columnCount(); ++c)
        n += !f.Grade()->isColumnHidden(c);
    return n;
}

} // namespace

class TestePesquisaDialogos : public QObject {
    Q_OBJECT
    // The clicks of configuracaoReflete, on the opened dialog model.
    void Clica(TSelecaoPesquisa &s) {
        const TSignificancias padrao;
        TFSelecionaPesquisa f(s, padrao, {});
        QCOMPARE(f.Abas()->count(), 12);
        QCOMPARE(f.Abas()->tabText(5), QStringLiteral("driveway"));
        QCOMPARE(f.Caixa(12)->text(), QStringLiteral("1/Raiz Quadrada"));
        // "&Padrão": one mask for all, the note in place of the tabs.
        QVERIFY(f.BotaoTipo(tpPadrao)->isChecked());
        QVERIFY(!f.Abas()->isVisibleTo(&f) && f.Nota()->isVisibleTo(&f));
        QCOMPARE(Marcadas(f), kMascaraPadrao);
        QVERIFY(!f.Deslizador()->isEnabled());
        // A box clicked under "&Padrão" makes the type "&Usuário".
        f.Caixa(3)->click();
        QVERIFY(f.BotaoTipo(tpUsuario)->isChecked() && !f.BotaoTipo(tpPadrao)->isChecked());
        QCOMPARE(Marcadas(f), kMascaraPadrao | 8u);
        // Pressing "&Padrão" again refills the boxes; that is no click.
        f.BotaoTipo(tpPadrao)->click();
        QCOMPARE(s.Tipo(), tpPadrao);
        QCOMPARE(Marcadas(f), kMascaraPadrao);
        // "&Manual": tabs, every variable {1}, one box at a time, no rapid search.
        f.BotaoTipo(tpManual)->click();
        QVERIFY(f.Abas()->isVisibleTo(&f) && !f.Nota()->isVisibleTo(&f));
        QCOMPARE(Marcadas(f), kMascaraProporcional);
        QVERIFY(!f.CaixaRapida()->isEnabled());
        f.Abas()->setCurrentIndex(2);
        f.Caixa(2)->click();
        QCOMPARE(Marcadas(f), 1u << 2);
        f.Abas()->setCurrentIndex(1);
        QCOMPARE(Marcadas(f), kMascaraProporcional);
        // "&Dirigida": a dichotomous variable's page offers codes 0 and 1 only.
        f.BotaoTipo(tpDirigida)->click();
        f.Abas()->setCurrentIndex(5);
        for (int k = 0; k < 15; ++k)
            QCOMPARE(f.Caixa(k)->isEnabled(), k <= 1);
        f.Abas()->setCurrentIndex(10);
        for (int k = 0; k < 15; ++k)
            QVERIFY(f.Caixa(k)->isEnabled());
        // "&Completa" with rapid search on three variables of twelve, by F.
        f.BotaoTipo(tpCompleta)->click();
        QCOMPARE(Marcadas(f), kMascaraCompleta);
        f.CaixaRapida()->click();
        QVERIFY(f.Deslizador()->isEnabled());
        QCOMPARE(f.Deslizador()->maximum(), 12);
        f.Deslizador()->setValue(3);
        QCOMPARE(s.Deslizador(), 3);
        QCOMPARE(f.Percentual()->text(), QStringLiteral("25 %"));
        // The order by grade is offered last; the search itself then runs by R.
        QCOMPARE(f.Ordenacao()->count(), 5);
        QCOMPARE(f.Ordenacao()->itemText(4), QStringLiteral("grau de fundamentação, depois R"));
        emit f.Ordenacao()->activated(4);
        QCOMPARE(s.Criterio(), cpGrau);
        emit f.Ordenacao()->activated(1);
        QCOMPARE(s.Criterio(), cpSignificanciaModelo);
    }

  private slots:
    // The controls follow the model after every click, and only clicks change it.
    void configuracaoReflete() {
        TWindsor w;
        QVERIFY(w.lido);
        const int r = w.p->Configura([this](TSelecaoPesquisa &s) {
            Clica(s);
            return kResultadoConfirma;
        });
        QVERIFY(!QTest::currentTestFailed());
        QCOMPARE(r, kResultadoConfirma);
        const TConfiguracaoPesquisa &c = w.p->Configuracao;
        QCOMPARE(c.Tipo, tpCompleta);
        QVERIFY(c.PesquisaRapida && c.TamanhoBloco == 3);
        QCOMPARE(c.Criterio, cpSignificanciaModelo);
        QCOMPARE(c.Mascaras[2], kMascaraCompleta);
        QCOMPARE(c.Mascaras[6], kMascaraDicotomica);
    }

    // The three exits, Escape, and the significance button's caption.
    void configuracaoResultados() {
        TWindsor w;
        TSignificancias emVigor;
        int aberturas = 0;
        auto abre = [&] {
            ++aberturas;
            emVigor.Descricao = "Rigor & cia";
        };
        struct Caso {
            const char *acao;
            int esperado;
        };
        for (const Caso &caso : {Caso{"confirma", 1}, Caso{"executa", 6}, Caso{"cancela", 2},
                                 Caso{"escape", 2}, Caso{"significancias", 2}}) {
            const TConfiguracaoPesquisa antes = w.p->Configuracao;
            const std::string acao = caso.acao;
            const int r = w.p->Configura([&](TSelecaoPesquisa &s) {
                QTimer::singleShot(0, [&] {
                    auto *f = Visivel<TFSelecionaPesquisa>();
                    if (!f) return;
                    f->BotaoTipo(tpCompleta)->click();
                    if (acao == "confirma") f->BotaoConfirma()->click();
                    if (acao == "executa") f->BotaoExecuta()->click();
                    if (acao == "cancela") f->BotaoCancela()->click();
                    if (acao == "escape") QTest::keyClick(f, Qt::Key_Escape);
                    if (acao == "significancias") {
                        f->BotaoSignificancias()->click();
                        QCOMPARE(f->BotaoSignificancias()->text(), QStringLiteral("Rigor && cia"));
                        QCOMPARE(f->BotaoSignificancias()->toolTip(),
                                 QString::fromUtf8(kDicaSignificancias));
                        f->reject();
                    }
                });
                return MostraSelecaoPesquisa(nullptr, s, emVigor, abre);
            });
            QCOMPARE(r, caso.esperado);
            // Only the two confirming exits store the choice.
            QCOMPARE(w.p->Configuracao.Tipo, r == 2 ? antes.Tipo : tpCompleta);
            w.p->Configuracao = TConfiguracaoPesquisa{};
        }
        QCOMPARE(aberturas, 1);
    }

    // What the window shows of the search's state.
    void progressoTextos() {
        TFProgressoPesquisa j;
        j.Inicia(kTituloPesquisando, 0, 2000000, true);
        j.Avanca(1234567);
        j.Estado(
            {.Examinados = 1234567, .MelhorR = 0.934567L, .Decorrido = 3723.4, .Estimado = 90061});
        j.Atualiza();
        QCOMPARE(j.ValorExaminados()->text(), QStringLiteral("1.234.567"));
        QCOMPARE(j.ValorMaiorR()->text(), QStringLiteral("0,9346")); // as the list writes R
        QCOMPARE(j.ValorDecorrido()->text(), QStringLiteral("1:02:03"));
        QCOMPARE(j.ValorEstimado()->text(), QStringLiteral("25:01:01"));
        QCOMPARE(j.Barra()->value(), 617);
        const std::pair<double, const char *> tempos[] = {
            {0, "0:00:00"},  {59.6, "0:01:00"},         {3599.4, "0:59:59"},
            {-3, "0:00:00"}, {std::nan(""), "0:00:00"}, {1e300, "0:00:00"}};
        for (const auto &[s, texto] : tempos)
            QCOMPARE(TFProgressoPesquisa::TextoTempo(s), QString::fromUtf8(texto));
        // Escape interrupts instead of closing.
        QTest::keyClick(&j, Qt::Key_Escape);
        QVERIFY(j.Cancelado());
        QVERIFY(!j.BotaoInterromper()->isEnabled());
    }

    // A real search interrupted from the window, then continued, lists what an
    // uninterrupted search lists.
    void progressoInterrompeEContinua() {
        TWindsor w, referencia;
        for (TWindsor *x : {&w, &referencia}) {
            TConfiguracaoPesquisa &c = x->p->Configuracao;
            c.Tipo = tpCompleta;
            c.MascaraComum = kMascaraCompleta;
            c.Mascaras.fill(kMascaraCompleta);
            c.PesquisaRapida = true;
            c.TamanhoBloco = 5;
        }
        // Without the double screen the search takes long enough (tenths of a second) for the
        // window to be shown and interrupted before it ends; the reference keeps the screen.
        w.p->Triagem = false;
        w.p->IntervaloProgresso = 0.01;
        // The window shows at once: in a release build this search takes a few tenths of a second.
        const int atraso = AtrasoJanelaProgresso;
        AtrasoJanelaProgresso = 0;
        QString examinados;
        QTimer relogio;
        relogio.setInterval(20);
        connect(&relogio, &QTimer::timeout, [&] {
            auto *j = Visivel<TFProgressoPesquisa>();
            if (!j || !j->BotaoInterromper()->isEnabled()) return;
            j->Atualiza();
            if (j->ValorExaminados()->text() == QStringLiteral("0")) return;
            examinados = j->ValorExaminados()->text();
            j->BotaoInterromper()->click();
        });
        relogio.start();
        QVERIFY(!ExecutaPesquisa(nullptr, [&](TProgressoPesquisa &pr) { w.p->Pesquisa(&pr); }));
        relogio.stop();
        AtrasoJanelaProgresso = atraso;
        QVERIFY(!examinados.isEmpty());
        QVERIFY(w.p->Interrompida());
        QVERIFY(w.p->Examinados() > 0 && w.p->Examinados() < w.p->Total());
        QVERIFY(ExecutaPesquisa(nullptr, [&](TProgressoPesquisa &pr) { w.p->Pesquisa(&pr); }));
        QVERIFY(!w.p->Interrompida());
        QCOMPARE(w.p->Examinados(), w.p->Total());
        QVERIFY(referencia.p->Pesquisa());
        QCOMPARE(w.p->Modelos(), referencia.p->Modelos());
        for (int s = 1; s <= w.p->Modelos(); ++s) {
            QVERIFY(w.p->Lista().Slot(s).Codigos == referencia.p->Lista().Slot(s).Codigos);
            QVERIFY(w.p->Lista().Slot(s).R == referencia.p->Lista().Slot(s).R);
        }
    }

    // The best-models window: opening row, columns, equation, painting, exits.
    void melhoresModelos() {
        TWindsor w;
        QVERIFY(w.p->Pesquisa());
        w.p->MontaTabela(false);
        QVERIFY(w.p->Tabela().size() > 5);
        {
            TFMostraMelhoresModelos f(*w.p, 3, false, TAparenciaPlanilha{}, {});
            QCOMPARE(f.Titulo()->text(),
                     QStringLiteral("Selecione um dos modelos abaixo :   (valores obtidos antes "
                                    "do saneamento)"));
            QCOMPARE(f.LinhaAtual(), 3);
            QCOMPARE(VisiveisNaGrade(f), kColunasResumo);
            QCOMPARE(f.BotaoDetalhe()->text(), QStringLiteral("&Detalhamento"));
            QCOMPARE(f.Equacao(), w.p->EquacaoSimbolica(w.p->SlotDaLinha(3)));
            QVERIFY(!f.BotaoImprimir()->isEnabled());
            // "&Detalhamento" builds the detailed table and shows its twelve columns.
            f.BotaoDetalhe()->click();
            QVERIFY(!f.Grade()->item(0, 4)->text().isEmpty());
            QCOMPARE(VisiveisNaGrade(f), kColunasTabela);
            QCOMPARE(f.BotaoDetalhe()->text(), QStringLiteral("&Resumo"));
            f.BotaoDetalhe()->click();
            QVERIFY(!f.Detalhada());
            QCOMPARE(VisiveisNaGrade(f), kColunasResumo);
        }
        { // the grid's colours, the selection colour, the arrows scroll by one column
            TAparenciaPlanilha a;
            a.CorCelula = QColor(255, 255, 200);
            a.CorFixa = QColor(200, 220, 255);
            TFMostraMelhoresModelos f(*w.p, 2, true, a, {});
            f.resize(420, 400);
            f.show();
            QVERIFY(QTest::qWaitForWindowExposed(&f));
            const QImage imagem = f.Grade()->viewport()->grab().toImage();
            const QColor selecao =
                f.Grade()->palette().color(QPalette::Active, QPalette::Highlight);
            const int x = f.Grade()->columnViewportPosition(0) + f.Grade()->columnWidth(0) - 3;
            auto cor = [&](int linha) {
                return QColor(imagem.pixel(x, f.Grade()->rowViewportPosition(linha) + 2));
            };
            QCOMPARE(cor(1), selecao);
            QCOMPARE(cor(0), a.CorCelula);
            QCOMPARE(cor(2), a.CorCelula);
            QScrollBar *barra = f.Grade()->horizontalScrollBar();
            QVERIFY(barra->maximum() > 0);
            QCOMPARE(barra->value(), 0);
            QTest::keyClick(f.Grade(), Qt::Key_Left);
            QCOMPARE(barra->value(), 0);
            QTest::keyClick(f.Grade(), Qt::Key_Right);
            QCOMPARE(barra->value(), 1);
            QCOMPARE(f.LinhaAtual(), 2); // the arrows do not move the selection
            QTest::keyClick(f.Grade(), Qt::Key_Left);
            QCOMPARE(barra->value(), 0);
            QCOMPARE(TFMostraMelhoresModelos::EquacaoEmHtml("[a<b] = b0 + b1x1/[x]%^%1/2%"),
                     QStringLiteral("[a&lt;b] = b0 + b1x1/[x]<sup>1/2</sup>"));
        }
        { // names are shown as typed: their "###…%" and "%^%…%" are no markup
            const int D = w.p->D();
            const int slot = w.p->SlotDaLinha(1);
            int x = 0;
            for (int c = 1; c <= w.p->V() && !x; ++c)
                if (c != D && w.p->Lista().Slot(slot).Codigos[static_cast<std::size_t>(c)] != 0) x = c;
            QVERIFY(x > 0);
            const std::string nomeD = w.g.Celula(D, 0), nomeX = w.g.Celula(x, 0);
            w.g.AtribuiCelula(D, 0, "v###5%");
            w.g.AtribuiCelula(x, 0, "a%^%b%");
            TFMostraMelhoresModelos f(*w.p, 1, false, TAparenciaPlanilha{}, {});
            const QString html = f.Modelo()->text();
            QVERIFY2(html.contains(QStringLiteral("[v###5%]")), qPrintable(html));
            QVERIFY2(html.contains(QStringLiteral("[a%^%b%]")), qPrintable(html));
            QVERIFY(!html.contains(QStringLiteral("<sup>b</sup>")) && !html.contains(QStringLiteral("<sup>5")));
            QCOMPARE(f.Equacao(), w.p->EquacaoSimbolica(slot)); // as the search writes it
            w.g.AtribuiCelula(D, 0, nomeD);
            w.g.AtribuiCelula(x, 0, nomeX);
            // The program's own markup beside them still shows as a superscript.
            QCOMPARE(TFMostraMelhoresModelos::EquacaoEmHtml("[" + Literal(std::string("v###5%")) + "] = b0 + b1x[" +
                                                            Literal(std::string("a%^%b%<")) + "]%^%2%"),
                     QStringLiteral("[v###5%] = b0 + b1x[a%^%b%&lt;]<sup>2</sup>"));
        }
        // A row without the dependent variable's code has no equation and cannot be chosen.
        const int detalhadas = static_cast<int>(w.p->Tabela().size()) - 1;
        TModeloPesquisado &slot2 = w.p->Lista().Slot(w.p->SlotDaLinha(2));
        slot2.Codigos[static_cast<std::size_t>(w.p->D())] = 0;
        int impressoes = 0;
        struct Caso {
            int inicial;
            const char *acao;
            int esperada;
            bool detalhadaDepois;
        };
        for (const Caso &caso :
             {Caso{4, "seleciona", 4, true}, Caso{99, "seleciona", detalhadas, true},
              Caso{2, "seleciona", 0, true}, Caso{3, "resumo", 0, false},
              Caso{1, "escape", 0, true}, Caso{1, "imprime", 0, true}}) {
            bool detalhada = true;
            const std::string acao = caso.acao;
            QTimer::singleShot(0, [&] {
                auto *f = Visivel<TFMostraMelhoresModelos>();
                if (!f) return;
                if (acao == "seleciona") {
                    QCOMPARE(f->BotaoSeleciona()->isEnabled(), !f->Equacao().empty());
                    f->BotaoSeleciona()->click();
                }
                if (acao == "resumo") f->BotaoDetalhe()->click();
                if (acao == "imprime") f->BotaoImprimir()->click();
                if (f->isVisible()) QTest::keyClick(f, Qt::Key_Escape);
            });
            QCOMPARE(MostraMelhoresModelos(nullptr, *w.p, caso.inicial, detalhada, nullptr,
                                           [&] { ++impressoes; }),
                     caso.esperada);
            QCOMPARE(detalhada, caso.detalhadaDepois);
        }
        QCOMPARE(impressoes, 1);
    }
};

ZELTO_TESTE_GUI(TestePesquisaDialogos)
#include "TestePesquisaDialogos.moc"
