#include "files/ArquivoIni.h"
#include "files/ConfiguracaoGeral.h"

#include <gtest/gtest.h>

#include <chrono>
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

void Escreve(const fs::path &p, const std::string &dados) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << dados;
}

class Ini : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        pasta = fs::temp_directory_path() /
                ("zelto_ini_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
        fs::remove_all(pasta);
        fs::create_directories(pasta);
        arquivo = pasta / "TESTE.INI";
    }
    void TearDown() override { fs::remove_all(pasta); }

    fs::path pasta, arquivo;
};

TEST_F(Ini, NewFileIsWrittenAtOnceInWindows1252WithCrLf) {
    TArquivoIni ini(arquivo);
    ASSERT_TRUE(ini.Aberto());
    EXPECT_FALSE(fs::exists(arquivo));
    ASSERT_TRUE(ini.EscreveTexto("Geral", "Nome", "Avaliação de imóvel"));
    EXPECT_EQ(Le(arquivo), "[Geral]\r\nNome=Avalia\xE7\xE3o de im\xF3vel\r\n");
    ASSERT_TRUE(ini.EscreveBooleano("Geral", "Liga", true));
    ASSERT_TRUE(ini.EscreveInteiro("Seção", "Cor", -5));
    ASSERT_TRUE(ini.EscreveBooleano("Geral", "Desliga", false));
    EXPECT_EQ(Le(arquivo), "[Geral]\r\nNome=Avalia\xE7\xE3o de im\xF3vel\r\nLiga=1\r\nDesliga=0\r\n"
                           "\r\n[Se\xE7\xE3o]\r\nCor=-5\r\n");

    TArquivoIni outra(arquivo);
    EXPECT_EQ(outra.LeTexto("geral", "NOME"), "Avaliação de imóvel");
    EXPECT_EQ(outra.LeInteiro("Seção", "Cor", 0), -5);
    EXPECT_EQ(outra.Secoes(), (std::vector<std::string>{"Geral", "Seção"}));
    EXPECT_EQ(outra.Chaves("Geral"), (std::vector<std::string>{"Nome", "Liga", "Desliga"}));
}

TEST_F(Ini, ChangingOneKeyKeepsEveryOtherByte) {
    // LF line ends, comments, blanks around "=", an unknown section, bytes of
    // the upper half and a missing final line end.
    const std::string original = "; coment\xE1rio\n"
                                 "[Geral]\n"
                                 "  AvVert = 1\n"
                                 "Texto=\xC1gua \xE9 \x80\n"
                                 "\n"
                                 "[Outra]\n"
                                 "x=\"  protegido  \"\n"
                                 "Outra=2";
    Escreve(arquivo, original);
    TArquivoIni ini(arquivo);
    EXPECT_EQ(ini.LeTexto("Geral", "Texto"), "Água é €");
    EXPECT_EQ(ini.LeTexto("Outra", "x"), "  protegido  ");
    EXPECT_TRUE(ini.LeBooleano("Geral", "AvVert", false));

    // Writing the value a key already holds changes nothing on disk.
    ASSERT_TRUE(ini.EscreveBooleano("Geral", "AvVert", true));
    EXPECT_EQ(Le(arquivo), original);

    ASSERT_TRUE(ini.EscreveBooleano("Geral", "AvVert", false));
    ASSERT_TRUE(ini.EscreveTexto("Geral", "Novo", "n\xE3o")); // invalid UTF-8 passes as 1252
    EXPECT_EQ(Le(arquivo), "; coment\xE1rio\n"
                           "[Geral]\n"
                           "AvVert=0\n"
                           "Texto=\xC1gua \xE9 \x80\n"
                           "Novo=n\xE3o\n"
                           "\n"
                           "[Outra]\n"
                           "x=\"  protegido  \"\n"
                           "Outra=2\n");
    ASSERT_TRUE(ini.ApagaChave("Outra", "x"));
    EXPECT_FALSE(TArquivoIni(arquivo).Existe("Outra", "x"));
    EXPECT_TRUE(TArquivoIni(arquivo).Existe("Outra", "Outra"));
}

