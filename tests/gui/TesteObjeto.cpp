// The dialog of the property under evaluation: the texts that explain the
// description, the value grid with each kind's editor and the calculated
// columns, confirming and abandoning, the refused characteristic value, the
// ordering options and the descriptive mode.
#include "TesteGui.h"

#include "gui/dialogs/FVariaveisIndependentes.h"
#include "gui/worksheet/EditoresCelula.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

using namespace zelto;
using namespace zelto::teste;

namespace {

// Valor (dependent), Área, Padrão (qualitative), Piscina (dichotomous), Data,
// Dobro = [Área]*2, Obs (comment, unused) and Idade (unused).
void Planilha(TGridzelto &g) {
    Define(g, 1, "Valor", tvNumerica);
    g.Variavel(1)->Dependente = true;
    Define(g, 2, "Área", tvNumerica);
    Define(g, 3, "Padrão", tvQualitativa);
    g.DefineFormato(3, TDataFormat{teLista, {{"Baixo", 1}, {"Alto", 3}}});
    Define(g, 4, "Piscina", tvDicotomica);
    g.Variavel(4)->Rotulos = "Sim|Não";
    Define(g, 5, "Data", tvData);
    g.Variavel(5)->DataReferencia = 43900; // 10 March 2020
    Define(g, 6, "Dobro", tvCalculada);
    g.Variavel(6)->Equacao = "[Área]*2";
    Define(g, 7, "Obs", tvComentario);
    Define(g, 8, "Idade", tvNumerica, false);
    g.DefineLarguraColuna(2, 90);
    g.DefineModificada(false);
}

struct Ambiente {
    QTemporaryDir pasta;
    TArquivoIni ini;
    TGridzelto g;
    std::vector<std::string> avisos;
    Ambiente() {
        ini.Abre(Caminho());
        Planilha(g);
    }
    std::filesystem::path Caminho() const {
        return std::filesystem::path(pasta.path().toStdString()) / "ZERADE.INI";
    }
    std::unique_ptr<TFVariaveisIndependentes> Dialogo(bool inferencial = true) {
        auto f = std::make_unique<TFVariaveisIndependentes>(g, ini, inferencial, QFont());
        f->Avisa = [this](const std::string &t) { avisos.push_back(t); };
        return f;
    }
};

QStringList Titulos(const TFVariaveisIndependentes &f) {
    QStringList r;
    auto *m = f.Grade()->model();
    for (int k = 0; k < m->columnCount(); ++k)
        r << m->headerData(k, Qt::Horizontal).toString();
    return r;
}

int Coluna(const TFVariaveisIndependentes &f, const QString &titulo) {
    return Titulos(f).indexOf(titulo);
}

QString Mostrado(const TFVariaveisIndependentes &f, const QString &titulo) {
    auto *m = f.Grade()->model();
    return m->data(m->index(0, Coluna(f, titulo))).toString();
}

// Opens the in-cell editor of the column titled `titulo`.
QWidget *Editor(TFVariaveisIndependentes &f, const QString &titulo) {
    QModelIndex i = f.Grade()->model()->index(0, Coluna(f, titulo));
    f.Grade()->setCurrentIndex(i);
    f.Grade()->edit(i);
    return f.Grade()->indexWidget(i);
}

} // namespace

