// The worksheet grid driven through the real main window: typing into cells
// of each kind, the cursor's advance, the block and one-cell clipboards, drag
// moves by the headers, context menus, header hints and double clicks.
#include "TesteGui.h"

#include "gui/worksheet/ModeloPlanilha.h"
#include "worksheet/DefinicaoVariavel.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QToolTip>

using namespace zelto;
using namespace zelto::teste;

namespace {

// Keys go where the user's would: to the widget that has the focus (the
// cell's editor once one is open).
void Digita(QWidget *grade, const QString &texto) {
    for (QChar ch : texto) {
        QWidget *alvo = QApplication::focusWidget() ? QApplication::focusWidget() : grade;
        QTest::keyClick(alvo, ch.toLatin1());
    }
}

void Tecla(QWidget *grade, Qt::Key k) {
    QWidget *alvo = QApplication::focusWidget() ? QApplication::focusWidget() : grade;
    QTest::keyClick(alvo, k);
    // The editor is committed and closed from the event loop.
    QCoreApplication::processEvents();
}

struct Janela : TJanelaTeste {
    Janela() {
        J().show();
        QApplication::setActiveWindow(&J());
        J().Grade()->setFocus();
        QTest::qWait(1);
    }
    TGradePlanilha *Gr() { return J().Grade(); }
    void Vai(int c, int r) {
        Gr()->IrPara(c, r);
        Gr()->setFocus();
    }
};

void DefineComTabela(Janela &w, int c, TipoVariavel tipo, const std::string &tabela) {
    TAtributosVariavel a = AtributosIniciais(w.G(), c, *w.tabelas);
    a.Nome = "v" + std::to_string(c);
    a.Tipo = tipo;
    a.Tabela = tabela;
    a.TipoData = tdDiaMesAno;
    a.DataReferencia = static_cast<double>(SerialDeData(2020, 1, 1));
    DefineVariavel(w.G(), c, a, *w.tabelas);
}

} // namespace

class TesteGrade : public QObject {
    Q_OBJECT
  private slots:
    void digitaCadaTipo() {
        Janela w;
        w.tabelas->Acrescenta("Padrão", TTabelaQualitativa{{"Baixo", 1}, {"Bom", 2}, {"Luxo", 3}});
        w.tabelas->Acrescenta("Sim/Não", TTabelaDicotomica{"Sim", "Não"});
        DefineComTabela(w, 3, tvQualitativa, "Padrão");
        DefineComTabela(w, 4, tvDicotomica, "Sim/Não");
        DefineComTabela(w, 5, tvData, "");

        // A first digit makes column 1 numeric; the text takes its form.
        w.Vai(1, 1);
        Digita(w.Gr(), "1234,5");
        Tecla(w.Gr(), Qt::Key_Return);
        QCOMPARE(w.G().Celula(1, 1), std::string("1.234,50"));
        QCOMPARE(int(w.G().Variavel(1)->Tipo), int(tvNumerica));
        QCOMPARE(w.G().LinhaAtual, 2); // the cursor went down
        // A letter makes column 2 a comment column.
        w.Vai(2, 1);
        Digita(w.Gr(), "casa");
        Tecla(w.Gr(), Qt::Key_Return);
        QCOMPARE(w.G().Celula(2, 1), std::string("casa"));
        QCOMPARE(int(w.G().Variavel(2)->Tipo), int(tvComentario));
        // The list editor: the label typed is chosen from the table.
        w.Vai(3, 1);
        Digita(w.Gr(), "L");
        Tecla(w.Gr(), Qt::Key_Return);
        QCOMPARE(w.G().Celula(3, 1), std::string("Luxo"));
        // The check box: space toggles it in the cell; the label shows.
        w.Vai(4, 1);
        Tecla(w.Gr(), Qt::Key_Space);
        QCOMPARE(w.G().Celula(4, 1), std::string("TRUE"));
        QCOMPARE(w.J().Modelo()->data(w.J().Modelo()->Indice(4, 1)).toString(),
                 QStringLiteral("Sim"));
        Tecla(w.Gr(), Qt::Key_Space);
        QCOMPARE(w.G().Celula(4, 1), std::string("FALSE"));
        // The date editor takes the column's form.
        w.Vai(5, 1);
        Digita(w.Gr(), "15/03/2020");
        Tecla(w.Gr(), Qt::Key_Return);
        QCOMPARE(w.G().Celula(5, 1), std::string("15/Mar/2020"));
        // The state and the counts follow.
        w.J().Atualiza();
        QCOMPARE(w.J().RotuloEstado()->text(), QStringLiteral("Modificado"));
        QCOMPARE(w.J().RotuloLinhas()->text(), QStringLiteral("1 linha"));
        QCOMPARE(w.J().RotuloColunas()->text(), QStringLiteral("5 colunas"));
    }

