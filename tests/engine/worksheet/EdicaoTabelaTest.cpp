#include "worksheet/EdicaoTabela.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <unistd.h>

using namespace zelto;
namespace fs = std::filesystem;

namespace {

std::string LeArquivo(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Answers every question with one answer and remembers the questions.
struct Respondedor {
    explicit Respondedor(Resposta r) : resposta(r) {}
    Resposta resposta;
    std::vector<std::string> perguntas;
    Pergunta Funcao() {
        return [this](const std::string &texto) {
            perguntas.push_back(texto);
            return resposta;
        };
    }
};

class EditorTabela : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        pasta = fs::temp_directory_path() /
                ("zelto_edt_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
        fs::remove_all(pasta);
        fs::create_directories(pasta);
        arquivo = pasta / "TAB_VAR.QVT";
        tabelas.emplace(arquivo);
    }
    void TearDown() override { fs::remove_all(pasta); }

    std::vector<std::string> Valores(const TEdicaoTabela &e) {
        std::vector<std::string> r;
        for (std::size_t i = 0; i < e.NumeroLinhas(); ++i)
            r.push_back(e.Linha(i).Valor);
        return r;
    }
    std::vector<std::string> Rotulos(const TEdicaoTabela &e) {
        std::vector<std::string> r;
        for (std::size_t i = 0; i < e.NumeroLinhas(); ++i)
            r.push_back(e.Linha(i).Rotulo);
        return r;
    }

    fs::path pasta, arquivo;
    std::optional<TTabelasVariaveis> tabelas;
};

} // namespace

TEST_F(EditorTabela, LeavingARowFillsItsValue) {
    TEdicaoTabela e(*tabelas, TipoTabela::Qualitativa);
    EXPECT_EQ(e.Titulo(), "Tabela de variável qualitativa");
    EXPECT_EQ(e.Colunas(), (std::vector<std::string>{"Característica", "Valor"}));
    ASSERT_EQ(e.NumeroLinhas(), 1u);

    e.DefineRotulo(0, "Baixo");
    e.MudaLinha(1); // first row: 1; leaving the last row adds one
    e.DefineRotulo(1, "Médio");
    e.DefineValor(1, "1500");
    e.MudaLinha(2);
    e.DefineRotulo(2, "Alto");
    e.DefineValor(2, "abc"); // does not convert: filled like an empty value
    e.MudaLinha(3);
    EXPECT_EQ(Valores(e), (std::vector<std::string>{"1,000", "1.500,000", "1.501,000", ""}));
    // A blank last row neither gets a value nor another row.
    e.MudaLinha(4);
    EXPECT_EQ(e.NumeroLinhas(), 4u);
    EXPECT_EQ(e.LinhaAtual(), 3u);
    // Leaving an earlier row adds nothing.
    e.MudaLinha(0);
    e.MudaLinha(1);
    EXPECT_EQ(e.NumeroLinhas(), 4u);

    // An inserted row takes the value above it + 1; the fill shows after saving.
    e.Insere();
    EXPECT_EQ(e.NumeroLinhas(), 5u);
    e.DefineRotulo(1, "Entre");
    Respondedor r{Resposta::Sim};
    e.DefineNome("Padrão");
    ASSERT_EQ(e.Grava(r.Funcao()), ResultadoGravacao::Gravada);
    EXPECT_TRUE(r.perguntas.empty());
    EXPECT_EQ(tabelas->CarregaQualitativa("Padrão"),
              (TTabelaQualitativa{{"Baixo", 1}, {"Entre", 2}, {"Médio", 1500}, {"Alto", 1501}}));
    EXPECT_EQ(e.Linha(1).Valor, "2,000");
}

