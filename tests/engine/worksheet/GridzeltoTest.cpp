#include "common/Datas.h"
#include "worksheet/Gridzelto.h"
#include "PlanilhaTeste.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zelto;
using namespace zelto::teste;

TEST(Gridzelto, FreshWorksheet) {
    TGridzelto g;
    EXPECT_EQ(g.ColCount(), 22);
    EXPECT_EQ(g.RowCount(), 42);
    EXPECT_EQ(g.Celula(1, 0), "A0");
    EXPECT_EQ(g.Celula(21, 0), "U0");
    EXPECT_EQ(g.Celula(22, 0), ""); // outside the grid: empty, never a fault
    EXPECT_EQ(TGridzelto::RotuloPadraoColuna(26), "Z0");
    EXPECT_EQ(TGridzelto::RotuloPadraoColuna(27), "A1");
    EXPECT_EQ(g.Celula(0, 41), "41");
    EXPECT_EQ(g.Celula(0, 0), "");
    EXPECT_EQ(g.ColunaDependente(), 0);
}

TEST(Gridzelto, CellValuesByKind) {
    TGridzelto g;
    Define(g, 1, Var(tvNumerica, "Área"));
    TDataFormat lista{teLista, {{"Bom", 3}, {"Ruim", 1}}};
    Define(g, 2, Var(tvQualitativa, "Estado"), lista);
    TVariavel d = Var(tvDicotomica, "Piscina");
    d.Rotulos = "Sim|Não";
    Define(g, 3, d);
    Define(g, 4, Var(tvComentario, "Obs", false));
    struct Caso {
        int c;
        const char *texto;
        long double valor;
    } casos[] = {
        {1, "1.234,5", 1234.5L}, {1, "abc", 0}, {1, "", 0}, {1, "-2,5e3", -2500},
        {2, "bom", 3},           {2, "RUIM", 1}, {2, "Médio", 0},
        {3, "TRUE", 1},          {3, "true", 0}, {3, "FALSE", 0},
        {4, "123", 0},           {5, "123", 0}, // column 5 has no variable
    };
    for (const auto &k : casos) EXPECT_EQ(g.ValorTexto(k.c, k.texto), k.valor) << k.c << " " << k.texto;
}

TEST(Gridzelto, DateValuesCountBackFromTheReference) {
    TGridzelto g;
    TVariavel v = Var(tvData, "Data");
    v.TipoData = tdMesAno;
    v.DataReferencia = SerialDeData(2020, 3, 15);
    Define(g, 1, v);
    EXPECT_EQ(g.ValorTexto(1, "Jan/2019"), 14);
    EXPECT_EQ(g.ValorTexto(1, "Mai/2020"), -2);
    EXPECT_EQ(g.TextoDoValor(1, 14), "Jan/2019");
    EXPECT_EQ(g.TextoDoValor(1, 3), "Dez/2019"); // month 0 is December of the year before
    v.TipoData = tdDiaMesAno;
    g.DefineVariavel(1, v);
    EXPECT_EQ(g.ValorTexto(1, "05/Mar/2020"), 10);
    EXPECT_EQ(g.TextoDoValor(1, 10), "05/Mar/2020");
    // Cell texts from numbers: small numbers are offsets, large ones serials.
    EXPECT_EQ(g.TextoCelulaDeValor(1, 1), "16/Mar/2020");
    EXPECT_EQ(g.TextoCelulaDeValor(1, 32874), "01/Jan/1990");
    v.TipoData = tdDiaMes;
    g.DefineVariavel(1, v);
    EXPECT_EQ(g.ValorTexto(1, "05/Mar"), 10); // completed with the reference's year
}

