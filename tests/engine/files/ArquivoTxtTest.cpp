#include "files/ArquivoTxt.h"

#include "common/Texto.h"
#include "worksheet/Gridzelto.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace zelto;
namespace fs = std::filesystem;

namespace {

std::string Le(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class Txt : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        pasta = fs::temp_directory_path() /
                ("zelto_txt_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
        fs::remove_all(pasta);
        fs::create_directories(pasta);
    }
    void TearDown() override { fs::remove_all(pasta); }

    fs::path Escreve(const std::string &nome, const std::string &dados) {
        fs::path p = pasta / nome;
        std::ofstream(p, std::ios::binary | std::ios::trunc) << dados;
        return p;
    }
    // Reads a text worksheet; the result of Ler.
    bool LeTexto(const std::string &dados, TGridzelto &g, const std::string &nome = "P.TXT") {
        TArquivoTxt leitor;
        std::string resumo = "x";
        bool ok = leitor.Ler(Escreve(nome, dados), g, 255, resumo);
        mensagem = leitor.Mensagem();
        EXPECT_EQ(resumo, "");
        return ok;
    }

    fs::path pasta;
    std::string mensagem;
};

TEST_F(Txt, KindsAndDecimalsOfTheColumns) {
    TGridzelto g;
    ASSERT_TRUE(LeTexto("A\tB\tC\r\n10\t3,5\tabc\r\n", g)) << mensagem;
    EXPECT_EQ(g.ColunasUsadas(), 3);
    EXPECT_EQ(g.LinhasUsadas(), 1);
    const TVariavel *a = g.Variavel(1), *b = g.Variavel(2), *c = g.Variavel(3);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->Tipo, tvNumerica);
    EXPECT_EQ(a->CasasDecimais, 0);
    EXPECT_TRUE(a->Usada && a->Dependente && a->PontosDeMilhar);
    EXPECT_EQ(a->Alinhamento, alDireita);
    EXPECT_EQ(b->Tipo, tvNumerica);
    EXPECT_EQ(b->CasasDecimais, 1);
    EXPECT_FALSE(b->Dependente);
    EXPECT_EQ(c->Tipo, tvComentario);
    EXPECT_FALSE(c->Usada || c->Dependente || c->PontosDeMilhar);
    EXPECT_EQ(c->Alinhamento, alEsquerda);
    EXPECT_EQ(g.Formato(1).Editor, teReal);
    EXPECT_EQ(g.Formato(3).Editor, teTexto);
    EXPECT_EQ(g.ValorCelula(2, 1), 3.5L);
    EXPECT_EQ(g.Celula(3, 1), "abc");
    EXPECT_EQ(g.Celula(0, 1), "1");
    EXPECT_FALSE(g.Modificada());

    // A word further down turns the whole column into comments, its fields as they stand.
    TGridzelto h;
    ASSERT_TRUE(LeTexto("A\tB\n1.5\t2\n2.5\tdois\n", h));
    EXPECT_EQ(h.Variavel(1)->Tipo, tvNumerica);
    EXPECT_EQ(h.Variavel(2)->Tipo, tvComentario);
    EXPECT_EQ(h.Celula(2, 1), "2");
    EXPECT_EQ(h.Celula(2, 2), "dois");
}

TEST_F(Txt, NumbersKeepTheirValueInTheWorksheetsNotation) {
    struct Caso {
        const char *nome;
        std::vector<const char *> campos;
        std::vector<const char *> celulas;
        std::vector<long double> valores;
        int casas;
    } casos[] = {
        {"ponto", {"0.538", "0.469"}, {"0,538", "0,469"}, {0.538L, 0.469L}, 3},
        {"ponto e inteiros", {"1234.5", "7"}, {"1234,5", "7"}, {1234.5L, 7}, 1},
        {"expoente", {"1.5e-05", "2E3"}, {"1,5e-05", "2E3"}, {1.5e-5L, 2000}, 6},
        {"notação da planilha", {"1.234,5", "2,25"}, {"1.234,5", "2,25"}, {1234.5L, 2.25L}, 2},
        // Dots where thousands go, no decimals anywhere: the program's own export.
        {"milhares",
         {"42.000", "1.500.000", "5"},
         {"42.000", "1.500.000", "5"},
         {42000, 1500000, 5},
         0},
        // A field only "." reads makes the column's "1.234" a decimal number too.
        {"ambíguo com ponto", {"1.234", "0.5"}, {"1,234", "0,5"}, {1.234L, 0.5L}, 3},
        // A field only the worksheet's notation reads makes it the column's.
        {"ambíguo com vírgula",
         {"1.234", "0,5", "2.5"},
         {"1.234", "0,5", "2,5"},
         {1234, 0.5L, 2.5L},
         1},
        {"sinais e brancos", {" -3.25 ", "+4"}, {"-3,25", "+4"}, {-3.25L, 4}, 2},
    };
    for (const Caso &c : casos) {
        std::string texto = "V\n";
        for (const char *f : c.campos)
            texto += std::string(f) + "\n";
        TGridzelto g;
        ASSERT_TRUE(LeTexto(texto, g)) << c.nome;
        ASSERT_EQ(g.Variavel(1)->Tipo, tvNumerica) << c.nome;
        EXPECT_EQ(g.Variavel(1)->CasasDecimais, c.casas) << c.nome;
        for (std::size_t i = 0; i < c.campos.size(); ++i) {
            EXPECT_EQ(g.Celula(1, static_cast<int>(i) + 1), c.celulas[i]) << c.nome << " " << i;
            EXPECT_EQ(g.ValorCelula(1, static_cast<int>(i) + 1), c.valores[i])
                << c.nome << " " << i;
        }
    }
    // The file decides a column without evidence of its own.
    TGridzelto g;
    ASSERT_TRUE(LeTexto("A\tB\n6.575\t0.538\n7.185\t0.469\n", g));
    EXPECT_EQ(g.ValorCelula(1, 1), 6.575L);
    EXPECT_EQ(g.Celula(1, 2), "7,185");
}

