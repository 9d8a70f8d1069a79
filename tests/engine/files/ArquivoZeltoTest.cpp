#include "files/ArquivoZelto.h"
#include "files/LerArquivo.h"

#include "common/Datas.h"
#include "worksheet/Gridzelto.h"
#include "worksheet/TabelasVariaveis.h"

#include <gtest/gtest.h>

#include <bit>
#include <fstream>
#include <functional>
#include <iterator>
#include <unistd.h>

using namespace zelto;
namespace fs = std::filesystem;

namespace {

std::string LeArquivoTodo(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void EscreveArquivo(const fs::path &p, const std::string &dados) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << dados;
}

// Little-endian bytes written by hand, with the offsets the tests need.
struct TBytes {
    std::string s;
    TBytes &b(std::initializer_list<int> v) {
        for (int x : v)
            s += static_cast<char>(x);
        return *this;
    }
    TBytes &i16(int v) { return b({v & 0xFF, (v >> 8) & 0xFF}); }
    TBytes &i32(int v) {
        return b({v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF, (v >> 24) & 0xFF});
    }
    // Windows-1252 bytes with their length byte.
    TBytes &t(const std::string &cp1252) {
        s += static_cast<char>(cp1252.size());
        s += cp1252;
        return *this;
    }
    TBytes &data(double d) {
        auto u = std::bit_cast<std::uint64_t>(d);
        for (int i = 0; i < 8; ++i)
            s += static_cast<char>((u >> (8 * i)) & 0xFF);
        return *this;
    }
    std::size_t n() const { return s.size(); }
};

// 6-byte reals used below, worked out by hand.
#define REAL_0 0, 0, 0, 0, 0, 0
#define REAL_1 0x81, 0, 0, 0, 0, 0
#define REAL_MEIO 0x80, 0, 0, 0, 0, 0
#define REAL_1234_5 0x8B, 0, 0, 0, 0x50, 0x1A

// The golden file of the small worksheet of MontaPlanilha, byte by byte.
struct TGolden {
    std::string bytes;
    std::size_t fimCabecalho = 0, fimLinhas = 0, inicioModo = 0;
    std::size_t fimColuna[7] = {};
    std::size_t posC = 0, posR = 0, posN = 0, posTipo3 = 0, posP = 0;
};

TGolden Golden(std::uint8_t modo) {
    TGolden g;
    TBytes f;
    f.b({0x0A, 0x0D});
    f.s += "Olma Quelvarinde - ZELTO#3";
    f.b({0x0A, 0x0D});
    f.t("Coment\xE1rio"); // user comments
    g.posC = f.n();
    f.i16(6);
    g.posR = f.n();
    f.i16(2).i16(24); // R, row height
    g.fimCabecalho = f.n();
    f.i16(1).b({0}).i16(40000).b({1}); // sample 1; sample 40000, disregarded
    g.fimLinhas = f.n();
    // 1: numeric, dependent, right, 2 decimals with thousands; 1.234,50 and an empty cell.
    f.t("Pre\xE7o").t("R$").b({1, 0x11, 1, 0}).i16(64).b({2, 1});
    f.b({REAL_1234_5}).b({REAL_0});
    g.fimColuna[1] = f.n();
    // 2: qualitative coefficient (high nibble 0), table Estado: Bom 1, Ruim 0,5.
    f.t("Conserva\xE7\xE3o").t("").b({1, 0x00, 1, 1}).i16(64).t("Estado");
    g.posN = f.n();
    f.b({2}).t("Bom").b({REAL_1}).t("Ruim").b({REAL_MEIO});
    f.b({REAL_1}).b({REAL_MEIO});
    g.fimColuna[2] = f.n();
    // 3: dichotomous, centred, table SimNao.
    f.t("Piscina").t("").b({1, 0x10, 2});
    g.posTipo3 = f.n();
    f.b({2}).i16(80).t("SimNao").t("Sim|N\xE3o").t("Sim").t("N\xE3o");
    f.b({1, 0});
    g.fimColuna[3] = f.n();
    // 4: calculated, unused, 1 decimal, no cells.
    f.t("Dobro").t("").b({0, 0x10, 1, 3}).i16(64).b({1, 0}).t("[Pre\xE7o]*2").t("aux");
    g.fimColuna[4] = f.n();
    // 5: date day/month/year, reference 1 Jan 2020 (serial 43831 + 693594);
    // cells 15 Mar 2019 (43539 + 693594) and no date.
    f.t("Data").t("").b({1, 0x10, 1, 4}).i16(64).b({0}).data(737425.0);
    f.data(737133.0).data(0.0);
    g.fimColuna[5] = f.n();
    // 6: comments, left.
    f.t("Obs").t("").b({0, 0x10, 0, 5}).i16(64).t("ok").t("");
    g.fimColuna[6] = f.n();
    // Subject property and its identification.
    g.posP = f.n();
    f.i16(1).t("Pre\xE7o=100");
    f.t("Casa").t("R$").i16(1).i16(0);
    f.t("\xC1rea").t("m\xB2").i16(0).i16(1);
    f.t("Valor").t("R$").i16(0).i16(0);
    f.b({REAL_1});
    const std::size_t inicioResumo = f.n();
    f.t("Resumo");
    g.inicioModo = f.n();
    f.b({modo}).i32(static_cast<int>(inicioResumo));
    g.bytes = f.s;
    return g;
}

TVariavel Var(const char *nome, TipoVariavel tipo, bool usada, std::uint8_t alinhamento) {
    TVariavel v;
    v.Nome = nome;
    v.Tipo = tipo;
    v.Usada = usada;
    v.Alinhamento = alinhamento;
    return v;
}

// The worksheet of the golden file: every kind of column.
void MontaPlanilha(TGridzelto &g) {
    TVariavel preco = Var("Preço", tvNumerica, true, alDireita);
    preco.Descricao = "R$";
    preco.Dependente = true;
    preco.CasasDecimais = 2;
    preco.PontosDeMilhar = true;
    TVariavel cons = Var("Conservação", tvQualitativa, true, alDireita);
    cons.CoeficienteHomogeneizacao = true;
    cons.Tabela = "Estado";
    TVariavel pisc = Var("Piscina", tvDicotomica, true, alCentro);
    pisc.Tabela = "SimNao";
    pisc.Rotulos = "Sim|Não";
    TVariavel dobro = Var("Dobro", tvCalculada, false, alDireita);
    dobro.CasasDecimais = 1;
    dobro.Equacao = "[Preço]*2";
    dobro.EquacaoAuxiliar = "aux";
    TVariavel data = Var("Data", tvData, true, alDireita);
    data.TipoData = tdDiaMesAno;
    data.DataReferencia = SerialDeData(2020, 1, 1);
    TVariavel obs = Var("Obs", tvComentario, false, alEsquerda);

    TDataFormat lista{teLista, {{"Bom", 1}, {"Ruim", 0.5L}}};
    const std::pair<TVariavel, TDataFormat> colunas[] = {
        {preco, {teReal, {}}},  {cons, lista},        {pisc, {teCaixaMarcacao, {}}},
        {dobro, {teTexto, {}}}, {data, {teData, {}}}, {obs, {teTexto, {}}}};
    int c = 1;
    for (const auto &[v, f] : colunas) {
        g.DefineFormato(c, f);
        g.DefineVariavel(c, v);
        g.AtribuiCelula(c, 0, v.Nome);
        ++c;
    }
    g.DefineLarguraColuna(3, 80);
    g.DefineColunasUsadas(6);
    g.DefineLinhasUsadas(2);
    g.AtribuiCelula(0, 2, "40000");
    g.AmostragemCriada(2).Desconsiderada = true;
    const char *celulas[2][6] = {{"1.234,50", "Bom", "TRUE", "", "15/Mar/2019", "ok"},
                                 {"", "Ruim", "FALSE", "", "", ""}};
    for (int r = 1; r <= 2; ++r)
        for (int k = 1; k <= 6; ++k)
            g.AtribuiCelula(k, r, celulas[r - 1][k - 1]);
    g.RecalcularTudo();
    g.ValoresObjeto = {"Preço=100"};
    g.IdentificacaoObjeto.Objeto = {"Casa", "R$", 1, 0};
    g.IdentificacaoObjeto.Caracteristica = {"Área", "m²", 0, 1};
    g.IdentificacaoObjeto.ValorAvaliado = {"Valor", "R$", 0, 0};
    g.IdentificacaoObjeto.Multiplicador = 1;
}

class ArquivoZelto : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        pasta = fs::temp_directory_path() /
                ("zelto_qv3_" + std::string(info->name()) + "_" + std::to_string(::getpid()));
        fs::remove_all(pasta);
        fs::create_directories(pasta);
    }
    void TearDown() override { fs::remove_all(pasta); }
    // A table store of its own, holding the golden file's tables.
    std::unique_ptr<TTabelasVariaveis> Loja(const std::string &nome = "TAB_VAR.QVT") {
        auto t = std::make_unique<TTabelasVariaveis>(pasta / nome);
        t->Acrescenta("Estado", TTabelaQualitativa{{"Bom", 1}, {"Ruim", 0.5L}});
        t->Acrescenta("SimNao", TTabelaDicotomica{"Sim", "Não"});
        return t;
    }
    fs::path pasta;
};

} // namespace

