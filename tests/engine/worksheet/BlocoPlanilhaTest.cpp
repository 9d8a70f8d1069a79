#include "worksheet/Gridzelto.h"
#include "PlanilhaTeste.h"

#include <gtest/gtest.h>

using namespace zelto;
using namespace zelto::teste;

namespace {

std::string ComCrLf(std::string s) {
    std::string r;
    for (char ch : s) {
        if (ch == '\n') r += '\r';
        r += ch;
    }
    return r;
}

// Cells (1..4, 1..4): a row's cells joined by ",", rows by "/".
std::string Janela(const TGridzelto &g) {
    std::string s;
    for (int r = 1; r <= 4; ++r) {
        if (r > 1) s += '/';
        for (int c = 1; c <= 4; ++c) {
            if (c > 1) s += ',';
            s += g.Celula(c, r);
        }
    }
    return s;
}

} // namespace

TEST(BlocoPlanilha, TextCopyShowsTheCellsAsTheyAppear) {
    TGridzelto g;
    TVariavel d = Var(tvDicotomica, "Piscina");
    d.Rotulos = "Sim|Não";
    Define(g, 1, d, {teCaixaMarcacao, {}});
    g.AtribuiCelula(1, 1, "TRUE");
    g.AtribuiCelula(1, 2, "FALSE");
    g.AtribuiCelula(2, 1, "x");
    EXPECT_EQ(g.CopiaBlocoTexto({0, 0, 2, 2}), "\tPiscina\tB0\r\n1\tSim\tx\r\n2\tNão\t\r\n");
    EXPECT_EQ(g.CopiaBlocoTexto({2, 2, 1, 1}), "Sim\tx\r\nNão\t\r\n"); // corners in any order
}

// A 2 x 2 selection with the header row. At 100 pixels per inch a 64-pixel
// column is 921 twips (921.6 cut), a 101-pixel one 1454, so the right edges
// are 921 and 2375; the 2-pixel grid line is 28 twips; the rows of 24 and 20
// pixels are 345 and 288. The cell colour repeats the grey, so the table holds
// three colours; the red font colour is not among them and falls back to black.
TEST(BlocoPlanilha, RichTextCopyGolden) {
    TGridzelto g;
    TVariavel area = Var(tvNumerica, "Área");
    area.Alinhamento = alDireita;
    Define(g, 1, area, {teReal, {}});
    Define(g, 2, Var(tvComentario, "Bairro", false));
    g.AtribuiCelula(1, 1, "1.234,50");
    g.AtribuiCelula(2, 1, "Centro {A}\\B");
    g.DefineLarguraColuna(2, 101);
    g.AlturaLinha = 20;
    TAparenciaGrade a;
    a.Sublinhado = true;
    a.Riscado = true;
    a.CorFonte = {255, 0, 0};
    a.CorCelula = {128, 128, 128};
    a.LarguraLinhaGrade = 2;
    a.PixelsPorPolegada = 100;

    const std::string borda =
        R"(\clvertalc\clbrdrt\brdrs\brdrw28\brdrcf1\clbrdrl\brdrs\brdrw28\brdrcf1)"
        R"(\clbrdrb\brdrs\brdrw28\brdrcf1\clbrdrr\brdrs\brdrw28\brdrcf1)";
    const std::string esperado = ComCrLf(R"({\rtf1\ansi\deff0
{\fonttbl
{\f0\fnil \fprq0 Arial;}
}
{\colortbl;
\red0\green0\blue0;
\red128\green128\blue128;
\red192\green192\blue192;
}
{\info{\author Zelto 32}}
\trowd \trgaph60\trqc
)" + borda + R"(\clcbpat3\cellx921
)" + borda + R"(\clcbpat3\cellx2375
\intbl\trrh345
\f0\qr\b\i0\ul\strike\fs20\cf1 \'c1rea\intbl\cell
\f0\ql\b\i0\ul\strike\fs20\cf1 Bairro\intbl\cell
\intbl\row
\trowd \trgaph60\trqc
)" + borda + R"(\clcbpat2\cellx921
)" + borda + R"(\clcbpat2\cellx2375
\intbl\trrh288
\f0\qr\b0\i0\ul\strike\fs20\cf1 1.234,50\intbl\cell
\f0\ql\b0\i0\ul\strike\fs20\cf1 Centro \{A\}\\B\intbl\cell
\intbl\row
})");
    EXPECT_EQ(g.CopiaBlocoRtf({1, 0, 2, 1}, a), esperado);
}

