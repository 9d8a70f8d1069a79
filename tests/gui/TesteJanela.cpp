// The main window's commands: status texts, samples and variables with their
// questions, defining and converting variables (also through the real
// dialog), sorting, undo and redo, the statistics mode, the options, the
// closing question and the hand-over file.
#include "TesteGui.h"

#include "files/ArquivoZelto.h"
#include "gui/dialogs/FAtributos.h"
#include "gui/worksheet/ModeloPlanilha.h"
#include "worksheet/DefinicaoVariavel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <fstream>

using namespace zelto;
using namespace zelto::teste;

namespace {

// Three samples of price and area, as typed.
void Amostras(TGridzelto &g) {
    Define(g, 1, "preço", tvNumerica);
    Define(g, 2, "área", tvNumerica);
    Preenche(g, 1, {"300", "100", "200"});
    Preenche(g, 2, {"30", "10", "20"});
    g.DefineModificada(false);
}

} // namespace

class TesteJanela : public QObject {
    Q_OBJECT
  private slots:

    void estadoInicial() {
        TJanelaTeste w;
        QCOMPARE(w.J().windowTitle(), QStringLiteral("Zelto 32"));
        QCOMPARE(w.J().ArquivoAtual(), std::string("Planilha.QV3"));
        QCOMPARE(w.J().Paginas()->count(), 1); // no report: no report tab
        QCOMPARE(w.J().Paginas()->tabText(0), QStringLiteral("PLANILHA.QV3"));
        QCOMPARE(w.J().RotuloEstado()->text(), QStringLiteral("----------------"));
        QCOMPARE(w.J().RotuloLinhas()->text(), QStringLiteral("----------------"));
        QCOMPARE(w.J().RotuloColunas()->text(), QStringLiteral("----------------"));
        QCOMPARE(w.J().RotuloPosicao()->text(), QStringLiteral("• 1 •A0•"));
        QCOMPARE(w.J().BotaoModo()->text(),
                 QStringLiteral("Estatística Inferencial  (Análise por Regressão)"));
        QCOMPARE(w.J().Acao("LerPlanilha")->shortcut(), QKeySequence(Qt::Key_F3));
        QCOMPARE(w.J().Acao("GravarPlanilha")->shortcut(), QKeySequence(Qt::Key_F6));
        QCOMPARE(w.J().Acao("ExcluirAmostragem")->toolTip(),
                 QStringLiteral("Apagar  linha da amostra"));
        QVERIFY(!w.J().Acao("Desfazer")->isEnabled());
    }

    void amostragensComPerguntas() {
        TJanelaTeste w;
        Amostras(w.G());
        w.J().Grade()->IrPara(1, 2);
        w.respostas = {Resposta::Nao};
        w.J().Edicao().ExcluiAmostragem();
        QCOMPARE(w.perguntas.back(),
                 std::string("A amostragem nº 2 será apagada da planilha.\r\nDeseja Continuar?"));
        QCOMPARE(w.G().LinhasUsadas(), 3);
        w.respostas = {Resposta::Sim};
        w.J().Edicao().ExcluiAmostragem();
        QCOMPARE(w.G().LinhasUsadas(), 2);
        QCOMPARE(w.G().Celula(0, 2), std::string("3"));
        w.J().Edicao().InsereAmostragem();                        // takes the next free number, no question
        QCOMPARE(w.G().Celula(0, 2), std::string("43")); // the emptied row at the bottom took 42
        QCOMPARE(w.G().LinhasUsadas(), 3);
        w.respostas = {Resposta::Sim};
        w.J().Edicao().ExcluiAmostragensAbaixo();
        QCOMPARE(
            w.perguntas.back(),
            std::string(
                "As amostragens abaixo da nº 43 serão apagadas da planilha.\r\nDeseja Continuar?"));
        QCOMPARE(w.G().LinhasUsadas(), 1);
        // The flag of a sample, and its caption.
        w.J().Grade()->IrPara(1, 1);
        w.J().Edicao().AlternaAmostragem();
        QVERIFY(w.G().Desconsiderada(1));
        QCOMPARE(w.J().Acao("AmostragemContexto")->text(), QStringLiteral("Considerar Amostragem"));
        QCOMPARE(w.J().RotuloPosicao()->text(), QStringLiteral("– 1 – preço"));
    }