TEST_F(ArquivoZelto, WritesTheGoldenFileByteForByte) {
    for (bool inferencial : {true, false}) {
        auto loja = Loja();
        TGridzelto g;
        MontaPlanilha(g);
        g.Modo.Inferencial = inferencial;
        fs::path p = pasta / "golden.QV3";
        TArquivoZelto a(loja.get());
        ASSERT_TRUE(a.Gravar(p, g, "Resumo", "Comentário")) << a.Mensagem();
        EXPECT_EQ(LeArquivoTodo(p), Golden(inferencial ? 255 : 221).bytes);
        EXPECT_EQ(g.NomeArquivo, p.string());
        EXPECT_FALSE(g.Modificada());
    }
}

TEST_F(ArquivoZelto, ReadsTheGoldenFileAndWritesItBackUnchanged) {
    fs::path p = pasta / "golden.QV3";
    EscreveArquivo(p, Golden(255).bytes);
    auto loja = Loja();
    TGridzelto g;
    std::string resumo;
    TResultado r = LerArquivo(p, g, 255, resumo, loja.get());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.mensagem, "");
    EXPECT_EQ(resumo, "Resumo");
    EXPECT_EQ(g.LinhasUsadas(), 2);
    EXPECT_EQ(g.ColunasUsadas(), 6);
    EXPECT_FALSE(g.Modificada());

    TGridzelto original;
    MontaPlanilha(original);
    for (int c = 1; c <= 6; ++c) {
        ASSERT_NE(g.Variavel(c), nullptr);
        EXPECT_EQ(*g.Variavel(c), *original.Variavel(c)) << c;
        EXPECT_EQ(g.Formato(c), original.Formato(c)) << c;
        EXPECT_EQ(g.Celula(c, 0), original.Celula(c, 0));
        EXPECT_EQ(g.LarguraColuna(c), original.LarguraColuna(c));
    }
    // An empty numeric cell reads back as 0 with the column's decimals; the
    // calculated column is recomputed from it.
    const char *esperadas[2][6] = {{"1.234,50", "Bom", "TRUE", "2469,0", "15/Mar/2019", "ok"},
                                   {"0,00", "Ruim", "FALSE", "0,0", "", ""}};
    for (int r2 = 1; r2 <= 2; ++r2)
        for (int c = 1; c <= 6; ++c)
            EXPECT_EQ(g.Celula(c, r2), esperadas[r2 - 1][c - 1]) << c << "," << r2;
    EXPECT_EQ(g.Celula(0, 1), "1");
    EXPECT_EQ(g.Celula(0, 2), "40000"); // read back unsigned
    EXPECT_FALSE(g.Desconsiderada(1));
    EXPECT_TRUE(g.Desconsiderada(2));
    EXPECT_EQ(g.ValoresObjeto, original.ValoresObjeto);
    EXPECT_EQ(g.IdentificacaoObjeto, original.IdentificacaoObjeto);

    TArquivoZelto a(loja.get());
    std::string comentarios;
    ASSERT_TRUE(a.LerComentarios(p, comentarios));
    EXPECT_EQ(comentarios, "Comentário");
    fs::path p2 = pasta / "de_novo.QV3";
    ASSERT_TRUE(a.Gravar(p2, g, resumo, comentarios)) << a.Mensagem();
    EXPECT_EQ(LeArquivoTodo(p2), Golden(255).bytes);
}

