// File commands of the main window: save and reopen, save as (the overwrite
// question, text copies), recent files, reading the shipped examples, files
// of unknown format, the file named at start and the descriptive mode's
// question after reading.
#include "TesteGui.h"

#include "common/Datas.h"
#include "common/Texto.h"
#include "gui/worksheet/ModeloPlanilha.h"
#include "worksheet/DefinicaoVariavel.h"
#include "worksheet/Modo.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <fstream>
#include <sstream>

using namespace zelto;
using namespace zelto::teste;

namespace {

void DefineAtributos(TJanelaTeste &w, int c, const std::string &nome, TipoVariavel tipo,
                     const std::string &tabela = "", const std::string &formula = "") {
    TAtributosVariavel a = AtributosIniciais(w.G(), c, *w.tabelas);
    a.Nome = nome;
    a.Tipo = tipo;
    a.Tabela = tabela;
    a.Equacao = formula;
    a.Usada = tipo != tvComentario;
    a.TipoData = tdDiaMesAno;
    a.DataReferencia = static_cast<double>(SerialDeData(2024, 6, 1));
    AplicaRegras(a, ModoInferencial);
    DefineVariavel(w.G(), c, a, *w.tabelas);
}

// A worksheet with a column of each kind.
void PlanilhaCompleta(TJanelaTeste &w) {
    w.tabelas->Acrescenta("Padrão", TTabelaQualitativa{{"Baixo", 1}, {"Alto", 3}});
    w.tabelas->Acrescenta("Vista", TTabelaDicotomica{"Com vista", "Sem vista"});
    DefineAtributos(w, 1, "preço", tvNumerica);
    DefineAtributos(w, 2, "padrão", tvQualitativa, "Padrão");
    DefineAtributos(w, 3, "vista", tvDicotomica, "Vista");
    DefineAtributos(w, 4, "venda", tvData);
    DefineAtributos(w, 5, "obs", tvComentario);
    DefineAtributos(w, 6, "dobro", tvCalculada, "", "[preço]*2");
    const char *linhas[][5] = {{"1.500,25", "Alto", "TRUE", "10/02/2024", "esquina"},
                               {"900", "Baixo", "FALSE", "01/12/2023", "meio de quadra"}};
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 5; ++c)
            w.G().AceitaEdicao(c, r, linhas[r - 1][c - 1]);
    w.G().AlternaDesconsiderada(2);
}

std::vector<std::string> Celulas(TGridzelto &g) {
    std::vector<std::string> v;
    for (int r = 0; r <= g.LinhasUsadas(); ++r)
        for (int c = 1; c <= g.ColunasUsadas(); ++c)
            v.push_back(g.Celula(c, r));
    return v;
}

} // namespace

class TesteArquivos : public QObject {
    Q_OBJECT
  private slots:
    void init() { ModoInferencial = true; }

    void gravaEReabre() {
        TJanelaTeste w;
        PlanilhaCompleta(w);
        const auto antes = Celulas(w.G());
        QCOMPARE(w.G().Celula(6, 1), std::string("3000,50"));
        const std::string nome = w.Caminho("casas.QV3").string();
        // Save with a never-saved worksheet asks for a name.
        w.arquivosGravacao.push_back({nome, "linha 1\nlinha 2"});
        QVERIFY(w.J().GravaPlanilha());
        QCOMPARE(w.J().ArquivoAtual(), nome);
        QVERIFY(!w.G().Modificada());
        QCOMPARE(w.J().Paginas()->tabText(0), QStringLiteral("CASAS.QV3"));
        QCOMPARE(w.J().Recentes().Itens().front(), nome);
        QCOMPARE(w.J().Acao("Recente1")->text(), QString::fromStdString("&1 " + nome));

        w.J().NovaPlanilha(); // unmodified: no question
        QVERIFY(w.perguntas.empty());
        QCOMPARE(w.G().ColunasUsadas(), 0);
        w.J().AbreRecente(0);
        QCOMPARE(Celulas(w.G()), antes);
        QVERIFY(w.G().Desconsiderada(2));
        QCOMPARE(w.J().ArquivoAtual(), nome);
        QCOMPARE(w.J().RotuloLinhas()->text(), QStringLiteral("2 linhas"));
        QCOMPARE(w.J().RotuloColunas()->text(), QStringLiteral("6 colunas"));
        QVERIFY(!w.J().Acao("Desfazer")->isEnabled()); // reading starts a new history

        // Save again under the same name keeps the comments of the file.
        w.G().AceitaEdicao(1, 1, "2000");
        QVERIFY(w.J().GravaPlanilha());
        w.arquivosLeitura.push_back(nome);
        w.J().LePlanilha();
        QCOMPARE(w.G().Celula(1, 1), std::string("2000,00"));
        QCOMPARE(w.G().Celula(6, 1), std::string("4000,00"));
    }

    void gravarComoPergunta() {
        TJanelaTeste w;
        PlanilhaCompleta(w);
        const std::string nome = w.Caminho("existe.QV3").string();
        { std::ofstream(nome) << "antigo"; }
        w.arquivosGravacao.push_back({nome, ""});
        w.respostas = {Resposta::Nao};
        QVERIFY(!w.J().GravaComo());
        QCOMPARE(w.perguntas.back(),
                 Maiusculas(nome) +
                     "\r\n já existe.\r\n\r\nDeseja gravar os dados sobre este arquivo?");
        std::ifstream f(nome);
        std::string conteudo((std::istreambuf_iterator<char>(f)), {});
        QCOMPARE(conteudo, std::string("antigo"));
        QCOMPARE(w.J().ArquivoAtual(), std::string("Planilha.QV3"));
    }

