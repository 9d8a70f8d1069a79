#include "worksheet/TabelasVariaveis.h"
#include "common/Numeros.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <unistd.h>

using namespace zelto;
namespace fs = std::filesystem;

namespace {

std::string LeBytes(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void EscreveBytes(const fs::path &p, const std::string &dados) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << dados;
}

class TabelasStore : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        pasta = fs::temp_directory_path() /
                ("zelto_tab_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
        fs::remove_all(pasta);
        fs::create_directories(pasta);
        arquivo = pasta / "TAB_VAR.QVT";
    }
    void TearDown() override { fs::remove_all(pasta); }

    fs::path pasta, arquivo;
};

// Windows-1252 bytes of the store written in Escreve below.
const std::string kGolden = std::string("\xB1") + "Conserva\xE7\xE3o" + "\xB2Q\r\n" + //
                            "\xD3timo\xB2" + "3\r\n" +                                //
                            "M\xE9" + "dio\xB2" + "2\r\n" +                           //
                            "Ruim\xB2" + "1,5\r\n" +                                  //
                            "\r\n" +                                                  //
                            "\xB1Padr\xE3o\xB2" + "D\r\n" +                           //
                            "Sim\r\n" +                                               //
                            "N\xE3o\r\n" +                                            //
                            "\r\n";

const TTabelaQualitativa kConservacao = {{"Ótimo", 3}, {"Médio", 2}, {"Ruim", 1.5L}};
const TTabelaDicotomica kPadrao = {"Sim", "Não"};

} // namespace

TEST_F(TabelasStore, WritesWindows1252AndReadsBack) {
    {
        TTabelasVariaveis t(arquivo);
        ASSERT_TRUE(t.Acrescenta("Conservação", kConservacao));
        ASSERT_TRUE(t.Acrescenta("Padrão", kPadrao));
    }
    EXPECT_EQ(LeBytes(arquivo), kGolden);
    EXPECT_FALSE(fs::exists(pasta / "$$$$$$$$.QVT"));

    TTabelasVariaveis t(arquivo);
    EXPECT_EQ(t.Nomes(TipoTabela::Qualitativa), std::vector<std::string>{"Conservação"});
    EXPECT_EQ(t.Nomes(TipoTabela::Dicotomica), std::vector<std::string>{"Padrão"});
    EXPECT_EQ(t.CarregaQualitativa("Conservação"), kConservacao);
    EXPECT_EQ(t.CarregaDicotomica("Padrão"), kPadrao);
    EXPECT_EQ(t.TextoRotulos("Padrão"), "Sim|Não");
    EXPECT_EQ(t.TextoRotulos("Outra"), "");
    auto grade = t.CarregaGrade("Conservação", TipoTabela::Qualitativa);
    ASSERT_TRUE(grade);
    EXPECT_EQ((*grade)[2], TLinhaGrade("Ruim", "1,5"));
    EXPECT_EQ(t.CarregaGrade("Padrão", TipoTabela::Dicotomica),
              (std::vector<TLinhaGrade>{{"Sim", ""}, {"Não", ""}}));
}

TEST_F(TabelasStore, AcceptsEveryLineEnd) {
    for (std::string fim : {"\r\n", "\n", "\r"}) {
        std::string texto;
        for (std::size_t p = 0; p < kGolden.size(); ++p) {
            if (kGolden.compare(p, 2, "\r\n") == 0) {
                texto += fim;
                ++p;
            } else {
                texto += kGolden[p];
            }
        }
        // Also without the final empty line and newline.
        for (std::string variante : {texto, texto.substr(0, texto.size() - 2 * fim.size())}) {
            EscreveBytes(arquivo, variante);
            TTabelasVariaveis t(arquivo);
            EXPECT_EQ(t.CarregaQualitativa("Conservação"), kConservacao) << fim.size();
            EXPECT_EQ(t.CarregaDicotomica("Padrão"), kPadrao) << fim.size();
        }
    }
}