TEST_F(ArquivoZelto, ModeFollowsTheByteThenTheExtension) {
    const std::string descritivo = Golden(221).bytes;
    const std::string inferencial = Golden(255).bytes;
    std::string semModo = inferencial.substr(0, Golden(255).inicioModo);
    struct Caso {
        const char *nome;
        const std::string *bytes;
        bool antes, depois;
    } casos[] = {
        {"a.QV3", &descritivo, true, false},  {"b.ZEL", &descritivo, false, true},
        {"c.DCR", &inferencial, true, false}, {"d.qv3", &inferencial, false, true},
        {"e.QV3", &semModo, true, true},      {"f.QV3", &semModo, false, false},
    };
    for (const Caso &c : casos) {
        fs::path p = pasta / c.nome;
        EscreveArquivo(p, *c.bytes);
        // The mode is the document's: another worksheet open beside it keeps its own.
        TGridzelto g, outra;
        g.Modo.Inferencial = c.antes;
        outra.Modo.Inferencial = !c.depois;
        std::string resumo;
        TResultado r = LerArquivo(p, g, 255, resumo, nullptr);
        ASSERT_TRUE(r.ok) << c.nome;
        EXPECT_EQ(r.mensagem, "") << c.nome;
        EXPECT_EQ(g.Modo.Inferencial, c.depois) << c.nome;
        EXPECT_EQ(outra.Modo.Inferencial, !c.depois) << c.nome;
        EXPECT_EQ(g.ColunasUsadas(), 6);
    }
}

TEST_F(ArquivoZelto, EmptyWorksheetLayout) {
    TGridzelto g;
    fs::path p = pasta / "vazia.QV3";
    TArquivoZelto a;
    ASSERT_TRUE(a.Gravar(p, g, "", ""));
    TBytes f;
    f.s = std::string(AssinaturaZelto);
    f.t("").i16(0).i16(0).i16(24).i16(0);
    for (int i = 0; i < 3; ++i)
        f.t("").t("").i16(0).i16(0);
    f.b({REAL_0});
    const int inicioResumo = static_cast<int>(f.n());
    f.t("").b({255}).i32(inicioResumo);
    EXPECT_EQ(LeArquivoTodo(p), f.s);

    TGridzelto lida;
    MontaPlanilha(lida); // reading replaces everything through LerArquivo's clearing
    std::string resumo = "x";
    TResultado r = LerArquivo(p, lida, 255, resumo, nullptr);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(lida.LinhasUsadas(), 0);
    EXPECT_EQ(lida.ColunasUsadas(), 0);
    EXPECT_EQ(lida.Variavel(1), nullptr);
    EXPECT_TRUE(lida.ValoresObjeto.empty());
    EXPECT_EQ(resumo, "");
}

