// Editing stays smooth on a worksheet of 10,000 samples by 30 variables: the
// time of an edit through the model with the repaint of the visible grid,
// of a row inserted at the top, of a jump to the end, of a sort. Times are
// printed (medians); the bounds only catch a regression by orders of magnitude.
#include "TesteGui.h"

#include "gui/worksheet/ModeloPlanilha.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <random>

using namespace zelto;
using namespace zelto::teste;

namespace {

double Mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Ms(QElapsedTimer &t) {
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

} // namespace

class TesteDesempenho : public QObject {
    Q_OBJECT
  private slots:
    void dezMilPorTrinta() {
        constexpr int kLinhas = 10000, kColunas = 30;
        TJanelaTeste w;
        w.J().resize(1280, 800);
        w.J().show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.J()));
        TGridzelto &g = w.G();
        std::string bloco;
        std::mt19937 aleatorio(7);
        std::uniform_int_distribution<int> valor(1, 999999);
        for (int r = 0; r < kLinhas; ++r) {
            for (int c = 0; c < kColunas; ++c) {
                if (c) bloco += '\t';
                bloco += std::to_string(valor(aleatorio)) + "," + std::to_string(r % 100);
            }
            bloco += "\n";
        }
        for (int c = 1; c <= kColunas; ++c)
            g.DefinePorDigitacao(c, U'1');
        QElapsedTimer t;
        // The same paste into a worksheet that no view shows: the engine's share.
        {
            TGridzelto solta;
            for (int c = 1; c <= kColunas; ++c)
                solta.DefinePorDigitacao(c, U'1');
            t.start();
            QVERIFY(solta.ColaBloco({1, 1, 1, 1}, bloco).ok);
        }
        const double colagemMotor = Ms(t);
        t.start();
        w.J().Grade()->IrPara(1, 1);
        TResultado r = w.J().Grade()->ColaBloco(QString::fromStdString(bloco));
        QApplication::processEvents();
        const double colagem = Ms(t);
        QVERIFY(r.ok);
        QCOMPARE(int(g.LinhasUsadas()), kLinhas);

        TModeloPlanilha &m = *w.J().Modelo();
        QSignalSpy resets(&m, &QAbstractItemModel::modelReset);
        QWidget *vista = w.J().Grade()->viewport();
        std::uniform_int_distribution<int> lin(1, 25), col(1, 12);
        // An edit as the user makes it: the model takes the text, the view
        // repaints what changed when the event loop runs.
        std::vector<double> edicoes, completas;
        for (int i = 0; i < 200; ++i) {
            QModelIndex idx = m.Indice(col(aleatorio), lin(aleatorio));
            t.restart();
            m.setData(idx, QString::number(i) + QStringLiteral(",5"));
            QApplication::processEvents();
            edicoes.push_back(Ms(t));
        }
        // The same with the whole visible grid painted again.
        for (int i = 0; i < 50; ++i) {
            QModelIndex idx = m.Indice(col(aleatorio), lin(aleatorio));
            t.restart();
            m.setData(idx, QString::number(i) + QStringLiteral(",25"));
            vista->repaint();
            completas.push_back(Ms(t));
        }
        QCOMPARE(resets.count(), 0);

        std::vector<double> insercoes;
        for (int i = 0; i < 20; ++i) {
            t.restart();
            w.J().Grade()->IrPara(3, 1);
            w.J().Edicao().InsereAmostragem();
            vista->repaint();
            insercoes.push_back(Ms(t));
        }
        QCOMPARE(resets.count(), 0);

        t.restart();
        w.J().Grade()->IrPara(kColunas, kLinhas);
        vista->repaint();
        const double fim = Ms(t);

        w.J().Edicao().EscolheOrdenacao = [] { return std::make_optional(std::make_pair(2, true)); };
        t.restart();
        w.J().Edicao().Ordena();
        vista->repaint();
        const double ordenacao = Ms(t);

        qInfo("10000 x 30: colagem %.0f ms (a planilha sem vista: %.0f ms); edição + repintura da "
              "célula mediana %.2f ms (máx %.2f); "
              "edição + repintura da grade visível mediana %.2f ms; amostragem inserida no topo "
              "mediana %.2f ms; ir ao fim %.1f ms; ordenação %.0f ms",
              colagem, colagemMotor, Mediana(edicoes),
              *std::max_element(edicoes.begin(), edicoes.end()), Mediana(completas),
              Mediana(insercoes), fim, ordenacao);
        QVERIFY(Mediana(edicoes) < 100);
        QVERIFY(Mediana(insercoes) < 500);
    }
};

ZELTO_TESTE_GUI(TesteDesempenho)
#include "TesteDesempenho.moc"
