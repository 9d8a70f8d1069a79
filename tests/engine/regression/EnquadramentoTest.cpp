// The grading of a model under the valuation standard: the table's limits at their boundaries,
// the overall grade's point totals with one obligatory criterion a grade short, the
// micronumerosity rule on real and made-up worksheets, and the extrapolation measures of a
// fitted model against their closed form.
#include "regression/Enquadramento.h"

#include "files/LerArquivo.h"
#include "regression/Distribuicoes.h"
#include "worksheet/Gridzelto.h"

#include "../worksheet/PlanilhaTeste.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace zelto;
using G = TGrau;

namespace {

TExtrapolacaoVariavel Variavel(long double valor, long double minimo, long double maximo,
                               long double variacao, bool qualitativa = false) {
    TExtrapolacaoVariavel v;
    v.Valor = valor;
    v.Minimo = minimo;
    v.Maximo = maximo;
    v.VariacaoFronteira = variacao;
    v.Qualitativa = qualitativa;
    return v;
}

TGrau Extrapolacao(std::vector<TExtrapolacaoVariavel> v, long double conjunta) {
    TMedidasExtrapolacao m;
    m.Variaveis = std::move(v);
    m.VariacaoConjunta = conjunta;
    return AvaliaExtrapolacao(m).Grau;
}

bool Ajusta(TSistema &s, std::vector<TTermo> termos) {
    s.DefineTermos(termos);
    if (!s.MontaSistema() || !s.Resolve()) return false;
    return s.CompletaAjuste();
}

// Windsor's first model of the search: Ln(price) ~ Ln(lotsize) + 1/bedrooms + the rest as they
// are.
const std::vector<TTermo> windsor1 = {{1, 2}, {2, 2}, {3, 8}, {4, 1},  {5, 1},  {6, 1},
                                      {7, 1}, {8, 1}, {9, 1}, {10, 1}, {11, 1}, {12, 1}};

} // namespace

TEST(Enquadramento, CriteriaLimitsAreReachedExactly) {
    // Criterion 2, k = 3: 6(k+1) = 24, 4(k+1) = 16, 3(k+1) = 12.
    EXPECT_EQ(GrauQuantidadeDados(24, 3), G::III);
    EXPECT_EQ(GrauQuantidadeDados(23, 3), G::II);
    EXPECT_EQ(GrauQuantidadeDados(12, 3), G::I);
    EXPECT_EQ(GrauQuantidadeDados(11, 3), G::Nenhum);
    // Criterion 5: a significance computed at the 10 % critical t is 10 % up to rounding.
    const std::uint16_t gl = 37;
    const long double em10 = 2 * CaudaStudent(gl, QuantilStudent(gl, 0.05L));
    EXPECT_EQ(GrauSignificanciaRegressores(em10), G::III);
    EXPECT_EQ(GrauSignificanciaRegressores(0.10L), G::III);
    EXPECT_EQ(GrauSignificanciaRegressores(0.1000001L), G::II);
    EXPECT_EQ(GrauSignificanciaRegressores(0.30L), G::I);
    EXPECT_EQ(GrauSignificanciaRegressores(0.3000001L), G::Nenhum);
    // Criterion 6.
    EXPECT_EQ(GrauSignificanciaModelo(0.01L), G::III);
    EXPECT_EQ(GrauSignificanciaModelo(0.0100001L), G::II);
    EXPECT_EQ(GrauSignificanciaModelo(0.05L), G::I);
    EXPECT_EQ(GrauSignificanciaModelo(0.0500001L), G::Nenhum);
    EXPECT_EQ(GrauSignificanciaModelo(Infinito), G::Nenhum);
    // Precisão.
    EXPECT_EQ(GrauPrecisao(AmplitudeRelativa({85, 115}, 100)), G::III);
    EXPECT_EQ(GrauPrecisao(0.3000001L), G::II);
    EXPECT_EQ(GrauPrecisao(0.50L), G::I);
    EXPECT_EQ(GrauPrecisao(0.5000001L), G::Nenhum);
    EXPECT_EQ(AmplitudeRelativa({-1, 1}, 0), Infinito);
    const TIntervalo campo = CampoArbitrio(200);
    EXPECT_DOUBLE_EQ(static_cast<double>(campo.Inferior), 170);
    EXPECT_DOUBLE_EQ(static_cast<double>(campo.Superior), 230);
}

