// The main window's texts and worksheet rules that need no window: status
// texts, the position label, column header hints, recent files, file filters,
// the empty-cell check and the dependent-variable question.
#include "TesteGui.h"

#include "common/Texto.h"
#include "gui/mainwindow/DialogosArquivo.h"
#include "gui/mainwindow/ListaRecentes.h"
#include "gui/mainwindow/RegrasPlanilha.h"
#include "gui/mainwindow/TextosEstado.h"
#include "gui/worksheet/DicaCabecalho.h"

#include <QTest>

using namespace zelto;
using namespace zelto::teste;

class TesteTextos : public QObject {
    Q_OBJECT
  private slots:
    void contagens() {
        QCOMPARE(TextoLinhas(0), std::string("----------------"));
        QCOMPARE(TextoLinhas(1), std::string("1 linha"));
        QCOMPARE(TextoLinhas(546), std::string("546 linhas"));
        QCOMPARE(TextoColunas(0), std::string("----------------"));
        QCOMPARE(TextoColunas(1), std::string("1 coluna"));
        QCOMPARE(TextoColunas(12), std::string("12 colunas"));
        QCOMPARE(TextoEstadoPlanilha(true), std::string("Modificado"));
        QCOMPARE(TextoEstadoPlanilha(false), std::string("----------------"));
    }

    void abaPlanilha() {
        QCOMPARE(TextoAbaPlanilha("/home/a/dados/avaliação.qv3"), std::string("AVALIAÇÃO.QV3"));
        QCOMPARE(TextoAbaPlanilha("Planilha.QV3"), std::string("PLANILHA.QV3"));
        std::string longo = "/x/" + std::string(90, 'a') + ".qv3";
        QCOMPARE(TextoAbaPlanilha(longo), std::string(80, 'A'));
    }

    void posicao() {
        TGridzelto g;
        Define(g, 1, "preço", tvNumerica);
        Preenche(g, 1, {"1", "2", "3"});
        g.AlternaDesconsiderada(2);
        QCOMPARE(TextoPosicao(g, 1, 1), std::string("| 1 | preço"));
        QCOMPARE(TextoPosicao(g, 1, 2), std::string("– 2 – preço"));
        QCOMPARE(TextoPosicao(g, 1, 10), std::string("• 10 • preço"));
        QCOMPARE(TextoPosicao(g, 2, 3), std::string("| 3 •B0•"));
    }