TEST_F(TabelasStore, ValuesRoundTripExactly) {
    const long double valores[] = {0.1L,
                                   1.0L / 3,
                                   -2.5e-300L,
                                   1e20L,
                                   123456789.123456789L,
                                   Infinito,
                                   -Infinito,
                                   1e-5L,
                                   0.000012345678901234567L,
                                   std::nextafter(1.0L, 2.0L),
                                   0.0L};
    TTabelaQualitativa tab;
    for (long double v : valores) {
        std::string texto = TTabelasVariaveis::TextoValor(v);
        EXPECT_EQ(texto.find('.'), std::string::npos) << texto;
        long double lido = -1;
        ASSERT_TRUE(ConverteNumero(texto, lido)) << texto;
        EXPECT_EQ(lido, v) << texto;
        tab.push_back({"r" + std::to_string(tab.size()), v});
    }
    EXPECT_EQ(TTabelasVariaveis::TextoValor(1.5L), "1,5");
    EXPECT_EQ(TTabelasVariaveis::TextoValor(2), "2");

    TTabelasVariaveis t(arquivo);
    ASSERT_TRUE(t.Acrescenta("Valores", tab));
    TTabelasVariaveis outra(arquivo);
    EXPECT_EQ(outra.CarregaQualitativa("Valores"), tab);
}

TEST_F(TabelasStore, NameRules) {
    TTabelasVariaveis t(arquivo);
    ASSERT_TRUE(t.Acrescenta("Zona", TTabelaQualitativa{{"Centro", 2}}));
    ASSERT_TRUE(t.Acrescenta("Zona", TTabelaDicotomica{"Urbana", "Rural"}));
    ASSERT_TRUE(t.Acrescenta("Zona", TTabelaQualitativa{{"Outra", 9}}));
    ASSERT_TRUE(t.Acrescenta("Ação", TTabelaQualitativa{}));

    EXPECT_EQ(t.CarregaQualitativa("Zona"), (TTabelaQualitativa{{"Centro", 2}})); // first wins
    EXPECT_EQ(t.CarregaDicotomica("Zona"), (TTabelaDicotomica{"Urbana", "Rural"}));
    EXPECT_FALSE(t.CarregaQualitativa("zona"));
    EXPECT_FALSE(t.CarregaDicotomica("ZONA"));
    EXPECT_EQ(t.CarregaQualitativa("Ação"), TTabelaQualitativa{});
    EXPECT_EQ(t.Nomes(TipoTabela::Qualitativa), (std::vector<std::string>{"Zona", "Zona", "Ação"}));

    struct Caso {
        const char *nome;
        TipoTabela tipo;
        bool existe;
    } casos[] = {
        {"ZONA", TipoTabela::Qualitativa, true}, {"zona", TipoTabela::Dicotomica, true},
        {"AÇÃO", TipoTabela::Qualitativa, true}, {"ACAO", TipoTabela::Qualitativa, false},
        {"Ação", TipoTabela::Dicotomica, false}, {"Zona ", TipoTabela::Qualitativa, false}};
    for (const Caso &c : casos)
        EXPECT_EQ(t.Existe(c.nome, c.tipo), c.existe) << c.nome;
}

