#include "files/LeituraGravacaoDados.h"

#include "common/Numeros.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <unistd.h>

using namespace zelto;
namespace fs = std::filesystem;

namespace {

// The primitives made reachable for the tests.
class TPrimitivas : public TLeituraGravacaoDados {
  public:
    using TLeituraGravacaoDados::AbreLeitura;
    using TLeituraGravacaoDados::CriaGravacao;
    using TLeituraGravacaoDados::Fecha;
    using TLeituraGravacaoDados::GravaByte;
    using TLeituraGravacaoDados::GravaData;
    using TLeituraGravacaoDados::GravaInt16;
    using TLeituraGravacaoDados::GravaInt32;
    using TLeituraGravacaoDados::GravaReal;
    using TLeituraGravacaoDados::GravaTexto;
    using TLeituraGravacaoDados::LeByte;
    using TLeituraGravacaoDados::LeData;
    using TLeituraGravacaoDados::LeInt16;
    using TLeituraGravacaoDados::LeInt32;
    using TLeituraGravacaoDados::LeReal;
    using TLeituraGravacaoDados::LeTexto;
};

std::string Bytes(std::initializer_list<int> b) {
    std::string s;
    for (int x : b)
        s += static_cast<char>(x);
    return s;
}

std::string LeArquivoTodo(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void EscreveArquivo(const fs::path &p, const std::string &dados) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << dados;
}

class Primitivas : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        pasta = fs::temp_directory_path() /
                ("zelto_prim_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
        fs::remove_all(pasta);
        fs::create_directories(pasta);
    }
    void TearDown() override { fs::remove_all(pasta); }
    fs::path pasta;
};

} // namespace

// Byte patterns worked out by hand from (-1)^s * 2^(e-129) * (1 + f/2^39):
// 1234.5 = 2^10 * (1 + 210.5/1024), f = 210.5 * 2^29 = 0x1A50000000.
// 0.1 = 2^-4 * 1.6, f = round(0.6 * 2^39) = 0x4CCCCCCCCD.
TEST(Real6, EncodesHandComputedPatterns) {
    struct Caso {
        long double x;
        TReal6 b;
        bool exato; // decodes back to x itself
    } casos[] = {
        {0.0L, {0x00, 0, 0, 0, 0, 0}, true},
        {1.0L, {0x81, 0, 0, 0, 0, 0}, true},
        {-0.5L, {0x80, 0, 0, 0, 0, 0x80}, true},
        {1234.5L, {0x8B, 0, 0, 0, 0x50, 0x1A}, true},
        {-1234.5L, {0x8B, 0, 0, 0, 0x50, 0x9A}, true},
        {0.1L, {0x7D, 0xCD, 0xCC, 0xCC, 0xCC, 0x4C}, false},
        {MaximoReal6, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}, true},
        {MinimoReal6, {0x01, 0, 0, 0, 0, 0}, true},
        // Rounding that carries into the exponent: just below 2 becomes 2.
        {2.0L - 0x1p-42L, {0x82, 0, 0, 0, 0, 0}, false},
    };
    for (const Caso &c : casos) {
        TReal6 b{};
        ASSERT_TRUE(CodificaReal6(c.x, b)) << static_cast<double>(c.x);
        EXPECT_EQ(b, c.b) << static_cast<double>(c.x);
        if (c.exato) {
            EXPECT_EQ(DecodificaReal6(c.b), c.x) << static_cast<double>(c.x);
        } else {
            EXPECT_NEAR(static_cast<double>(DecodificaReal6(c.b)), static_cast<double>(c.x), 1e-11);
        }
    }
    // The exponent 0 means 0 whatever the other bytes hold.
    EXPECT_EQ(DecodificaReal6({0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), 0.0L);
}

TEST(Real6, OutOfRangeIsRefusedNotWrapped) {
    TReal6 b{1, 2, 3, 4, 5, 6};
    const TReal6 antes = b;
    for (long double x : {1e39L, -1e39L, MaximoReal6 * (1 + 0x1p-40L), Infinito,
                          std::numeric_limits<long double>::infinity(),
                          std::numeric_limits<long double>::quiet_NaN()}) {
        EXPECT_FALSE(CodificaReal6(x, b)) << static_cast<double>(x);
        EXPECT_EQ(b, antes);
    }
    // Below the smallest magnitude: 0.
    ASSERT_TRUE(CodificaReal6(1e-40L, b));
    EXPECT_EQ(DecodificaReal6(b), 0.0L);
    // Twelve significant digits survive.
    ASSERT_TRUE(CodificaReal6(123456.789012L, b));
    EXPECT_NEAR(static_cast<double>(DecodificaReal6(b)), 123456.789012, 1e-6);
}