TEST_F(ArquivoZelto, SummaryReaderAndComments) {
    struct Caso {
        const char *resumo;
        const char *lido;
    } casos[] = {{"linha 1\r\nlinha 2", "linha 1\r\nlinha 2"},
                 {"linha 1\rlinha 2", ""},
                 {"fim\r", ""},
                 {"só\nLF", "só\nLF"}};
    for (const Caso &c : casos) {
        TGridzelto g;
        MontaPlanilha(g);
        fs::path p = pasta / "resumo.QV3";
        TArquivoZelto a;
        ASSERT_TRUE(a.Gravar(p, g, c.resumo, "nota"));
        std::string t = "?";
        EXPECT_TRUE(a.LerResumo(p, t));
        EXPECT_EQ(t, c.lido) << c.resumo;
    }
    // A summary longer than 255 characters is cut; a trailer pointing outside
    // the file gives nothing; a file of another format gives nothing.
    TGridzelto g;
    fs::path p = pasta / "longo.QV3";
    TArquivoZelto a;
    ASSERT_TRUE(a.Gravar(p, g, std::string(300, 'r'), ""));
    std::string t;
    EXPECT_TRUE(a.LerResumo(p, t));
    EXPECT_EQ(t, std::string(255, 'r'));
    std::string bytes = LeArquivoTodo(p);
    bytes.replace(bytes.size() - 4, 4, "\xFF\xFF\x00\x00", 4);
    EscreveArquivo(p, bytes);
    EXPECT_FALSE(a.LerResumo(p, t));
    EXPECT_EQ(t, "");
    EscreveArquivo(p, "texto qualquer de mais de trinta e dois bytes");
    EXPECT_FALSE(a.LerResumo(p, t));
    EXPECT_EQ(t, "");
}

// Every prefix of the golden file: never a crash; the worksheet keeps the
// rows and the complete columns before the cut.
TEST_F(ArquivoZelto, TruncatedAtEveryOffset) {
    const TGolden gold = Golden(221);
    fs::path inteiro = pasta / "inteiro.QV3";
    EscreveArquivo(inteiro, gold.bytes);
    TGridzelto ref;
    std::string resumo;
    ASSERT_TRUE(LerArquivo(inteiro, ref, 255, resumo, nullptr).ok);

    fs::path p = pasta / "cortado.QV3";
    for (std::size_t n = 0; n < gold.bytes.size(); ++n) {
        EscreveArquivo(p, gold.bytes.substr(0, n));
        TGridzelto g;
        g.Modo.Inferencial = true;
        TResultado r = LerArquivo(p, g, 255, resumo, nullptr);
        if (n < 32) {
            EXPECT_FALSE(r.ok) << n;
            continue;
        }
        ASSERT_TRUE(r.ok) << n;
        int linhas = n < gold.fimCabecalho ? 0 : std::min<int>(2, int(n - gold.fimCabecalho) / 3);
        int colunas = 0;
        for (int c = 1; c <= 6; ++c)
            if (n >= gold.fimLinhas && gold.fimColuna[c] <= n) colunas = c;
        EXPECT_EQ(g.LinhasUsadas(), linhas) << n;
        EXPECT_EQ(g.ColunasUsadas(), colunas) << n;
        EXPECT_EQ(g.Modificada(), n < gold.fimColuna[6]) << n;
        EXPECT_EQ(r.mensagem.empty(), n >= gold.inicioModo) << n;
        if (!r.mensagem.empty()) {
            EXPECT_EQ(r.mensagem, "Erro durante processamento do arquivo: \r\n\r\n" + p.string() +
                                      "\r\n\r\nErro durante leitura do arquivo.");
        }
        EXPECT_EQ(g.Modo.Inferencial, n <= gold.inicioModo) << n; // 221 once its byte is there
        for (int c = 1; c <= 6; ++c) {
            if (c <= colunas) {
                ASSERT_NE(g.Variavel(c), nullptr) << n;
                EXPECT_EQ(*g.Variavel(c), *ref.Variavel(c)) << n;
                for (int r2 = 0; r2 <= 2; ++r2)
                    EXPECT_EQ(g.Celula(c, r2), ref.Celula(c, r2)) << n;
            } else {
                EXPECT_EQ(g.Variavel(c), nullptr) << n;
                EXPECT_EQ(g.Celula(c, 0), TGridzelto::RotuloPadraoColuna(c)) << n;
                for (int r2 = 1; r2 <= 2; ++r2)
                    EXPECT_EQ(g.Celula(c, r2), "") << n;
            }
        }
    }
}