TEST_F(TabelasStore, ReplaceAndDeleteKeepTheOtherTables) {
    TTabelasVariaveis t(arquivo);
    ASSERT_TRUE(t.Acrescenta("A", TTabelaQualitativa{{"a1", 1}, {"a2", 2}}));
    ASSERT_TRUE(t.Acrescenta("B", TTabelaDicotomica{"Sim", "Não"}));
    ASSERT_TRUE(t.Acrescenta("C", TTabelaQualitativa{{"c1", 5}}));
    const std::string secaoB = std::string("\xB1") + "B\xB2" + "D\r\nSim\r\nN\xE3o\r\n\r\n";
    const std::string secaoC = std::string("\xB1") + "C\xB2" + "Q\r\nc1\xB2" + "5\r\n\r\n";

    // Replace in place under a new name; B (same name space of D) untouched.
    ASSERT_TRUE(t.Substitui("A", "A2", TTabelaQualitativa{{"x", 7}}));
    EXPECT_EQ(LeBytes(arquivo),
              std::string("\xB1") + "A2\xB2" + "Q\r\nx\xB2" + "7\r\n\r\n" + secaoB + secaoC);
    // A missing old name appends; the kind of the content picks the name space.
    ASSERT_TRUE(t.Substitui("B", "B", TTabelaQualitativa{{"q", 1}}));
    EXPECT_EQ(t.Nomes(TipoTabela::Qualitativa), (std::vector<std::string>{"A2", "C", "B"}));
    EXPECT_EQ(t.CarregaDicotomica("B"), (TTabelaDicotomica{"Sim", "Não"}));

    EXPECT_FALSE(t.Apaga("a2", TipoTabela::Qualitativa)); // exact name only
    EXPECT_FALSE(t.Apaga("C", TipoTabela::Dicotomica));
    ASSERT_TRUE(t.Apaga("A2", TipoTabela::Qualitativa));
    ASSERT_TRUE(t.Apaga("B", TipoTabela::Qualitativa));
    EXPECT_EQ(LeBytes(arquivo), secaoB + secaoC);
    ASSERT_TRUE(t.Apaga("C", TipoTabela::Qualitativa));
    ASSERT_TRUE(t.Apaga("B", TipoTabela::Dicotomica));
    EXPECT_EQ(LeBytes(arquivo), "");
}

TEST_F(TabelasStore, ReplaceDroppingNamesakes) {
    TTabelasVariaveis t(arquivo);
    ASSERT_TRUE(t.Acrescenta("zona", TTabelaQualitativa{{"z", 1}}));
    ASSERT_TRUE(t.Acrescenta("Outra", TTabelaQualitativa{{"o", 1}}));
    ASSERT_TRUE(t.Acrescenta("ZONA", TTabelaDicotomica{"S", "N"}));
    ASSERT_TRUE(t.Acrescenta("Zona", TTabelaQualitativa{{"Z", 2}}));
    // Editing "Outra" and saving it as "Zona": both namesakes of kind Q go.
    ASSERT_TRUE(t.SubstituiHomonimas(std::string("Outra"), "Zona", TTabelaQualitativa{{"n", 3}}));
    EXPECT_EQ(t.Nomes(TipoTabela::Qualitativa), std::vector<std::string>{"Zona"});
    EXPECT_EQ(t.CarregaQualitativa("Zona"), (TTabelaQualitativa{{"n", 3}}));
    EXPECT_EQ(t.Nomes(TipoTabela::Dicotomica), std::vector<std::string>{"ZONA"});
    // A new table over an existing one is appended once the old one is dropped.
    ASSERT_TRUE(t.SubstituiHomonimas(std::nullopt, "zONA", TTabelaDicotomica{"T", "F"}));
    EXPECT_EQ(t.Nomes(TipoTabela::Dicotomica), std::vector<std::string>{"zONA"});
}