    void variaveisComPerguntas() {
        TJanelaTeste w;
        Amostras(w.G());
        Define(w.G(), 3, "obs", tvComentario);
        w.J().Grade()->IrPara(2, 1);
        w.respostas = {Resposta::Sim};
        w.J().Edicao().ExcluiVariaveisDireita();
        QCOMPARE(w.perguntas.back(), std::string("As variáveis a partir de [área] serão apagadas "
                                                 "da planilha.\r\nDeseja Continuar?"));
        QCOMPARE(w.G().ColunasUsadas(), 1);
        w.J().Grade()->IrPara(1, 1);
        w.respostas = {Resposta::Nao};
        w.J().Edicao().ExcluiVariavel();
        QCOMPARE(
            w.perguntas.back(),
            std::string("A variável [preço]\r\nserá apagada da planilha.\r\nDeseja Continuar?"));
        QCOMPARE(w.G().ColunasUsadas(), 1);
        w.J().Edicao().InsereVariavel();
        QCOMPARE(w.G().Celula(1, 0), std::string("A0"));
        QCOMPARE(w.G().Celula(2, 0), std::string("preço"));
        // Dependent: only numeric and calculated; setting it also uses the variable.
        w.J().Grade()->IrPara(2, 1);
        w.J().Edicao().AlternaUsada();
        QVERIFY(!w.G().Variavel(2)->Usada);
        w.J().Edicao().AlternaDependente();
        QVERIFY(w.G().Variavel(2)->Usada && w.G().Variavel(2)->Dependente);
        w.J().Edicao().Alinha(alCentro);
        QCOMPARE(int(w.G().Variavel(2)->Alinhamento), int(alCentro));
        QVERIFY(w.J().Acao("AlinharCentro")->isChecked());
    }

    // Define a variable, then change its kind: the cells are converted.
    void defineEConverte() {
        TJanelaTeste w;
        w.tabelas->Acrescenta("Tem", TTabelaDicotomica{"Tem", "Não tem"});
        Define(w.G(), 1, "garagem", tvNumerica);
        Preenche(w.G(), 1, {"0", "2", "1"});
        TAtributosVariavel pedido;
        w.J().Edicao().EditaVariavel = [&](int c, TAtributosVariavel &a) {
            a = AtributosIniciais(w.G(), c, *w.tabelas);
            a.Tipo = pedido.Tipo;
            a.Tabela = pedido.Tabela;
            a.Alinhamento = AlinhamentoPadrao(pedido.Tipo);
            return true;
        };
        pedido.Tipo = tvDicotomica;
        pedido.Tabela = "Tem";
        w.J().Grade()->IrPara(1, 1);
        w.J().Edicao().DefineVariavelAtual();
        QCOMPARE(w.G().Celula(1, 1), std::string("FALSE"));
        QCOMPARE(w.G().Celula(1, 2), std::string("TRUE"));
        QCOMPARE(w.J().Modelo()->data(w.J().Modelo()->Indice(1, 2)).toString(),
                 QStringLiteral("Tem"));
        pedido.Tipo = tvCalculada;
        w.J().Edicao().DefineVariavelAtual();
        QCOMPARE(w.G().Celula(1, 3), std::string("???")); // emptied, then the empty formula fails
        // Both definitions are undone in turn.
        w.J().Edicao().Desfaz();
        QCOMPARE(w.G().Celula(1, 2), std::string("TRUE"));
        w.J().Edicao().Desfaz();
        QCOMPARE(w.G().Celula(1, 2), std::string("2,00"));
        QCOMPARE(int(w.G().Variavel(1)->Tipo), int(tvNumerica));
        w.J().Edicao().Refaz();
        QCOMPARE(int(w.G().Variavel(1)->Tipo), int(tvDicotomica));
    }

    // The real dialog, answered as a user would.
    void defineNoDialogo() {
        TJanelaTeste w;
        w.J().show();
        Define(w.G(), 1, "preço", tvNumerica);
        Preenche(w.G(), 1, {"10", "20"});
        QTimer::singleShot(0, [] {
            auto *d = qobject_cast<TFAtributos *>(QApplication::activeModalWidget());
            QVERIFY(d);
            d->CampoNome()->setText(QStringLiteral("dobro"));
            d->Paginas()->setCurrentIndex(tvCalculada);
            d->CampoFormula()->setText(QStringLiteral("[preço]*2"));
            d->CampoDecimais(tvCalculada)->setText(QStringLiteral("1"));
            d->BotaoConfirmar()->click();
        });
        w.J().Edicao().DefineVariavelAtual(3);
        QCOMPARE(w.G().Celula(3, 0), std::string("dobro"));
        QCOMPARE(w.G().Celula(3, 2), std::string("40,0"));
        QCOMPARE(w.G().ColunasUsadas(), 3);
        QCOMPARE(w.G().ColunaAtual, 3);
        QVERIFY(w.J().Acao("Desfazer")->text().endsWith(QStringLiteral("definição de variável")));
    }

