// The table model over the worksheet: every change of the worksheet reaches
// the views as the exact notification (checked by Qt's model tester and by
// the recorded signals), the model always shows what the worksheet holds,
// and edits through the model go through the worksheet's rules.
#include "TesteGui.h"

#include "gui/worksheet/ModeloPlanilha.h"
#include "worksheet/DefinicaoVariavel.h"

#include <QAbstractItemModelTester>
#include <QTest>

using namespace zelto;
using namespace zelto::teste;

namespace {

// The model's signals, as short texts.
struct Gravador {
    QStringList sinais;
    explicit Gravador(QAbstractItemModel &m) {
        QObject::connect(&m, &QAbstractItemModel::modelReset, [this] { sinais << "reset"; });
        QObject::connect(&m, &QAbstractItemModel::rowsInserted,
                         [this](const QModelIndex &, int a, int b) {
                             sinais << QString("+l%1-%2").arg(a).arg(b);
                         });
        QObject::connect(&m, &QAbstractItemModel::rowsRemoved,
                         [this](const QModelIndex &, int a, int b) {
                             sinais << QString("-l%1-%2").arg(a).arg(b);
                         });
        QObject::connect(&m, &QAbstractItemModel::rowsMoved,
                         [this](const QModelIndex &, int a, int, const QModelIndex &, int d) {
                             sinais << QString("ml%1>%2").arg(a).arg(d);
                         });
        QObject::connect(&m, &QAbstractItemModel::columnsInserted,
                         [this](const QModelIndex &, int a, int b) {
                             sinais << QString("+c%1-%2").arg(a).arg(b);
                         });
        QObject::connect(&m, &QAbstractItemModel::columnsRemoved,
                         [this](const QModelIndex &, int a, int b) {
                             sinais << QString("-c%1-%2").arg(a).arg(b);
                         });
        QObject::connect(&m, &QAbstractItemModel::columnsMoved,
                         [this](const QModelIndex &, int a, int, const QModelIndex &, int d) {
                             sinais << QString("mc%1>%2").arg(a).arg(d);
                         });
        QObject::connect(&m, &QAbstractItemModel::dataChanged,
                         [this](const QModelIndex &a, const QModelIndex &b) {
                             sinais << QString("d%1,%2:%3,%4")
                                           .arg(a.row())
                                           .arg(a.column())
                                           .arg(b.row())
                                           .arg(b.column());
                         });
    }
    QStringList Estruturais() const {
        QStringList s;
        for (const QString &x : sinais)
            if (!x.startsWith('d')) s << x;
        return s;
    }
};

// The model shows exactly the worksheet's cells.
void ConfereComGrid(TModeloPlanilha &m, const TGridzelto &g) {
    QCOMPARE(m.rowCount(), g.RowCount() - 1);
    QCOMPARE(m.columnCount(), g.ColCount() - 1);
    for (int r = 1; r < g.RowCount(); ++r) {
        QCOMPARE(m.headerData(r - 1, Qt::Vertical).toString().toStdString(), g.Celula(0, r));
        for (int c = 1; c < g.ColCount(); ++c)
            QCOMPARE(m.data(m.Indice(c, r)).toString().toStdString(), g.TextoExibido(c, r));
    }
    for (int c = 1; c < g.ColCount(); ++c)
        QCOMPARE(m.headerData(c - 1, Qt::Horizontal).toString().toStdString(), g.Celula(c, 0));
}

} // namespace