TEST_F(TabelasStore, ValueOfALabel) {
    const std::string l40(40, 'x');
    TTabelasVariaveis t(arquivo);
    ASSERT_TRUE(t.Acrescenta("T", TTabelaQualitativa{{l40, 7}, {l40 + "y", 8}, {"Médio", 2.5L}}));
    ASSERT_TRUE(t.Acrescenta("D", TTabelaDicotomica{"Médio", "x"}));
    std::string texto = LeBytes(arquivo);
    texto.insert(texto.find("\r\n") + 2,
                 std::string("Ruim\xB2") + "abc\r\nRuim\xB2" + "4\r\n" + "Exp\xB2" + "1,5E3\r\n");
    EscreveBytes(arquivo, texto);
    TTabelasVariaveis u(arquivo);

    struct Caso {
        std::string tabela, rotulo;
        long double valor;
    } casos[] = {
        {"T", l40, 7},         {"T", l40 + "y", 7}, // cut to 40 before comparing
        {"T", l40 + "zzz", 7}, {"T", "Médio", 2.5L},
        {"T", "médio", 0},     {"T", " Médio", 0}, // exact compare
        {"T", "Ruim", 0},                          // first match does not convert
        {"T", "Exp", 1500},    {"t", "Médio", 0},  // table name is exact
        {"D", "Médio", 0},                         // only qualitative tables
        {"T", "Nada", 0},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(u.ValorRotulo(c.tabela, c.rotulo), c.valor) << c.tabela << "/" << c.rotulo;
    // The unconvertible entry is left out of the table, the second "Ruim" kept.
    auto q = u.CarregaQualitativa("T");
    ASSERT_TRUE(q);
    EXPECT_EQ(q->size(), 5u);
    EXPECT_EQ((*q)[0], (TObjetoValor{"Ruim", 4}));
}

TEST(TabelasGrade, ValueOfALabelInAGridCopy) {
    const std::string l40(40, 'k');
    std::vector<TLinhaGrade> grade = {{" Bom ", "2,5"}, {l40, "1.234,500"}, {"Mau", "x"},
                                      {"Exp", "2E-2"},  {"", ""},           {"Depois", "9"}};
    struct Caso {
        std::string rotulo;
        long double valor;
    } casos[] = {{"Bom", 2.5L}, {"  Bom", 2.5L}, {l40 + "extra", 1234.5L},
                 {"Mau", 0},    {"Exp", 0.02L},  {"Depois", 0},
                 {"bom", 0},    {"", 0}};
    for (const Caso &c : casos)
        EXPECT_EQ(ValorRotuloGrade(grade, c.rotulo), c.valor) << c.rotulo;
}

TEST(TabelasGrade, ValueTexts) {
    struct Caso {
        const char *texto;
        bool ok;
        long double valor;
    } casos[] = {{"1,5", true, 1.5L},        {" -2E3 ", true, -2000},
                 {"1.234,5", true, 1234.5L}, {"-12.345.678", true, -12345678},
                 {"1.5", false, 0},          {"1.2345", false, 0},
                 {"12,5.000", false, 0},     {".123", false, 0},
                 {"1..234", false, 0},       {"abc", false, 0}};
    for (const Caso &c : casos) {
        long double v = 0;
        EXPECT_EQ(ConverteValorTabela(c.texto, v), c.ok) << c.texto;
        if (c.ok) {
            EXPECT_EQ(v, c.valor) << c.texto;
        }
    }
}

TEST_F(TabelasStore, TextLimitsAndLineBreaks) {
    std::string longo;
    for (int i = 0; i < 300; ++i)
        longo += "á";
    TTabelasVariaveis t(arquivo);
    ASSERT_TRUE(t.Acrescenta(longo, TTabelaQualitativa{{"a\r\nb", 1}, {longo, 2}}));
    ASSERT_TRUE(t.Acrescenta("Vazia", TTabelaDicotomica{"", "  "}));
    const std::string texto = LeBytes(arquivo);
    EXPECT_EQ(texto.substr(0, 258), "\xB1" + std::string(255, '\xE1') + "\xB2Q");
    EXPECT_TRUE(t.Existe(longo, TipoTabela::Qualitativa));
    auto q = t.CarregaQualitativa(longo);
    ASSERT_TRUE(q);
    EXPECT_EQ((*q)[0].Rotulo, "a  b");
    EXPECT_EQ((*q)[1].Rotulo, longo.substr(0, 510));
    // An empty line would end the table: empty states get their default labels.
    EXPECT_EQ(t.TextoRotulos("Vazia"), "Positivo|Negativo");
}

TEST_F(TabelasStore, MissingStoreIsCreatedEmpty) {
    TTabelasVariaveis t(arquivo);
    EXPECT_TRUE(t.Nomes(TipoTabela::Qualitativa).empty());
    EXPECT_TRUE(fs::exists(arquivo));
    EXPECT_EQ(LeBytes(arquivo), "");
    // A change made by someone else is seen on the next use.
    EscreveBytes(arquivo, kGolden);
    EXPECT_EQ(t.Nomes(TipoTabela::Dicotomica), std::vector<std::string>{"Padrão"});
}

TEST_F(TabelasStore, FailedWriteLeavesTheStoreUntouched) {
    EscreveBytes(arquivo, kGolden);
    fs::create_directory(pasta / "$$$$$$$$.QVT");
    TTabelasVariaveis t(arquivo);
    EXPECT_FALSE(t.Acrescenta("Nova", TTabelaQualitativa{{"a", 1}}));
    EXPECT_FALSE(t.Substitui("Conservação", "X", TTabelaQualitativa{}));
    EXPECT_FALSE(t.Apaga("Padrão", TipoTabela::Dicotomica));
    EXPECT_EQ(LeBytes(arquivo), kGolden);
    EXPECT_TRUE(fs::is_directory(pasta / "$$$$$$$$.QVT"));
    EXPECT_EQ(t.CarregaQualitativa("Conservação"), kConservacao);

    // A stale temporary file is replaced, and the write goes through.
    fs::remove(pasta / "$$$$$$$$.QVT");
    EscreveBytes(pasta / "$$$$$$$$.QVT", "lixo");
    EXPECT_TRUE(t.Apaga("Padrão", TipoTabela::Dicotomica));
    EXPECT_FALSE(fs::exists(pasta / "$$$$$$$$.QVT"));

    // A store in a folder that does not exist cannot be written.
    TTabelasVariaveis sem(pasta / "nao" / "existe" / "TAB_VAR.QVT");
    EXPECT_FALSE(sem.Acrescenta("Nova", TTabelaQualitativa{}));
}

TEST_F(TabelasStore, UnreadableStoreRefusesChanges) {
    fs::create_directory(arquivo); // the store's name is taken by a folder
    TTabelasVariaveis t(arquivo);
    EXPECT_FALSE(t.Legivel());
    EXPECT_TRUE(t.Nomes(TipoTabela::Qualitativa).empty());
    EXPECT_FALSE(t.Acrescenta("Nova", TTabelaQualitativa{}));
    EXPECT_TRUE(fs::is_directory(arquivo));
}

TEST_F(TabelasStore, HostileContent) {
    const std::string longa(200000, 'L');
    const std::string texto = std::string("lixo antes\r\n") +         //
                              "\xB1SoCabecalho\xB2Q\r\n\r\n" +        // header without entries
                              "\xB1Um\xB2" + "D\r\nSozinho\r\n\r\n" + // one line
                              "\xB1Tres\xB2" + "D\r\nA\r\nB\r\nC\r\n\r\n" + // three lines
                              "\xB1m\xB2\xB2Q  \r\n" +                      // name with 0xB2
                              "\xB1 x\xB2\xB2" + "1,5\r\n" +                // label with both bytes
                              "semvalor\r\n" + longa + "\xB2" + "2\r\n" + "\xB1" +
                              "Colada\xB2Q\r\n" + // no empty line before
                              "c\xB2" + "3\r" + "\xB1" + "Fim\xB2" +
                              "D\nS\rN"; // mixed ends, no final newline
    EscreveBytes(arquivo, texto);
    TTabelasVariaveis t(arquivo);
    EXPECT_EQ(t.Nomes(TipoTabela::Qualitativa),
              (std::vector<std::string>{"SoCabecalho", "m²", "Colada"}));
    EXPECT_EQ(t.Nomes(TipoTabela::Dicotomica), (std::vector<std::string>{"Um", "Tres", "Fim"}));
    EXPECT_EQ(t.CarregaQualitativa("SoCabecalho"), TTabelaQualitativa{});
    EXPECT_EQ(t.CarregaDicotomica("Um"), (TTabelaDicotomica{"Sozinho", ""}));
    EXPECT_EQ(t.CarregaDicotomica("Tres"), (TTabelaDicotomica{"A", "B"}));
    EXPECT_EQ(t.CarregaDicotomica("Fim"), (TTabelaDicotomica{"S", "N"}));
    auto m = t.CarregaQualitativa("m²");
    ASSERT_TRUE(m);
    ASSERT_EQ(m->size(), 2u);
    EXPECT_EQ((*m)[0], (TObjetoValor{"± x²", 1.5L}));
    EXPECT_EQ((*m)[1].Valor, 2);
    EXPECT_EQ(t.ValorRotulo("Colada", "c"), 3);

    // Deleting the three-line table removes all its lines and nothing else.
    ASSERT_TRUE(t.Apaga("Tres", TipoTabela::Dicotomica));
    ASSERT_TRUE(t.Acrescenta("Nova", TTabelaQualitativa{{"n", 1}}));
    const std::string depois = LeBytes(arquivo);
    EXPECT_EQ(depois.find("\r\nC\r\n"), std::string::npos);
    EXPECT_EQ(depois.rfind("lixo antes\r\n", 0), 0u);
    EXPECT_NE(depois.find(longa), std::string::npos);
    EXPECT_EQ(t.Nomes(TipoTabela::Dicotomica), (std::vector<std::string>{"Um", "Fim"}));
    EXPECT_EQ(t.CarregaDicotomica("Fim"), (TTabelaDicotomica{"S", "N"}));
    EXPECT_EQ(t.CarregaQualitativa("Nova"), (TTabelaQualitativa{{"n", 1}}));
    EXPECT_EQ(t.CarregaQualitativa("m²"), m);
}

// Random files made of the format's own bytes: reading never fails, and
// appending or deleting one table leaves every other table as it was.
TEST_F(TabelasStore, RandomContentKeepsOtherTables) {
    const char alfabeto[] = {'\xB1', '\xB2', 'Q', 'D', '\r', '\n', 'a', 'b', ',', '1', ' '};
    const std::string linhas[] = {"\xB1"
                                  "a\xB2Q",
                                  "\xB1"
                                  "b\xB2Q",
                                  "\xB1"
                                  "a\xB2"
                                  "D",
                                  "\xB1"
                                  "b\xB2"
                                  "D",
                                  "x\xB2"
                                  "1",
                                  "y\xB2"
                                  "2,5",
                                  "S",
                                  "N",
                                  "",
                                  "",
                                  "lixo"};
    const char *fins[] = {"\r\n", "\n", "\r"};
    std::mt19937 gerador(12345);
    for (int rodada = 0; rodada < 600; ++rodada) {
        std::uniform_int_distribution<int> tamanho(0, 40), letra(0, sizeof alfabeto - 1),
            linha(0, std::size(linhas) - 1), fim(0, 2);
        // Random bytes of the format, or random lines of it.
        std::string texto;
        for (int n = tamanho(gerador); n > 0; --n) {
            if (rodada % 2)
                texto += alfabeto[letra(gerador)];
            else
                texto += linhas[linha(gerador)] + fins[fim(gerador)];
        }
        EscreveBytes(arquivo, texto);
        TTabelasVariaveis t(arquivo);

        auto fotografia = [&t](const std::string &excluido, TipoTabela tipoExcluido) {
            std::vector<std::string> r;
            for (TipoTabela tipo : {TipoTabela::Qualitativa, TipoTabela::Dicotomica})
                for (const std::string &nome : t.Nomes(tipo)) {
                    if (nome == excluido && tipo == tipoExcluido) continue;
                    if (tipo == TipoTabela::Dicotomica) {
                        r.push_back(nome + "=" + t.TextoRotulos(nome));
                        continue;
                    }
                    const TTabelaQualitativa q = t.CarregaQualitativa(nome).value();
                    for (const auto &e : q)
                        r.push_back(nome + "=" + e.Rotulo + ":" + FormatoGeral(e.Valor));
                }
            return r;
        };
        auto antes = fotografia("Nova", TipoTabela::Qualitativa);
        ASSERT_TRUE(t.Acrescenta("Nova", TTabelaQualitativa{{"n", 1}})) << rodada;
        EXPECT_EQ(fotografia("Nova", TipoTabela::Qualitativa), antes) << rodada;
        EXPECT_EQ(t.ValorRotulo("Nova", "n"), 1) << rodada;

        for (TipoTabela tipo : {TipoTabela::Dicotomica, TipoTabela::Qualitativa}) {
            auto nomes = t.Nomes(tipo);
            if (nomes.empty()) continue;
            // Deleting the first table of a name shows the next one of that
            // name, if any, so only the other tables are compared.
            auto resto = fotografia(nomes[0], tipo);
            ASSERT_TRUE(t.Apaga(nomes[0], tipo)) << rodada;
            EXPECT_EQ(fotografia(nomes[0], tipo), resto) << rodada;
        }
    }
}