TEST_F(Txt, MissingExtraAndBlankFields) {
    TGridzelto g;
    // CR LF, LF and CR line ends; empty lines and lines of tabs are skipped.
    ASSERT_TRUE(LeTexto("\r\n\t\r\nA\tB\tC\r\n1\r\n\t \t\n2\t\t3\t9\t9\r4\t  \t5\n", g));
    EXPECT_EQ(g.LinhasUsadas(), 3);
    EXPECT_EQ(g.ColunasUsadas(), 3);
    EXPECT_EQ(g.Celula(1, 1), "1");
    EXPECT_EQ(g.Celula(2, 1), "");
    EXPECT_EQ(g.Celula(3, 1), "");
    EXPECT_EQ(g.Celula(3, 2), "3");
    EXPECT_EQ(g.Celula(4, 2), ""); // extra fields are ignored
    EXPECT_EQ(g.Variavel(4), nullptr);
    // A blank field is a missing value, not a word: the column stays numeric.
    EXPECT_EQ(g.Variavel(2)->Tipo, tvNumerica);
    EXPECT_EQ(g.Celula(2, 3), "");
    EXPECT_EQ(g.Celula(3, 3), "5");
}

TEST_F(Txt, TextsThatAreNoWorksheet) {
    for (const char *dados : {"", "\r\n\r\n\n", "\t\t\r\n \t\n"}) {
        TGridzelto g;
        g.DefinePorDigitacao(1, U'5');
        g.AceitaEdicao(1, 1, "5"); // cleared by the reader
        EXPECT_FALSE(LeTexto(dados, g, "VAZIO.TXT"));
        EXPECT_EQ(mensagem, "O formato do arquivo de texto " + (pasta / "VAZIO.TXT").string() +
                                " não pode ser interpretado pelo ZELTO como uma planilha.");
        EXPECT_EQ(g.ColunasUsadas(), 0);
        EXPECT_EQ(g.Celula(1, 1), "");
    }
    // More fields than the worksheet's 16-bit column count.
    TGridzelto g;
    EXPECT_FALSE(LeTexto("x" + std::string(65535, '\t') + "\n1\n", g));
    EXPECT_EQ(g.ColunasUsadas(), 0);
    // A worksheet that refuses to be cleared is left alone, without a message.
    TGridzelto h;
    h.DefinePorDigitacao(1, U'5');
    h.AceitaEdicao(1, 1, "5");
    h.AoLimparGrid = [] { return false; };
    EXPECT_FALSE(LeTexto("A\n1\n", h));
    EXPECT_EQ(mensagem, "");
    EXPECT_EQ(h.Celula(1, 1), "5,00");
}

TEST_F(Txt, AccentsAndLongLinesSurviveBothWays) {
    // Windows-1252 on disk: "Preço" and "Região"; a comment field of 300
    // characters makes a line longer than 255.
    const std::string longo(300, 'y');
    const std::string arquivo =
        "Pre\xE7o\tRegi\xE3o\r\n1.234,50\tS\xE3o Paulo\r\n2.000,00\t" + longo + "\r\n";
    TGridzelto g;
    ASSERT_TRUE(LeTexto(arquivo, g));
    EXPECT_EQ(g.Celula(1, 0), "Preço");
    EXPECT_EQ(g.Variavel(2)->Nome, "Região");
    EXPECT_EQ(g.Celula(2, 1), "São Paulo");
    EXPECT_EQ(g.Celula(2, 2), longo);
    EXPECT_EQ(g.ValorCelula(1, 1), 1234.5L);

    // Writing gives back the same bytes, the long line whole.
    TArquivoTxt escritor;
    fs::path saida = pasta / "SAIDA.TXT";
    ASSERT_TRUE(escritor.Gravar(saida, g, "", "")) << escritor.Mensagem();
    EXPECT_EQ(Le(saida), arquivo);
}