TEST_F(EditorTabela, DeleteInsertSortReverse) {
    TEdicaoTabela e(*tabelas, TipoTabela::Qualitativa);
    e.DefineRotulo(0, "só");
    e.Exclui(); // the only row is emptied
    ASSERT_EQ(e.NumeroLinhas(), 1u);
    EXPECT_EQ(e.Linha(0).Rotulo, "");

    const char *dados[][2] = {{"b", "9"}, {"B", "10"}, {"a", "2,5"}, {"Á", "100"}};
    for (std::size_t i = 0; i < 4; ++i) {
        if (i > 0) e.MudaLinha(i);
        e.DefineRotulo(i, dados[i][0]);
        e.DefineValor(i, dados[i][1]);
    }
    e.MudaLinha(0);
    EXPECT_EQ(Valores(e), (std::vector<std::string>{"9,000", "10,000", "2,500", "100,000", ""}));

    e.OrdenaPorValor(); // text order: "10" before "9"
    EXPECT_EQ(Valores(e), (std::vector<std::string>{"", "10,000", "100,000", "2,500", "9,000"}));
    e.OrdenaPorNome(); // case counts: capitals first, accented letters after ASCII
    EXPECT_EQ(Rotulos(e), (std::vector<std::string>{"", "B", "a", "b", "Á"}));
    e.InverteOrdem();
    EXPECT_EQ(Rotulos(e), (std::vector<std::string>{"Á", "b", "a", "B", ""}));

    e.MudaLinha(2);
    e.Exclui();
    EXPECT_EQ(Rotulos(e), (std::vector<std::string>{"Á", "b", "B", ""}));
    e.MudaLinha(3);
    e.Exclui(); // the cursor stays on the last row
    EXPECT_EQ(e.LinhaAtual(), 2u);
    e.Insere();
    EXPECT_EQ(Rotulos(e), (std::vector<std::string>{"Á", "b", "", "B"}));
}

TEST_F(EditorTabela, DichotomousDefaults) {
    TEdicaoTabela e(*tabelas, TipoTabela::Dicotomica);
    EXPECT_EQ(e.Titulo(), "Tabela de variável dicotômica");
    EXPECT_EQ(e.Colunas(), std::vector<std::string>{"Opções"});
    ASSERT_EQ(e.NumeroLinhas(), 2u);
    e.Insere();
    e.Exclui();
    e.MudaLinha(5);
    EXPECT_EQ(e.NumeroLinhas(), 2u);

    e.DefineNome("Vazia");
    ASSERT_EQ(e.Grava({}), ResultadoGravacao::Gravada);
    TEdicaoTabela meia(*tabelas, TipoTabela::Dicotomica);
    meia.DefineNome("Meia");
    meia.DefineRotulo(0, "Com piscina");
    meia.DefineRotulo(1, "   ");
    ASSERT_EQ(meia.Grava({}), ResultadoGravacao::Gravada);
    EXPECT_EQ(tabelas->TextoRotulos("Vazia"), "Positivo|Negativo");
    EXPECT_EQ(tabelas->TextoRotulos("Meia"), "Com piscina|Negativo");
}

TEST_F(EditorTabela, AsksBeforeReplacingAlsoTheEditedTable) {
    ASSERT_TRUE(tabelas->Acrescenta("Zona", TTabelaQualitativa{{"Centro", 3}, {"Bairro", 2}}));
    ASSERT_TRUE(tabelas->Acrescenta("Outra", TTabelaQualitativa{{"x", 1}}));
    ASSERT_TRUE(tabelas->Acrescenta("Zona", TTabelaDicotomica{"S", "N"}));
    const std::string original = LeArquivo(arquivo);

    struct Caso {
        Resposta resposta;
        ResultadoGravacao resultado;
    } casos[] = {{Resposta::Nao, ResultadoGravacao::Voltar},
                 {Resposta::Cancelar, ResultadoGravacao::Desistiu},
                 {Resposta::Sim, ResultadoGravacao::Gravada}};
    for (const Caso &c : casos) {
        auto e = TEdicaoTabela::Abre(*tabelas, TipoTabela::Qualitativa, "Zona");
        ASSERT_TRUE(e);
        e->DefineRotulo(1, "Periferia");
        Respondedor r{c.resposta};
        EXPECT_EQ(e->Grava(r.Funcao()), c.resultado);
        EXPECT_EQ(r.perguntas, std::vector<std::string>{
                                   "A tabela \r\nZona já existe.\r\nDeseja substituí-la ?"});
        if (c.resposta != Resposta::Sim) {
            EXPECT_EQ(LeArquivo(arquivo), original);
        }
    }
    // Replaced where it was; the other tables are kept.
    EXPECT_EQ(tabelas->Nomes(TipoTabela::Qualitativa), (std::vector<std::string>{"Zona", "Outra"}));
    EXPECT_EQ(tabelas->CarregaQualitativa("Zona"),
              (TTabelaQualitativa{{"Centro", 3}, {"Periferia", 2}}));
    EXPECT_EQ(tabelas->TextoRotulos("Zona"), "S|N");

    // A new table whose name differs only in case replaces the old one.
    TEdicaoTabela nova(*tabelas, TipoTabela::Qualitativa);
    nova.DefineNome("OUTRA");
    nova.DefineRotulo(0, "y");
    Respondedor sim{Resposta::Sim};
    ASSERT_EQ(nova.Grava(sim.Funcao()), ResultadoGravacao::Gravada);
    EXPECT_EQ(sim.perguntas.size(), 1u);
    EXPECT_EQ(tabelas->Nomes(TipoTabela::Qualitativa), (std::vector<std::string>{"Zona", "OUTRA"}));
}