TEST_F(Ini, TextsRoundTripExactly) {
    const std::string textos[] = {"",      "  dois brancos  ",   "\"entre aspas\"", "\"",
                                  "a=b=c", "; não é comentário", "[não é seção]",   "Ç€ŒŸ",
                                  "\ttab"};
    {
        TArquivoIni ini(arquivo);
        for (std::size_t i = 0; i < std::size(textos); ++i)
            ASSERT_TRUE(ini.EscreveTexto("S", "k" + std::to_string(i), textos[i]));
    }
    TArquivoIni lido(arquivo);
    for (std::size_t i = 0; i < std::size(textos); ++i)
        EXPECT_EQ(lido.LeTexto("S", "k" + std::to_string(i), "?"), textos[i]) << i;
    // A line break cannot live in a value: it becomes a blank.
    TArquivoIni ini(arquivo);
    ASSERT_TRUE(ini.EscreveTexto("S", "quebra", "um\r\ndois"));
    EXPECT_EQ(TArquivoIni(arquivo).LeTexto("S", "quebra"), "um  dois");
}

TEST_F(Ini, NamesALineCannotHoldAreRefused) {
    TArquivoIni ini(arquivo);
    for (auto [secao, chave] : {std::pair{"S]", "k"},
                                {"S", "a=b"},
                                {"S", "[k"},
                                {"S", ";k"},
                                {"S", "#k"},
                                {"S", ""},
                                {"S\n", "k"},
                                {"S", "k\r"}})
        EXPECT_FALSE(ini.EscreveTexto(secao, chave, "v")) << secao << "|" << chave;
    EXPECT_FALSE(ini.EscreveMemo("", "S", std::vector<std::string>(12, "x"))); // key ";"
    EXPECT_FALSE(fs::exists(arquivo));
    // Blanks around names are not part of them.
    ASSERT_TRUE(ini.EscreveTexto(" S ", " k ", "v"));
    EXPECT_EQ(Le(arquivo), "[S]\r\nk=v\r\n");
    EXPECT_EQ(ini.LeTexto("S", "k"), "v");

    // Settings from memory never touch the disk.
    TArquivoIni memoria;
    memoria.CarregaTexto("[S]\nk=1\n");
    EXPECT_TRUE(memoria.LeBooleano("S", "k", false));
    EXPECT_FALSE(memoria.EscreveInteiro("S", "k", 2));
    EXPECT_EQ(memoria.Conteudo(), "[S]\nk=2\n");
}