// Damaged counts and kinds: the read stops where the damage makes it stop,
// allocates nothing beyond the file and keeps what came before.
TEST_F(ArquivoZelto, DamagedCountsAndBitFlips) {
    const TGolden gold = Golden(255);
    struct Caso {
        const char *nome;
        std::size_t pos;
        std::string bytes;
        int linhas, colunas, erro;
    } casos[] = {
        // 65535 rows announced: rows are read until the file runs out.
        {"linhas", gold.posR, "\xFF\xFF", int(gold.bytes.size() - gold.fimCabecalho) / 3, 0, 100},
        // 255 columns announced: the six real ones are read, then the subject
        // property taken as a seventh column has no valid kind.
        {"colunas", gold.posC, "\xFF\x00", 2, 6, 155},
        // The column count keeps its low 8 bits only: 0x0106 is 6.
        {"colunas16", gold.posC, "\x06\x01", 2, 6, 0},
        // A table of 255 entries: the qualitative column is cut short.
        {"tabela", gold.posN, "\xFF", 2, 1, 100},
        // An unknown kind.
        {"tipo", gold.posTipo3, "\x09", 2, 2, 155},
        // 65535 lines of the subject property: the columns are all kept.
        {"objeto", gold.posP, "\xFF\xFF", 2, 6, 100},
    };
    fs::path p = pasta / "dano.QV3";
    for (const Caso &c : casos) {
        std::string bytes = gold.bytes;
        bytes.replace(c.pos, c.bytes.size(), c.bytes);
        EscreveArquivo(p, bytes);
        TGridzelto g;
        std::string resumo;
        TArquivoZelto a;
        EXPECT_EQ(a.Ler(p, g, 255, resumo), c.erro == 0) << c.nome;
        EXPECT_EQ(a.Erro(), c.erro) << c.nome;
        EXPECT_EQ(g.LinhasUsadas(), c.linhas) << c.nome;
        EXPECT_EQ(g.ColunasUsadas(), c.colunas) << c.nome;
        EXPECT_LE(g.RowCount(), int(bytes.size() / 3) + 41) << c.nome;
        if (c.erro == 155) {
            EXPECT_NE(a.Mensagem().find("Estrutura de leitura inválida."), std::string::npos);
        }
    }
    // Every byte flipped in turn: whatever is read, each used column has a
    // variable and an error comes with its message.
    for (std::size_t i = 0; i < gold.bytes.size(); ++i) {
        for (int mascara : {0xFF, 0x80, 0x01}) {
            std::string bytes = gold.bytes;
            bytes[i] = static_cast<char>(bytes[i] ^ mascara);
            EscreveArquivo(p, bytes);
            TGridzelto g;
            std::string resumo;
            TArquivoZelto a;
            bool ok = a.Ler(p, g, 255, resumo);
            EXPECT_EQ(ok, a.Mensagem().empty()) << i;
            for (int c = 1; c <= g.ColunasUsadas(); ++c)
                EXPECT_NE(g.Variavel(c), nullptr) << i;
        }
    }
}

// Content the format cannot hold is refused with a message, and the file
// already on the disk stays as it was.
TEST_F(ArquivoZelto, RefusesWhatTheFormatCannotHold) {
    struct Caso {
        const char *nome;
        std::function<void(TGridzelto &, TTabelasVariaveis &)> muda;
        const char *trecho;
    } casos[] = {
        {"colunas",
         [](TGridzelto &g, TTabelasVariaveis &) {
             g.AcrescentaColunas(260 - g.ColCount());
             g.DefineColunasUsadas(256);
         },
         "A planilha tem 256 colunas usadas; o arquivo guarda no máximo 255 colunas."},
        {"tabela",
         [](TGridzelto &, TTabelasVariaveis &t) {
             TTabelaQualitativa grande;
             for (int i = 0; i < 256; ++i)
                 grande.push_back({"r" + std::to_string(i), static_cast<long double>(i)});
             t.Substitui("Estado", "Estado", grande);
         },
         "tem 256 itens; o arquivo guarda no máximo 255 itens por tabela."},
        {"valor", [](TGridzelto &g, TTabelasVariaveis &) { g.AtribuiCelula(1, 1, "1e39"); },
         "está fora dos limites que o arquivo pode guardar"},
        {"multiplicador",
         [](TGridzelto &g, TTabelasVariaveis &) { g.IdentificacaoObjeto.Multiplicador = 1e300L; },
         "do multiplicador do objeto sob avaliação"},
        {"numero", [](TGridzelto &g, TTabelasVariaveis &) { g.AtribuiCelula(0, 1, "65536"); },
         "O número da amostragem da linha 1 (\"65536\") não cabe no arquivo"},
        {"negativo", [](TGridzelto &g, TTabelasVariaveis &) { g.AtribuiCelula(0, 2, "-3"); },
         "linha 2 (\"-3\")"},
        {"comentario",
         [](TGridzelto &g, TTabelasVariaveis &) { g.AtribuiCelula(6, 2, std::string(300, 'c')); },
         "O texto da célula da coluna 6 (\"Obs\"), linha 2 tem 300 caracteres; o arquivo guarda no "
         "máximo 255."},
    };
    for (const Caso &c : casos) {
        auto loja = Loja(std::string("loja_") + c.nome + ".QVT");
        TGridzelto g;
        MontaPlanilha(g);
        c.muda(g, *loja);
        fs::path p = pasta / "existente.QV3";
        EscreveArquivo(p, "anterior");
        TArquivoZelto a(loja.get());
        EXPECT_FALSE(a.Gravar(p, g, "", "")) << c.nome;
        EXPECT_EQ(a.Mensagem().rfind(
                      "A planilha não foi gravada no arquivo " + p.string() + ".\r\n\r\n", 0),
                  0u)
            << a.Mensagem();
        EXPECT_NE(a.Mensagem().find(c.trecho), std::string::npos) << a.Mensagem();
        EXPECT_EQ(LeArquivoTodo(p), "anterior") << c.nome;
        EXPECT_FALSE(fs::exists(pasta / "existente.QV3.~gravando"));
    }
    // The limits themselves are accepted: sample number 65535, 255 entries.
    auto loja = Loja("limites.QVT");
    TTabelaQualitativa cheia;
    for (int i = 0; i < 255; ++i)
        cheia.push_back({"r" + std::to_string(i), static_cast<long double>(i)});
    loja->Substitui("Estado", "Estado", cheia);
    TGridzelto g;
    MontaPlanilha(g);
    g.AtribuiCelula(0, 1, "65535");
    TArquivoZelto a(loja.get());
    fs::path p = pasta / "limites.QV3";
    ASSERT_TRUE(a.Gravar(p, g, "", "")) << a.Mensagem();
    TGridzelto lida;
    std::string resumo;
    ASSERT_TRUE(a.Ler(p, lida, 255, resumo)) << a.Mensagem();
    EXPECT_EQ(lida.Celula(0, 1), "65535");
    EXPECT_EQ(lida.Formato(2).Itens.size(), 255u);
    // Cells keep their label: "Bom" was 1 and "Ruim" 0,5 in the old table;
    // "Bom" is no longer in the store's table, so it keeps its value 1 = "r1".
    EXPECT_EQ(lida.Celula(2, 1), "r1");
}

