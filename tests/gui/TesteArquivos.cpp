// File commands of the main window: save and reopen, save as (the overwrite
// question, text copies), recent files, reading the shipped examples, files
// of unknown format, the file named at start and the descriptive mode's
// question after reading.
#include "TesteGui.h"

#include "common/Datas.h"
#include "common/Texto.h"
#include "files/ArquivoZelto.h"
#include "gui/worksheet/ModeloPlanilha.h"
#include "worksheet/DefinicaoVariavel.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <functional>
#include <memory>
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
    AplicaRegras(a, w.G().Modo.Inferencial);
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

std::string LeTudo(const std::string &nome) {
    std::ifstream f(nome, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), {});
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

    void gravaEReabre() {
        TJanelaTeste w;
        PlanilhaCompleta(w);
        const auto antes = Celulas(w.G());
        QCOMPARE(w.G().Celula(6, 1), std::string("3000,50"));
        const std::string nome = w.Caminho("casas.QV3").string();
        // Save with a never-saved worksheet asks for a name.
        w.arquivosGravacao.push_back({nome, "linha 1\nlinha 2"});
        QVERIFY(w.J().Arquivos().GravaPlanilha());
        QCOMPARE(w.J().ArquivoAtual(), nome);
        QVERIFY(!w.G().Modificada());
        QCOMPARE(w.J().Paginas()->tabText(0), QStringLiteral("CASAS.QV3"));
        QCOMPARE(w.J().windowTitle(), QStringLiteral("Zelto 32 - CASAS.QV3[*]"));
        QVERIFY(!w.J().isWindowModified());
        QCOMPARE(w.J().statusBar()->currentMessage(),
                 QStringLiteral("Planilha gravada: CASAS.QV3"));
        QCOMPARE(w.J().Arquivos().Recentes().Itens().front(), nome);
        QCOMPARE(w.J().Acao("Recente1")->text(), QString::fromStdString("&1 " + nome));

        w.J().Arquivos().NovaPlanilha(); // unmodified: no question
        QVERIFY(w.perguntas.empty());
        QCOMPARE(w.G().ColunasUsadas(), 0);
        w.J().Arquivos().AbreRecente(0);
        QCOMPARE(Celulas(w.G()), antes);
        QVERIFY(w.G().Desconsiderada(2));
        QCOMPARE(w.J().ArquivoAtual(), nome);
        QCOMPARE(w.J().RotuloLinhas()->text(), QStringLiteral("2 linhas"));
        QCOMPARE(w.J().RotuloColunas()->text(), QStringLiteral("6 colunas"));
        QVERIFY(!w.J().Acao("Desfazer")->isEnabled()); // reading starts a new history

        // Save again under the same name keeps the comments of the file.
        w.G().AceitaEdicao(1, 1, "2000");
        w.J().Atualiza();
        QVERIFY(w.J().isWindowModified());
        QVERIFY(w.J().Arquivos().GravaPlanilha());
        w.arquivosLeitura.push_back(nome);
        w.J().Arquivos().LePlanilha();
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
        QVERIFY(!w.J().Arquivos().GravaComo());
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
        w.respostas = {Resposta::Sim}; // what the text format drops
        QVERIFY(w.J().Arquivos().GravaComo());
        QCOMPARE(w.J().ArquivoAtual(), std::string("Planilha.QV3"));
        QVERIFY(w.J().Arquivos().Recentes().Itens().empty());
        std::ifstream f(nome, std::ios::binary);
        std::string conteudo((std::istreambuf_iterator<char>(f)), {});
        QVERIFY(conteudo.starts_with("pre\xE7o\tbairro"));
        QVERIFY(conteudo.find("20,00\tSul") != std::string::npos);
    }

    void leExemploWindsor() {
        TJanelaTeste w;
        const std::string nome = std::string(ZELTO_EXEMPLOS) + "/windsor.TXT";
        if (!std::filesystem::exists(nome)) QSKIP("the Windsor example is not in examples/");
        QVERIFY(w.J().Arquivos().AbreArquivo(nome));
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
        QVERIFY(!w.J().Arquivos().AbreArquivo(nome));
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
        QVERIFY(w.J().Arquivos().GravaComo());
        std::filesystem::remove(nome);
        w.J().Arquivos().AbreRecente(0);
        QCOMPARE(w.avisos.back(), std::string("O arquivo some.QV3 não foi encontrado."));
        QVERIFY(w.J().Arquivos().Recentes().Itens().empty());
        QVERIFY(!w.J().Acao("Recente1")->isVisible());
    }

    void arquivoDoArgumento() {
        TJanelaTeste w;
        PlanilhaCompleta(w);
        const std::string nome = w.Caminho("inicio.QV3").string();
        w.arquivosGravacao.push_back({nome, ""});
        QVERIFY(w.J().Arquivos().GravaComo());
        TJanelaTeste outra;
        outra.J().AbreArquivoInicial(
            {"zelto", QString::fromStdString(w.Caminho("nao-existe.QV3").string())});
        QCOMPARE(outra.G().ColunasUsadas(), 0);
        outra.J().AbreArquivoInicial({"zelto", QString::fromStdString(nome)});
        QCOMPARE(outra.G().ColunasUsadas(), 6);
        QCOMPARE(outra.J().Paginas()->tabText(0), QStringLiteral("INICIO.QV3"));
    }

    // F6 on a worksheet read from a text file proposes the native format under the same name;
    // writing text on purpose first says what the format drops.
    void textoGravadoComoNativo() {
        TJanelaTeste w;
        PlanilhaCompleta(w);
        const std::string texto = w.Caminho("dados.TXT").string();
        w.arquivosGravacao.push_back({texto, ""});
        w.respostas = {Resposta::Nao};
        QVERIFY(!w.J().Arquivos().GravaComo());
        QVERIFY(w.perguntas.back().starts_with("O formato texto (.TXT) guarda apenas"));
        QVERIFY(!std::filesystem::exists(texto));
        w.arquivosGravacao.push_back({texto, ""});
        w.respostas = {Resposta::Sim};
        QVERIFY(w.J().Arquivos().GravaComo());
        QVERIFY(w.G().Modificada()); // a text copy is no save of the worksheet

        w.respostas = {Resposta::Nao};
        w.J().Arquivos().NovaPlanilha();
        QVERIFY(w.J().Arquivos().AbreArquivo(texto));
        const std::string bytes = LeTudo(texto);
        w.G().AceitaEdicao(1, 1, "7");
        w.J().Acao(QStringLiteral("GravarPlanilha"))->trigger(); // the dialog is cancelled
        QCOMPARE(w.iniciosGravacao.back().Nome, std::string("dados.QV3"));
        QCOMPARE(w.iniciosGravacao.back().Pasta, w.Caminho("").parent_path().string());
        QCOMPARE(LeTudo(texto), bytes);
        QVERIFY(w.G().Modificada());
        const std::string nativo = w.Caminho("dados.QV3").string();
        w.arquivosGravacao.push_back({nativo, ""});
        QVERIFY(w.J().Arquivos().GravaPlanilha());
        QCOMPARE(w.J().ArquivoAtual(), nativo);
        QCOMPARE(LeTudo(texto), bytes);
    }

    // The worksheet's comments go into every save as the box's first text, and come back with
    // the file.
    void comentariosDaPlanilha() {
        TJanelaTeste w;
        PlanilhaCompleta(w);
        const std::string nome = w.Caminho("fonte.QV3").string();
        w.arquivosGravacao.push_back({nome, "Fonte: cartório\njunho"});
        QVERIFY(w.J().Arquivos().GravaComo());
        QCOMPARE(w.J().Comentarios(), std::string("Fonte: cartório\r\njunho"));
        w.J().Arquivos().GravaComo(); // cancelled
        QCOMPARE(w.iniciosGravacao.back().Comentarios, w.J().Comentarios());
        QCOMPARE(w.iniciosGravacao.back().Nome, std::string("fonte.QV3"));
        w.J().Arquivos().NovaPlanilha();
        QVERIFY(w.J().Comentarios().empty());
        QVERIFY(w.J().Arquivos().AbreArquivo(nome));
        QCOMPARE(w.J().Comentarios(), std::string("Fonte: cartório\r\njunho"));
        const std::string copia = w.Caminho("copia.QV3").string();
        w.arquivosGravacao.push_back({copia, "outro"});
        QVERIFY(w.J().Arquivos().GravaComo());
        w.G().AceitaEdicao(1, 1, "3");
        QVERIFY(w.J().Arquivos().GravaPlanilha());
        std::string lidos;
        TArquivoZelto z;
        QVERIFY(z.LerComentarios(copia, lidos));
        QCOMPARE(lidos, std::string("outro"));
    }

    // A damaged file leaves what could be read in a worksheet bound to no file: neither F6 nor
    // the closing question's "Sim" writes over it.
    void arquivoDanificado() {
        TJanelaTeste w;
        PlanilhaCompleta(w);
        const std::string nome = w.Caminho("danificado.QV3").string();
        w.arquivosGravacao.push_back({nome, ""});
        QVERIFY(w.J().Arquivos().GravaComo());
        w.J().Arquivos().NovaPlanilha();
        // Signature, empty comments, counts and row height, the two row records, then the first
        // column record cut short.
        std::filesystem::resize_file(nome, 30 + 1 + 6 + 2 * 3 + 2);
        const std::string bytes = LeTudo(nome);
        QVERIFY(!w.J().Arquivos().AbreArquivo(nome));
        QVERIFY(w.avisos.back().ends_with(
            "\r\n\r\nForam lidas 2 amostragens e nenhuma variável; o arquivo não foi alterado."));
        QCOMPARE(w.J().ArquivoAtual(), std::string("Planilha.QV3"));
        QCOMPARE(w.J().Paginas()->tabText(0), QStringLiteral("PLANILHA.QV3"));
        QVERIFY(w.G().Modificada());
        w.J().Acao(QStringLiteral("GravarPlanilha"))->trigger(); // asks where: cancelled
        QCOMPARE(w.iniciosGravacao.size(), std::size_t(2));
        w.respostas = {Resposta::Sim}; // "Deseja gravá-los?" then the dialog is cancelled
        w.J().Arquivos().NovaPlanilha();
        QCOMPARE(w.G().LinhasUsadas(), 2);
        QCOMPARE(LeTudo(nome), bytes);
    }

    // A save onto a file marked read-only is refused with the reason; the worksheet stays
    // modified.
    void gravacaoRecusada() {
        TJanelaTeste w;
        PlanilhaCompleta(w);
        const std::string nome = w.Caminho("protegido.QV3").string();
        { std::ofstream(nome) << "anterior"; }
        std::filesystem::permissions(nome, std::filesystem::perms(0444));
        w.arquivosGravacao.push_back({nome, ""});
        w.respostas = {Resposta::Sim}; // write over it
        QVERIFY(!w.J().Arquivos().GravaComo());
        QVERIFY(w.avisos.back().find("ele está marcado como somente leitura.") !=
                std::string::npos);
        QCOMPARE(LeTudo(nome), std::string("anterior"));
        QVERIFY(w.G().Modificada());
        QCOMPARE(w.J().ArquivoAtual(), std::string("Planilha.QV3"));
    }

    // The file dialogs start in the current worksheet's folder, else the last one used, else
    // the home folder (never the program's own), and propose the current name.
    void inicioDosDialogos() {
        TJanelaTeste w;
        w.J().Arquivos().LePlanilha();
        QCOMPARE(w.iniciosLeitura.back().Pasta, QDir::homePath().toStdString());
        PlanilhaCompleta(w);
        const std::string nome = w.Caminho("pasta.QV3").string();
        w.arquivosGravacao.push_back({nome, ""});
        QVERIFY(w.J().Arquivos().GravaComo());
        QCOMPARE(w.iniciosGravacao.back().Nome, std::string("Planilha.QV3"));
        w.J().Arquivos().NovaPlanilha();
        w.J().Arquivos().LePlanilha();
        QCOMPARE(w.iniciosLeitura.back().Pasta, w.Caminho("").parent_path().string());
        w.arquivosLeitura.push_back(nome);
        w.J().Arquivos().LePlanilha();
        w.J().Arquivos().GravaComo();
        QCOMPARE(w.iniciosGravacao.back().Nome, std::string("pasta.QV3"));
        QCOMPARE(w.iniciosGravacao.back().Pasta, w.Caminho("").parent_path().string());
    }

    // The real save dialog: where it starts, the name it proposes, the worksheet's comments and
    // those of an existing native file under the pointer; the open dialog never lists the
    // temporary file of a save. Qt's own words are Portuguese.
    void dialogosReais() {
        TJanelaTeste w;
        PlanilhaCompleta(w);
        const std::string outro = w.Caminho("outro.QV3").string();
        w.arquivosGravacao.push_back({outro, "do outro"});
        QVERIFY(w.J().Arquivos().GravaComo());
        { std::ofstream(outro + ".~gravando") << "meia gravação"; }
        const std::string pasta = w.Caminho("").parent_path().string();

        QString painel, painelOutro, painelNovo, nome, diretorio, cancelar;
        QuandoAbrir<QFileDialog>([&](QFileDialog &d) {
            auto *caixa = d.findChild<QPlainTextEdit *>(QStringLiteral("painel"));
            painel = caixa->toPlainText();
            emit d.currentChanged(QString::fromStdString(outro));
            painelOutro = caixa->toPlainText();
            emit d.currentChanged(QString::fromStdString(pasta + "/novo.QV3"));
            painelNovo = caixa->toPlainText();
            nome = d.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text();
            diretorio = d.directory().absolutePath();
            if (auto *b = d.findChild<QDialogButtonBox *>())
                cancelar = b->button(QDialogButtonBox::Cancel)->text();
            d.reject();
        });
        QVERIFY(!DialogoGravacao(nullptr, {pasta, "novo.QV3", "Fonte: cartório\r\njunho"}));
        QCOMPARE(painel, QStringLiteral("Fonte: cartório\njunho"));
        QCOMPARE(painelOutro, QStringLiteral("do outro"));
        QCOMPARE(painelNovo, QStringLiteral("Fonte: cartório\njunho"));
        QCOMPARE(nome, QStringLiteral("novo.QV3"));
        QCOMPARE(diretorio, QString::fromStdString(pasta));
        QCOMPARE(cancelar, QStringLiteral("Cancelar"));

        QStringList listados;
        QuandoAbrir<QFileDialog>([&](QFileDialog &d) {
            d.selectNameFilter(FiltrosQt(kFiltroLeitura).last()); // every file
            auto *lista = d.findChild<QListView *>(QStringLiteral("listView"));
            QDeadlineTimer prazo(10000);
            while (!listados.contains(QStringLiteral("outro.QV3")) && !prazo.hasExpired()) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
                listados.clear();
                for (int i = 0; i < lista->model()->rowCount(lista->rootIndex()); ++i)
                    listados << lista->model()->index(i, 0, lista->rootIndex()).data().toString();
            }
            d.reject();
        });
        QVERIFY(DialogoLeitura(nullptr, {pasta, "", ""}).empty());
        QVERIFY(listados.contains(QStringLiteral("outro.QV3")));
        QVERIFY(!listados.contains(QStringLiteral("outro.QV3.~gravando")));
    }

    // A ".DCR" file opens in the descriptive mode, which asks for the unit value and the
    // coefficients, and values the homogenised sample.
    void leituraDescritiva() {
        TJanelaTeste w;
        Define(w.G(), 1, "unitário", tvNumerica);
        Define(w.G(), 2, "fator", tvNumerica);
        Preenche(w.G(), 1, {"100"});
        Preenche(w.G(), 2, {"1,1"});
        const std::string nome = w.Caminho("fatores.DCR").string();
        w.arquivosGravacao.push_back({nome, ""});
        QVERIFY(w.J().Arquivos().GravaComo());
        w.J().Arquivos().NovaPlanilha();
        w.respostas = {Resposta::Sim, Resposta::Sim};
        QVERIFY(w.J().Arquivos().AbreArquivo(nome));
        QVERIFY(!w.G().Modo.Inferencial);
        // The unit value, then the used column nobody marked as a coefficient; the
        // "Valor Homog." column is the value evaluated, as switching the mode makes it.
        QCOMPARE(
            w.perguntas,
            (std::vector<std::string>{
                "A variável [unitário] deve ser usada como valor unitário nos cálculos ?",
                "A variável [fator] deve ser usada como coeficiente de homogeneização ?"}));
        QVERIFY(w.G().Variavel(2)->CoeficienteHomogeneizacao);
        const int h = w.G().ColunaValorHomogeneizado();
        QCOMPARE(h, 3);
        QVERIFY(w.G().Variavel(h)->Dependente && w.G().Variavel(1)->Usada);
        QCOMPARE(w.G().Celula(h, 1), std::string("110,00"));
        QCOMPARE(w.J().BotaoModo()->text(),
                 QStringLiteral("Estatística Descritiva  (Análise por Fatores)"));
    }
};

ZELTO_TESTE_GUI(TesteArquivos)
#include "TesteArquivos.moc"