TEST(Gridzelto, TextsForValues) {
    TGridzelto g;
    TVariavel n = Var(tvNumerica, "N");
    n.CasasDecimais = 2;
    n.PontosDeMilhar = true;
    Define(g, 1, n);
    Define(g, 2, Var(tvQualitativa, "Q"), TDataFormat{teLista, {{"A", 1}, {"B", 2}, {"B2", 2.0005L}}});
    TVariavel d = Var(tvDicotomica, "D");
    d.Rotulos = "Sim|Não";
    Define(g, 3, d);
    Define(g, 4, Var(tvComentario, "C", false));
    EXPECT_EQ(g.TextoCelulaDeValor(1, 1234567.891L), "1.234.567,89");
    EXPECT_EQ(g.TextoCelulaDeValor(2, 2), "B2"); // the last entry within 0.001
    EXPECT_EQ(g.TextoCelulaDeValor(2, 1.5L), "");
    EXPECT_EQ(g.TextoDoValor(2, 1.4L), "A"); // nearest entry
    EXPECT_EQ(g.TextoCelulaDeValor(3, 1), "TRUE");
    EXPECT_EQ(g.TextoCelulaDeValor(3, 0), "FALSE");
    EXPECT_EQ(g.TextoCelulaDeValor(3, 0.5L), "");
    EXPECT_EQ(g.TextoDoValor(3, 1), "Sim");
    EXPECT_EQ(g.TextoDoValor(3, 0.5L), "Não");
    EXPECT_EQ(g.TextoCelulaDeValor(4, 0.25L), "0,25");
    g.AtribuiCelula(3, 1, "TRUE");
    EXPECT_EQ(g.TextoExibido(3, 1), "Sim");
}

TEST(Gridzelto, TypedAndPastedTexts) {
    TGridzelto g;
    TVariavel n = Var(tvNumerica, "N");
    n.CasasDecimais = 1;
    Define(g, 1, n);
    Define(g, 2, Var(tvQualitativa, "Q"), TDataFormat{teLista, {{"Bom", 3}, {"Ruim", 1}}});
    TVariavel d = Var(tvDicotomica, "D");
    d.Rotulos = "Sim|Não";
    Define(g, 3, d);
    TVariavel dt = Var(tvData, "Dt");
    dt.DataReferencia = SerialDeData(2020, 3, 15);
    Define(g, 4, dt);
    Define(g, 5, Var(tvComentario, "C", false));
    struct Caso {
        int c;
        const char *texto, *celula;
    } casos[] = {
        {1, "1.234,56", "1234,6"}, {1, "xyz", ""},   {1, "2,5E+2", "250,0"},
        {2, " bom ", "Bom"},       {2, "1", "Ruim"}, {2, "2", ""},     {2, "3,0004", "Bom"},
        {3, "Sim", "TRUE"},        {3, "Não", "FALSE"}, {3, "true", "TRUE"}, {3, "verdadeiro", "TRUE"},
        {3, "0", "FALSE"},         {3, "talvez", ""},
        {4, "5/3/2020", "05/Mar/2020"}, {4, "0", "15/Mar/2020"}, {4, "-1", "14/Mar/2020"}, {4, "x", ""},
        {5, "  livre ", "  livre "}, {6, "sem variável", ""},
    };
    for (const auto &k : casos) EXPECT_EQ(g.TextoNormalizado(k.c, k.texto), k.celula) << k.c << " " << k.texto;
}

TEST(Gridzelto, DependentAndUsedFlags) {
    TGridzelto g;
    Define(g, 1, Var(tvNumerica, "A"));
    Define(g, 2, Var(tvNumerica, "B"));
    Define(g, 3, Var(tvComentario, "C", false));
    EXPECT_EQ(g.ColunaDependente(), 1); // the first used column when none is dependent
    g.AlternaDependente(2);
    EXPECT_EQ(g.ColunaDependente(), 2);
    g.AlternaDependente(1);
    EXPECT_TRUE(g.Variavel(1)->Dependente);
    EXPECT_FALSE(g.Variavel(2)->Dependente);
    g.AlternaUsada(1);
    EXPECT_FALSE(g.Variavel(1)->Usada);
    EXPECT_FALSE(g.Variavel(1)->Dependente);
    EXPECT_EQ(g.ColunaDependente(), 2);
    g.AlternaUsada(3); // comments are never used
    EXPECT_FALSE(g.Variavel(3)->Usada);
    EXPECT_TRUE(g.Modificada());
}