TEST_F(Primitivas, WriteThenReadEveryPrimitive) {
    fs::path p = pasta / "prim.bin";
    TPrimitivas g;
    ASSERT_TRUE(g.CriaGravacao(p));
    ASSERT_TRUE(g.GravaByte(200) && g.GravaInt16(-2) && g.GravaInt32(-70000) &&
                g.GravaReal(1234.5L) && g.GravaTexto("Ação") && g.GravaData(0) &&
                g.GravaData(32874) && g.GravaData(1) && g.GravaTexto(std::string(300, 'x')));
    ASSERT_TRUE(g.Fecha());

    // Hand-computed bytes: the dates are the IEEE doubles 726468 (1 Jan 1990)
    // and 693595 (31 Dec 1899); "Ação" is 41 E7 E3 6F in Windows-1252.
    std::string esperado = Bytes({200,  0xFE, 0xFF, 0x90, 0xEE, 0xFE, 0xFF, 0x8B, 0,    0,    0,
                                  0x50, 0x1A, 4,    0x41, 0xE7, 0xE3, 0x6F, 0,    0,    0,    0,
                                  0,    0,    0,    0,    0,    0,    0,    0,    0x88, 0x2B, 0x26,
                                  0x41, 0,    0,    0,    0,    0xB6, 0x2A, 0x25, 0x41, 255});
    esperado += std::string(255, 'x');
    EXPECT_EQ(LeArquivoTodo(p), esperado);

    TPrimitivas l;
    ASSERT_TRUE(l.AbreLeitura(p));
    std::uint8_t b = 0;
    std::int16_t i16 = 0;
    std::int32_t i32 = 0;
    long double x = 0;
    std::string t, longo;
    double d0 = -1, d1 = 0, d2 = 0;
    ASSERT_TRUE(l.LeByte(b) && l.LeInt16(i16) && l.LeInt32(i32) && l.LeReal(x) && l.LeTexto(t) &&
                l.LeData(d0) && l.LeData(d1) && l.LeData(d2) && l.LeTexto(longo, 10));
    EXPECT_EQ(b, 200);
    EXPECT_EQ(i16, -2);
    EXPECT_EQ(i32, -70000);
    EXPECT_EQ(x, 1234.5L);
    EXPECT_EQ(t, "Ação");
    EXPECT_EQ(d0, 0);
    EXPECT_EQ(d1, 32874);
    EXPECT_EQ(d2, 1);
    EXPECT_EQ(longo, std::string(10, 'x')); // cut to the maximum asked
    // Past the end: error 100 and its message; every later primitive fails.
    EXPECT_FALSE(l.LeByte(b));
    EXPECT_EQ(l.Erro(), 100);
    EXPECT_EQ(l.Mensagem(), "Erro durante processamento do arquivo: \r\n\r\n" + p.string() +
                                "\r\n\r\nErro durante leitura do arquivo.");
    l.Fecha();
}

TEST_F(Primitivas, ChainStopsAtFirstFailure) {
    fs::path p = pasta / "curto.bin";
    EscreveArquivo(p, Bytes({5, 'a', 'b', 1, 2, 3, 4, 5, 6}));
    TPrimitivas l;
    ASSERT_TRUE(l.AbreLeitura(p));
    std::string t;
    long double x = 0;
    // A 5-character text, then a 6-byte real of which only 3 bytes are left.
    EXPECT_TRUE(l.LeTexto(t));
    EXPECT_EQ(t, std::string("ab\1\2\3"));
    EXPECT_FALSE(l.LeReal(x));
    EXPECT_EQ(l.Erro(), 100);
    l.Fecha();

    // A stored date that is no date of years 1..9999 is a numeric format
    // error; the byte after it is there, yet the error state stops the chain.
    double nan = std::numeric_limits<double>::quiet_NaN();
    std::string d(8, '\0');
    std::memcpy(d.data(), &nan, 8);
    EscreveArquivo(p, d + "x");
    TPrimitivas l2;
    ASSERT_TRUE(l2.AbreLeitura(p));
    double v = 0;
    std::uint8_t b = 0;
    EXPECT_FALSE(l2.LeData(v));
    EXPECT_EQ(l2.Erro(), 106);
    EXPECT_NE(l2.Mensagem().find("Formato numérico inválido."), std::string::npos);
    EXPECT_FALSE(l2.LeByte(b));
    EXPECT_EQ(b, 0);
}

TEST_F(Primitivas, OpenErrorsCarryTheirTexts) {
    struct Caso {
        fs::path arquivo;
        int codigo;
        const char *texto;
    } casos[] = {
        {pasta / "nao_existe.QV3", 2, "Arquivo não encontrado."},
        {pasta / "sem_pasta" / "x.QV3", 3, "Diretório (pasta) não encontrado(a)"},
        {pasta, 5, "Acesso negado ao arquivo"},
    };
    for (const Caso &c : casos) {
        TPrimitivas l;
        EXPECT_FALSE(l.AbreLeitura(c.arquivo));
        EXPECT_EQ(l.Erro(), c.codigo) << c.arquivo;
        EXPECT_EQ(l.Mensagem(), "Erro durante processamento do arquivo: \r\n\r\n" +
                                    c.arquivo.string() + "\r\n\r\n" + c.texto);
    }
    TPrimitivas g;
    EXPECT_FALSE(g.CriaGravacao(pasta / "sem_pasta" / "x.QV3"));
    EXPECT_EQ(g.Erro(), 3);
    EXPECT_EQ(TLeituraGravacaoDados::TextoErro(6), "Manipulador (\"handle\") de arquivo inválido.");
    EXPECT_EQ(TLeituraGravacaoDados::TextoErro(10000), "");
}