class TesteObjeto : public QObject {
    Q_OBJECT
  private slots:
    void textosDaDescricao() {
        Ambiente a;
        auto f = a.Dialogo();
        QCOMPARE(f->windowTitle(), QStringLiteral("Objeto a ser avaliado"));
        QCOMPARE(f->RotuloDependente()->text(), QStringLiteral("Valor"));
        QCOMPARE(f->LegendaUnidade()->text(), QStringLiteral("(da var. dependente)"));
        QCOMPARE(f->RotuloValorFinal()->toolTip(),
                 QStringLiteral("Identificação do valor final avaliado\n"
                                "(valor estimado x característica multiplicativa)"));
        QCOMPARE(f->CampoMultiplicador()->text(), QString()); // 0 shows empty
        QCOMPARE(f->RotuloMultiplicador()->text(),
                 QStringLiteral("Valor da característica multiplicativa"));
        using D = TFVariaveisIndependentes;
        f->CampoNome(D::dObjeto)->setText(QStringLiteral("Casa"));
        f->CaixaGenero(D::dObjeto)->setCurrentIndex(1);
        f->CampoNome(D::dCaracteristica)->setText(QStringLiteral("área"));
        f->CaixaGenero(D::dCaracteristica)->setCurrentIndex(1);
        f->CampoUnidade(D::dCaracteristica)->setText(QStringLiteral("m²"));
        QCOMPARE(f->RotuloMultiplicador()->text(), QStringLiteral("Valor da área da Casa (em m²)"));
        f->CampoUnidade(D::dObjeto)->setText(QStringLiteral("R$/m²"));
        f->CampoNome(D::dValorFinal)->setText(QStringLiteral("Valor venal"));
        QCOMPARE(f->Resumo()->text(),
                 QStringLiteral("Os cálculos estatísticos fornecerão Valor da Casa.  Valor foi "
                                "informado em R$/m².\nO valor da área será multiplicado pelo "
                                "valor avaliado de Valor da Casa.\nO resultado final será o "
                                "Valor venal da Casa."));

        // A stored description and multiplier are shown as they stand.
        a.g.IdentificacaoObjeto.Objeto.Texto = "Terreno";
        a.g.IdentificacaoObjeto.Caracteristica.PosicaoUnidade = 1;
        a.g.IdentificacaoObjeto.Multiplicador = 360.5L;
        auto h = a.Dialogo();
        QCOMPARE(h->CampoNome(D::dObjeto)->text(), QStringLiteral("Terreno"));
        QCOMPARE(h->CaixaPosicao(D::dCaracteristica)->currentText(), QStringLiteral("Post."));
        QCOMPARE(h->CampoMultiplicador()->text(), QStringLiteral("360,5000"));
    }

    void valoresDeCadaTipoConfirmados() {
        Ambiente a;
        a.g.ValoresObjeto = {"Valor=99", "Idade=7"};
        auto f = a.Dialogo();
        QCOMPARE(Titulos(*f),
                 (QStringList{"Área", "Padrão", "Piscina", "Data", "Dobro", "Obs", "Idade"}));
        QCOMPARE(f->Grade()->columnWidth(0), 90);
        QCOMPARE(Mostrado(*f, "Idade"), QStringLiteral("7"));
        QCOMPARE(Mostrado(*f, "Dobro"), QStringLiteral("???")); // Área still empty

        // Typed into the number editor; confirming takes the open editor's text.
        auto *num = qobject_cast<QLineEdit *>(Editor(*f, "Área"));
        QVERIFY(num);
        QTest::keyClicks(num, "1234,5");
        QCOMPARE(Mostrado(*f, "Dobro"), QStringLiteral("???"));
        auto *lista = qobject_cast<QComboBox *>(Editor(*f, "Padrão"));
        QVERIFY(lista); // opening it handed the number over
        QCOMPARE(Mostrado(*f, "Dobro"), QStringLiteral("2.469,00"));
        QCOMPARE(lista->count(), 3);
        lista->setCurrentIndex(lista->findText("Alto"));
        auto *dic = qobject_cast<TEditorDicotomico *>(Editor(*f, "Piscina"));
        QVERIFY(dic);
        dic->DefineMarcado(true);
        QCOMPARE(dic->Caixa()->text(), QStringLiteral("Sim"));
        auto *data = qobject_cast<TEditorData *>(Editor(*f, "Data"));
        QVERIFY(data);
        data->DefineTexto("15/01/2019");
        auto *obs = qobject_cast<QLineEdit *>(Editor(*f, "Obs"));
        QVERIFY(obs);
        obs->setText("esquina");
        QCOMPARE(Mostrado(*f, "Piscina"), QStringLiteral("Sim"));
        // The calculated column has no editor.
        QVERIFY(!(f->Grade()->model()->flags(f->Grade()->model()->index(0, Coluna(*f, "Dobro"))) &
                  Qt::ItemIsEditable));

        f->BotaoConfirma()->click();
        QCOMPARE(f->result(), int(QDialog::Accepted));
        QVERIFY(f->Resultado().Confirmado && f->Resultado().Alterado);
        QVERIFY(a.g.Modificada());
        QCOMPARE(a.g.ValoresObjeto,
                 (std::vector<std::string>{"Área=1.234,50", "Padrão=Alto", "Piscina=TRUE",
                                           "Data=15/Jan/2019", "Dobro=2.469,00", "Obs=esquina",
                                           "Idade=7"}));
    }