    void ordenaDesfazRefaz() {
        TJanelaTeste w;
        Amostras(w.G());
        w.J().Edicao().EscolheOrdenacao = [] { return std::make_optional(std::make_pair(1, false)); };
        w.J().Edicao().Ordena();
        QCOMPARE(w.G().Celula(1, 1), std::string("300,00"));
        QCOMPARE(w.G().Celula(1, 3), std::string("100,00"));
        QCOMPARE(w.G().Celula(0, 3), std::string("2")); // rows keep their numbers
        w.J().show();
        QApplication::setActiveWindow(&w.J());
        QTest::keyClick(&w.J(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.G().Celula(1, 2), std::string("100,00"));
        QTest::keyClick(&w.J(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(w.G().Celula(1, 2), std::string("200,00"));
        w.J().Edicao().EscolheOrdenacao = [] { return std::make_optional(std::make_pair(0, true)); };
        w.J().Edicao().Ordena();
        QCOMPARE(w.G().Celula(0, 1), std::string("1"));
        QCOMPARE(w.G().Celula(1, 1), std::string("300,00"));
    }

    void modoDuasVezes() {
        TJanelaTeste w;
        Amostras(w.G());
        Define(w.G(), 3, "data", tvData);
        w.J().AlternaModo();
        QVERIFY(!w.G().Modo.Inferencial);
        QCOMPARE(w.J().BotaoModo()->text(),
                 QStringLiteral("Estatística Descritiva  (Análise por Fatores)"));
        QCOMPARE(w.J().Acao("ConverterModo")->text(),
                 QStringLiteral("Converter para estatística &inferencial"));
        QVERIFY(w.J().Acao("CrVH")->isVisible());
        QVERIFY(w.G().ColunaValorHomogeneizado() != 0);
        QVERIFY(!w.G().Variavel(3)->Usada);
        TConfiguracaoGeral cfg;
        cfg.Le(w.IniNoDisco());
        QVERIFY(!cfg.Inferencial);
        w.J().AlternaModo();
        QVERIFY(w.G().Modo.Inferencial);
        QCOMPARE(w.J().BotaoModo()->text(),
                 QStringLiteral("Estatística Inferencial  (Análise por Regressão)"));
        QCOMPARE(w.J().Acao("ConverterModo")->text(),
                 QStringLiteral("Converter para estatística &descritiva"));
        QVERIFY(!w.J().Acao("CrVH")->isVisible());
        QCOMPARE(w.G().ColunaValorHomogeneizado(), 0);
        cfg.Le(w.IniNoDisco());
        QVERIFY(cfg.Inferencial);
        // Undoing the second toggle brings the descriptive mode and its column back.
        w.J().Edicao().Desfaz();
        QVERIFY(!w.G().Modo.Inferencial);
        QVERIFY(w.G().ColunaValorHomogeneizado() != 0);
        w.J().Edicao().Desfaz();
        QVERIFY(w.G().Modo.Inferencial);
        QCOMPARE(w.G().ColunaValorHomogeneizado(), 0);
    }

    void opcoesGravadasNaHora() {
        TJanelaTeste w;
        struct {
            const char *chave;
            bool TConfiguracaoGeral::*campo;
        } opcoes[] = {{"PdOA", &TConfiguracaoGeral::PedirObjeto},
                      {"SnAu", &TConfiguracaoGeral::SaneamentoAutomatico},
                      {"VCVz", &TConfiguracaoGeral::VerificarCelulasVazias},
                      {"CrVH", &TConfiguracaoGeral::CriarHomogeneizado}};
        for (const auto &o : opcoes) {
            TConfiguracaoGeral antes;
            antes.Le(w.IniNoDisco());
            w.J().Acao(QString::fromLatin1(o.chave))->trigger();
            TConfiguracaoGeral depois;
            depois.Le(w.IniNoDisco());
            QCOMPARE(depois.*(o.campo), !(antes.*(o.campo)));
            QCOMPARE(w.J().Acao(QString::fromLatin1(o.chave))->isChecked(), depois.*(o.campo));
        }
        // The row height after the user resizes a row.
        w.J().Grade()->verticalHeader()->resizeSection(0, 31);
        TConfiguracaoGeral cfg;
        cfg.Le(w.IniNoDisco());
        QCOMPARE(cfg.AlturaLinha, 31);
        QCOMPARE(w.J().Grade()->rowHeight(5), 31);
    }

    void perguntaDeFechamento() {
        TJanelaTeste w;
        Amostras(w.G());
        w.G().DefineModificada(true);
        w.respostas = {Resposta::Cancelar};
        w.J().Arquivos().NovaPlanilha();
        QCOMPARE(w.perguntas.back(),
                 std::string("Os dados da planilha não estão gravados.\r\nDeseja gravá-los?"));
        QCOMPARE(w.G().LinhasUsadas(), 3);
        // Yes, but the save is cancelled in its dialog: nothing is lost.
        w.respostas = {Resposta::Sim};
        w.J().Arquivos().NovaPlanilha();
        QCOMPARE(w.G().LinhasUsadas(), 3);
        w.respostas = {Resposta::Nao};
        w.J().Arquivos().NovaPlanilha();
        QCOMPARE(w.G().LinhasUsadas(), 0);
        QVERIFY(!w.G().Modificada());
        QVERIFY(!w.J().Acao("Desfazer")->isEnabled());
        // Closing the window asks the same; cancel keeps it open.
        w.J().show();
        w.G().AceitaEdicao(1, 1, "x");
        w.respostas = {Resposta::Cancelar};
        QVERIFY(!w.J().close());
        QVERIFY(w.J().isVisible());
        w.respostas = {Resposta::Nao};
        QVERIFY(w.J().close());
    }

    void celulaVaziaAntesDeGravar() {
        TJanelaTeste w;
        Amostras(w.G());
        w.G().AtribuiCelula(2, 2, "");
        w.J().AlternaOpcao("VCVz");
        std::vector<std::string> vistos;
        w.J().Arquivos().PerguntaCelulaVazia = [&](const std::string &v, const std::string &a) {
            vistos.push_back(v + "/" + a);
            return TRespostaCelulaVazia{EscolhaCelulaVazia::Preencher, false};
        };
        w.arquivosGravacao.push_back({w.Caminho("a.QV3").string(), ""});
        QVERIFY(!w.J().Arquivos().GravaPlanilha());
        QCOMPARE(vistos, (std::vector<std::string>{"área/2"}));
        QCOMPARE(w.G().ColunaAtual, 2);
        QCOMPARE(w.G().LinhaAtual, 2);
        QVERIFY(!std::filesystem::exists(w.Caminho("a.QV3")));
        // The second way: the sample is disregarded and the save goes on; the
        // box turns the check off.
        w.J().Arquivos().PerguntaCelulaVazia = [&](const std::string &, const std::string &) {
            return TRespostaCelulaVazia{EscolhaCelulaVazia::DesconsiderarAmostragens, true};
        };
        QVERIFY(w.J().Arquivos().GravaPlanilha());
        QVERIFY(w.G().Desconsiderada(2));
        QVERIFY(std::filesystem::exists(w.Caminho("a.QV3")));
        QVERIFY(!w.J().Configuracao().VerificarCelulasVazias);
    }

    void transferenciaDeOutroPrograma() {
        // The companion program's file: a native worksheet.
        TGridzelto origem;
        Define(origem, 1, "valor", tvNumerica);
        Preenche(origem, 1, {"123"});
        const std::filesystem::path arquivo =
            std::filesystem::path(QDir::tempPath().toStdString()) / kArquivoTransferencia;
        auto deixa = [&] {
            TArquivoZelto z;
            QVERIFY(z.Gravar(arquivo, origem, "", "do banco"));
        };
        TJanelaTeste w;
        Amostras(w.G());
        w.G().DefineModificada(true);
        deixa();
        w.respostas = {Resposta::Cancelar};
        w.J().VerificaTransferencia();
        QCOMPARE(w.perguntas.back(),
                 std::string("O ZELTO está recebendo informações do Banco de dados.\r\nDeseja "
                             "salvar os dados da planilha atual ?"));
        QVERIFY(!std::filesystem::exists(arquivo)); // dropped
        QCOMPARE(w.G().Celula(1, 0), std::string("preço"));
        deixa();
        w.respostas = {Resposta::Nao};
        w.J().VerificaTransferencia();
        QVERIFY(!std::filesystem::exists(arquivo));
        QCOMPARE(w.G().Celula(1, 0), std::string("valor"));
        QCOMPARE(w.G().Celula(1, 1), std::string("123,00"));
        QVERIFY(w.G().Modificada());
        QCOMPARE(w.J().ArquivoAtual(), std::string("Planilha.QV3"));
        QCOMPARE(w.perguntas.size(), std::size_t(2)); // no closing question on the way
        // The next save asks for a name.
        w.arquivosGravacao.push_back({w.Caminho("banco.QV3").string(), ""});
        QVERIFY(w.J().Arquivos().GravaPlanilha());
        QCOMPARE(w.J().ArquivoAtual(), w.Caminho("banco.QV3").string());
    }
};

ZELTO_TESTE_GUI(TesteJanela)
#include "TesteJanela.moc"