TEST(Enquadramento, ExtrapolationGrades) {
    EXPECT_EQ(Extrapolacao({Variavel(5, 1, 10, 0), Variavel(1, 1, 10, 0)}, 0), G::III);
    // One variable 15 % from the estimate at the frontier, in modulus: II; a hair more: I.
    EXPECT_EQ(Extrapolacao({Variavel(12, 1, 10, 0.15L)}, 0.15L), G::II);
    EXPECT_EQ(Extrapolacao({Variavel(12, 1, 10, -0.15L)}, -0.15L), G::II);
    EXPECT_EQ(Extrapolacao({Variavel(12, 1, 10, 115.0L / 100 - 1)}, 115.0L / 100 - 1), G::II);
    EXPECT_EQ(Extrapolacao({Variavel(12, 1, 10, 0.1500001L)}, 0.1500001L), G::I);
    // Two variables: at most I, each and both together within 20 %.
    EXPECT_EQ(Extrapolacao({Variavel(12, 1, 10, 0.20L), Variavel(0.8L, 1, 10, -0.1L)}, 0.08L),
              G::I);
    EXPECT_EQ(Extrapolacao({Variavel(12, 1, 10, 0.15L), Variavel(0.8L, 1, 10, 0.1L)}, 0.2001L),
              G::Nenhum);
    EXPECT_EQ(Extrapolacao({Variavel(12, 1, 10, 0.21L)}, 0.21L), G::Nenhum);
    // The measure limits: twice the maximum, half the minimum, both included.
    EXPECT_EQ(Extrapolacao({Variavel(20, 2, 10, 0.01L)}, 0.01L), G::II);
    EXPECT_EQ(Extrapolacao({Variavel(20.001L, 2, 10, 0.01L)}, 0.01L), G::Nenhum);
    EXPECT_EQ(Extrapolacao({Variavel(1, 2, 10, 0.01L)}, 0.01L), G::II);
    EXPECT_EQ(Extrapolacao({Variavel(0.999L, 2, 10, 0.01L)}, 0.01L), G::Nenhum);
    EXPECT_EQ(Extrapolacao({Variavel(-1, 0, 10, 0.01L)}, 0.01L), G::Nenhum); // limit 0
    // A code outside its sample range has no measure; an estimate not computable at the frontier.
    EXPECT_EQ(Extrapolacao({Variavel(4, 1, 3, 0.01L, true)}, 0.01L), G::Nenhum);
    EXPECT_EQ(Extrapolacao({Variavel(12, 1, 10, Infinito)}, Infinito), G::Nenhum);
}

TEST(Enquadramento, OverallGradeAtItsPointTotals) {
    // 16 points with 2, 4, 5, 6 at III and 1, 3 at II: III.
    EXPECT_EQ(GrauGeral({G::II, G::III, G::II, G::III, G::III, G::III}), G::III);
    // 16 points, criterion 5 one grade short: II.
    EXPECT_EQ(GrauGeral({G::III, G::III, G::II, G::III, G::II, G::III}), G::II);
    // 17 points but criterion 1 at I: II.
    EXPECT_EQ(GrauGeral({G::I, G::III, G::III, G::III, G::III, G::III}), G::II);
    // 15 points, obligatory ones at III: II.
    EXPECT_EQ(GrauGeral({G::II, G::III, G::I, G::III, G::III, G::III}), G::II);
    // 10 points with 2, 4, 5, 6 at II: II; 10 points with criterion 6 at I: I.
    EXPECT_EQ(GrauGeral({G::I, G::II, G::I, G::II, G::II, G::II}), G::II);
    EXPECT_EQ(GrauGeral({G::II, G::II, G::I, G::II, G::II, G::I}), G::I);
    // 6 points, all at I: I; one without grade: none.
    EXPECT_EQ(GrauGeral({G::I, G::I, G::I, G::I, G::I, G::I}), G::I);
    EXPECT_EQ(GrauGeral({G::III, G::III, G::III, G::Nenhum, G::III, G::III}), G::Nenhum);
    EXPECT_EQ(TextoGrau(G::Nenhum), "sem enquadramento");
    EXPECT_EQ(TextoGrau(G::II), "II");
}