class TesteModeloPlanilha : public QObject {
    Q_OBJECT
  private slots:
    void notificacoesExatas_data() {
        QTest::addColumn<int>("operacao");
        QTest::addColumn<QStringList>("estruturais");
        QTest::newRow("edição") << 0 << QStringList{};
        QTest::newRow("inserir amostragem 3") << 1 << QStringList{"+l2-2"};
        QTest::newRow("excluir amostragem 2") << 2 << QStringList{"ml1>41"};
        QTest::newRow("inserir variável 2") << 3 << QStringList{"+c1-1"};
        QTest::newRow("excluir variável 1") << 4 << QStringList{"-c0-0"};
        QTest::newRow("mover linha 1 para 4") << 5 << QStringList{"ml0>4"};
        QTest::newRow("mover coluna 3 para 1") << 6 << QStringList{"mc2>0"};
        QTest::newRow("ordenar") << 7 << QStringList{};
        QTest::newRow("colar além da grade") << 8 << QStringList{"+l41-41"};
        QTest::newRow("editar a última linha") << 9 << QStringList{"+l41-45"};
        QTest::newRow("limpar") << 10 << QStringList{"reset"};
        QTest::newRow("renumerar e cortar") << 11 << QStringList{"-l40-60"};
    }

    void notificacoesExatas() {
        QFETCH(int, operacao);
        QFETCH(QStringList, estruturais);
        TGridzelto g;
        Define(g, 1, "a", tvNumerica);
        Define(g, 2, "b", tvComentario);
        Define(g, 3, "c", tvNumerica);
        Preenche(g, 1, {"3", "1", "2", "5"});
        Preenche(g, 2, {"x", "y", "z", "w"});
        Preenche(g, 3, {"30", "10", "20", "50"});
        if (operacao == 11) g.AcrescentaLinhas(20);
        TModeloPlanilha m(g);
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        Gravador gr(m);
        switch (operacao) {
        case 0:
            g.AceitaEdicao(1, 2, "7");
            break;
        case 1:
            g.InsereAmostragem(3);
            break;
        case 2:
            g.ExcluiAmostragem(2);
            break;
        case 3:
            g.InsereVariavel(2);
            break;
        case 4:
            g.ExcluiVariavel(1);
            break;
        case 5:
            g.MoveLinha(1, 4);
            break;
        case 6:
            g.MoveColuna(3, 1);
            break;
        case 7:
            g.Ordena(1, true);
            break;
        case 8:
            g.ColaBloco({1, 40, 1, 40}, "1\n2\n3");
            break;
        case 9:
            g.AceitaEdicao(1, 41, "9");
            break;
        case 10:
            g.Limpa();
            break;
        case 11:
            g.Renumera();
            break;
        }
        QCOMPARE(gr.Estruturais(), estruturais);
        if (operacao != 10) QVERIFY(!gr.sinais.contains("reset"));
        ConfereComGrid(m, g);
    }

    void edicaoAvisaSoACelula() {
        TGridzelto g;
        Define(g, 1, "a", tvNumerica);
        Preenche(g, 1, {"1", "2"});
        TModeloPlanilha m(g);
        Gravador gr(m);
        g.AceitaEdicao(1, 2, "8");
        QCOMPARE(gr.sinais, QStringList{"d1,0:1,0"});
    }

    void loteAvisaUmaVez() {
        TGridzelto g;
        TModeloPlanilha m(g);
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        Gravador gr(m);
        m.IniciaLote();
        g.ColaBloco({2, 2, 2, 2}, "1\t2\t3\n4\t5\t6\n7\t8\t9");
        m.TerminaLote();
        QStringList dados;
        for (const QString &s : gr.sinais)
            if (s.startsWith('d')) dados << s;
        // Nine cells and three new comment columns reach the views in one notice.
        QCOMPARE(dados.size(), 1);
        QCOMPARE(dados.first(), QStringLiteral("d0,1:40,3"));
        ConfereComGrid(m, g);
    }