// A used column that never got a variable is saved as a comment column: the
// cells survive, the column count matches the records, and the worksheet
// takes the same variable.
TEST_F(ArquivoZelto, UsedColumnWithoutVariableBecomesComments) {
    TGridzelto g;
    MontaPlanilha(g);
    g.DefineColunasUsadas(8);
    g.AtribuiCelula(8, 1, "texto solto");
    fs::path p = pasta / "sem_variavel.QV3";
    TArquivoZelto a;
    ASSERT_TRUE(a.Gravar(p, g, "", "")) << a.Mensagem();
    for (int c : {7, 8}) {
        ASSERT_NE(g.Variavel(c), nullptr);
        EXPECT_EQ(g.Variavel(c)->Tipo, tvComentario);
        EXPECT_FALSE(g.Variavel(c)->Usada);
        EXPECT_EQ(g.Variavel(c)->Nome, TGridzelto::RotuloPadraoColuna(c));
    }
    TGridzelto lida;
    std::string resumo;
    ASSERT_TRUE(a.Ler(p, lida, 255, resumo)) << a.Mensagem();
    EXPECT_EQ(lida.ColunasUsadas(), 8);
    EXPECT_EQ(lida.Celula(8, 1), "texto solto");
    EXPECT_EQ(lida.Celula(8, 0), "H0");
    EXPECT_EQ(*lida.Variavel(8), *g.Variavel(8));
}

// Merging a qualitative table of the file into the store: the name, its base
// without trailing digits, then base + 1, 2 ...; the first free candidate or
// the first holding the same table wins.
TEST_F(ArquivoZelto, MergesQualitativeTablesIntoTheStore) {
    const TTabelaQualitativa doArquivo{{"Bom", 1}, {"Ruim", 0.5L}};
    const TTabelaQualitativa outra{{"Bom", 2}, {"Ruim", 0.5L}};
    const TTabelaQualitativa quase{{"Bom", 1.0004L}, {"Ruim", 0.5L}};
    const std::string nome50(50, 'N');
    struct Caso {
        const char *nome;
        std::string tabelaArquivo;
        std::vector<std::pair<std::string, TTabelaQualitativa>> loja;
        std::string esperado;
        bool acrescentou;
    } casos[] = {
        {"livre", "Estado", {}, "Estado", true},
        {"igual", "Estado", {{"Estado", doArquivo}}, "Estado", false},
        {"dentro de 0,001", "Estado", {{"Estado", quase}}, "Estado", false},
        {"diferente", "Estado", {{"Estado", outra}}, "Estado1", true},
        {"segunda igual",
         "Estado",
         {{"Estado", outra}, {"Estado1", outra}, {"Estado2", doArquivo}},
         "Estado2",
         false},
        {"base livre", "Estado3", {{"Estado3", outra}}, "Estado", true},
        {"caixa diferente", "Estado", {{"ESTADO", doArquivo}}, "Estado1", true},
        {"nome longo", nome50, {{nome50, outra}}, nome50, false},
    };
    int k = 0;
    for (const Caso &c : casos) {
        // A file whose qualitative column names the table as in the case.
        auto lojaGravacao =
            std::make_unique<TTabelasVariaveis>(pasta / ("g" + std::to_string(k) + ".QVT"));
        lojaGravacao->Acrescenta(c.tabelaArquivo, doArquivo);
        TGridzelto g;
        MontaPlanilha(g);
        g.Variavel(2)->Tabela = c.tabelaArquivo;
        fs::path p = pasta / ("m" + std::to_string(k) + ".QV3");
        TArquivoZelto gravador(lojaGravacao.get());
        ASSERT_TRUE(gravador.Gravar(p, g, "", "")) << gravador.Mensagem();

        TTabelasVariaveis loja(pasta / ("l" + std::to_string(k++) + ".QVT"));
        for (const auto &[n, t] : c.loja)
            loja.Acrescenta(n, t);
        const std::size_t antes = loja.Nomes(TipoTabela::Qualitativa).size();
        TGridzelto lida;
        std::string resumo;
        TArquivoZelto leitor(&loja);
        ASSERT_TRUE(leitor.Ler(p, lida, 255, resumo)) << c.nome;
        EXPECT_EQ(lida.Variavel(2)->Tabela, c.esperado) << c.nome;
        EXPECT_EQ(loja.Nomes(TipoTabela::Qualitativa).size(), antes + (c.acrescentou ? 1 : 0))
            << c.nome;
        if (c.acrescentou) {
            EXPECT_EQ(loja.CarregaQualitativa(c.esperado), doArquivo) << c.nome;
        }
        // The cells read their labels from the file's own entries.
        EXPECT_EQ(lida.Celula(2, 1), "Bom") << c.nome;
        EXPECT_EQ(lida.ValorCelula(2, 2), 0.5L) << c.nome;
    }
}

