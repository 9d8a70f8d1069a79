#include "common/Datas.h"
#include "worksheet/DefinicaoVariavel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace zelto;
namespace fs = std::filesystem;

namespace {

// A store with two qualitative and two dichotomous tables, in a folder of its own.
class DefinicaoVariavelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        pasta = fs::temp_directory_path() /
                ("zelto-def-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(pasta);
        tabelas.emplace(pasta / "TAB_VAR.QVT");
        ASSERT_TRUE(tabelas->Acrescenta("Estado", TTabelaQualitativa{{"Bom", 3}, {"Ruim", 1}, {"Regular", 2}, {"Alto", 7}}));
        ASSERT_TRUE(tabelas->Acrescenta("Conservação", TTabelaQualitativa{{"bom", 10}, {"Péssimo", 1}, {"Médio", 2}}));
        ASSERT_TRUE(tabelas->Acrescenta("Piscina", TTabelaDicotomica{"Sim", "Não"}));
        ASSERT_TRUE(tabelas->Acrescenta("Ruim/Bom", TTabelaDicotomica{"Bom", "Ruim"}));
    }
    void TearDown() override { fs::remove_all(pasta); }

    TAtributosVariavel Atributos(TipoVariavel t, const std::string &tabela = "") {
        TAtributosVariavel a;
        a.Nome = "V";
        a.Tipo = t;
        a.Tabela = tabela;
        a.Usada = t != tvComentario;
        a.Alinhamento = AlinhamentoPadrao(t);
        a.DataReferencia = static_cast<double>(SerialDeData(2020, 3, 15));
        a.TipoData = tdDiaMesAno;
        return a;
    }

    // Defines column 1 as `de`, fills its cells, redefines it as `para` and
    // returns the cells of rows 1..n.
    std::vector<std::string> Converte(const TAtributosVariavel &de, const std::vector<std::string> &celulas,
                                      const TAtributosVariavel &para) {
        DefineVariavel(g, 1, de, *tabelas);
        for (std::size_t i = 0; i < celulas.size(); ++i) g.AtribuiCelula(1, static_cast<int>(i + 1), celulas[i]);
        g.DefineLinhasUsadas(static_cast<int>(celulas.size()));
        DefineVariavel(g, 1, para, *tabelas);
        std::vector<std::string> r;
        for (std::size_t i = 0; i < celulas.size(); ++i) r.push_back(g.Celula(1, static_cast<int>(i + 1)));
        return r;
    }

    fs::path pasta;
    std::optional<TTabelasVariaveis> tabelas;
    TGridzelto g;
};

using V = std::vector<std::string>;

} // namespace