    void papeis() {
        TGridzelto g;
        Define(g, 1, "n", tvNumerica);
        Define(g, 2, "calc", tvCalculada);
        g.Variavel(2)->Equacao = "[n]*2";
        TVariavel d;
        d.Nome = "piscina";
        d.Tipo = tvDicotomica;
        d.Usada = true;
        d.Alinhamento = alCentro;
        d.Rotulos = "Tem|Não tem";
        TDataFormat fd;
        fd.Editor = teCaixaMarcacao;
        g.DefineFormato(3, fd);
        g.DefineVariavel(3, d);
        g.DefineColunasUsadas(3);
        TModeloPlanilha m(g);
        QVERIFY(m.setData(m.Indice(1, 1), "1234,5"));
        QCOMPARE(m.data(m.Indice(1, 1)).toString(), QStringLiteral("1.234,50"));
        QCOMPARE(m.data(m.Indice(2, 1)).toString(),
                 QStringLiteral("2.469,00")); // recomputed by the worksheet
        QVERIFY(!(m.flags(m.Indice(2, 1)) & Qt::ItemIsEditable));
        QCOMPARE(m.data(m.Indice(1, 1), Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignRight | Qt::AlignVCenter);
        QVERIFY(m.flags(m.Indice(3, 1)) & Qt::ItemIsUserCheckable);
        QVERIFY(m.setData(m.Indice(3, 1), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(g.Celula(3, 1), std::string("TRUE"));
        QCOMPARE(m.data(m.Indice(3, 1)).toString(), QStringLiteral("Tem"));
        QVERIFY(m.setData(m.Indice(3, 2), "não tem"));
        QCOMPARE(g.Celula(3, 2), std::string("")); // labels are compared exactly, after trimming
        QVERIFY(m.setData(m.Indice(3, 2), " Não tem "));
        QCOMPARE(g.Celula(3, 2), std::string("FALSE"));
        QCOMPARE(m.data(m.Indice(3, 2), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        g.AlternaDesconsiderada(2);
        QVERIFY(!m.headerData(1, Qt::Vertical, Qt::DecorationRole).isNull());
        QVERIFY(m.headerData(0, Qt::Vertical, Qt::DecorationRole).isNull());
    }

    // Typing into a column without a variable defines it by the first
    // character: a digit a numeric column, anything printable a comment one.
    void digitacaoDefineColuna_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("celula");
        QTest::newRow("número") << "250" << int(tvNumerica) << "250,00";
        QTest::newRow("texto") << "casa" << int(tvComentario) << "casa";
        QTest::newRow("acentuado") << "Área nobre" << int(tvComentario) << "Área nobre";
        QTest::newRow("número depois de letra") << "x1" << int(tvComentario) << "x1";
    }

    void digitacaoDefineColuna() {
        QFETCH(QString, texto);
        QFETCH(int, tipo);
        QFETCH(QString, celula);
        TGridzelto g;
        TModeloPlanilha m(g);
        std::vector<std::string> registros;
        m.AntesDeAlterar = [&](const std::string &d) { registros.push_back(d); };
        QVERIFY(m.setData(m.Indice(4, 2), texto));
        QVERIFY(g.Variavel(4));
        QCOMPARE(int(g.Variavel(4)->Tipo), tipo);
        QCOMPARE(QString::fromStdString(g.Celula(4, 2)), celula);
        QCOMPARE(g.ColunasUsadas(), 4);
        QCOMPARE(g.LinhasUsadas(), 2);
        QCOMPARE(registros.size(), std::size_t(1));
        // The same text again changes nothing and records nothing.
        QVERIFY(m.setData(m.Indice(4, 2), celula));
        QCOMPARE(registros.size(), std::size_t(1));
    }

    void suspensoNaoLe() {
        TGridzelto g;
        Define(g, 1, "a", tvNumerica);
        Preenche(g, 1, {"1"});
        TModeloPlanilha m(g);
        QAbstractItemModelTester tester(&m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        Gravador gr(m);
        m.Suspende();
        QVERIFY(m.data(m.Indice(1, 1)).isNull());
        g.AcrescentaLinhas(3); // while suspended the model hears nothing
        g.AceitaEdicao(1, 1, "5");
        QCOMPARE(m.rowCount(), 41);
        m.Retoma(false);
        QCOMPARE(gr.Estruturais(), QStringList{"+l41-43"});
        ConfereComGrid(m, g);
    }
};

ZELTO_TESTE_GUI(TesteModeloPlanilha)
#include "TesteModeloPlanilha.moc"