TEST(Gridzelto, CalculatedColumns) {
    TGridzelto g;
    Define(g, 1, Var(tvNumerica, "Área"));
    Define(g, 2, Var(tvNumerica, "Preço"));
    TVariavel c = Var(tvCalculada, "Unit");
    c.Equacao = "[Preço]/[Área]";
    Define(g, 3, c);
    TVariavel h = Var(tvCalculada, "H", false);
    h.Equacao = "[valor homogeneizado]";
    Define(g, 4, h);
    g.AtribuiCelula(1, 1, "10,00");
    g.AtribuiCelula(2, 1, "1.500,00");
    g.AtribuiCelula(1, 2, "0,00");
    g.AtribuiCelula(2, 2, "5,00");
    g.AtribuiCelula(2, 3, "7,00"); // Área empty in row 3
    g.DefineLinhasUsadas(4);
    g.RecalcularTudo();
    EXPECT_EQ(g.Celula(3, 1), "150,00");
    EXPECT_EQ(g.Celula(3, 2), "???"); // division by zero
    EXPECT_EQ(g.Celula(3, 3), "???"); // empty referenced cell
    EXPECT_EQ(g.ValorCelula(3, 3), 0);
    EXPECT_EQ(g.Celula(4, 1), "2250000,00"); // 10 * 1500 * 150: the used columns but itself
    EXPECT_EQ(g.Celula(4, 4), "0,00");     // empty cells count 0
    g.AlternaUsada(1);
    g.AlternaUsada(2);
    g.AlternaUsada(3);
    EXPECT_EQ(g.Celula(4, 1), "1,00"); // no other used column: the product is 1
}

TEST(Gridzelto, DataBlockEndsAtTheFirstEmptyRowNotDisregarded) {
    TGridzelto g;
    Define(g, 1, Var(tvNumerica, "A"));
    Define(g, 2, Var(tvNumerica, "B"));
    for (int r = 1; r <= 6; ++r)
        if (r != 3 && r != 5) g.AtribuiCelula(1, r, std::to_string(r));
    g.AtribuiCelula(5, 2, "x"); // column 5 holds text in one row
    g.AlternaDesconsiderada(3); // empty but disregarded: does not end the block
    g.AmostragemCriada(2).Saneada = true;
    TBlocoDados b = g.BlocoDeDados();
    EXPECT_EQ(b.Colunas, 5);
    EXPECT_EQ(b.Linhas, 4);
    EXPECT_EQ(b.Ativas, (std::vector<int>{1, 4}));
    auto m = g.MatrizDados(b);
    ASSERT_EQ(m.size(), 20u);
    EXPECT_EQ(m[0], 1);
    EXPECT_EQ(m[3], 4);
    EXPECT_EQ(m[4], 0); // column 2, row 1
}

TEST(Gridzelto, ClearingAsksFirst) {
    TGridzelto g;
    Define(g, 1, Var(tvNumerica, "A"));
    g.AceitaEdicao(1, 1, "5");
    g.ValoresObjeto = {"A=1"};
    g.IdentificacaoObjeto.Multiplicador = 2;
    int perguntas = 0;
    g.AoLimparGrid = [&] { return ++perguntas > 1; };
    EXPECT_FALSE(g.Limpa());
    EXPECT_EQ(g.Celula(1, 1), "5,00");
    EXPECT_TRUE(g.Limpa());
    EXPECT_EQ(g.Celula(1, 1), "");
    EXPECT_EQ(g.Celula(1, 0), "A0");
    EXPECT_EQ(g.Variavel(1), nullptr);
    EXPECT_EQ(g.LinhasUsadas(), 0);
    EXPECT_EQ(g.ColunasUsadas(), 0);
    EXPECT_TRUE(g.ValoresObjeto.empty());
    EXPECT_EQ(g.IdentificacaoObjeto, TIdentificacaoObjeto{});
    EXPECT_FALSE(g.Modificada());
}