TEST_F(Txt, WritesTheShownTexts) {
    TGridzelto g;
    TVariavel num;
    num.Nome = "Valor";
    num.Tipo = tvNumerica;
    num.PontosDeMilhar = true;
    num.CasasDecimais = 2;
    TVariavel dic;
    dic.Nome = "Piscina";
    dic.Tipo = tvDicotomica;
    dic.Rotulos = "Sim|Não";
    TVariavel com;
    com.Nome = "Obs";
    com.Tipo = tvComentario;
    g.DefineVariavel(1, num);
    g.DefineVariavel(2, dic);
    g.DefineVariavel(3, com);
    for (int c = 1; c <= 3; ++c)
        g.AtribuiCelula(c, 0, c == 1 ? "Valor" : c == 2 ? "Piscina" : "Obs");
    g.DefineColunasUsadas(3);
    g.DefineLinhasUsadas(2);
    g.TextoDeValor(1, 1, 1234567.891L);
    g.AtribuiCelula(2, 1, "TRUE");
    g.AtribuiCelula(2, 2, "FALSE");
    g.AtribuiCelula(3, 1, "tab\taqui\r\nquebra €");
    EXPECT_EQ(TArquivoTxt::TextoPlanilha(g), "Valor\tPiscina\tObs\r\n"
                                             "1.234.567,89\tSim\ttab aqui  quebra \x80\r\n"
                                             "\tN\xE3o\t\r\n");

    // No used columns: LinhasUsadas + 1 empty lines.
    TGridzelto vazia;
    vazia.DefineLinhasUsadas(3);
    EXPECT_EQ(TArquivoTxt::TextoPlanilha(vazia), "\r\n\r\n\r\n\r\n");
}

TEST_F(Txt, RoundTripThroughTheTextFormat) {
    const std::string original = "price\tlot\tnote\n42000\t5850.5\tcasa t\xE9rrea\n38500\t4000\t\n";
    TGridzelto g;
    ASSERT_TRUE(LeTexto(original, g));
    TArquivoTxt escritor;
    fs::path saida = pasta / "VOLTA.TXT";
    ASSERT_TRUE(escritor.Gravar(saida, g, "", ""));
    TGridzelto h;
    TArquivoTxt leitor;
    std::string resumo;
    ASSERT_TRUE(leitor.Ler(saida, h, 255, resumo));
    ASSERT_EQ(h.ColunasUsadas(), g.ColunasUsadas());
    ASSERT_EQ(h.LinhasUsadas(), g.LinhasUsadas());
    for (int c = 1; c <= g.ColunasUsadas(); ++c) {
        EXPECT_EQ(*h.Variavel(c), *g.Variavel(c)) << c;
        for (int r = 0; r <= g.LinhasUsadas(); ++r) {
            EXPECT_EQ(h.Celula(c, r), g.Celula(c, r)) << c << "," << r;
            EXPECT_EQ(h.ValorCelula(c, r), g.ValorCelula(c, r)) << c << "," << r;
        }
    }
    // The worksheet's own thousands survive a second trip (42.000 stays 42000).
    h.TextoDeValor(1, 1, 42000);
    ASSERT_EQ(h.Celula(1, 1), "42.000");
    ASSERT_TRUE(escritor.Gravar(saida, h, "", ""));
    TGridzelto k;
    ASSERT_TRUE(leitor.Ler(saida, k, 255, resumo));
    EXPECT_EQ(k.ValorCelula(1, 1), 42000);
    EXPECT_EQ(k.ValorCelula(2, 1), 5850.5L);
}

TEST_F(Txt, SavingReplacesTheFileWholeOrNotAtAll) {
    TGridzelto g;
    ASSERT_TRUE(LeTexto("A\n1\n", g));
    fs::path alvo = Escreve("ALVO.TXT", std::string(1000, 'z'));
    TArquivoTxt escritor;
    ASSERT_TRUE(escritor.Gravar(alvo, g, "", ""));
    EXPECT_EQ(Le(alvo), "A\r\n1\r\n");
    for (const auto &e : fs::directory_iterator(pasta))
        EXPECT_TRUE(e.path().filename() == "ALVO.TXT" || e.path().filename() == "P.TXT")
            << e.path();

    fs::path semPasta = pasta / "nao" / "existe.txt";
    EXPECT_FALSE(escritor.Gravar(semPasta, g, "", ""));
    EXPECT_TRUE(escritor.Mensagem().ends_with("\r\n\r\nNão foi possível criar o arquivo " +
                                              Maiusculas(semPasta.string()) + "."))
        << escritor.Mensagem();
    EXPECT_FALSE(fs::exists(semPasta));
}

