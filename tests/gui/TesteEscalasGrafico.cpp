// The manual range of a graph's axis in its dialog: the fields open only with "escala
// automática" off, the preview follows what is typed (decimal comma), "Confirma" gives the
// range to the item and "Cancela" leaves the item as it was; "Aplicar a Todos" gives the other
// graphs the scale mode and leaves each its own range.
//
// It registers its class with the test runner by hand.
#include "chart/Chart.h"
#include "items/Catalogo.h"
#include "gui/reportconfig/DLGCNFGrafico.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cmath>
#include <functional>
#include <memory>

namespace zelto::teste {
using Fabrica = std::function<std::unique_ptr<QObject>()>;
int RegistraClasse(const char *nome, Fabrica f);
} // namespace zelto::teste

using namespace zelto;

class TesteEscalasGrafico : public QObject {
    Q_OBJECT

    static int PrimeiroGrafico(const TListaItens &itens, int depois = -1) {
        for (int i = depois + 1; i < static_cast<int>(itens.size()); ++i)
            if (itens[static_cast<std::size_t>(i)]->Tipo == tiGrafico) return i;
        return -1;
    }
    static TItemAvaliacaoGraf &Grafico(TListaItens &itens, int i) {
        return static_cast<TItemAvaliacaoGraf &>(*itens[static_cast<std::size_t>(i)]);
    }
    template <class W> static W *Filho(QObject &pai, const char *nome) {
        return pai.findChild<W *>(QString::fromLatin1(nome));
    }

  private slots:
    void faixaManualConfirmadaOuCancelada() {
        TListaItens itens = CriaCatalogo();
        const int i = PrimeiroGrafico(itens);
        QVERIFY(i >= 0);
        TItemAvaliacaoGraf &item = Grafico(itens, i);
        {
            TDLGCNFGrafico d(itens, i, false);
            auto *automatica = Filho<QCheckBox>(d, "AutomaticaY");
            auto *minimo = Filho<QLineEdit>(d, "MinimoY");
            auto *maximo = Filho<QLineEdit>(d, "MaximoY");
            QVERIFY(automatica && minimo && maximo);
            QVERIFY(automatica->isChecked());
            QVERIFY(!minimo->isEnabled() && !maximo->isEnabled());
            const TFaixa antes = d.Previa().Y;
            minimo->setText(QStringLiteral("-12,5"));
            maximo->setText(QStringLiteral("1.250,75"));
            // Typed while automatic: kept, not used.
            QCOMPARE(d.Previa().Y.Minimo, antes.Minimo);
            automatica->setChecked(false);
            QVERIFY(minimo->isEnabled() && maximo->isEnabled());
            QCOMPARE(d.Previa().Y.Minimo, -12.5);
            QCOMPARE(d.Previa().Y.Maximo, 1250.75);
            // A range that is no range leaves the preview automatic.
            maximo->setText(QStringLiteral("-20"));
            QCOMPARE(d.Previa().Y.Maximo, antes.Maximo);
            maximo->setText(QStringLiteral("1250.75"));
            QCOMPARE(d.Previa().Y.Maximo, 1250.75);
            Filho<QPushButton>(d, "Confirma")->click();
            QCOMPARE(d.result(), int(QDialog::Accepted));
        }
        QCOMPARE(item.Eixos[1].Modo, std::uint8_t{1});
        QCOMPARE(item.Eixos[1].Minimo, -12.5);
        QCOMPARE(item.Eixos[1].Maximo, 1250.75);
        QCOMPARE(item.Eixos[0].Modo, std::uint8_t{0});

        {
            TDLGCNFGrafico d(itens, i, false);
            auto *minimo = Filho<QLineEdit>(d, "MinimoY");
            QCOMPARE(minimo->text(), QStringLiteral("-12,5"));
            QVERIFY(minimo->isEnabled());
            minimo->setText(QStringLiteral("0"));
            Filho<QCheckBox>(d, "OcultaY")->setChecked(true);
            QCOMPARE(d.Previa().Y.Minimo, 0.0);
            QVERIFY(d.Previa().EscalaY.Oculta);
            Filho<QPushButton>(d, "Cancela")->click();
            QCOMPARE(d.result(), int(QDialog::Rejected));
        }
        QCOMPARE(item.Eixos[1].Modo, std::uint8_t{1});
        QCOMPARE(item.Eixos[1].Minimo, -12.5);
    }

    void aplicarATodosMantemAsFaixas() {
        TListaItens itens = CriaCatalogo();
        const int a = PrimeiroGrafico(itens), b = PrimeiroGrafico(itens, a);
        QVERIFY(a >= 0 && b > a);
        Grafico(itens, b).Eixos[1].Minimo = 3;
        Grafico(itens, b).Eixos[1].Maximo = 4;
        TDLGCNFGrafico d(itens, a, false);
        Filho<QCheckBox>(d, "AutomaticaY")->setChecked(false);
        Filho<QLineEdit>(d, "MinimoY")->setText(QStringLiteral("10"));
        Filho<QLineEdit>(d, "MaximoY")->setText(QStringLiteral("20"));
        Filho<QPushButton>(d, "AplicarTodos")->click();
        QCOMPARE(Grafico(itens, a).Eixos[1].Minimo, 10.0);
        QCOMPARE(Grafico(itens, b).Eixos[1].Modo, std::uint8_t{1});
        QCOMPARE(Grafico(itens, b).Eixos[1].Minimo, 3.0);
        QCOMPARE(Grafico(itens, b).Eixos[1].Maximo, 4.0);
    }
};

static const int registroTesteEscalasGrafico = ::zelto::teste::RegistraClasse(
    "TesteEscalasGrafico", [] { return std::make_unique<TesteEscalasGrafico>(); });
#include "TesteEscalasGrafico.moc"