TEST_F(Ini, BooleansAndIntegers) {
    Escreve(arquivo, "[S]\r\nb2=2\r\nbm=-1\r\nb0=0\r\nletras=abc\r\nvazio=\r\nhex=$FF\r\n"
                     "hex2=0x10\r\ncor=2147483653\r\nenorme=99999999999\r\nbrancos= 12 \r\n");
    TArquivoIni ini(arquivo);
    struct Caso {
        const char *chave;
        int padrao;
        int esperado;
    } casos[] = {
        {"b2", 7, 2},     {"bm", 7, -1},      {"b0", 7, 0},    {"letras", 7, 7},
        {"vazio", 7, 7},  {"hex", 7, 255},    {"hex2", 7, 16}, {"cor", 7, INT32_MIN + 5},
        {"enorme", 7, 7}, {"brancos", 7, 12}, {"falta", 7, 7},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(ini.LeInteiro("S", c.chave, c.padrao), c.esperado) << c.chave;
    EXPECT_TRUE(ini.LeBooleano("S", "b2", false));
    EXPECT_TRUE(ini.LeBooleano("S", "bm", false));
    EXPECT_FALSE(ini.LeBooleano("S", "b0", true));
    EXPECT_TRUE(ini.LeBooleano("S", "letras", true));
    EXPECT_FALSE(ini.LeBooleano("S", "letras", false));
    EXPECT_TRUE(ini.LeBooleano("Outra", "b2", true));
}

TEST_F(Ini, FontEncoding) {
    TFonteIni f;
    ASSERT_TRUE(TArquivoIni::DecodificaFonte("0A000000000000000000", f));
    EXPECT_EQ(f, TFonteIni{});

    TFonteIni g{"Times New Roman", 12, 0x00FF0080u, true, false, true, false};
    EXPECT_EQ(TArquivoIni::CodificaFonte(g), "0C008000FF0001000100");
    TFonteIni h;
    ASSERT_TRUE(TArquivoIni::DecodificaFonte("0c008000ff0001000100", h));
    h.Nome = g.Nome;
    EXPECT_EQ(h, g);
    for (const char *ruim :
         {"", "0A00000000000000000", "0A0000000000000000000", "0A00000000000000000G"})
        EXPECT_FALSE(TArquivoIni::DecodificaFonte(ruim, h)) << ruim;

    TArquivoIni ini(arquivo);
    // Nothing stored: Arial 10, black, plain.
    EXPECT_EQ(ini.LeFonte("Tit", "Fontes"), TFonteIni{});
    ASSERT_TRUE(ini.EscreveFonte("Tit", "Fontes", g));
    EXPECT_EQ(Le(arquivo), "[Fontes]\r\nTitNm=Times New Roman\r\nTitIn=0C008000FF0001000100\r\n");
    EXPECT_EQ(TArquivoIni(arquivo).LeFonte("Tit", "Fontes"), g);
    // A damaged "In" value keeps the name and takes the default for the rest.
    ASSERT_TRUE(ini.EscreveTexto("Fontes", "TitIn", "xyz"));
    TFonteIni esperada;
    esperada.Nome = "Times New Roman";
    EXPECT_EQ(TArquivoIni(arquivo).LeFonte("Tit", "Fontes"), esperada);
}

TEST_F(Ini, MultiLineEncoding) {
    TArquivoIni ini(arquivo);
    ASSERT_TRUE(ini.EscreveMemo("Com", "Obs", {"primeira", "", "terceira é última"}));
    EXPECT_EQ(Le(arquivo), "[Obs]\r\nCom0=primeira\r\nCom1=\r\nCom2=terceira \xE9 \xFAltima\r\n"
                           "Com3=f%i%m\r\n");
    EXPECT_EQ(TArquivoIni(arquivo).LeMemo("Com", "Obs"),
              (std::vector<std::string>{"primeira", "", "terceira é última"}));

    // A shorter text leaves no stale lines behind; an empty text is the marker alone.
    ASSERT_TRUE(ini.EscreveMemo("Com", "Obs", {}));
    EXPECT_EQ(Le(arquivo), "[Obs]\r\nCom0=f%i%m\r\n");
    EXPECT_TRUE(TArquivoIni(arquivo).LeMemo("Com", "Obs").empty());
    // A missing key ends the text as the marker does.
    EXPECT_TRUE(ini.LeMemo("Nada", "Obs").empty());
    Escreve(arquivo, "[Obs]\r\nCom0=a\r\nCom1=b\r\n");
    EXPECT_EQ(TArquivoIni(arquivo).LeMemo("Com", "Obs"), (std::vector<std::string>{"a", "b"}));
}

TEST_F(Ini, LongMultiLineTextsKeepEveryLine) {
    // The keys go on after "9" through the character table, skipping "=" (it
    // would end the key) and the lower-case letters (keys ignore case).
    EXPECT_EQ(TArquivoIni::ChaveMemo("P", 9), "P9");
    EXPECT_EQ(TArquivoIni::ChaveMemo("P", 10), "P:");
    EXPECT_EQ(TArquivoIni::ChaveMemo("P", 12), "P<");
    EXPECT_EQ(TArquivoIni::ChaveMemo("P", 13), "P>");
    EXPECT_EQ(TArquivoIni::ChaveMemo("P", 16), "PA");
    EXPECT_EQ(TArquivoIni::ChaveMemo("P", 47), "P`");
    EXPECT_EQ(TArquivoIni::ChaveMemo("P", 48), "P{");
    EXPECT_EQ(TArquivoIni::ChaveMemo("P", 51), "P~");
    EXPECT_EQ(TArquivoIni::ChaveMemo("P", 52), "P~52");

    std::vector<std::string> linhas;
    for (int i = 0; i < 120; ++i)
        linhas.push_back("linha " + std::to_string(i));
    linhas[7] = std::string(300, 'x') + "ã"; // longer than 255 characters: kept whole
    TArquivoIni ini(arquivo);
    ASSERT_TRUE(ini.EscreveMemo("P", "M", linhas));
    EXPECT_EQ(TArquivoIni(arquivo).LeMemo("P", "M"), linhas);
    EXPECT_EQ(TArquivoIni(arquivo).Chaves("M").size(), 121u);
}

TEST_F(Ini, FailedWriteKeepsFileAndValueInMemory) {
    Escreve(arquivo, "[S]\r\nk=antigo\r\n");
    TArquivoIni ini(arquivo);
    // The temporary file cannot be created: a folder stands in its place.
    fs::create_directories(pasta / "TESTE.INI.grav~");
    EXPECT_FALSE(ini.EscreveTexto("S", "k", "novo"));
    EXPECT_EQ(Le(arquivo), "[S]\r\nk=antigo\r\n");
    EXPECT_EQ(ini.LeTexto("S", "k"), "novo");
    // The next write, even of an unchanged value, brings the file up to date.
    fs::remove(pasta / "TESTE.INI.grav~");
    EXPECT_TRUE(ini.EscreveTexto("S", "k", "novo"));
    EXPECT_EQ(Le(arquivo), "[S]\r\nk=novo\r\n");
}

TEST_F(Ini, UserCopyIsRefreshedWhenTheInstalledCopyIsNewer) {
    fs::path instalado = pasta / "share" / "ZERADE.INI";
    fs::path usuario = pasta / "user" / "ZERADE.INI";
    fs::create_directories(instalado.parent_path());
    Escreve(instalado, "[Geral]\r\nZRl=100\r\n");

    TArquivoIni ini;
    ASSERT_TRUE(ini.AbreCopiaUsuario(instalado, usuario));
    EXPECT_EQ(ini.LeInteiro("Geral", "ZRl", 0), 100);
    ASSERT_TRUE(ini.EscreveInteiro("Geral", "ZRl", 150));
    // The user's change survives while the installed copy is older.
    fs::last_write_time(instalado, fs::last_write_time(usuario) - std::chrono::hours(1));
    ASSERT_TRUE(ini.AbreCopiaUsuario(instalado, usuario));
    EXPECT_EQ(ini.LeInteiro("Geral", "ZRl", 0), 150);
    // An update installed later replaces the user's changed settings.
    Escreve(instalado, "[Geral]\r\nZRl=120\r\n");
    fs::last_write_time(instalado, fs::last_write_time(usuario) + std::chrono::hours(1));
    ASSERT_TRUE(ini.AbreCopiaUsuario(instalado, usuario));
    EXPECT_EQ(ini.LeInteiro("Geral", "ZRl", 0), 120);
}

// ---- The general settings ------------------------------------------------------

TEST_F(Ini, GeneralSettingsDefaultsMatchTheShippedFile) {
    const fs::path enviado =
        fs::path(ZELTO_TEST_DATA).parent_path().parent_path() / "share" / "ZERADE.INI";
    TConfiguracaoGeral c;
    c.AvancoVertical = false;   // Le starts again from the defaults
    c.Le(TArquivoIni(arquivo)); // no file at all
    EXPECT_EQ(c, TConfiguracaoGeral{});
    c.Le(TArquivoIni(enviado));
    EXPECT_EQ(c, TConfiguracaoGeral{});
    EXPECT_EQ(c.CorGrade, 0xFFFFFF);
    EXPECT_EQ(c.CorFixa, 0xF0F0F0);
    EXPECT_EQ(c.FontePlanilha, TFonteIni{});

    // Writing every default into an empty file gives the shipped file byte for byte.
    TArquivoIni ini(arquivo);
    ASSERT_TRUE(TConfiguracaoGeral{}.GravaTudo(ini));
    EXPECT_EQ(Le(arquivo), Le(enviado));
}

TEST_F(Ini, GeneralSettingsWriteOneKeyAtATime) {
    TArquivoIni ini(arquivo);
    TConfiguracaoGeral c;
    c.ZoomRelatorio = 75;
    c.Recentes[2] = "/dados/Avaliação.QV3";
    c.FontePlanilha.Tamanho = 12;
    c.FontePlanilha.Nome = "Courier";
    ASSERT_TRUE(c.Grava(ini, "ZRl"));
    ASSERT_TRUE(c.Grava(ini, "ItMn3"));
    ASSERT_TRUE(c.Grava(ini, "tm"));
    EXPECT_FALSE(c.Grava(ini, "Desconhecida"));
    EXPECT_EQ(Le(arquivo), "[Geral]\r\nZRl=75\r\nItMn3=/dados/Avalia\xE7\xE3o.QV3\r\n"
                           "\r\n[FntPlan]\r\ntm=12\r\n");
    TConfiguracaoGeral lida;
    lida.Le(TArquivoIni(arquivo));
    EXPECT_EQ(lida.ZoomRelatorio, 75);
    EXPECT_EQ(lida.Recentes[2], "/dados/Avaliação.QV3");
    EXPECT_EQ(lida.FontePlanilha.Tamanho, 12);
    EXPECT_EQ(lida.FontePlanilha.Nome, "Arial"); // "nm" was not written
}

TEST_F(Ini, GeneralSettingsCursorAdvanceAndSystemColours) {
    struct Caso {
        const char *vert, *horz;
        DirecaoAvanco esperado;
    } casos[] = {
        {"1", "1", DirecaoAvanco::dAvancoHorizontal}, {"1", "0", DirecaoAvanco::dAvancoVertical},
        {"0", "1", DirecaoAvanco::dAvancoHorizontal}, {"0", "0", DirecaoAvanco::dSemAvanco},
        {"5", "x", DirecaoAvanco::dAvancoVertical}, // "x" is no integer: AvHorz's default
    };
    for (const Caso &k : casos) {
        Escreve(arquivo,
                std::string("[Geral]\r\nAvVert=") + k.vert + "\r\nAvHorz=" + k.horz + "\r\n");
        TConfiguracaoGeral c;
        c.Le(TArquivoIni(arquivo));
        EXPECT_EQ(c.Avanco(), k.esperado) << k.vert << k.horz;
    }
    TConfiguracaoGeral d;
    d.DefineAvanco(DirecaoAvanco::dSemAvanco);
    EXPECT_FALSE(d.AvancoVertical || d.AvancoHorizontal);

    // System colours of the original platform read as the matching defaults.
    Escreve(arquivo, "[Geral]\r\nGrC=-2147483643\r\nGrFC=-16777201\r\n[FntPlan]\r\ncr=255\r\n");
    TConfiguracaoGeral c;
    c.Le(TArquivoIni(arquivo));
    EXPECT_EQ(c.CorGrade, kCorJanela);
    EXPECT_EQ(c.CorFixa, kCorFaceBotao);
    EXPECT_EQ(c.FontePlanilha.Cor, 255u);
    Escreve(arquivo, "[Geral]\r\nGrC=-2147483633\r\nGrFC=4210752\r\n");
    c.Le(TArquivoIni(arquivo));
    EXPECT_EQ(c.CorGrade, kCorFaceBotao);
    EXPECT_EQ(c.CorFixa, 0x404040);
}

} // namespace