    void abandonarNaoMudaNada() {
        for (bool escape : {false, true}) {
            Ambiente a;
            a.g.ValoresObjeto = {"Área=10,00"};
            auto f = a.Dialogo();
            f->CampoNome(TFVariaveisIndependentes::dObjeto)->setText("Casa");
            f->Grade()->model()->setData(f->Grade()->model()->index(0, 0), "20");
            QCOMPARE(Mostrado(*f, "Dobro"), QStringLiteral("40,00"));
            if (escape)
                QTest::keyClick(f.get(), Qt::Key_Escape);
            else
                f->BotaoAbandona()->click();
            QCOMPARE(f->result(), int(QDialog::Rejected));
            QVERIFY(!f->Resultado().Confirmado);
            QCOMPARE(a.g.ValoresObjeto, std::vector<std::string>{"Área=10,00"});
            QVERIFY(a.g.IdentificacaoObjeto.Objeto.Texto.empty());
            QVERIFY(!a.g.Modificada());
        }
    }

    void valorDaCaracteristica() {
        // The field's text: accepted (and the multiplier stored) or refused with a message.
        const struct {
            const char *texto;
            bool aceito;
            long double valor;
        } casos[] = {{"", true, 0},     {"  125,25 ", true, 125.25L}, {"1,5e2", true, 150},
                     {"abc", false, 0}, {"12.5", false, 0},           {"1,2,3", false, 0}};
        for (const auto &c : casos) {
            Ambiente a;
            auto f = a.Dialogo();
            f->show();
            QVERIFY(QTest::qWaitForWindowActive(f.get()));
            f->CampoNome(TFVariaveisIndependentes::dObjeto)->setFocus();
            f->CampoMultiplicador()->setText(c.texto);
            f->BotaoConfirma()->click();
            QCOMPARE(f->Resultado().Confirmado, c.aceito);
            QCOMPARE(a.avisos.size(), c.aceito ? 0u : 1u);
            if (c.aceito) {
                QCOMPARE(a.g.IdentificacaoObjeto.Multiplicador, c.valor);
            } else {
                QVERIFY(f->isVisible());
                QVERIFY(a.avisos[0].find("Valor da característica multiplicativa") !=
                        std::string::npos);
                QCOMPARE(QApplication::focusWidget(), f->CampoMultiplicador());
                QVERIFY(!a.g.Modificada());
            }
        }
    }

    void valorQueNaoConverteERecusado() {
        Ambiente a;
        a.g.ValoresObjeto = {"Área=10,00", "Piscina=Talvez"};
        auto f = a.Dialogo();
        auto *m = f->Grade()->model();
        // Typed: refused with the variable and the value named, the cell keeps its value.
        QVERIFY(!m->setData(m->index(0, Coluna(*f, "Área")), "abc"));
        QCOMPARE(Mostrado(*f, "Área"), QStringLiteral("10,00"));
        QTRY_COMPARE(a.avisos.size(), 1u);
        QCOMPARE(a.avisos[0], std::string("O valor \"abc\" da variável \"Área\" não é um número."));
        // Kept in the worksheet: confirming is refused until it is mended.
        f->BotaoConfirma()->click();
        QVERIFY(!f->Resultado().Confirmado);
        QCOMPARE(a.avisos.size(), 2u);
        QVERIFY(a.avisos[1].find("\"Talvez\" da variável \"Piscina\"") != std::string::npos);
        QVERIFY(m->setData(m->index(0, Coluna(*f, "Piscina")), "FALSE"));
        f->BotaoConfirma()->click();
        QVERIFY(f->Resultado().Confirmado);
    }