TEST(Gridzelto, TypingDefinesAColumnAndGrowsTheGrid) {
    TGridzelto g;
    g.DefinePorDigitacao(1, '7');
    g.DefinePorDigitacao(2, 'x');
    g.DefinePorDigitacao(3, 0x1B); // not printable: nothing
    ASSERT_NE(g.Variavel(1), nullptr);
    EXPECT_EQ(g.Variavel(1)->Tipo, tvNumerica);
    EXPECT_TRUE(g.Variavel(1)->Usada);
    EXPECT_EQ(g.Variavel(1)->Nome, "A0");
    EXPECT_EQ(g.Formato(1).Editor, teReal);
    EXPECT_EQ(g.Variavel(2)->Tipo, tvComentario);
    EXPECT_FALSE(g.Variavel(2)->Usada);
    EXPECT_EQ(g.Variavel(3), nullptr);
    std::vector<TMudanca> mudancas;
    g.AdicionaOuvinte([&](const TMudanca &m) { mudancas.push_back(m); });
    g.AceitaEdicao(1, 41, "1234,5");
    EXPECT_EQ(g.Celula(1, 41), "1.234,50");
    EXPECT_EQ(g.LinhasUsadas(), 41);
    EXPECT_EQ(g.ColunasUsadas(), 1);
    EXPECT_EQ(g.RowCount(), 47);
    EXPECT_EQ(g.Celula(0, 46), "46");
    EXPECT_TRUE(g.Modificada());
    ASSERT_FALSE(mudancas.empty());
    EXPECT_EQ(mudancas.front().tipo, TMudanca::Celulas);
}

TEST(Gridzelto, HomogenisedValueColumnInTheDescriptiveMode) {
    TGridzelto g;
    g.Modo.Inferencial = false;
    Define(g, 1, Var(tvNumerica, "Unitário"));
    Define(g, 2, Var(tvNumerica, "Fator"));
    g.AtribuiCelula(4, 1, "sobra"); // a stray text after the used columns is kept
    g.AceitaEdicao(1, 1, "100");
    g.AceitaEdicao(2, 1, "0,5");
    int c = g.ColunaValorHomogeneizado();
    ASSERT_EQ(c, 3);
    EXPECT_EQ(g.Celula(3, 0), "Valor Homog.");
    EXPECT_EQ(g.ColunaDependente(), 3);
    EXPECT_EQ(g.Celula(3, 1), "50,00");
    EXPECT_EQ(g.Celula(5, 1), "sobra");
    EXPECT_EQ(g.ColunasUsadas(), 3);
    g.GaranteValorHomogeneizado(); // only one such column
    EXPECT_EQ(g.ColunasUsadas(), 3);
}

// The "Valor Homog." column borrows the dependent mark; removing it gives the mark back to the
// variable that held it, unless another variable took it meanwhile or it stopped being used.
TEST(Gridzelto, HomogenisedValueColumnGivesTheDependentMarkBack) {
    auto monta = [](TGridzelto &g) {
        g.Modo.Inferencial = true;
        Define(g, 1, Var(tvNumerica, "Fator"));
        Define(g, 2, Var(tvNumerica, "Preço"));
        g.AlternaDependente(2);
        g.AceitaEdicao(1, 1, "2");
        g.AceitaEdicao(2, 1, "10");
        g.Modo.Inferencial = false;
        g.GaranteValorHomogeneizado();
        EXPECT_EQ(g.ColunaDependente(), 3);
        EXPECT_FALSE(g.Variavel(2)->Dependente);
    };
    struct Caso {
        const char *nome;
        std::function<void(TGridzelto &)> entre; // what the user did meanwhile
        int dependente;                          // the dependent column afterwards; 0: none
    } casos[] = {
        {"nada", [](TGridzelto &) {}, 2},
        {"outra dependente", [](TGridzelto &g) { g.AlternaDependente(1); }, 1},
        {"deixou de ser usada", [](TGridzelto &g) { g.AlternaUsada(2); }, 0},
    };
    for (const Caso &c : casos) {
        TGridzelto g;
        monta(g);
        c.entre(g);
        g.RemoveValorHomogeneizado();
        int dependente = 0;
        for (int k = 1; k <= 2; ++k)
            if (g.Variavel(k)->Dependente) dependente = k;
        EXPECT_EQ(dependente, c.dependente) << c.nome;
        EXPECT_FALSE(g.Variavel(2)->DependenteAnterior) << c.nome;
    }
}