TEST(BlocoPlanilha, RichTextIsSevenBitAndBoldInTheNumberColumn) {
    TGridzelto g;
    Define(g, 1, Var(tvComentario, "Obs", false));
    g.AtribuiCelula(1, 1, "ação € ŝ 😀");
    TAparenciaGrade a;
    a.Fonte = "Sans Çerif";
    std::string rtf = g.CopiaBlocoRtf({0, 1, 1, 1}, a);
    for (unsigned char ch : rtf)
        ASSERT_LT(ch, 0x80) << rtf;
    EXPECT_NE(rtf.find(R"({\f0\fnil \fprq0 Sans \'c7erif;})"), std::string::npos);
    // The row's last selected cell is a data cell: normal weight; the number
    // cell has the header colour.
    EXPECT_NE(rtf.find(R"(\clcbpat4\cellx960)"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find(R"(\clcbpat3\cellx1920)"), std::string::npos) << rtf;
    EXPECT_NE(
        rtf.find(
            R"(\f0\ql\b0\i0\ul0\fs20\cf1 a\'e7\'e3o \'80 \u349? \u-10179?\u-8704?\intbl\cell)"),
        std::string::npos)
        << rtf;
    // Only the number column selected: bold.
    rtf = g.CopiaBlocoRtf({0, 1, 0, 1}, a);
    EXPECT_NE(rtf.find(R"(\f0\ql\b\i0\ul0\fs20\cf1 1\intbl\cell)"), std::string::npos) << rtf;
}

TEST(BlocoPlanilha, PastePlacement) {
    struct Caso {
        TSelecao s;
        const char *texto;
        const char *janela; // cells (1..4, 1..4) afterwards; nullptr: refused
    } casos[] = {
        {{1, 1, 4, 2}, "1\t2\r\n3\t4\r\n", "1,2,1,2/3,4,3,4/,,,/,,,"},     // filled twice
        {{1, 1, 3, 2}, "1\t2\r\n3\t4\r\n", nullptr},                       // 3 x 2 refused
        {{2, 2, 2, 2}, "1\t2\n3\t4", ",,,/,1,2,/,3,4,/,,,"},               // at one cell
        {{1, 1, 2, 2}, "1\t2\n3\t4\n", "1,2,,/3,4,,/,,,/,,,"},             // exactly
        {{1, 1, 4, 1}, "1\t2\n3\t4\n", "1,2,1,2/3,4,3,4/,,,/,,,"},         // across one row
        {{1, 1, 1, 4}, "1\t2\n3\t4\n", "1,2,,/3,4,,/1,2,,/3,4,,"},         // down one column
        {{1, 1, 4, 4}, "1\t2\n3\t4\n", "1,2,1,2/3,4,3,4/1,2,1,2/3,4,3,4"}, // both ways
        {{1, 1, 3, 1}, "1\t2\n3\t4\n", nullptr},
        {{1, 1, 2, 3}, "1\t2\n3\t4\n", nullptr},
        {{4, 3, 1, 1}, "x\n", "x,x,x,x/x,x,x,x/x,x,x,x/,,,"}, // corners in any order
        {{1, 1, 1, 1}, "a\tb\nc\n", "a,b,,/c,,,/,,,/,,,"},    // a short line
        {{1, 1, 1, 1}, "", nullptr},
        {{0, 1, 1, 1}, "a", nullptr}, // the number column is no target
    };
    for (const auto &k : casos) {
        TGridzelto g;
        g.DefineModificada(false);
        TResultado r = g.ColaBloco(k.s, k.texto);
        EXPECT_EQ(r.ok, k.janela != nullptr) << k.texto;
        if (k.janela) {
            EXPECT_EQ(Janela(g), k.janela) << k.texto;
            EXPECT_TRUE(g.Modificada());
        } else {
            EXPECT_FALSE(r.mensagem.empty());
            EXPECT_EQ(Janela(g), ",,,/,,,/,,,/,,,");
            EXPECT_EQ(g.Variavel(1), nullptr);
            EXPECT_EQ(g.LinhasUsadas(), 0);
            EXPECT_FALSE(g.Modificada());
        }
    }
    TGridzelto g;
    EXPECT_EQ(g.ColaBloco({1, 1, 3, 2}, "1\t2\r\n3\t4\r\n").mensagem,
              "O bloco copiado (2 colunas × 2 linhas) não cabe na seleção.");
}

TEST(BlocoPlanilha, PasteGrowsTheWorksheetAndUsesTheColumnRules) {
    TGridzelto g;
    TVariavel preco = Var(tvNumerica, "Preço");
    preco.PontosDeMilhar = true;
    Define(g, 1, preco, {teReal, {}});
    TVariavel calc = Var(tvCalculada, "Dobro");
    calc.Equacao = "[Preço]*2";
    calc.CasasDecimais = 0;
    Define(g, 2, calc);
    ASSERT_TRUE(g.ColaBloco({1, 1, 1, 1}, "1234,5\tlixo\tTexto livre\n2\t\t3\n").ok);
    EXPECT_EQ(g.Celula(1, 1), "1.234,50");
    EXPECT_EQ(g.Celula(2, 1), "2469"); // recalculated after the paste
    EXPECT_EQ(g.Celula(2, 2), "4");
    EXPECT_EQ(g.Variavel(3)->Tipo, tvComentario); // a new comment column
    EXPECT_EQ(g.Variavel(3)->Nome, "C0");
    EXPECT_EQ(g.Celula(3, 1), "Texto livre");
    EXPECT_EQ(g.LinhasUsadas(), 2);
    EXPECT_EQ(g.ColunasUsadas(), 3);

    // At the bottom-right corner of the grid: one row and one column are added.
    ASSERT_TRUE(g.ColaBloco({21, 40, 21, 40}, "7\tx\n8\ty\n9\tz").ok);
    EXPECT_EQ(g.RowCount(), 43);
    EXPECT_EQ(g.ColCount(), 23);
    EXPECT_EQ(g.Celula(0, 42), "42");
    EXPECT_EQ(g.Celula(22, 0), "V0");
    EXPECT_EQ(g.Celula(21, 42), "9");
    EXPECT_EQ(g.Celula(22, 42), "z");
    EXPECT_EQ(g.LinhasUsadas(), 42);
    EXPECT_EQ(g.ColunasUsadas(), 22);
    EXPECT_EQ(g.Variavel(4), nullptr); // columns outside the target stay undefined
}