TEST_F(Primitivas, FailedSaveKeepsThePreviousFile) {
    fs::path p = pasta / "planilha.QV3";
    EscreveArquivo(p, "anterior");
    // The temporary file cannot be created: a folder holds its name.
    fs::create_directories(pasta / "planilha.QV3.~gravando");
    TPrimitivas g;
    ASSERT_TRUE(g.CriaGravacao(p));
    ASSERT_TRUE(g.GravaTexto("novo"));
    EXPECT_FALSE(g.Fecha());
    EXPECT_EQ(g.Erro(), 101);
    EXPECT_NE(g.Mensagem().find("Erro durante gravação do arquivo."), std::string::npos);
    EXPECT_EQ(LeArquivoTodo(p), "anterior");

    // Out-of-range values stop a write before anything is saved.
    fs::remove_all(pasta / "planilha.QV3.~gravando");
    TPrimitivas g2;
    ASSERT_TRUE(g2.CriaGravacao(p));
    EXPECT_FALSE(g2.GravaReal(1e40L));
    EXPECT_EQ(g2.Erro(), 106);
    EXPECT_FALSE(g2.GravaData(1e9));
    EXPECT_FALSE(g2.Fecha());
    EXPECT_EQ(LeArquivoTodo(p), "anterior");
}

// Where a save lands: a file marked read-only is refused and kept as it was; a symbolic link is
// followed (the file it names is replaced, the link stays, also when that file does not exist
// yet); the replaced file keeps its permissions; the temporary files that saves cut short left
// in the folder go, those of a save that may still run stay.
TEST_F(Primitivas, SaveTargetsPermissionsLinksAndLeftovers) {
    auto grava = [](const fs::path &p, const std::string &texto) {
        TPrimitivas g;
        bool ok = g.CriaGravacao(p) && g.GravaTexto(texto) && g.Fecha();
        return std::make_pair(ok, g.Mensagem());
    };
    auto modo = [](const fs::path &p) { return fs::status(p).permissions() & fs::perms::all; };

    const fs::path somenteLeitura = pasta / "somente.QV3";
    EscreveArquivo(somenteLeitura, "anterior");
    fs::permissions(somenteLeitura,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto [gravou, mensagem] = grava(somenteLeitura, "novo");
    EXPECT_FALSE(gravou);
    EXPECT_EQ(mensagem, "Erro durante processamento do arquivo: \r\n\r\n" +
                            somenteLeitura.string() +
                            "\r\n\r\nAcesso negado ao arquivo: ele está marcado como somente "
                            "leitura.");
    EXPECT_EQ(LeArquivoTodo(somenteLeitura), "anterior");
    EXPECT_EQ(modo(somenteLeitura), fs::perms(0444));

    const fs::path compartilhado = pasta / "grupo.QV3";
    EscreveArquivo(compartilhado, "anterior");
    fs::permissions(compartilhado, fs::perms(0664));
    EXPECT_TRUE(grava(compartilhado, "novo").first);
    EXPECT_EQ(LeArquivoTodo(compartilhado), Bytes({4}) + "novo");
    EXPECT_EQ(modo(compartilhado), fs::perms(0664));

    fs::create_directories(pasta / "dados");
    EscreveArquivo(pasta / "dados" / "real.QV3", "anterior");
    fs::create_symlink("dados/real.QV3", pasta / "atalho.QV3");
    fs::create_symlink("dados/futuro.QV3", pasta / "pendente.QV3");
    EXPECT_TRUE(grava(pasta / "atalho.QV3", "novo").first);
    EXPECT_TRUE(grava(pasta / "pendente.QV3", "novo").first);
    EXPECT_TRUE(fs::is_symlink(pasta / "atalho.QV3"));
    EXPECT_TRUE(fs::is_symlink(pasta / "pendente.QV3"));
    EXPECT_EQ(LeArquivoTodo(pasta / "dados" / "real.QV3"), Bytes({4}) + "novo");
    EXPECT_EQ(LeArquivoTodo(pasta / "dados" / "futuro.QV3"), Bytes({4}) + "novo");

    const fs::path velho = pasta / "outra.QV3.~gravando", novo = pasta / "em_curso.QV3.~gravando";
    EscreveArquivo(velho, "meia gravação");
    EscreveArquivo(novo, "gravação em curso");
    fs::last_write_time(velho, fs::file_time_type::clock::now() - std::chrono::hours(2));
    EXPECT_TRUE(grava(pasta / "mais.QV3", "novo").first);
    EXPECT_FALSE(fs::exists(velho));
    EXPECT_TRUE(fs::exists(novo));
    EXPECT_FALSE(fs::exists(pasta / "mais.QV3.~gravando"));
}