TEST(Enquadramento, FundamentacaoWithAndWithoutSubject) {
    TDadosFundamentacao d;
    d.n = 72;
    d.k = 11;
    d.SignificanciaRegressores = 0.03L;
    d.SignificanciaModelo = 1e-20L;
    // Without the subject criterion 4 is not evaluated and the overall grade not stated;
    // undeclared criteria 1 and 3 count as I.
    TFundamentacao f = GrauFundamentacao(d);
    EXPECT_FALSE(f.Grau.has_value());
    EXPECT_FALSE(f.Criterios[3].Avaliado);
    EXPECT_FALSE(f.Criterios[0].Declarado);
    EXPECT_EQ(f.Criterios[0].Grau, G::I);
    EXPECT_EQ(f.Pontos, 1u + 3 + 1 + 0 + 3 + 3);
    d.Extrapolacao = TMedidasExtrapolacao{};
    f = GrauFundamentacao(d);
    EXPECT_EQ(f.Grau, G::II);
    EXPECT_EQ(f.Pontos, 14u);
    d.Caracterizacao = G::II;
    d.Identificacao = G::III;
    f = GrauFundamentacao(d);
    EXPECT_EQ(f.Grau, G::III);
    EXPECT_TRUE(f.Criterios[2].Declarado);
    EXPECT_EQ(f.Criterios[1].Valor, 72);
    d.n = 71; // one sample short of 6(k + 1)
    EXPECT_EQ(GrauFundamentacao(d).Grau, G::II);
}

TEST(Micronumerosidade, SamplesPerCategory) {
    EXPECT_EQ(MinimoPorCategoria(30), 3u);
    EXPECT_EQ(MinimoPorCategoria(31), 4u); // 10 % of 31, rounded up
    EXPECT_EQ(MinimoPorCategoria(50), 5u);
    EXPECT_EQ(MinimoPorCategoria(100), 10u);
    const TContagemCategoria c[] = {{"v", "a", 0, 5}, {"v", "b", 1, 4}};
    const TMicronumerosidade m = AvaliaMicronumerosidade(50, 3, c);
    EXPECT_EQ(m.MinimoDados, 12u);
    ASSERT_EQ(m.Falhas.size(), 1u);
    EXPECT_EQ(m.Falhas[0].Categoria, "b");
    EXPECT_FALSE(AvaliaMicronumerosidade(11, 3, {}).Atende());
    EXPECT_TRUE(AvaliaMicronumerosidade(12, 3, {}).Atende());
}

// Windsor's dichotomous variables: every value of each has at least 10 of the 546 sales
// (gasheat, the rarest, has 25 "Sim").
TEST(Micronumerosidade, WindsorDichotomousVariables) {
    TGridzelto g;
    std::string resumo;
    ASSERT_TRUE(LerArquivo(ZELTO_EXEMPLOS "/windsor.QV3", g, 255, resumo, nullptr).ok);
    TSistema s(g);
    s.CarregaDados();
    ASSERT_TRUE(Ajusta(s, windsor1));
    const std::vector<TContagemCategoria> c = ContagensCategorias(s);
    ASSERT_EQ(c.size(), 12u); // six variables, two values each
    std::size_t gas = 0;
    for (const TContagemCategoria &x : c)
        if (x.Variavel == "gasheat" && x.Categoria == "Sim") gas = x.Amostras;
    EXPECT_EQ(gas, 25u);
    const TMicronumerosidade m = AvaliaMicronumerosidade(s.n(), s.m() - 1, c);
    EXPECT_EQ(m.MinimoCategoria, 10u);
    EXPECT_TRUE(m.Atende());
}