TEST_F(EditorTabela, RenameAndExactValues) {
    const long double fino = 0.123456789L;
    ASSERT_TRUE(tabelas->Acrescenta("A", TTabelaQualitativa{{"a", fino}, {"b", 1234.5L}}));
    ASSERT_TRUE(tabelas->Acrescenta("B", TTabelaQualitativa{{"c", 1}}));
    auto e = TEdicaoTabela::Abre(*tabelas, TipoTabela::Qualitativa, "A");
    ASSERT_TRUE(e);
    EXPECT_FALSE(TEdicaoTabela::Abre(*tabelas, TipoTabela::Qualitativa, "a"));
    EXPECT_EQ(Valores(*e), (std::vector<std::string>{"0,123", "1.234,500"}));

    // Renamed to a free name: replaced in place, no question; values kept
    // exactly unless the user changed their text.
    e->DefineNome("A2");
    e->DefineValor(1, "1.234,600");
    ASSERT_EQ(e->Grava({}), ResultadoGravacao::Gravada);
    EXPECT_EQ(tabelas->Nomes(TipoTabela::Qualitativa), (std::vector<std::string>{"A2", "B"}));
    EXPECT_EQ(tabelas->CarregaQualitativa("A2"), (TTabelaQualitativa{{"a", fino}, {"b", 1234.6L}}));
}

TEST_F(EditorTabela, FailedSaveKeepsTheStore) {
    ASSERT_TRUE(tabelas->Acrescenta("A", TTabelaQualitativa{{"a", 1}}));
    const std::string original = LeArquivo(arquivo);
    fs::create_directory(pasta / "$$$$$$$$.QVT");
    auto e = TEdicaoTabela::Abre(*tabelas, TipoTabela::Qualitativa, "A");
    ASSERT_TRUE(e);
    Respondedor sim{Resposta::Sim};
    EXPECT_EQ(e->Grava(sim.Funcao()), ResultadoGravacao::Falhou);
    EXPECT_EQ(ApagaTabela(*tabelas, TipoTabela::Qualitativa, "A", sim.Funcao()),
              ResultadoExclusao::Falhou);
    EXPECT_EQ(LeArquivo(arquivo), original);
}

TEST_F(EditorTabela, DeleteAsksWithTheNameInCapitals) {
    ASSERT_TRUE(tabelas->Acrescenta("Conservação", TTabelaQualitativa{{"a", 1}}));
    for (Resposta resposta : {Resposta::Nao, Resposta::Cancelar, Resposta::Sim}) {
        Respondedor r{resposta};
        ResultadoExclusao res =
            ApagaTabela(*tabelas, TipoTabela::Qualitativa, "Conservação", r.Funcao());
        EXPECT_EQ(r.perguntas,
                  std::vector<std::string>{
                      "A tabela \r\nCONSERVAÇÃO\r\nserá apagada. Confirma a operação ?"});
        EXPECT_EQ(res, resposta == Resposta::Sim ? ResultadoExclusao::Apagada
                                                 : ResultadoExclusao::NaoConfirmada);
        EXPECT_EQ(tabelas->Existe("Conservação", TipoTabela::Qualitativa),
                  resposta != Resposta::Sim);
    }
}
