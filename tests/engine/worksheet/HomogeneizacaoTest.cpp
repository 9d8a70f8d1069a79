// The descriptive worksheet: which column is the unit value, which are the factors, which used
// columns would multiply the homogenised value unchecked; marking them and entering the mode.
#include "worksheet/Homogeneizacao.h"

#include "PlanilhaTeste.h"

#include <gtest/gtest.h>

namespace zelto {
namespace {

using teste::Define;
using teste::Var;
using Colunas = std::vector<int>;

TVariavel Coeficiente(const std::string &nome, bool marcado) {
    TVariavel v = Var(tvNumerica, nome);
    v.CoeficienteHomogeneizacao = marcado;
    return v;
}

// A unit value typed raw, two factors and a size nobody marked, a date and a comment: before
// the mode is entered the raw column is valued and three used columns are unmarked; once the
// factors are marked, the size left out and the mode entered, the "Valor Homog." column is the
// value evaluated, the raw column its unit value, and nothing is missing.
TEST(Homogeneizacao, FromRawWorksheetToHomogenisedValue) {
    TGridzelto g;
    TVariavel valor = Var(tvNumerica, "valor");
    valor.Dependente = true;
    Define(g, 1, valor);
    Define(g, 2, Coeficiente("f1", false));
    Define(g, 3, Coeficiente("f2", false));
    Define(g, 4, Coeficiente("area", false));
    Define(g, 5, Var(tvData, "quando"));
    Define(g, 6, Var(tvComentario, "nota"));
    for (int c = 1; c <= 4; ++c)
        g.AtribuiCelula(c, 1, std::vector<std::string>{"", "800", "0,9", "1,1", "360"}[c]);
    g.DefineLinhasUsadas(1);

    TFatoresPlanilha f = FatoresPlanilha(g);
    EXPECT_EQ(f.Dependente, 1);
    EXPECT_EQ(f.ValorUnitario, 1);
    EXPECT_FALSE(f.Homogeneizado);
    EXPECT_EQ(f.Fatores, Colunas{});
    EXPECT_EQ(f.SemMarca, (Colunas{2, 3, 4}));

    MarcaFatores(g, {2, 3});
    EXPECT_TRUE(g.Variavel(2)->Usada && g.Variavel(2)->CoeficienteHomogeneizacao);
    TVariavel area = *g.Variavel(4);
    area.Usada = false;
    g.DefineVariavel(4, area);
    g.Modo.CriarValorHomogeneizado = true;
    AplicaModoDescritivo(g);
    EXPECT_FALSE(g.Variavel(5)->Usada);
    const int h = g.ColunaValorHomogeneizado();
    ASSERT_EQ(h, 7);
    EXPECT_EQ(g.Celula(h, 1), "792,00"); // 800 × 0,9 × 1,1
    f = FatoresPlanilha(g);
    EXPECT_EQ(f.Dependente, h);
    EXPECT_EQ(f.ValorUnitario, 1);
    EXPECT_TRUE(f.Homogeneizado);
    EXPECT_EQ(f.Fatores, (Colunas{2, 3}));
    EXPECT_EQ(f.SemMarca, Colunas{});
}

// A stored worksheet whose "Valor Homog." column is already the dependent one does not say
// which column it homogenises: the first used column that is no coefficient is the unit value,
// else (files that mark every column) the first used one, which is then no factor.
TEST(Homogeneizacao, UnitValueOfAStoredHomogenisedWorksheet) {
    struct Caso {
        bool marcaPrimeira, marcaSegunda;
        int unitario;
        Colunas fatores;
    } casos[] = {
        {false, true, 1, {2}},
        {true, false, 2, {1}},
        {true, true, 1, {2}},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.unitario);
        TGridzelto g;
        Define(g, 1, Coeficiente("a", c.marcaPrimeira));
        Define(g, 2, Coeficiente("b", c.marcaSegunda));
        TVariavel h = Var(tvCalculada, "Valor Homog.");
        h.Equacao = "[Valor Homogeneizado]";
        h.Dependente = true;
        Define(g, 3, h);
        const TFatoresPlanilha f = FatoresPlanilha(g);
        EXPECT_EQ(f.Dependente, 3);
        EXPECT_TRUE(f.Homogeneizado);
        EXPECT_EQ(f.ValorUnitario, c.unitario);
        EXPECT_EQ(f.Fatores, c.fatores);
        EXPECT_EQ(f.SemMarca, Colunas{});
    }
}

} // namespace
} // namespace zelto