TEST_F(DefinicaoVariavelTest, ConversionsBetweenKinds) {
    TAtributosVariavel num = Atributos(tvNumerica);
    num.CasasDecimais = "1";
    TAtributosVariavel mes = Atributos(tvData);
    mes.TipoData = tdMesAno;
    struct Caso {
        const char *nome;
        TAtributosVariavel de;
        V celulas;
        TAtributosVariavel para;
        V esperado;
    } casos[] = {
        {"numérica→dicotômica", Atributos(tvNumerica), {"0,00", "5,00", "-1,00", ""}, Atributos(tvDicotomica, "Piscina"),
         {"FALSE", "TRUE", "TRUE", ""}},
        {"qualitativa→qualitativa", Atributos(tvQualitativa, "Estado"), {"Bom", "Regular", "Ruim", "Xyz", "Alto"},
         Atributos(tvQualitativa, "Conservação"), {"bom", "Médio", "Péssimo", "", ""}},
        {"qualitativa→numérica", Atributos(tvQualitativa, "Estado"), {"Regular", "Xyz"}, num, {"2,0", "0,0"}},
        {"dicotômica→qualitativa", Atributos(tvDicotomica, "Ruim/Bom"), {"TRUE", "FALSE"},
         Atributos(tvQualitativa, "Estado"), {"Bom", "Ruim"}},
        {"dicotômica→qualitativa por valor", Atributos(tvDicotomica, "Piscina"), {"TRUE", "FALSE"},
         Atributos(tvQualitativa, "Conservação"), {"Péssimo", ""}},
        {"comentário→numérica", Atributos(tvComentario), {"1.234,5", "3,5", "2.5", "abc"}, num,
         {"1234,5", "3,5", "2,5", ""}},
        {"comentário→qualitativa", Atributos(tvComentario), {"médio", "x"}, Atributos(tvQualitativa, "Conservação"),
         {"Médio", ""}},
        {"numérica→qualitativa", Atributos(tvNumerica), {"2,00", "2,0004"}, Atributos(tvQualitativa, "Estado"),
         {"Regular", ""}},
        {"qualitativa→dicotômica", Atributos(tvQualitativa, "Estado"), {"Bom", "Ruim", "Alto", "Xyz"},
         Atributos(tvDicotomica, "Ruim/Bom"), {"TRUE", "FALSE", "", ""}},
        {"qualitativa→dicotômica por valor", Atributos(tvQualitativa, "Conservação"), {"Péssimo", "bom"},
         Atributos(tvDicotomica, "Piscina"), {"TRUE", ""}},
        {"comentário→dicotômica", Atributos(tvComentario), {"sim", "NÃO", "talvez"}, Atributos(tvDicotomica, "Piscina"),
         {"TRUE", "FALSE", ""}},
        {"numérica→data em dias", Atributos(tvNumerica), {"1,00", "-15,00"}, Atributos(tvData),
         {"16/Mar/2020", "29/Fev/2020"}},
        {"numérica→data em meses", Atributos(tvNumerica), {"1,00"}, mes, {"Abr/2020"}},
        {"data→data", Atributos(tvData), {"05/Mar/2020", ""}, mes, {"Mar/2020", ""}},
        {"comentário→data", Atributos(tvComentario), {"7/2019", "nada"}, mes, {"Jul/2019", ""}},
        {"dicotômica→comentário", Atributos(tvDicotomica, "Piscina"), {"TRUE", "FALSE", "x"}, Atributos(tvComentario),
         {"Sim", "Não", "x"}},
        {"data→qualitativa", Atributos(tvData), {"05/Mar/2020", ""}, Atributos(tvQualitativa, "Estado"), {"", ""}},
        {"qualitativa→data", Atributos(tvQualitativa, "Estado"), {"Bom"}, Atributos(tvData), {""}},
        {"dicotômica→numérica", Atributos(tvDicotomica, "Piscina"), {"TRUE", "FALSE"}, num, {"1,0", "0,0"}},
        {"numérica→comentário", Atributos(tvNumerica), {"1.234,00"}, Atributos(tvComentario), {"1.234,00"}},
    };
    for (auto &k : casos) {
        g.Limpa();
        EXPECT_EQ(Converte(k.de, k.celulas, k.para), k.esperado) << k.nome;
    }
}

TEST_F(DefinicaoVariavelTest, CalculatedEmptiesEveryDataCellThenComputes) {
    DefineVariavel(g, 2, Atributos(tvNumerica), *tabelas);
    g.AtribuiCelula(2, 0, "B");
    auto a = Converte(Atributos(tvNumerica), {"1,00", "2,00"}, Atributos(tvNumerica));
    g.AtribuiCelula(1, 30, "9,00"); // a stray cell below the used rows
    g.AtribuiCelula(2, 1, "3,00");
    TAtributosVariavel calc = Atributos(tvCalculada);
    calc.Equacao = "[B]*2";
    EXPECT_TRUE(DefineVariavel(g, 1, calc, *tabelas));
    EXPECT_EQ(g.Celula(1, 1), "6,00");
    EXPECT_EQ(g.Celula(1, 2), "???");
    EXPECT_EQ(g.Celula(1, 30), "");
}

