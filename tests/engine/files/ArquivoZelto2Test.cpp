#include "files/ArquivoZelto2.h"

#include "worksheet/Gridzelto.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

using namespace zelto;
namespace fs = std::filesystem;

namespace {

std::string B(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes)
        s += static_cast<char>(b);
    return s;
}

// A record of `tamanho` bytes: the length byte, the text, padding.
std::string Registro(const std::string &texto, std::size_t tamanho, char enchimento = ' ') {
    std::string s(1, static_cast<char>(texto.size()));
    s += texto;
    s.resize(tamanho, enchimento);
    return s;
}

// A small file of the older format, built by hand: 2 samples, 1 independent
// variable, names and descriptions in the older character set.
//   dependent "Preço" (P r e 0x87 o), independent "Área   " (0x92 r e a, trailing blanks)
//   samples: (1000; 1,5) and (2000; 2,5)
//   descriptions "Preço unitário" (0xA0 = á) with 2 decimals and
//   "Área útil em m²" (0xA3 = ú, 0xB2 passes unchanged) with 1 decimal.
std::string ArquivoExemplo() {
    std::string s(18, '\0');
    s += B({0x0D, 0x0A}) + "SISTEMA ZELTO2" + B({0x0A, 0x1A});            // 18..35
    s += Registro("Pre\x87o", 12, '\0');                                  // 36: dependent name
    s += B({0x81, 0, 0, 0, 0, 0});                                        // 48: V = 1
    s += B({0x82, 0, 0, 0, 0, 0});                                        // 54: N = 2
    s += Registro("\x92rea   ", 12);                                      // 60: independent name
    s += std::string(12, 'x');                                            // 72: not read
    s += B({0x8A, 0, 0, 0, 0, 0x7A}) + B({0x81, 0, 0, 0, 0, 0x40});       // 84: 1000, 1.5
    s += B({0x8B, 0, 0, 0, 0, 0x7A}) + B({0x82, 0, 0, 0, 0, 0x20});       // 96: 2000, 2.5
    s += Registro("Pre\x87o unit\xA0rio", 60) + B({0x82, 0, 0, 0, 0, 0}); // 108: 2 decimals
    s += Registro("\x92rea \xA3til em m\xB2", 60) + B({0x81, 0, 0, 0, 0, 0}); // 174: 1 decimal
    return s;                                                                 // 240 bytes
}

class Zelto2 : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        pasta = fs::temp_directory_path() /
                ("zelto_z2_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
        fs::remove_all(pasta);
        fs::create_directories(pasta);
    }
    void TearDown() override { fs::remove_all(pasta); }
    fs::path Escreve(const std::string &nome, const std::string &dados) {
        fs::path p = pasta / nome;
        std::ofstream(p, std::ios::binary | std::ios::trunc) << dados;
        return p;
    }

    fs::path pasta;
};

TEST_F(Zelto2, OldCharacterSetIsTranslated) {
    EXPECT_EQ(TraduzTextoAntigo("\xA0\x8D\xEE\x82\x95\xE9\xA1\x97\x84\xA2\x85\x94\xA3\x8F\x8E\x92"
                                "\x83\x99\x90\x88\x87\xEA\x93\x80"),
              "áÍÊéÓÔíÚãóàõúÀÃÁâÕÉêçÂôÇ");
    // Other bytes pass unchanged; only trailing blanks go.
    EXPECT_EQ(TraduzTextoAntigo("  m\xB2 A  "), "  m² A");
    EXPECT_EQ(TraduzTextoAntigo("   "), "");
}