TEST_F(ArquivoZelto, DichotomousTableOfTheStoreIsKept) {
    TGridzelto g;
    MontaPlanilha(g);
    fs::path p = pasta / "d.QV3";
    auto lojaGravacao = Loja("g.QVT");
    TArquivoZelto gravador(lojaGravacao.get());
    ASSERT_TRUE(gravador.Gravar(p, g, "", ""));

    TTabelasVariaveis loja(pasta / "l.QVT");
    loja.Acrescenta("SimNao", TTabelaDicotomica{"Yes", "No"});
    TGridzelto lida;
    std::string resumo;
    TArquivoZelto leitor(&loja);
    ASSERT_TRUE(leitor.Ler(p, lida, 255, resumo));
    EXPECT_EQ(loja.CarregaDicotomica("SimNao"), (TTabelaDicotomica{"Yes", "No"}));
    EXPECT_EQ(lida.Variavel(3)->Rotulos, "Sim|Não");
    // Missing from the store: added.
    TTabelasVariaveis vazia(pasta / "v.QVT");
    TArquivoZelto leitor2(&vazia);
    ASSERT_TRUE(leitor2.Ler(p, lida, 255, resumo));
    EXPECT_EQ(vazia.CarregaDicotomica("SimNao"), (TTabelaDicotomica{"Sim", "Não"}));
    EXPECT_EQ(vazia.CarregaQualitativa("Estado"), (TTabelaQualitativa{{"Bom", 1}, {"Ruim", 0.5L}}));
}

TEST_F(ArquivoZelto, DetectsFormatsAndNamesUnknownOnes) {
    const std::string nativo = Golden(255).bytes;
    std::string antigo(40, ' ');
    antigo.replace(18, 18, AssinaturaZelto2);
    struct Caso {
        const char *nome;
        std::string bytes;
        TFormatoArquivo formato;
    } casos[] = {
        {"n.dat", nativo, TFormatoArquivo::Nativo},
        {"curto.QV3", nativo.substr(0, 31), TFormatoArquivo::Desconhecido},
        {"justo.QV3", nativo.substr(0, 32), TFormatoArquivo::Nativo},
        {"velho.ZEL", antigo, TFormatoArquivo::Antigo},
        {"tabela.TxT", "a\tb\r\n", TFormatoArquivo::Texto},
        {"outro.QV3", "qualquer coisa", TFormatoArquivo::Desconhecido},
    };
    for (const Caso &c : casos) {
        fs::path p = pasta / c.nome;
        EscreveArquivo(p, c.bytes);
        EXPECT_EQ(DetectarFormato(p), c.formato) << c.nome;
    }
    EXPECT_EQ(DetectarFormato(pasta / "ausente.txt"), TFormatoArquivo::Texto);
    EXPECT_EQ(DetectarFormato(pasta / "ausente.qv3"), TFormatoArquivo::Desconhecido);

    TGridzelto g;
    MontaPlanilha(g);
    std::string resumo;
    TResultado r = LerArquivo(pasta / "outro.QV3", g, 255, resumo, nullptr);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(
        r.mensagem,
        "Não foi possível ler arquivo OUTRO.QV3 .\r\rO formato dos dados não é padrão do ZELTO.");
    EXPECT_EQ(g.ColunasUsadas(), 0); // cleared before the format was known

    // A refused clearing leaves the worksheet alone.
    MontaPlanilha(g);
    g.AoLimparGrid = [] { return false; };
    r = LerArquivo(pasta / "n.dat", g, 255, resumo, nullptr);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.mensagem, "");
    EXPECT_EQ(g.ColunasUsadas(), 6);

    // The reader alone checks the format too.
    TGridzelto h;
    TArquivoZelto a;
    EXPECT_FALSE(a.Ler(pasta / "outro.QV3", h, 255, resumo));
    EXPECT_EQ(a.Erro(), ErroFormato);
    EXPECT_EQ(a.Mensagem(), "O arquivo " + (pasta / "outro.QV3").string() +
                                " não está no formato\r\n dos arquivos lidos pelo ZELTO.");
}