// A made-up worksheet of 20 samples whose qualitative "Padrão" has 2 samples of "Alto": the
// one failure listed. The subject of a standard no sample has ("Luxo") extrapolates a code.
TEST(Micronumerosidade, MadeUpWorksheetWithASmallCategory) {
    using teste::Define;
    using teste::Var;
    TGridzelto g;
    TVariavel valor = Var(tvNumerica, "Valor");
    valor.Dependente = true;
    Define(g, 1, valor);
    Define(g, 2, Var(tvNumerica, "Área"));
    Define(g, 3, Var(tvQualitativa, "Padrão"),
           TDataFormat{teLista, {{"Baixo", 1}, {"Médio", 2}, {"Alto", 3}, {"Luxo", 4}}});
    TVariavel esquina = Var(tvDicotomica, "Esquina");
    esquina.Rotulos = "Sim|Não";
    Define(g, 4, esquina);
    for (int r = 1; r <= 20; ++r) {
        const int area = 50 + 7 * r % 40,
                  padrao = r <= 9    ? 1
                           : r <= 18 ? 2
                                     : 3,
                  canto = r % 4 == 0 ? 1 : 0;
        g.TextoDeValor(1, r, 1000 + 10 * area + 200 * padrao + 50 * canto + (r * 37 % 11));
        g.TextoDeValor(2, r, area);
        g.TextoDeValor(3, r, padrao);
        g.TextoDeValor(4, r, canto);
    }
    g.DefineLinhasUsadas(20);
    g.ValoresObjeto = {"Área=60", "Padrão=Luxo", "Esquina=FALSE"};
    TSistema s(g);
    s.CarregaDados();
    ASSERT_TRUE(Ajusta(s, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
    const TEnquadramento e = Enquadra(s, {});
    const TMicronumerosidade &m = e.Micronumerosidade;
    EXPECT_EQ(m.MinimoCategoria, 3u);
    EXPECT_TRUE(m.DadosSuficientes());
    ASSERT_EQ(m.Falhas.size(), 1u);
    EXPECT_EQ(m.Falhas[0].Variavel, "Padrão");
    EXPECT_EQ(m.Falhas[0].Categoria, "Alto");
    EXPECT_EQ(m.Falhas[0].Amostras, 2u);
    const TFundamentacao &f = e.Fundamentacao;
    EXPECT_EQ(f.Criterios[1].Grau, G::II); // 20 >= 4(k + 1) = 16, < 24
    EXPECT_EQ(f.Extrapolacao.Extrapolando, 1u);
    EXPECT_FALSE(f.Extrapolacao.DentroDasMedidas);
    EXPECT_EQ(f.Criterios[3].Grau, G::Nenhum);
    EXPECT_EQ(f.Grau, G::Nenhum);
}

// The variation at the frontier in a model of logarithms and reciprocals has a closed form:
// Ŷ/Ŷf = (v/máx)^b for Ln(lotsize), exp(b·(1/v − 1/mín)) for 1/bedrooms.
TEST(Enquadramento, WindsorExtrapolationMeasures) {
    TGridzelto g;
    std::string resumo;
    ASSERT_TRUE(LerArquivo(ZELTO_EXEMPLOS "/windsor.QV3", g, 255, resumo, nullptr).ok);
    TSistema s(g);
    s.CarregaDados();
    ASSERT_TRUE(Ajusta(s, windsor1));
    // The shipped subject lies inside the sample.
    TEnquadramento e = Enquadra(s, {});
    ASSERT_TRUE(e.Fundamentacao.Grau.has_value());
    EXPECT_EQ(e.Fundamentacao.Extrapolacao.Extrapolando, 0u);
    EXPECT_EQ(e.Fundamentacao.Criterios[3].Grau, G::III);
    EXPECT_EQ(e.Fundamentacao.Grau, G::II); // 1 and 3 not declared
    EXPECT_EQ(Enquadra(s, {G::II, G::II}).Fundamentacao.Grau, G::III);
    ASSERT_TRUE(e.Precisao && e.CampoArbitrio);
    EXPECT_EQ(e.Precisao->Grau, G::III);
    EXPECT_NEAR(static_cast<double>(e.CampoArbitrio->Superior / e.Precisao->Estimativa), 1.15,
                1e-15);

    const TIntervalo lote = LimitesAmostrais(s, 2), quartos = LimitesAmostrais(s, 3);
    EXPECT_EQ(lote.Superior, 16200);
    EXPECT_EQ(quartos.Inferior, 1);
    for (std::string &v : g.ValoresObjeto) {
        if (v.rfind("lotsize=", 0) == 0) v = "lotsize=17820"; // 10 % above the maximum
        if (v.rfind("bedrooms=", 0) == 0) v = "bedrooms=0,8";
    }
    const std::optional<TMedidasExtrapolacao> m = MedidasExtrapolacao(s);
    ASSERT_TRUE(m);
    const long double b2 = s.Coeficiente(2), b3 = s.Coeficiente(3);
    const long double r2 = std::pow(1.1L, b2), r3 = std::exp(b3 * (1 / 0.8L - 1));
    EXPECT_NEAR(static_cast<double>(m->Variaveis[0].VariacaoFronteira), static_cast<double>(r2 - 1),
                1e-13);
    EXPECT_NEAR(static_cast<double>(m->Variaveis[1].VariacaoFronteira), static_cast<double>(r3 - 1),
                1e-13);
    EXPECT_NEAR(static_cast<double>(m->VariacaoConjunta), static_cast<double>(r2 * r3 - 1), 1e-13);
    for (std::size_t j = 2; j < m->Variaveis.size(); ++j)
        EXPECT_EQ(m->Variaveis[j].VariacaoFronteira, 0) << j;
    // Without a subject value for a regressor nothing is measured.
    for (std::string &v : g.ValoresObjeto)
        if (v.rfind("lotsize=", 0) == 0) v = "lotsize=";
    EXPECT_FALSE(MedidasExtrapolacao(s));
    e = Enquadra(s, {});
    EXPECT_FALSE(e.Fundamentacao.Grau || e.Precisao || e.CampoArbitrio);
}