    void dicaCabecalho_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("formula");
        QTest::addColumn<bool>("inferencial");
        QTest::addColumn<bool>("usada");
        QTest::addColumn<QString>("esperada");
        const QString f43 = QString(43, QLatin1Char('x'));
        const QString f44 = QString(44, QLatin1Char('y'));
        QTest::newRow("numérica dependente")
            << int(tvNumerica) << "" << true << true
            << "Variável: v\r\nTipo       : Numérica\r\nNº de decimais: 2 (usando pontos de "
               "milhar)\r\nVariável Dependente";
        QTest::newRow("fórmula de 43 inteira")
            << int(tvCalculada) << f43 << true << true
            << "Variável: v\r\nTipo       : Equação\r\nv = " + f43 +
                   "\r\nNº de decimais: 2 (usando pontos de milhar)\r\nVariável Dependente";
        QTest::newRow("fórmula de 44 cortada")
            << int(tvCalculada) << f44 << true << true
            << "Variável: v\r\nTipo       : Equação\r\nv = " + QString(40, QLatin1Char('y')) +
                   "...\r\nNº de decimais: 2 (usando pontos de milhar)\r\nVariável Dependente";
        QTest::newRow("qualitativa descritiva")
            << int(tvQualitativa) << "" << false << true
            << "Variável: v\r\nTipo       : Tabela (T)\r\nVariável a Avaliar";
        QTest::newRow("dicotômica não usada")
            << int(tvDicotomica) << "" << true << false
            << "Variável: v\r\nTipo       : Dicotômica (T)\r\n(não usada na avaliação)";
        QTest::newRow("comentário") << int(tvComentario) << "" << true << false
                                    << "Variável: v\r\nTipo       : Texto\r\n(comentário)";
    }

    void dicaCabecalho() {
        QFETCH(int, tipo);
        QFETCH(QString, formula);
        QFETCH(bool, inferencial);
        QFETCH(bool, usada);
        QFETCH(QString, esperada);
        TGridzelto g;
        TVariavel v;
        v.Nome = "v";
        v.Tipo = static_cast<TipoVariavel>(tipo);
        v.Usada = usada;
        v.Dependente = usada;
        v.PontosDeMilhar = true;
        v.Tabela = "T";
        v.Equacao = formula.toStdString();
        g.AtribuiCelula(1, 0, "v");
        g.DefineVariavel(1, v);
        g.DefineColunasUsadas(1);
        QCOMPARE(QString::fromStdString(DicaCabecalho(g, 1, inferencial)), esperada);
        // Outside the used columns there is no hint.
        QVERIFY(DicaCabecalho(g, 2, inferencial).empty());
    }

    void dicaCortadaEm255() {
        TGridzelto g;
        TVariavel v;
        v.Nome = std::string(300, 'n');
        v.Tipo = tvNumerica;
        g.DefineVariavel(1, v);
        g.DefineColunasUsadas(1);
        QCOMPARE(DecodificaUtf8(DicaCabecalho(g, 1, true)).size(), std::size_t(255));
    }

    void recentes() {
        TListaRecentes l;
        for (const char *n : {"/a/1.qv3", "/a/2.qv3", "/a/3.qv3", "/a/4.qv3", "/a/5.qv3"})
            l.Adiciona(n);
        QCOMPARE(l.Itens(),
                 (std::vector<std::string>{"/a/5.qv3", "/a/4.qv3", "/a/3.qv3", "/a/2.qv3"}));
        l.Adiciona("/A/3.QV3"); // the same file, other case: moves to the top
        QCOMPARE(l.Itens(),
                 (std::vector<std::string>{"/A/3.QV3", "/a/5.qv3", "/a/4.qv3", "/a/2.qv3"}));
        l.Adiciona("Planilha.QV3");
        QCOMPARE(l.Itens().front(), std::string("/A/3.QV3"));
        QCOMPARE(TListaRecentes::Legenda(1, "/a/5.qv3"), std::string("&2 /a/5.qv3"));
        TConfiguracaoGeral cfg;
        l.Remove("/a/4.qv3");
        l.Grava(cfg);
        QCOMPARE(cfg.Recentes[2], std::string("/a/2.qv3"));
        QCOMPARE(cfg.Recentes[3], std::string());
        TListaRecentes m;
        m.Le(cfg);
        QCOMPARE(m.Itens(), l.Itens());
    }

    void filtros() {
        QCOMPARE(
            FiltrosQt(kFiltroGravacao),
            (QStringList{"Arquivos ZELTO (*.QV3;*.ZEL;*.DCR) (*.QV3 *.qv3 *.ZEL *.zel *.DCR *.dcr)",
                         "Arquivos Texto (*.TXT) (*.TXT *.txt)"}));
        QCOMPARE(FiltrosQt(kFiltroLeitura).last(), QStringLiteral("Todos os arquivos (*.*) (*)"));
    }

    // The check skips disregarded samples and unused variables; the two ways
    // on mark exactly the samples or variables with empty cells.
    void celulasVazias() {
        auto monta = [](TGridzelto &g) {
            Define(g, 1, "a", tvNumerica);
            Define(g, 2, "b", tvNumerica, false);
            Define(g, 3, "c", tvNumerica);
            Preenche(g, 1, {"1", "", "3", "4"});
            Preenche(g, 2, {"", "", "", ""});
            Preenche(g, 3, {"1", "2", "  ", "4"});
        };
        TGridzelto g;
        monta(g);
        auto v = ProcuraCelulaVazia(g);
        QVERIFY(v);
        QCOMPARE(v->Coluna, 1);
        QCOMPARE(v->Linha, 2);
        g.AlternaDesconsiderada(2);
        v = ProcuraCelulaVazia(g);
        QVERIFY(v);
        QCOMPARE(v->Coluna, 3); // column 2 is unused, row 2 disregarded
        QCOMPARE(v->Linha, 3);

        TGridzelto h;
        monta(h);
        DesconsideraAmostragensComVazias(h);
        QVERIFY(!h.Desconsiderada(1) && h.Desconsiderada(2) && h.Desconsiderada(3) &&
                !h.Desconsiderada(4));
        QVERIFY(!ProcuraCelulaVazia(h));

        TGridzelto k;
        monta(k);
        k.AlternaDesconsiderada(3);
        DeixaDeUsarVariaveisComVazias(k);
        QVERIFY(!k.Variavel(1)->Usada);
        QVERIFY(k.Variavel(3)->Usada); // its only blank is in a disregarded sample
    }

    void modoNaPlanilha() {
        TGridzelto g;
        Define(g, 1, "unitário", tvNumerica);
        Define(g, 2, "fator", tvNumerica);
        Define(g, 3, "quando", tvData);
        Preenche(g, 1, {"10", "20"});
        Preenche(g, 2, {"2", "3"});
        g.Modo.Inferencial = false;
        AplicaModoPlanilha(g, false);
        const int h = g.ColunaValorHomogeneizado();
        QVERIFY(h != 0);
        QCOMPARE(h, 4);
        QVERIFY(!g.Variavel(3)->Usada);
        QCOMPARE(g.Celula(h, 1), std::string("20,00"));
        g.Modo.Inferencial = true;
        AplicaModoPlanilha(g, true);
        QCOMPARE(g.ColunaValorHomogeneizado(), 0);
    }

    void perguntaDependente() {
        TGridzelto g;
        Define(g, 1, "nota", tvComentario);
        Define(g, 2, "valor", tvNumerica);
        Define(g, 3, "fator", tvNumerica);
        g.Variavel(2)->CoeficienteHomogeneizacao = true;
        std::vector<std::string> feitas;
        PerguntaDependente(g, [&](const std::string &t) {
            feitas.push_back(t);
            return Resposta::Sim;
        });
        QCOMPARE(feitas,
                 (std::vector<std::string>{
                     "A variável [valor] deve ser usada como valor unitário nos cálculos ?"}));
        QVERIFY(g.Variavel(2)->Dependente);
        QVERIFY(!g.Variavel(2)->CoeficienteHomogeneizacao);
        // With a dependent column nothing is asked; it stops being a coefficient.
        g.Variavel(2)->CoeficienteHomogeneizacao = true;
        PerguntaDependente(g, [&](const std::string &t) {
            feitas.push_back(t);
            return Resposta::Nao;
        });
        QCOMPARE(feitas.size(), std::size_t(1));
        QVERIFY(!g.Variavel(2)->CoeficienteHomogeneizacao);
    }
};

ZELTO_TESTE_GUI(TesteTextos)
#include "TesteTextos.moc"