    void avancoDoCursor_data() {
        QTest::addColumn<int>("direcao");
        QTest::addColumn<int>("coluna");
        QTest::addColumn<int>("linha");
        QTest::newRow("para baixo") << int(DirecaoAvanco::dAvancoVertical) << 2 << 3;
        QTest::newRow("para a direita") << int(DirecaoAvanco::dAvancoHorizontal) << 3 << 2;
        QTest::newRow("sem movimento") << int(DirecaoAvanco::dSemAvanco) << 2 << 2;
    }

    void avancoDoCursor() {
        QFETCH(int, direcao);
        QFETCH(int, coluna);
        QFETCH(int, linha);
        Janela w;
        w.J().DefineAvanco(static_cast<DirecaoAvanco>(direcao));
        w.Vai(2, 2);
        Digita(w.Gr(), "7");
        Tecla(w.Gr(), Qt::Key_Return);
        QCOMPARE(w.G().Celula(2, 2), std::string("7,00"));
        QCOMPARE(w.G().ColunaAtual, coluna);
        QCOMPARE(w.G().LinhaAtual, linha);
        // The choice is in the settings file at once.
        TConfiguracaoGeral cfg;
        cfg.Le(w.IniNoDisco());
        QCOMPARE(int(cfg.Avanco()), direcao);
    }

    void digitarNaUltimaLinhaAcrescenta() {
        Janela w;
        const int ultima = w.G().RowCount() - 1;
        w.Vai(1, ultima);
        Digita(w.Gr(), "5");
        Tecla(w.Gr(), Qt::Key_Return);
        QCOMPARE(w.G().RowCount(), ultima + 6);
        QCOMPARE(w.J().Modelo()->rowCount(), ultima + 5);
        QCOMPARE(w.G().LinhaAtual, ultima + 1);
    }

    void colaBlocoDaAreaDeTransferencia() {
        Janela w;
        QApplication::clipboard()->setText(QStringLiteral("preço\tárea\r\n10\t2,5\r\n"));
        w.Vai(2, 3);
        w.J().Edicao().Cola();
        QCOMPARE(w.G().Celula(2, 3), std::string("preço"));
        QCOMPARE(w.G().Celula(3, 4), std::string("2,5"));
        QCOMPARE(int(w.G().Variavel(2)->Tipo), int(tvComentario));
        QCOMPARE(w.G().LinhasUsadas(), 4);
        // Tiled: a 2 x 2 block into a 4 x 2 selection fills it twice.
        QApplication::clipboard()->setText(QStringLiteral("a\tb\nc\td"));
        w.Gr()->DefineSelecao({5, 1, 8, 2});
        w.J().Edicao().Cola();
        QCOMPARE(w.G().Celula(7, 1), std::string("a"));
        QCOMPARE(w.G().Celula(8, 2), std::string("d"));
        QVERIFY(w.avisos.empty());
        // A 3 x 2 selection does not fit: refused, nothing changes.
        w.Gr()->DefineSelecao({10, 1, 12, 2});
        w.J().Edicao().Cola();
        QCOMPARE(w.avisos.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(w.avisos[0]),
                 QStringLiteral("O bloco copiado (2 colunas × 2 linhas) não cabe na seleção."));
        QVERIFY(w.G().Celula(10, 1).empty());
        // One undo takes the whole refused-free paste back.
        w.J().Edicao().Desfaz();
        QVERIFY(w.G().Celula(7, 1).empty());
        QCOMPARE(w.G().Celula(2, 3), std::string("preço"));
    }