TEST_F(ArquivoZelto, ProgressTitlesAndSteps) {
    struct TRegistro : TProgresso {
        std::vector<std::string> titulos;
        double maximo = 0, ultimo = -1;
        bool crescente = true;
        void Inicia(const std::string &t, double, double max, bool) override {
            titulos.push_back(t);
            maximo = max;
            ultimo = -1;
        }
        void Avanca(double p) override {
            crescente = crescente && p >= ultimo;
            ultimo = p;
        }
    } prog;
    TGridzelto g, lida;
    MontaPlanilha(g);
    fs::path p = pasta / "p.QV3";
    TArquivoZelto a(nullptr, &prog);
    std::string resumo;
    ASSERT_TRUE(a.Gravar(p, g, "", ""));
    EXPECT_EQ(prog.maximo, 110);
    EXPECT_EQ(prog.ultimo, 110);
    ASSERT_TRUE(a.Ler(p, lida, 255, resumo));
    EXPECT_EQ(prog.titulos,
              (std::vector<std::string>{"Gravando planilha . . .", "Lendo planilha . . ."}));
    EXPECT_EQ(prog.maximo, double(fs::file_size(p)));
    EXPECT_EQ(prog.ultimo, double(fs::file_size(p) - 4)); // the trailer is not read
    EXPECT_TRUE(prog.crescente);
}

// Every date form, number form and sample number survives a write and a read.
TEST_F(ArquivoZelto, RoundTripsEveryForm) {
    struct Caso {
        TipoVariavel tipo;
        std::uint8_t forma; // date form, or decimals of a numeric column
        bool milhar;
        std::vector<std::string> celulas;
    } casos[] = {
        {tvData, tdDiaMesAno, false, {"01/Jan/1900", "31/Dez/2099", ""}},
        {tvData, tdDiaMes, false, {"29/Fev", "01/Jan", ""}},
        {tvData, tdMesAno, false, {"Mar/1999", "Dez/2020", ""}},
        {tvNumerica, 0, false, {"-42", "1234567", "0"}},
        {tvNumerica, 4, true, {"-1.234,5678", "0,0001", "98.765.432,1000"}},
        {tvComentario, 0, false, {"ç á ² ±", "", "tab\tdentro"}},
    };
    for (const Caso &c : casos) {
        TGridzelto g;
        TVariavel v = Var("V", c.tipo, true, alDireita);
        if (c.tipo == tvData) {
            v.TipoData = c.forma;
            v.DataReferencia = SerialDeData(2024, 2, 29);
        } else if (c.tipo == tvNumerica) {
            v.CasasDecimais = c.forma;
            v.PontosDeMilhar = c.milhar;
        }
        g.DefineVariavel(1, v);
        g.AtribuiCelula(1, 0, "V");
        for (int r = 1; r <= 3; ++r)
            g.AtribuiCelula(1, r, c.celulas[r - 1]);
        g.AtribuiCelula(0, 1, "0");
        g.AtribuiCelula(0, 3, "65535");
        g.DefineColunasUsadas(1);
        g.DefineLinhasUsadas(3);
        fs::path p = pasta / "formas.QV3";
        TArquivoZelto a;
        ASSERT_TRUE(a.Gravar(p, g, "", "")) << a.Mensagem();
        TGridzelto lida;
        std::string resumo;
        ASSERT_TRUE(a.Ler(p, lida, 255, resumo)) << a.Mensagem();
        EXPECT_EQ(*lida.Variavel(1), v);
        for (int r = 0; r <= 3; ++r) {
            EXPECT_EQ(lida.Celula(1, r), g.Celula(1, r)) << c.celulas[0] << " " << r;
            EXPECT_EQ(lida.Celula(0, r), g.Celula(0, r)) << r;
        }
    }
}

// LerArquivo hands the older and the text formats to their readers; the older
// format's worksheet is named so that the next save asks for a name.
TEST_F(ArquivoZelto, DispatchesToTheOtherReaders) {
    fs::path txt = pasta / "dados.TXT";
    EscreveArquivo(txt, "Preço\tÁrea\r\n10\t3,5\r\n");
    TGridzelto g;
    std::string resumo = "x";
    TResultado r = LerArquivo(txt, g, 255, resumo, nullptr);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(g.ColunasUsadas(), 2);
    EXPECT_EQ(g.LinhasUsadas(), 1);
    EXPECT_EQ(g.NomeArquivo, txt.string());
    EXPECT_EQ(resumo, "");

    // An older file with no variable and no sample.
    std::string antigo(18, '\0');
    antigo += AssinaturaZelto2;
    antigo += std::string(1, '\1') + "Y" + std::string(10, ' ');
    antigo += std::string(12, '\0'); // V = 0 and N = 0 as 6-byte reals
    antigo += std::string(12, ' ');
    antigo += std::string(1, '\0') + std::string(59, ' ') + std::string(6, '\0');
    fs::path zel = pasta / "velho.ZEL";
    EscreveArquivo(zel, antigo);
    g.Modo.Inferencial = false;
    r = LerArquivo(zel, g, 255, resumo, nullptr);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(g.NomeArquivo, "Planilha.QV3");
    EXPECT_TRUE(g.Modo.Inferencial);
}