    void opcoesDeOrdemGravadasEGradeRefeita() {
        Ambiente a;
        auto f = a.Dialogo();
        QVERIFY(f->OpcaoPlanilha()->isChecked());
        f->Grade()->model()->setData(f->Grade()->model()->index(0, Coluna(*f, "Idade")), "12,5");
        f->CaixaOcultar()->setChecked(true);
        QCOMPARE(Titulos(*f), (QStringList{"Área", "Padrão", "Piscina", "Data", "Dobro"}));
        QVERIFY(TArquivoIni(a.Caminho()).LeBooleano("Geral", "OcNU", false));
        f->OpcaoAlfabetica()->setChecked(true);
        QCOMPARE(Titulos(*f), (QStringList{"Área", "Data", "Dobro", "Padrão", "Piscina"}));
        QCOMPARE(f->Grade()->columnWidth(0), 90); // widths follow their columns
        QVERIFY(TArquivoIni(a.Caminho()).LeBooleano("Geral", "OrAlf", false));
        f->CaixaOcultar()->setChecked(false);
        QCOMPARE(Mostrado(*f, "Idade"), QStringLiteral("12,50")); // kept while hidden
        // Delete empties the current cell.
        f->Grade()->setCurrentIndex(f->Grade()->model()->index(0, Coluna(*f, "Idade")));
        QTest::keyClick(f->Grade(), Qt::Key_Delete);
        QCOMPARE(Mostrado(*f, "Idade"), QString());
        // A new dialog starts from the stored options.
        f->CaixaOcultar()->setChecked(true);
        auto h = a.Dialogo();
        QVERIFY(h->CaixaOcultar()->isChecked() && h->OpcaoAlfabetica()->isChecked());
        QCOMPARE(Titulos(*h), Titulos(*f));
    }

    void modoDescritivo() {
        Ambiente a;
        a.g.ValoresObjeto = {"Área=10,00"};
        auto f = a.Dialogo(false);
        QVERIFY(!f->GrupoValores()->isVisibleTo(f.get()));
        QVERIFY(!f->Grade()->isVisibleTo(f.get()) && !f->PainelOrdem()->isVisibleTo(f.get()));
        QCOMPARE(f->LegendaUnidade()->text(), QStringLiteral("(da variável a avaliar)"));
        f->CampoMultiplicador()->setText("2");
        f->BotaoConfirma()->click();
        QCOMPARE(a.g.IdentificacaoObjeto.Multiplicador, 2.0L);
        QCOMPARE(a.g.ValoresObjeto, std::vector<std::string>{"Área=10,00"});
        QVERIFY(a.g.Modificada());
    }

    void entradaModal() {
        Ambiente a;
        // Nothing changed: confirmed, the worksheet stays unmodified.
        QTimer::singleShot(0, [] {
            auto *d = qobject_cast<TFVariaveisIndependentes *>(QApplication::activeModalWidget());
            QVERIFY(d);
            QTest::keyClick(d, Qt::Key_Return);
        });
        a.g.ValoresObjeto = {
            "Área=", "Padrão=", "Piscina=", "Data=", "Dobro=???", "Obs=", "Idade="};
        TResultadoObjeto r = InformaObjeto(nullptr, a.g, a.ini, true, QFont());
        QVERIFY(r.Confirmado && !r.Alterado);
        QVERIFY(!a.g.Modificada());
    }
};
ZELTO_TESTE_GUI(TesteObjeto)
#include "TesteObjeto.moc"