TEST_F(Txt, FormatCheckPreviewAndOpenFailures) {
    TArquivoTxt a;
    EXPECT_TRUE(a.VerificaFormato(Escreve("a.txt", "x")));
    EXPECT_TRUE(a.VerificaFormato(Escreve("b.PRN", "x")));
    EXPECT_FALSE(a.VerificaFormato(Escreve("c.csv", "x")));
    EXPECT_FALSE(a.VerificaFormato(pasta / "falta.txt"));
    std::string texto;
    EXPECT_TRUE(a.LerComentarios(pasta / "a.txt", texto));
    EXPECT_EQ(texto, "Arquivo de texto.");
    EXPECT_FALSE(a.LerComentarios(pasta / "falta.txt", texto));
    EXPECT_EQ(texto, "Não foi possível ler arquivo.");

    TGridzelto g;
    std::string resumo;
    const std::string falta = Maiusculas((pasta / "falta.txt").string());
    EXPECT_FALSE(a.Ler(pasta / "falta.txt", g, 255, resumo));
    EXPECT_EQ(a.Mensagem(), "Não foi possível abrir o arquivo " + falta + ".");
    fs::create_directories(pasta / "pasta.txt"); // exists, cannot be read as a file
    const std::string ocupado = Maiusculas((pasta / "pasta.txt").string());
    EXPECT_FALSE(a.Ler(pasta / "pasta.txt", g, 255, resumo));
    EXPECT_EQ(a.Mensagem(), "O arquivo " + ocupado + " está sendo utilizado por outro programa. " +
                                "Feche o outro programa ou desconecte-o do arquivo " + ocupado);
}

// The shipped examples: every cell holds the file's number exactly.
TEST_F(Txt, ShippedExamplesReadExactly) {
    const fs::path exemplos = fs::path(ZELTO_TEST_DATA).parent_path().parent_path() / "examples";
    struct Caso {
        const char *arquivo;
        int linhas, colunas;
    } casos[] = {{"windsor.TXT", 546, 12}, {"boston.TXT", 506, 14}};
    for (const Caso &c : casos) {
        const fs::path arq = exemplos / c.arquivo;
        TGridzelto g;
        TArquivoTxt leitor;
        std::string resumo;
        ASSERT_TRUE(leitor.Ler(arq, g, 255, resumo)) << leitor.Mensagem();
        ASSERT_EQ(g.LinhasUsadas(), c.linhas) << c.arquivo;
        ASSERT_EQ(g.ColunasUsadas(), c.colunas) << c.arquivo;
        EXPECT_TRUE(g.Variavel(1)->Dependente);

        // Oracle: the same file split by hand, numbers read with strtold.
        std::ifstream in(arq);
        std::string linha;
        int r = 0;
        while (std::getline(in, linha)) {
            std::size_t inicio = 0;
            for (int k = 1; k <= c.colunas; ++k) {
                std::size_t tab = linha.find('\t', inicio);
                std::string campo = linha.substr(inicio, tab - inicio);
                inicio = tab + 1;
                if (r == 0) {
                    EXPECT_EQ(g.Celula(k, 0), campo);
                    EXPECT_EQ(g.Variavel(k)->Tipo, tvNumerica) << campo;
                    continue;
                }
                std::string esperado = campo;
                for (char &ch : esperado)
                    if (ch == '.') ch = ',';
                EXPECT_EQ(g.Celula(k, r), esperado) << c.arquivo << " " << k << "," << r;
                EXPECT_EQ(g.ValorCelula(k, r), std::strtold(campo.c_str(), nullptr))
                    << c.arquivo << " " << k << "," << r;
            }
            ++r;
        }
        EXPECT_EQ(r, c.linhas + 1);
    }
    TGridzelto b;
    TArquivoTxt leitor;
    std::string resumo;
    ASSERT_TRUE(leitor.Ler(exemplos / "boston.TXT", b, 255, resumo));
    EXPECT_EQ(b.Celula(6, 0), "nox");
    EXPECT_EQ(b.Celula(6, 1), "0,538");
    EXPECT_EQ(b.ValorCelula(6, 1), 0.538L);
    EXPECT_EQ(b.Variavel(6)->CasasDecimais, 4);
}

} // namespace