TEST_F(Zelto2, ReadsTheHandBuiltFile) {
    fs::path arq = Escreve("ANTIGO.ZEL", ArquivoExemplo());
    TArquivoZelto2 leitor;
    EXPECT_TRUE(leitor.VerificaFormato(arq));
    TGridzelto g;
    g.NomeArquivo = "outro.QV3";
    std::string resumo = "velho";
    ASSERT_TRUE(leitor.Ler(arq, g, 255, resumo)) << leitor.Mensagem();
    EXPECT_EQ(resumo, "");
    EXPECT_EQ(g.NomeArquivo, "Planilha.QV3");
    EXPECT_FALSE(g.Modificada());
    EXPECT_EQ(g.ColunasUsadas(), 2);
    EXPECT_EQ(g.LinhasUsadas(), 2);

    const TVariavel *dep = g.Variavel(1);
    ASSERT_NE(dep, nullptr);
    EXPECT_EQ(dep->Nome, "Preço");
    EXPECT_EQ(dep->Descricao, "Preço unitário");
    EXPECT_TRUE(dep->Usada && dep->Dependente && dep->PontosDeMilhar);
    EXPECT_FALSE(dep->CoeficienteHomogeneizacao);
    EXPECT_EQ(dep->CasasDecimais, 2);
    EXPECT_EQ(dep->Tipo, tvNumerica);
    EXPECT_EQ(dep->Alinhamento, alDireita);

    const TVariavel *ind = g.Variavel(2);
    ASSERT_NE(ind, nullptr);
    EXPECT_EQ(ind->Nome, "Área");
    EXPECT_EQ(ind->Descricao, "Área útil em m²");
    EXPECT_TRUE(ind->Usada && ind->CoeficienteHomogeneizacao);
    EXPECT_FALSE(ind->Dependente || ind->PontosDeMilhar);
    EXPECT_EQ(ind->CasasDecimais, 1);
    EXPECT_EQ(g.Formato(2).Editor, teReal);

    const char *esperado[3][3] = {
        {"", "Preço", "Área"}, {"1", "1.000,00", "1,5"}, {"2", "2.000,00", "2,5"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            if (r || c) {
                EXPECT_EQ(g.Celula(c, r), esperado[r][c]) << c << "," << r;
            }
    EXPECT_EQ(g.Variavel(3), nullptr);
}

TEST_F(Zelto2, DescriptiveExtensionAddsTheHomogenisedValue) {
    fs::path arq = Escreve("ANTIGO.DCR", ArquivoExemplo());
    TGridzelto g;
    g.Modo.CriarValorHomogeneizado = true;
    std::string resumo;
    TArquivoZelto2 leitor;
    ASSERT_TRUE(leitor.Ler(arq, g, 255, resumo));
    ASSERT_EQ(g.ColunasUsadas(), 3);
    EXPECT_EQ(g.Celula(3, 0), "Valor Homog.");
    EXPECT_TRUE(g.Variavel(3)->Dependente);
    EXPECT_TRUE(g.Modificada());
    EXPECT_FALSE(g.Variavel(1)->Dependente);
    EXPECT_EQ(g.Celula(3, 1), "1.500,00");
    EXPECT_EQ(g.Celula(3, 2), "5.000,00");

    TGridzelto h;
    h.Modo.CriarValorHomogeneizado = false;
    ASSERT_TRUE(leitor.Ler(arq, h, 255, resumo));
    EXPECT_EQ(h.ColunasUsadas(), 2);
}

TEST_F(Zelto2, PreviewComments) {
    auto cabecalho = [](int v, int n) {
        std::string s = ArquivoExemplo().substr(0, 48);
        auto real = [](int x) {
            // Small whole numbers: exponent byte, fraction bits below the leading 1.
            int e = 0;
            while ((1 << (e + 1)) <= x)
                ++e;
            long long f = (static_cast<long long>(x - (1 << e)) << 39) >> e;
            std::string b(1, static_cast<char>(129 + e));
            for (int i = 0; i < 5; ++i)
                b += static_cast<char>((f >> (8 * i)) & 0xFF);
            return x == 0 ? std::string(6, '\0') : b;
        };
        return s + real(v) + real(n);
    };
    struct Caso {
        const char *nome;
        int v, n;
        const char *texto;
    } casos[] = {
        {"A.ZEL", 1, 2,
         "Planilha de Estatística Inferencial\r\n\r\n - 2 amostragens\r\n - 1 variável "
         "independente\r\n"},
        {"B.zel", 3, 1,
         "Planilha de Estatística Inferencial\r\n\r\n - 1 amostragem\r\n - 3 variáveis "
         "independentes\r\n"},
        {"C.DCR", 1, 0,
         "Planilha de Estatística Descritiva\r\n\r\n - 0 amostragens\r\n - 1 coeficiente de "
         "homogeneização."},
        {"D.QV3", 5, 12,
         "Planilha de Estatística Descritiva\r\n\r\n - 12 amostragens\r\n - 5 coeficientes de "
         "homogeneização."},
    };
    for (const Caso &c : casos) {
        TArquivoZelto2 leitor;
        std::string texto;
        EXPECT_TRUE(leitor.LerComentarios(Escreve(c.nome, cabecalho(c.v, c.n)), texto));
        EXPECT_EQ(texto, c.texto) << c.nome;
    }
    TArquivoZelto2 leitor;
    std::string texto;
    EXPECT_FALSE(leitor.LerComentarios(Escreve("E.ZEL", ArquivoExemplo().substr(0, 50)), texto));
    EXPECT_EQ(texto, "Não foi possível ler arquivo.");
    EXPECT_FALSE(leitor.LerComentarios(pasta / "falta.ZEL", texto));
    EXPECT_EQ(texto, "Não foi possível ler arquivo.");
}

TEST_F(Zelto2, TruncatedAtEveryOffsetKeepsWhatWasRead) {
    const std::string inteiro = ArquivoExemplo();
    ASSERT_EQ(inteiro.size(), 240u);
    for (std::size_t n = 0; n < inteiro.size(); ++n) {
        fs::path arq = Escreve("CORTADO.ZEL", inteiro.substr(0, n));
        TArquivoZelto2 leitor;
        TGridzelto g;
        std::string resumo;
        EXPECT_FALSE(leitor.Ler(arq, g, 255, resumo)) << n;
        if (n < 36) {
            EXPECT_NE(leitor.Mensagem().find("não está no formato"), std::string::npos) << n;
            continue;
        }
        EXPECT_NE(leitor.Mensagem().find("Erro durante leitura do arquivo."), std::string::npos)
            << n;
        int colunas = n < 60 ? 0 : n < 72 ? 1 : 2;
        int linhas = n < 96 ? 0 : n < 108 ? 1 : 2;
        EXPECT_EQ(g.ColunasUsadas(), colunas) << n;
        EXPECT_EQ(g.LinhasUsadas(), linhas) << n;
        if (colunas > 0) {
            EXPECT_TRUE(g.Modificada()) << n;
        }
        if (linhas > 0) {
            // The values are there; the decimals, stored last, are not.
            EXPECT_EQ(g.ValorCelula(1, 1), 1000) << n;
            EXPECT_EQ(g.ValorCelula(2, 1), 1.5L) << n;
            EXPECT_EQ(g.Variavel(2)->CasasDecimais, 2) << n;
            EXPECT_EQ(g.Celula(2, 1), "1,50") << n;
        }
    }
}

TEST_F(Zelto2, HostileCountsAreCheckedAgainstTheFile) {
    std::string base = ArquivoExemplo();
    auto comContagens = [&](std::string v, std::string n) {
        std::string s = base;
        s.replace(48, 6, v);
        s.replace(54, 6, n);
        return s;
    };
    struct Caso {
        const char *nome;
        std::string v, n;
        int erro, colunas, linhas;
    } casos[] = {
        // V = -1 and V = 1e30: no count the worksheet can hold.
        {"negativo", B({0x81, 0, 0, 0, 0, 0x80}), B({0x82, 0, 0, 0, 0, 0}), 106, 0, 0},
        {"enorme", B({0xE4, 0, 0, 0, 0, 0x4A}), B({0x82, 0, 0, 0, 0, 0}), 106, 0, 0},
        // V = 65534: only the names that are whole become columns (180 / 12 = 15).
        {"muitas", B({0x90, 0, 0, 0, 0xFC, 0x7F}), B({0x82, 0, 0, 0, 0, 0}), 100, 16, 0},
        // N = 60000: only the complete samples are read ((240 - 84) / 12 = 13).
        {"amostras", B({0x81, 0, 0, 0, 0, 0}), B({0x90, 0, 0, 0, 0x60, 0x6A}), 100, 2, 13},
    };
    for (const Caso &c : casos) {
        fs::path arq = Escreve("HOSTIL.ZEL", comContagens(c.v, c.n));
        TArquivoZelto2 leitor;
        TGridzelto g;
        std::string resumo;
        EXPECT_FALSE(leitor.Ler(arq, g, 255, resumo)) << c.nome;
        EXPECT_EQ(leitor.Erro(), c.erro) << c.nome;
        EXPECT_EQ(g.ColunasUsadas(), c.colunas) << c.nome;
        EXPECT_EQ(g.LinhasUsadas(), c.linhas) << c.nome;
    }
}

TEST_F(Zelto2, BitFlipsNeverBreakTheReader) {
    const std::string inteiro = ArquivoExemplo();
    // Every bit of the counts, one bit of every other byte.
    for (std::size_t i = 36; i < inteiro.size(); ++i)
        for (int bit = 0; bit < 8; ++bit) {
            if ((i < 48 || i >= 60) && bit != static_cast<int>(i % 8)) continue;
            std::string s = inteiro;
            s[i] = static_cast<char>(s[i] ^ (1 << bit));
            fs::path arq = Escreve("FLIP.ZEL", s);
            TArquivoZelto2 leitor;
            TGridzelto g;
            std::string resumo;
            bool ok = leitor.Ler(arq, g, 255, resumo);
            EXPECT_EQ(ok, leitor.Erro() == 0);
            EXPECT_LE(g.ColunasUsadas(), 17);
            EXPECT_LE(g.LinhasUsadas(), 28); // V = 0: (240 - 72) / 6 samples
        }
}

TEST_F(Zelto2, FormatCheckAndMissingFile) {
    TArquivoZelto2 leitor;
    EXPECT_FALSE(leitor.VerificaFormato(Escreve("CURTO.ZEL", ArquivoExemplo().substr(0, 35))));
    std::string outro = ArquivoExemplo();
    outro[25] = 'X';
    EXPECT_FALSE(leitor.VerificaFormato(Escreve("OUTRO.ZEL", outro)));
    TGridzelto g;
    std::string resumo;
    EXPECT_FALSE(leitor.Ler(pasta / "FALTA.ZEL", g, 255, resumo));
    EXPECT_EQ(leitor.Mensagem(),
              "Não foi possível abrir o arquivo " + (pasta / "FALTA.ZEL").string() + ".");
}

} // namespace