    void copiaEmTextoNaoMudaOArquivo() {
        TJanelaTeste w;
        Define(w.G(), 1, "preço", tvNumerica);
        Define(w.G(), 2, "bairro", tvComentario);
        Preenche(w.G(), 1, {"10", "20"});
        Preenche(w.G(), 2, {"Centro", "Sul"});
        const std::string nome = w.Caminho("dados.TXT").string();
        w.arquivosGravacao.push_back({nome, ""});
        QVERIFY(w.J().GravaComo());
        QCOMPARE(w.J().ArquivoAtual(), std::string("Planilha.QV3"));
        QVERIFY(w.J().Recentes().Itens().empty());
        std::ifstream f(nome, std::ios::binary);
        std::string conteudo((std::istreambuf_iterator<char>(f)), {});
        QVERIFY(conteudo.starts_with("pre\xE7o\tbairro"));
        QVERIFY(conteudo.find("20,00\tSul") != std::string::npos);
    }

    void leExemploWindsor() {
        TJanelaTeste w;
        const std::string nome = std::string(ZELTO_EXEMPLOS) + "/windsor.TXT";
        if (!std::filesystem::exists(nome)) QSKIP("the Windsor example is not in examples/");
        QVERIFY(w.J().AbreArquivo(nome));
        QCOMPARE(w.J().RotuloLinhas()->text(), QStringLiteral("546 linhas"));
        QCOMPARE(w.J().RotuloColunas()->text(), QStringLiteral("12 colunas"));
        QCOMPARE(w.G().Celula(1, 0), std::string("price"));
        QCOMPARE(w.J().Modelo()->rowCount(), w.G().RowCount() - 1);
        QCOMPARE(w.J().Paginas()->tabText(0), QStringLiteral("WINDSOR.TXT"));
        QCOMPARE(w.J().RotuloPosicao()->text(), QStringLiteral("| 1 | price"));
    }

    void formatoDesconhecido() {
        TJanelaTeste w;
        const std::string nome = w.Caminho("notas.abc").string();
        { std::ofstream(nome) << "qualquer coisa que não é planilha"; }
        QVERIFY(!w.J().AbreArquivo(nome));
        QCOMPARE(w.avisos.size(), std::size_t(1));
        QCOMPARE(w.avisos[0], std::string("Não foi possível ler arquivo NOTAS.ABC .\r\rO formato "
                                          "dos dados não é padrão do ZELTO."));
        QCOMPARE(w.J().ArquivoAtual(), std::string("Planilha.QV3"));
    }

    void recenteApagado() {
        TJanelaTeste w;
        PlanilhaCompleta(w);
        const std::string nome = w.Caminho("some.QV3").string();
        w.arquivosGravacao.push_back({nome, ""});
        QVERIFY(w.J().GravaComo());
        std::filesystem::remove(nome);
        w.J().AbreRecente(0);
        QCOMPARE(w.avisos.back(), std::string("O arquivo some.QV3 não foi encontrado."));
        QVERIFY(w.J().Recentes().Itens().empty());
        QVERIFY(!w.J().Acao("Recente1")->isVisible());
    }

    void arquivoDoArgumento() {
        TJanelaTeste w;
        PlanilhaCompleta(w);
        const std::string nome = w.Caminho("inicio.QV3").string();
        w.arquivosGravacao.push_back({nome, ""});
        QVERIFY(w.J().GravaComo());
        TJanelaTeste outra;
        outra.J().AbreArquivoInicial(
            {"zelto", QString::fromStdString(w.Caminho("nao-existe.QV3").string())});
        QCOMPARE(outra.G().ColunasUsadas(), 0);
        outra.J().AbreArquivoInicial({"zelto", QString::fromStdString(nome)});
        QCOMPARE(outra.G().ColunasUsadas(), 6);
        QCOMPARE(outra.J().Paginas()->tabText(0), QStringLiteral("INICIO.QV3"));
    }

    // A ".DCR" file opens in the descriptive mode, which asks for the unit value.
    void leituraDescritiva() {
        TJanelaTeste w;
        Define(w.G(), 1, "unitário", tvNumerica);
        Define(w.G(), 2, "fator", tvNumerica);
        Preenche(w.G(), 1, {"100"});
        Preenche(w.G(), 2, {"1,1"});
        const std::string nome = w.Caminho("fatores.DCR").string();
        w.arquivosGravacao.push_back({nome, ""});
        QVERIFY(w.J().GravaComo());
        w.J().NovaPlanilha();
        w.respostas = {Resposta::Sim};
        QVERIFY(w.J().AbreArquivo(nome));
        QVERIFY(!ModoInferencial);
        QCOMPARE(
            w.perguntas.back(),
            std::string("A variável [unitário] deve ser usada como valor unitário nos cálculos ?"));
        QVERIFY(w.G().Variavel(1)->Dependente);
        QCOMPARE(w.J().BotaoModo()->text(),
                 QStringLiteral("Estatística Descritiva  (Análise por Fatores)"));
        ModoInferencial = true;
    }
};

ZELTO_TESTE_GUI(TesteArquivos)
#include "TesteArquivos.moc"