    void copiaBlocoNasDuasFormas() {
        Janela w;
        Define(w.G(), 1, "preço", tvNumerica);
        Define(w.G(), 2, "bairro", tvComentario);
        Preenche(w.G(), 1, {"10", "20"});
        Preenche(w.G(), 2, {"Centro", "Sul"});
        w.Gr()->DefineSelecao({1, 1, 2, 2});
        QTest::keyClick(w.Gr(), Qt::Key_C,
                        Qt::ControlModifier); // the window's shortcut, not the view's
        const QMimeData *m = QApplication::clipboard()->mimeData();
        QCOMPARE(m->text(), QStringLiteral("10,00\tCentro\r\n20,00\tSul\r\n"));
        const QByteArray rtf = m->data(QStringLiteral("text/rtf"));
        QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\deff0"));
        QVERIFY(rtf.contains("\\qr"));
        QCOMPARE(m->data(QStringLiteral("Rich Text Format")), rtf);
        // Pasting it back elsewhere gives the same texts.
        w.Vai(4, 5);
        QTest::keyClick(w.Gr(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.G().Celula(4, 5), std::string("10,00"));
        QCOMPARE(w.G().Celula(5, 6), std::string("Sul"));
    }

    void colaUmaCelulaSoEntreTiposQueCabem() {
        Janela w;
        DefineComTabela(w, 1, tvData, "");
        Define(w.G(), 2, "n", tvNumerica);
        Define(w.G(), 3, "obs", tvComentario);
        w.G().AceitaEdicao(1, 1, "15/03/2020");
        w.Vai(1, 1);
        w.J().Edicao().Copia();
        w.Vai(2, 1);
        w.J().Edicao().Cola(); // a date into a numeric column: nothing
        QVERIFY(w.G().Celula(2, 1).empty());
        w.Vai(3, 1);
        w.J().Edicao().Cola(); // into a text column: the text as it stands
        QCOMPARE(w.G().Celula(3, 1), std::string("15/Mar/2020"));
        // Cut empties the cell and keeps its text for the next paste.
        w.Vai(3, 1);
        w.J().Edicao().Recorta();
        QVERIFY(w.G().Celula(3, 1).empty());
        w.Vai(3, 2);
        w.J().Edicao().Cola();
        QCOMPARE(w.G().Celula(3, 2), std::string("15/Mar/2020"));
    }

    void arrastarCabecalhosMove() {
        Janela w;
        Define(w.G(), 1, "a", tvNumerica);
        Define(w.G(), 2, "b", tvNumerica);
        Define(w.G(), 3, "c", tvNumerica);
        Preenche(w.G(), 1, {"1", "2", "3"});
        QHeaderView *h = w.Gr()->horizontalHeader();
        h->moveSection(0, 2); // what a drag of column "a" to the third place does
        QCOMPARE(w.G().Celula(3, 0), std::string("a"));
        QCOMPARE(w.G().Celula(1, 0), std::string("b"));
        QCOMPARE(h->visualIndex(0), 0); // the header stays in order; the model moved
        QCOMPARE(w.J().Modelo()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("a"));
        QHeaderView *v = w.Gr()->verticalHeader();
        v->moveSection(2, 0);
        QCOMPARE(w.G().Celula(3, 1), std::string("3,00"));
        QCOMPARE(w.G().Celula(0, 1), std::string("3"));
        QCOMPARE(v->visualIndex(2), 2);
        // Each move is one step to undo.
        w.J().Edicao().Desfaz();
        QCOMPARE(w.G().Celula(0, 1), std::string("1"));
        w.J().Edicao().Desfaz();
        QCOMPARE(w.G().Celula(1, 0), std::string("a"));
    }

    void menusDeContexto() {
        Janela w;
        Define(w.G(), 1, "preço", tvNumerica);
        Define(w.G(), 2, "obs", tvComentario);
        Preenche(w.G(), 1, {"1", "2"});
        w.G().AlternaDesconsiderada(2);
        QHeaderView *v = w.Gr()->verticalHeader();
        const QPoint p(v->width() / 2, v->sectionViewportPosition(1) + 3);
        QContextMenuEvent e(QContextMenuEvent::Mouse, p, v->viewport()->mapToGlobal(p));
        QApplication::sendEvent(v->viewport(), &e);
        QCOMPARE(w.G().LinhaAtual, 2); // the row under the pointer became current
        QMenu *linha = w.J().MenuContexto(TAreaGrade::CabecalhoLinha);
        QTRY_VERIFY(linha->isVisible());
        QCOMPARE(linha->actions().first()->text(), QStringLiteral("Considerar Amostragem"));
        linha->hide();
        // The variable items follow the column: a comment column cannot be used.
        w.Vai(2, 1);
        w.J().Atualiza();
        QVERIFY(!w.J().Acao("UsarVariavel")->isEnabled());
        QVERIFY(!w.J().Acao("VariavelDependente")->isEnabled());
        w.Vai(1, 1);
        w.J().Atualiza();
        QCOMPARE(w.J().Acao("UsarVariavel")->text(), QStringLiteral("Não usar esta variável"));
        QCOMPARE(w.J().Acao("VariavelDependente")->text(),
                 QStringLiteral("Usar como Variável Dependente"));
        // Below the used rows the sample items are off.
        w.Vai(1, 10);
        w.J().Atualiza();
        QVERIFY(!w.J().Acao("EliminarAmostragemContexto")->isEnabled());
        QCOMPARE(w.J().RotuloPosicao()->text(), QStringLiteral("• 10 • preço"));
    }

    // The required shortcuts reach their commands from the grid.
    void atalhos() {
        Janela w;
        Define(w.G(), 1, "preço", tvNumerica);
        Define(w.G(), 2, "área", tvNumerica);
        Preenche(w.G(), 1, {"1", "2", "3"});
        Preenche(w.G(), 2, {"10", "20", "30"});
        auto tecla = [&](Qt::Key k, Qt::KeyboardModifiers m) {
            QTest::keyClick(w.Gr(), k, m);
            QCoreApplication::processEvents();
        };
        w.Vai(1, 2);
        tecla(Qt::Key_A, Qt::ControlModifier);
        QVERIFY(w.G().Desconsiderada(2));
        tecla(Qt::Key_U, Qt::ControlModifier);
        QVERIFY(!w.G().Variavel(1)->Usada);
        tecla(Qt::Key_D, Qt::ControlModifier);
        QVERIFY(w.G().Variavel(1)->Usada && w.G().Variavel(1)->Dependente);
        tecla(Qt::Key_Delete, Qt::NoModifier);
        QVERIFY(w.G().Celula(1, 2).empty());
        w.Vai(2, 3);
        tecla(Qt::Key_Delete, Qt::ShiftModifier);
        QVERIFY(w.G().Celula(2, 3).empty());
        tecla(Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(w.G().LinhasUsadas(), 4);
        w.respostas = {Resposta::Sim};
        tecla(Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(w.G().LinhasUsadas(), 3);
        QCOMPARE(w.perguntas.size(), std::size_t(1));
        // F6 on a worksheet that was never saved asks for a name.
        w.arquivosGravacao.push_back({w.Caminho("atalho.QV3").string(), ""});
        tecla(Qt::Key_F6, Qt::NoModifier);
        QCOMPARE(w.J().ArquivoAtual(), w.Caminho("atalho.QV3").string());
    }

    void dicaEDuploCliqueNoCabecalho() {
        Janela w;
        Define(w.G(), 1, "preço", tvNumerica);
        QHeaderView *h = w.Gr()->horizontalHeader();
        const QPoint p(h->sectionViewportPosition(0) + 5, h->height() / 2);
        QHelpEvent e(QEvent::ToolTip, p, h->viewport()->mapToGlobal(p));
        QApplication::sendEvent(h->viewport(), &e);
        QTRY_VERIFY(
            QToolTip::text().startsWith(QStringLiteral("Variável: preço\nTipo       : Numérica")));
        int definida = 0;
        w.J().Edicao().EditaVariavel = [&](int c, TAtributosVariavel &) {
            definida = c;
            return false;
        };
        emit h->sectionDoubleClicked(3);
        QCOMPARE(definida, 4);
    }
};

ZELTO_TESTE_GUI(TesteGrade)
#include "TesteGrade.moc"