TEST_F(DefinicaoVariavelTest, WhatCountsAsAChange) {
    TAtributosVariavel a = Atributos(tvNumerica);
    EXPECT_TRUE(DefineVariavel(g, 1, a, *tabelas)); // a new variable
    a.CasasDecimais = "4";
    a.Descricao = "outra";
    EXPECT_FALSE(DefineVariavel(g, 1, a, *tabelas));
    EXPECT_EQ(g.Variavel(1)->CasasDecimais, 4);
    a.CasasDecimais = "";
    EXPECT_FALSE(DefineVariavel(g, 1, a, *tabelas));
    EXPECT_EQ(g.Variavel(1)->CasasDecimais, 0);
    a.Usada = false;
    EXPECT_TRUE(DefineVariavel(g, 1, a, *tabelas));
    TAtributosVariavel c = Atributos(tvCalculada);
    c.Equacao = "1";
    EXPECT_TRUE(DefineVariavel(g, 2, c, *tabelas));
    EXPECT_FALSE(DefineVariavel(g, 2, c, *tabelas));
    c.Equacao = "2";
    EXPECT_TRUE(DefineVariavel(g, 2, c, *tabelas));
    TAtributosVariavel q = Atributos(tvQualitativa, "Estado");
    EXPECT_TRUE(DefineVariavel(g, 3, q, *tabelas));
    EXPECT_EQ(g.Formato(3).Itens.size(), 4u);
    EXPECT_FALSE(DefineVariavel(g, 3, q, *tabelas));
    q.Tabela = "Conservação";
    EXPECT_TRUE(DefineVariavel(g, 3, q, *tabelas));
    TAtributosVariavel d = Atributos(tvDicotomica, "Piscina");
    DefineVariavel(g, 4, d, *tabelas);
    EXPECT_EQ(g.Variavel(4)->Rotulos, "Sim|Não");
    EXPECT_EQ(g.ColunasUsadas(), 4);
    EXPECT_FALSE(DefineVariavel(g, 0, a, *tabelas)); // the number column is refused
    EXPECT_TRUE(g.Modificada());
}

TEST_F(DefinicaoVariavelTest, DependentIsUniqueAndDialogRulesHold) {
    TAtributosVariavel a = Atributos(tvNumerica);
    a.Dependente = true;
    DefineVariavel(g, 1, a, *tabelas);
    DefineVariavel(g, 2, a, *tabelas);
    EXPECT_FALSE(g.Variavel(1)->Dependente);
    EXPECT_TRUE(g.Variavel(2)->Dependente);

    TAtributosVariavel r = Atributos(tvNumerica);
    r.Usada = false;
    r.Dependente = r.CoeficienteHomogeneizacao = true;
    AplicaRegras(r, false);
    EXPECT_FALSE(r.Dependente);
    EXPECT_FALSE(r.CoeficienteHomogeneizacao);
    r = Atributos(tvQualitativa, "Estado");
    r.Dependente = r.CoeficienteHomogeneizacao = true;
    AplicaRegras(r, false);
    EXPECT_FALSE(r.Dependente);
    EXPECT_TRUE(r.CoeficienteHomogeneizacao);
    r = Atributos(tvComentario);
    r.Usada = true;
    AplicaRegras(r, true);
    EXPECT_FALSE(r.Usada);
    EXPECT_STREQ(TituloTipoVariavel(tvQualitativa, false), "Tabelas de coeficientes");
    EXPECT_STREQ(TituloTipoVariavel(tvCalculada, true), "Variável calculada");
}

TEST_F(DefinicaoVariavelTest, InitialDialogValues) {
    TAtributosVariavel a = AtributosIniciais(g, 3, *tabelas);
    EXPECT_FALSE(a.TinhaVariavel);
    EXPECT_EQ(a.Nome, "C0");
    EXPECT_EQ(a.Tipo, tvNumerica);
    EXPECT_EQ(a.CasasDecimais, "2");
    EXPECT_EQ(a.TipoData, tdMesAno);
    EXPECT_EQ(DataDeSerial(static_cast<long>(a.DataReferencia)).dia, 1);
    TAtributosVariavel q = Atributos(tvQualitativa, "Estado");
    DefineVariavel(g, 3, q, *tabelas);
    g.Variavel(3)->Tabela = "Sumiu";
    a = AtributosIniciais(g, 3, *tabelas);
    EXPECT_TRUE(a.TinhaVariavel);
    EXPECT_EQ(a.Tabela, "Estado"); // the first table when the stored one is missing
}

TEST_F(DefinicaoVariavelTest, DescriptiveModeEnsuresTheHomogenisedColumn) {
    g.Modo.Inferencial = false;
    EXPECT_EQ(NomesParaFormula(g, false).back(), "Valor Homogeneizado");
    DefineVariavel(g, 1, Atributos(tvNumerica), *tabelas);
    DefineVariavel(g, 2, Atributos(tvNumerica), *tabelas);
    EXPECT_EQ(g.ColunaValorHomogeneizado(), 0); // only beyond two used columns
    DefineVariavel(g, 3, Atributos(tvNumerica), *tabelas);
    EXPECT_EQ(g.ColunaValorHomogeneizado(), 4);
    EXPECT_EQ(NomesParaFormula(g, false).size(), 4u);
    TAtributosVariavel h = AtributosIniciais(g, 4, *tabelas);
    EXPECT_FALSE(h.CoeficienteHabilitado);
}
