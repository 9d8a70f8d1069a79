// The regression system on small worksheets whose answers can be worked out by hand, and on
// the degenerate fits where a careless implementation divides by zero.
#include "regression/Sistema.h"
#include "regression/FormacaoValores.h"

#include "common/Numeros.h"
#include "regression/Transformacoes.h"
#include "worksheet/Gridzelto.h"

#include "../worksheet/PlanilhaTeste.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace zelto;

namespace {

// A worksheet with one numeric column per name; values written with "," as the decimal
// separator, as the worksheet keeps them.
void Preenche(TGridzelto &g, const std::vector<std::string> &nomes,
              const std::vector<std::vector<double>> &linhas) {
    for (std::size_t c = 0; c < nomes.size(); ++c) {
        TVariavel v = teste::Var(tvNumerica, nomes[c]);
        v.Dependente = c == 0;
        v.CasasDecimais = 6;
        teste::Define(g, static_cast<int>(c) + 1, v);
    }
    for (std::size_t r = 0; r < linhas.size(); ++r)
        for (std::size_t c = 0; c < linhas[r].size(); ++c)
            g.TextoDeValor(static_cast<int>(c) + 1, static_cast<int>(r) + 1, linhas[r][c]);
    g.DefineLinhasUsadas(static_cast<int>(linhas.size()));
}

// Terms from (column, code) pairs, then the fit up to the residual order.
bool Ajusta(TSistema &s, std::vector<TTermo> termos) {
    s.DefineTermos(termos);
    if (!s.MontaSistema() || !s.Resolve()) return false;
    s.CalculaEstatisticas();
    s.Inverte();
    s.CalculaResiduos();
    s.CalculaAlavancas();
    s.OrdenaResiduos();
    return true;
}

// Every query of a fitted system over every term and sample: none may be NaN.
void SemNaN(const TSistema &s, const char *caso) {
    std::vector<long double> v{s.R(),
                               s.F(),
                               s.nSQR(),
                               s.nSQE(),
                               s.nSQT(),
                               s.nMSE(),
                               s.R2Ajustado(),
                               s.TCorrelacao(),
                               s.VarianciaResidual(),
                               s.DesvioMedioAbsoluto(),
                               s.Assimetria(),
                               s.Curtose(),
                               s.MedianaAgrupada(),
                               s.ModaAgrupada(),
                               s.LarguraClasse()};
    for (std::size_t k = 1; k <= s.m(); ++k) {
        v.insert(v.end(), {s.Coeficiente(k), s.ErroPadrao(k), s.TCoeficiente(k), s.Media(k),
                           s.DesvioPadrao(k), s.ProdutoCentrado(k, k)});
    }
    for (std::size_t i = 1; i <= s.n(); ++i) {
        v.insert(v.end(),
                 {s.Residuo(i), s.ResiduoPadronizado(i), s.ResiduoStudentizado(i),
                  s.ResiduoDeletado(i), s.VarianciaSemAmostra(i), s.ResiduoSobreDesvioSemAmostra(i),
                  s.ResiduoStudentizadoExterno(i), s.Alavanca(i), s.DistanciaCook(i)});
        for (auto f : {&TSistema::IntervaloMedia, &TSistema::IntervaloPredicao})
            if (auto iv = (s.*f)(s.PontoAmostra(i), 0.8L))
                v.insert(v.end(), {iv->Inferior, iv->Superior});
    }
    for (std::size_t a = 0; a <= s.NumeroClasses() + 1; ++a)
        v.push_back(s.MediaClasse(a));
    for (std::size_t j = 0; j < v.size(); ++j) {
        EXPECT_FALSE(std::isnan(v[j])) << caso << " value " << j;
        EXPECT_LE(std::fabs(v[j]), Infinito) << caso << " value " << j;
    }
}


} // namespace

// y = 2, 4, 5, 4, 5 on x = 1..5: b = (2.2, 0.6), SST 6, SSR 3.6, SSE 2.4, s² = 0.8,
// h = 1/5 + (x − 3)²/10.
TEST(Sistema, SimpleRegressionByHand) {
    TGridzelto g;
    Preenche(g, {"y", "x"}, {{2, 1}, {4, 2}, {5, 3}, {4, 4}, {5, 5}});
    TSistema s(g);
    s.CarregaDados();
    ASSERT_TRUE(Ajusta(s, {{1, 1}, {2, 1}}));
    const long double e = 1e-15L;
    EXPECT_EQ(s.n(), 5u);
    EXPECT_EQ(s.m(), 2u);
    EXPECT_NEAR(s.Coeficiente(1), 2.2L, e);
    EXPECT_NEAR(s.Coeficiente(2), 0.6L, e);
    EXPECT_NEAR(s.nSQT(), 30, 1e-13L);
    EXPECT_NEAR(s.nSQR(), 18, 1e-13L);
    EXPECT_NEAR(s.nSQE(), 12, 1e-13L);
    EXPECT_NEAR(s.nMSE(), 4, 1e-13L);
    EXPECT_NEAR(s.R2(), 0.6L, e);
    EXPECT_NEAR(s.F(), 4.5L, 1e-14L);
    EXPECT_NEAR(s.R2Ajustado(), 1 - 0.4L * 4 / 3, e);
    EXPECT_NEAR(s.TCorrelacao(), std::sqrt(0.6L) * std::sqrt(3.0L) / std::sqrt(0.4L), 1e-14L);
    EXPECT_NEAR(s.VarianciaResidual(), 0.8L, e);
    EXPECT_NEAR(s.ErroPadrao(2), std::sqrt(0.08L), e);
    EXPECT_NEAR(s.Media(1), 4, e);
    EXPECT_NEAR(s.Media(2), 3, e);
    EXPECT_NEAR(s.ProdutoCruzado(1, 2), 66, e);
    EXPECT_NEAR(s.ProdutoCentrado(2, 2), 50, e);
    EXPECT_NEAR(s.DesvioPadrao(2), std::sqrt(2.5L), e);
    const long double residuos[] = {-0.8L, 0.6L, 1.0L, -0.6L, -0.2L};
    const long double alavancas[] = {0.6L, 0.3L, 0.2L, 0.3L, 0.6L};
    for (std::size_t i = 1; i <= 5; ++i) {
        const long double r = residuos[i - 1], h = alavancas[i - 1];
        EXPECT_NEAR(s.Residuo(i), r, e) << i;
        EXPECT_NEAR(s.Alavanca(i), h, e) << i;
        EXPECT_NEAR(s.ResiduoPadronizado(i), r / std::sqrt(0.8L), 1e-14L) << i;
        EXPECT_NEAR(s.ResiduoStudentizado(i), r / std::sqrt(0.8L * (1 - h)), 1e-14L) << i;
        EXPECT_NEAR(s.ResiduoDeletado(i), r / (1 - h), 1e-14L) << i;
        const long double v = (2.4L - r * r / (1 - h)) / 2;
        EXPECT_NEAR(s.VarianciaSemAmostra(i), v, 1e-14L) << i;
        EXPECT_NEAR(s.ResiduoStudentizadoExterno(i), r / std::sqrt(v * (1 - h)), 1e-13L) << i;
        EXPECT_NEAR(s.DistanciaCook(i), r * r / (0.8L * (1 - h)) * h / (2 * (1 - h)), 1e-14L) << i;
        EXPECT_EQ(s.NumeroAmostra(i), static_cast<long>(i));
    }
    // Ascending order of the residuals: samples 1, 4, 5, 2, 3.
    const std::size_t ordem[] = {1, 4, 5, 2, 3};
    for (std::size_t p = 1; p <= 5; ++p)
        EXPECT_EQ(s.OrdemResiduo(p), ordem[p - 1]);
    EXPECT_NEAR(s.ResiduoOrdenado(1), -0.8L, e);
    EXPECT_NEAR(s.DesvioMedioAbsoluto(), 3.2L / 5, e);
    EXPECT_NEAR(s.Momento2(), 2.4L / 5, e);
    EXPECT_EQ(s.Equacao(), "[y] = 2,2000  + 0,6000 x [x]");
    EXPECT_EQ(s.EquacaoOriginal(), "[y] =  2,2000  + 0,6000 x [x]");
    EXPECT_NEAR(s.DurbinWatson(), (1.96L + 0.16L + 2.56L + 0.16L) / 2.4L, 1e-15L);
    // Simple regression: the simple-form t of the slope is the usual one, 0.6/√0.08 = 2.12,
    // below t(3; 2.5 %) = 3.18 and above t(3; 15 %) = 1.25.
    EXPECT_EQ(s.RegressoresSignificativos(0.05L), 0u);
    EXPECT_EQ(s.RegressoresSignificativos(0.30L), 1u);
}

// The cache keeps a failed transformation: every model that uses the (column, code) pair on
// a sample where it failed is rejected, however many models ran since it was computed.
TEST(Sistema, FailedTransformationRejectsEveryModelThatUsesIt) {
    TGridzelto g;
    Preenche(g, {"y", "x", "z"}, {{3, 1, 2}, {5, 2, 3}, {6, 0, 5}, {9, 4, 4}, {11, 5, 7}});
    TSistema s(g);
    s.CarregaDados();
    struct {
        std::vector<TTermo> termos;
        bool ok;
        std::uint8_t erro;
    } passos[] = {
        {{{1, 1}, {2, 2}}, false, 5},         // Ln(0) on sample 3
        {{{1, 1}, {3, 1}}, true, 0},          // another model in between
        {{{1, 2}, {2, 2}, {3, 1}}, false, 5}, // the cached Ln(x) again, with other terms
        {{{1, 1}, {2, 8}}, false, 1},         // 1/0
        {{{1, 1}, {3, 1}, {2, 8}}, false, 1}, // 1/x cached, in another position
        {{{1, 1}, {2, 2}}, false, 5},         // and the first model once more
        {{{1, 1}, {2, 1}}, true, 0},          // x itself is fine
        {{{1, 14}, {2, 5}}, true, 0},         // √0 is fine
    };
    for (std::size_t p = 0; p < std::size(passos); ++p) {
        s.DefineTermos(passos[p].termos);
        EXPECT_EQ(s.MontaSistema(), passos[p].ok) << "step " << p;
        EXPECT_EQ(s.ErroMontagem(), passos[p].erro) << "step " << p;
    }
    // Each of the 8 (column, code) pairs used was transformed once.
    EXPECT_EQ(s.Dados().Transformacoes(), 8u);

    // Without the faulty sample the same models fit; a disregarded sample is never transformed.
    g.AlternaDesconsiderada(3);
    s.CarregaDados();
    EXPECT_TRUE(Ajusta(s, {{1, 1}, {2, 2}}));
    EXPECT_EQ(s.n(), 4u);
    EXPECT_TRUE(Ajusta(s, {{1, 1}, {3, 1}, {2, 8}}));
}

// The model search gathers each candidate's equations from sums of the cached columns,
// computed once, and solves them apart from the system: the numbers must be the system's own.
TEST(Sistema, GatheredEquationsAreTheSystems) {
    TGridzelto g;
    Preenche(g, {"y", "a", "b", "c"},
             {{12.5, 1, 7, 3}, {7.25, 2, 3, 9}, {9, 3.5, 8, 2}, {4.75, 4, 1, 6}, {8.5, 6, 5, 5},
              {3, 7.5, 2, 8}, {6.5, 8, 6, 1}});
    g.AlternaDesconsiderada(3);
    TSistema s(g);
    s.CarregaDados();
    const std::vector<TTermo> termos{{1, 2}, {2, 8}, {3, 5}, {4, 2}};
    ASSERT_TRUE(Ajusta(s, termos));
    TDadosRegressao &dados = s.Dados();
    const auto &ativas = dados.Ativas();
    std::vector<const TColunaTransformada *> x;
    for (const TTermo &t : termos) x.push_back(&dados.Coluna(t.Coluna, t.Codigo));
    TEquacoesNormais eq;
    eq.Dimensiona(termos.size());
    eq.n = ativas.size();
    eq.a(1, 1) = static_cast<long double>(ativas.size());
    eq.c[0] = SomaProdutos(*x[0], nullptr, ativas);
    eq.Syy = SomaProdutos(*x[0], x[0], ativas);
    for (std::size_t k = 2; k <= termos.size(); ++k) {
        eq.a(1, k) = eq.a(k, 1) = SomaProdutos(*x[k - 1], nullptr, ativas);
        eq.c[k - 1] = SomaProdutos(*x[k - 1], x[0], ativas);
        for (std::size_t j = 2; j <= termos.size(); ++j)
            eq.a(j, k) = SomaProdutos(*x[j - 1], x[k - 1], ativas);
    }
    EXPECT_EQ(eq.A, s.Equacoes().A);
    EXPECT_EQ(eq.c, s.Equacoes().c);
    EXPECT_EQ(eq.Syy, s.Equacoes().Syy);
    std::vector<long double> b(termos.size());
    ASSERT_TRUE(ResolveEquacoes(eq, b));
    const TAjuste ajuste = CalculaAjuste(eq, b);
    for (std::size_t k = 1; k <= termos.size(); ++k) EXPECT_EQ(b[k - 1], s.Coeficiente(k));
    EXPECT_EQ(ajuste.R, s.R());
    EXPECT_EQ(ajuste.F, s.F());
    EXPECT_EQ(ContaRegressoresSignificativos(eq, ajuste, b, 0.2L),
              s.RegressoresSignificativos(0.2L));
}

// Singular systems fail; fits without residual degrees of freedom give the marker, never NaN.
TEST(Sistema, DegenerateFits) {
    TGridzelto g;
    Preenche(g, {"y", "x", "x2", "c", "w"},
             {{1, 1, 1, 2, 4}, {3, 2, 2, 2, 1}, {2, 3, 3, 2, 7}, {5, 4, 4, 2, 2}, {4, 6, 6, 2, 5}});
    TSistema s(g);
    s.CarregaDados();
    EXPECT_FALSE(Ajusta(s, {{1, 1}, {2, 1}, {3, 1}})) << "identical regressors";
    EXPECT_FALSE(Ajusta(s, {{1, 1}, {4, 1}})) << "constant regressor";
    EXPECT_FALSE(Ajusta(s, {{1, 1}, {2, 1}, {5, 1}, {2, 8}, {5, 2}, {2, 5}})) << "n < m";

    // n − m − 1 = 0: the variance without sample i has no degrees of freedom.
    ASSERT_TRUE(Ajusta(s, {{1, 1}, {2, 1}, {5, 1}, {5, 8}}));
    EXPECT_EQ(s.n(), 5u);
    EXPECT_EQ(s.m(), 4u);
    ASSERT_FALSE(s.AjusteExato());
    for (std::size_t i = 1; i <= 5; ++i) {
        EXPECT_EQ(s.VarianciaSemAmostra(i), Infinito);
        EXPECT_EQ(s.ResiduoSobreDesvioSemAmostra(i), Infinito);
        EXPECT_EQ(s.ResiduoStudentizadoExterno(i), Infinito);
    }
    SemNaN(s, "n - m - 1 = 0");

    // n = m: no residual degree of freedom, the model is refused (four points, four
    // coefficients would be an "exact fit").
    g.AlternaDesconsiderada(5);
    s.CarregaDados();
    EXPECT_FALSE(Ajusta(s, {{1, 1}, {2, 1}, {5, 1}, {5, 8}}));
    EXPECT_EQ(s.n(), 4u);
    EXPECT_EQ(s.Recusa(), TRecusa::AmostrasInsuficientes);
    EXPECT_EQ(s.MotivoRecusa(), "amostras insuficientes: n = 4 para 4 coeficientes");
    EXPECT_EQ(s.R(), 0);
    EXPECT_EQ(s.F(), 0);

    // A model with the dependent variable alone: F = 0, R = 0, autocorrelation inconclusive.
    g.AlternaDesconsiderada(5);
    s.CarregaDados();
    ASSERT_TRUE(Ajusta(s, {{1, 1}}));
    EXPECT_EQ(s.F(), 0);
    EXPECT_EQ(s.R(), 0);
    EXPECT_NEAR(s.Coeficiente(1), 3, 1e-15L);
    EXPECT_EQ(s.TesteAutocorrelacao(0.05L), 2);
    SemNaN(s, "m = 1");
    // A constant dependent variable is refused, never "R = 1" ...
    EXPECT_FALSE(Ajusta(s, {{4, 1}, {2, 1}}));
    EXPECT_EQ(s.MotivoRecusa(), "a variável dependente transformada é constante");
    EXPECT_FALSE(Ajusta(s, {{4, 2}}));
    EXPECT_EQ(s.Recusa(), TRecusa::DependenteConstante);
    // ... but for the descriptive mode's single model, a sample of one value: R = 1.
    {
        g.Modo.Inferencial = false;
        s.CarregaDados();
        ASSERT_TRUE(Ajusta(s, {{4, 1}}));
        EXPECT_EQ(s.R(), 1);
        EXPECT_EQ(s.F(), 0);
        EXPECT_EQ(s.nSQE(), 0);
        SemNaN(s, "constant y, descriptive");
        EXPECT_FALSE(Ajusta(s, {{4, 1}, {2, 1}}));
    }
}

// The reasons a model is refused, in the user's words, with the term they concern.
TEST(Sistema, RefusalReasons) {
    TGridzelto g;
    // c is 7 everywhere (a constant whose elimination leaves rounding noise, not 0); z = 2x + 3w
    // with two decimals; d is x again; e is 2·x, which coincides with x under Ln up to Ln 2.
    Preenche(g, {"y", "x", "w", "c", "z", "d", "e"},
             {{1.5, 1.25, 4.1, 7, 14.8, 1.25, 2.5},
              {3.25, 2.5, 1.3, 7, 8.9, 2.5, 5},
              {2.75, 3.75, 7.7, 7, 30.6, 3.75, 7.5},
              {5.5, 4.1, 2.2, 7, 14.8, 4.1, 8.2},
              {4.25, 6.3, 5.55, 7, 29.25, 6.3, 12.6},
              {6.1, 7.2, 3.3, 7, 24.3, 7.2, 14.4}});
    TSistema s(g);
    s.CarregaDados();
    struct Caso {
        std::vector<TTermo> termos;
        TRecusa recusa;
        std::size_t termo;
        const char *motivo;
    } casos[] = {
        {{{1, 1}, {2, 1}, {4, 1}}, TRecusa::Singular, 3,
         "o sistema de equações é singular: a variável \"c\" é constante"},
        {{{1, 1}, {4, 2}, {2, 1}}, TRecusa::Singular, 2,
         "o sistema de equações é singular: a variável \"c\" (Logarítmica) é constante"},
        {{{1, 1}, {2, 1}, {3, 1}, {5, 1}}, TRecusa::Singular, 4,
         "o sistema de equações é singular: a variável \"z\" é combinação linear das variáveis "
         "anteriores do modelo"},
        {{{1, 1}, {2, 5}, {6, 5}}, TRecusa::Singular, 3,
         "o sistema de equações é singular: a variável \"d\" (Raiz Quadrada) é combinação linear "
         "das variáveis anteriores do modelo"},
        {{{1, 8}, {2, 2}, {7, 2}}, TRecusa::Singular, 3, nullptr},
        {{{4, 3}, {2, 1}}, TRecusa::DependenteConstante, 0,
         "a variável dependente transformada é constante"},
        {{{1, 1}, {2, 1}, {3, 1}, {6, 8}, {7, 4}, {5, 2}}, TRecusa::AmostrasInsuficientes, 0,
         "amostras insuficientes: n = 6 para 6 coeficientes"},
        {{{1, 2}, {2, 1}, {3, 9}}, TRecusa::Nenhuma, 0, ""},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(testing::Message() << "terms " << c.termos.size() << ", reason "
                                        << static_cast<int>(c.recusa));
        EXPECT_EQ(Ajusta(s, c.termos), c.recusa == TRecusa::Nenhuma);
        EXPECT_EQ(s.Recusa(), c.recusa);
        EXPECT_EQ(s.TermoRecusado(), c.termo);
        if (c.motivo) {
            EXPECT_EQ(s.MotivoRecusa(), c.motivo);
        }
    }
}

// An exact fit: residual quantities 0, adjusted R² 1, t of the correlation infinite, every
// regressor significant, normality rejected. LimiteAjusteExato = 1 measures it as it stands.
TEST(Sistema, ExactFit) {
    TGridzelto g;
    Preenche(g, {"y", "x"}, {{3, 1}, {7, 3}, {11, 5}, {15, 7}});
    TSistema s(g);
    s.CarregaDados();
    ASSERT_TRUE(Ajusta(s, {{1, 1}, {2, 1}}));
    EXPECT_TRUE(s.AjusteExato());
    EXPECT_EQ(s.VarianciaResidual(), 0);
    EXPECT_EQ(s.ErroPadrao(2), 0);
    EXPECT_EQ(s.TCoeficiente(2), Infinito);
    EXPECT_EQ(s.R2Ajustado(), 1);
    EXPECT_EQ(s.TCorrelacao(), Infinito);
    EXPECT_EQ(s.F(), Infinito);
    EXPECT_EQ(s.RegressoresSignificativos(0.05L), 1u);
    EXPECT_FALSE(s.TesteNormalidade(0.05L));
    for (std::size_t i = 1; i <= 4; ++i) {
        EXPECT_EQ(s.ResiduoPadronizado(i), 0);
        EXPECT_EQ(s.ResiduoStudentizado(i), 0);
        EXPECT_EQ(s.DistanciaCook(i), 0);
    }
    SemNaN(s, "exact fit");
    s.LimiteAjusteExato = 1;
    EXPECT_FALSE(s.AjusteExato());
    EXPECT_EQ(s.VarianciaResidual(), 0); // the residuals are exactly 0 here
    SemNaN(s, "exact fit, measured");
}

// Classes of the histogram, grouped median and mode, in the descriptive mode, where the
// "residuals" are the dependent values themselves: 1, 2, 2, 3, 3, 3, 4, 4, 5 in 4 classes of
// width 1 with counts 1, 2, 3, 3 (the last class is closed and takes the 5).
TEST(Sistema, ClassesMedianAndMode) {
    TGridzelto g;
    g.Modo.Inferencial = false;
    Preenche(g, {"v"}, {{3}, {1}, {4}, {2}, {3}, {5}, {2}, {4}, {3}});
    TSistema s(g);
    s.CarregaDados();
    ASSERT_TRUE(Ajusta(s, {{1, 1}}));
    EXPECT_NEAR(s.MediaResiduos(), 3, 1e-15L);
    EXPECT_NEAR(s.Residuo(1), 0, 1e-15L);
    EXPECT_EQ(s.NumeroClasses(), 4u);
    EXPECT_NEAR(s.LarguraClasse(), 1, 1e-15L);
    const std::size_t contagens[] = {0, 1, 2, 3, 3, 0};
    const std::size_t acumuladas[] = {0, 1, 3, 6, 9, 9};
    for (std::size_t a = 0; a <= 5; ++a) {
        EXPECT_EQ(s.ContagemClasse(a), contagens[a]) << a;
        EXPECT_EQ(s.ContagemAcumulada(a), acumuladas[a]) << a;
    }
    EXPECT_NEAR(s.LimiteInferiorClasse(3), 3, 1e-15L);
    EXPECT_NEAR(s.LimiteSuperiorClasse(4), 5, 1e-15L);
    EXPECT_NEAR(s.MediaClasse(4), 13.0L / 3, 1e-15L);
    EXPECT_EQ(s.MediaClasse(5), 0);
    // Median: class 3 is the first to reach 4.5 samples: 3 + (4.5 − 3)·1/3.
    EXPECT_NEAR(s.MedianaAgrupada(), 3.5L, 1e-15L);
    // Mode: class 3 is the first of the greatest count: 3 + (3 − 2)/(6 − 2 − 3).
    EXPECT_NEAR(s.ModaAgrupada(), 4, 1e-15L);

    // The mode's divisor: f(q) − f(q−1) > 0 whenever some count is not 0, and for no counts
    // the midpoint of the first class is returned.
    struct {
        std::vector<std::size_t> f;
        long double moda;
    } casos[] = {
        {{1, 3, 1}, 0.75L},   // symmetric neighbours: the midpoint of the class
        {{3, 3, 3}, 0.5L},    // plateau: the first class leans to its tied neighbour
        {{0, 2, 2, 0}, 1.0L}, // tie: the first of the greatest, leaning right
        {{0, 0, 0}, 0.25L},   // nothing counted: midpoint, never a division by 0
        {{5}, 0.25L},
    };
    for (const auto &c : casos)
        EXPECT_NEAR(ModaDeClasses(0, 0.5L, c.f), c.moda, 1e-15L) << c.f.size();

    // All values equal: one closed class of width 0 holds them all.
    TGridzelto h;
    h.Modo.Inferencial = false;
    Preenche(h, {"v"}, {{7}, {7}, {7}});
    TSistema t(h);
    t.CarregaDados();
    ASSERT_TRUE(Ajusta(t, {{1, 1}}));
    EXPECT_EQ(t.ContagemClasse(t.NumeroClasses()), 3u);
    EXPECT_EQ(t.ContagemAcumulada(t.NumeroClasses()), 3u);
    EXPECT_NEAR(t.ModaAgrupada(), 7, 1e-15L);
    EXPECT_NEAR(t.MedianaAgrupada(), 7, 1e-15L);
}

// Estimates, intervals and equations under transformations. The model 1/y on x is the model
// of the column y' = 1/y on x: the same fit, and intervals whose bounds are the reciprocals
// of the other's, in reverse order (the lower bound comes from ŷ' + d).
TEST(Sistema, TransformedDependentAndSubject) {
    const double ys[] = {2, 2.5, 4, 5, 8, 10};
    const double xs[] = {6, 5, 3.5, 2.5, 2, 1};
    std::vector<std::vector<double>> linhas;
    for (int i = 0; i < 6; ++i)
        linhas.push_back({ys[i], xs[i], 1 / ys[i]});
    TGridzelto g;
    Preenche(g, {"Valor", "Área", "Inverso"}, linhas);
    g.ValoresObjeto = {"VALOR=", "área= 3 ", "Inverso=0,1"};
    TSistema s(g);
    s.CarregaDados();
    ASSERT_TRUE(Ajusta(s, {{3, 1}, {2, 1}}));
    const auto direto = s.IntervaloMedia(s.PontoObjeto(), 0.8L);
    const auto previsto = s.IntervaloPredicao(s.PontoObjeto(), 0.8L);
    const auto termo = s.IntervaloTermo(2, s.PontoObjeto(), 0.8L);
    const long double b1 = s.Coeficiente(1), b2 = s.Coeficiente(2);
    ASSERT_TRUE(direto && previsto && termo);
    EXPECT_LT(direto->Inferior, direto->Superior);
    EXPECT_LT(previsto->Inferior, direto->Inferior);

    ASSERT_TRUE(Ajusta(s, {{1, 8}, {2, 1}}));
    EXPECT_NEAR(s.Coeficiente(1), b1, 1e-15L);
    EXPECT_NEAR(s.Coeficiente(2), b2, 1e-15L);
    EXPECT_EQ(s.ValorBrutoObjeto(2), 3);
    ASSERT_TRUE(s.ObjetoInformado());
    ASSERT_TRUE(s.ObjetoCompleto());
    const auto y0 = s.EstimativaModelo(s.PontoObjeto());
    ASSERT_TRUE(y0);
    EXPECT_NEAR(*y0, b1 + 3 * b2, 1e-15L);
    EXPECT_NEAR(*s.EstimativaObjeto(), 1 / (b1 + 3 * b2), 1e-15L);
    const auto media = s.IntervaloMedia(s.PontoObjeto(), 0.8L);
    const auto predicao = s.IntervaloPredicao(s.PontoObjeto(), 0.8L);
    const auto porTermo = s.IntervaloTermo(2, s.PontoObjeto(), 0.8L);
    ASSERT_TRUE(media && predicao && porTermo);
    EXPECT_NEAR(media->Inferior, 1 / direto->Superior, 1e-15L);
    EXPECT_NEAR(media->Superior, 1 / direto->Inferior, 1e-15L);
    EXPECT_NEAR(predicao->Inferior, 1 / previsto->Superior, 1e-15L);
    EXPECT_NEAR(porTermo->Inferior, 1 / termo->Superior, 1e-15L);
    // At the centre of x the mean interval is t·s/√n wide on each side in the model scale.
    TPonto centro{0, 0, s.Media(2)};
    const auto c = s.IntervaloMedia(centro, 0.8L);
    const long double d = 1.5332062740589443L * std::sqrt(s.VarianciaResidual() / 6); // t(4; 10 %)
    EXPECT_NEAR(1 / c->Inferior - 1 / c->Superior, 2 * d, 1e-9L);
    // Marginal effect of Área on Valor = 1/(b1 + b2·x): −b2/(b1 + b2·x)².
    const long double Y = *s.EstimativaObjeto();
    EXPECT_NEAR(*s.EfeitoMarginal(2, 3, Y), -b2 * Y * Y, 1e-15L);

    // A subject value that the model cannot transform: no estimate, no interval.
    ASSERT_TRUE(Ajusta(s, {{1, 2}, {2, 2}}));
    g.ValoresObjeto = {"Área=0"};
    EXPECT_FALSE(s.EstimativaObjeto());
    EXPECT_FALSE(s.IntervaloMedia(s.PontoObjeto(), 0.8L));
    g.ValoresObjeto = {"Área="};
    EXPECT_TRUE(s.ObjetoInformado() == false && !s.ObjetoCompleto());
    EXPECT_FALSE(s.EstimativaObjeto()) << "an empty value counts as 0";
    // An estimate whose inverse faults in the original scale: √ of a negative ŷ'.
    ASSERT_TRUE(Ajusta(s, {{1, 4}, {2, 1}}));
    g.ValoresObjeto = {"Área=1000"};
    ASSERT_LT(*s.EstimativaModelo(s.PontoObjeto()), 0);
    EXPECT_FALSE(s.EstimativaObjeto());
    EXPECT_FALSE(s.IntervaloPredicao(s.PontoObjeto(), 0.8L));
}

// Both equation texts: coefficients with five significant digits, signs, the "1/" forms read
// as a division, the inverse prefix and suffix of the dependent code.
TEST(Sistema, EquationTexts) {
    TGridzelto g;
    Preenche(g, {"Valor", "Área", "Frente", "Nada"},
             {{10, 1, 9, 1}, {7, 2, 8, 2}, {6, 4, 5, 3}, {4, 5, 6, 4}, {3, 8, 2, 5}, {2, 9, 1, 6}});
    TSistema s(g);
    s.CarregaDados();
    ASSERT_TRUE(Ajusta(s, {{1, 2}, {2, 8}, {3, 5}}));
    const std::string b1 = FormatoSignificativo(s.Coeficiente(1), 5);
    const auto parte = [&](std::size_t k) {
        const long double b = s.Coeficiente(k);
        return std::string(b >= 0 ? "  + " : "  - ") + FormatoSignificativo(std::fabs(b), 5);
    };
    EXPECT_EQ(s.Equacao(),
              "Ln([Valor]) = " + b1 + parte(2) + " /[Área]" + parte(3) + " x [Frente]%^%1/2%");
    EXPECT_EQ(s.EquacaoOriginal(),
              "[Valor] = Exp( " + b1 + parte(2) + " /[Área]" + parte(3) + " x [Frente]%^%1/2%)");
    ASSERT_TRUE(Ajusta(s, {{1, 12}, {2, 14}}));
    EXPECT_EQ(s.EquacaoOriginal(), "[Valor] = 1/( " + FormatoSignificativo(s.Coeficiente(1), 5) +
                                       parte(2) + " /[Área]%^%1/3%)%^%2%");
    // A dependent code 0 has no equation (its column of zeros is constant: no fit either).
    EXPECT_FALSE(Ajusta(s, {{1, 0}, {2, 1}}));
    EXPECT_EQ(s.Recusa(), TRecusa::DependenteConstante);
    EXPECT_EQ(s.Equacao(), "");
    EXPECT_EQ(s.EquacaoOriginal(), "");
}

// The automatic outlier removal: marks, stopping rules, progress and cancellation.
TEST(Sistema, Saneia) {
    struct Progresso : TProgresso {
        std::string titulo, texto;
        double maximo = 0, ultimo = 0;
        int inicios = 0, fins = 0;
        void Inicia(const std::string &t, double, double max, bool) override {
            titulo = t;
            maximo = max;
            ++inicios;
        }
        void Avanca(double p) override { ultimo = p; }
        void TextoAuxiliar(const std::string &t) override { texto = t; }
        void Termina() override { ++fins; }
    };
    // y = 2x except sample 4 (far off) and sample 7 (a little off); sample 9 disregarded.
    TGridzelto g;
    Preenche(g, {"y", "x"},
             {{2, 1}, {4.1, 2}, {5.9, 3}, {30, 4}, {10, 5}, {12.1, 6}, {16, 7}, {16, 8}, {1, 9}});
    g.AlternaDesconsiderada(9);
    g.AmostragemCriada(2).Saneada = true; // left over from an earlier run
    TSistema s(g);
    s.DefineTermos(std::vector<TTermo>{{1, 1}, {2, 1}});
    Progresso p;
    ASSERT_TRUE(s.Saneia(coDesvioPadrao, 2, &p));
    EXPECT_EQ(p.titulo, "Aguarde . . .");
    EXPECT_EQ(p.texto, "Saneando a amostra...");
    EXPECT_EQ(p.maximo, 8 * 5);
    EXPECT_EQ(p.inicios, 1);
    EXPECT_EQ(p.fins, 1);
    auto saneadas = [&] {
        std::string r;
        for (int l = 1; l <= 9; ++l)
            if (const TAmostragem *a = g.Amostragem(l); a && a->Saneada) r += std::to_string(l);
        return r;
    };
    EXPECT_EQ(saneadas(), "4");
    EXPECT_EQ(s.n(), 7u);
    EXPECT_EQ(s.NumeroOutliers(coDesvioPadrao, 2), 0u);
    EXPECT_FALSE(g.Amostragem(9)->Saneada);
    EXPECT_TRUE(g.Amostragem(9)->Desconsiderada);
    // "Média" bounds a residual by a percentage of the mean residual, 0 about a fitted model:
    // the inferential mode reads it as two standard deviations, in the count and in the
    // sanitation alike, instead of flagging every sample.
    {
        TGridzelto h;
        Preenche(h, {"y", "x"}, {{2, 1}, {4.1, 2}, {5.9, 3}, {30, 4}, {10, 5}, {12.1, 6}, {16, 7}, {16, 8}});
        TSistema u(h);
        u.CarregaDados();
        ASSERT_TRUE(Ajusta(u, {{1, 1}, {2, 1}}));
        EXPECT_EQ(u.NumeroOutliers(coMedia, 30), u.NumeroOutliers(coDesvioPadrao, 2));
        EXPECT_LT(u.NumeroOutliers(coMedia, 30), u.n());
        ASSERT_TRUE(u.Saneia(coMedia, 30));
        EXPECT_EQ(u.n(), 7u);
    }
    // The fit left behind is the fit of the remaining samples.
    TSistema t(g);
    t.CarregaDados();
    ASSERT_TRUE(Ajusta(t, {{1, 1}, {2, 1}}));
    EXPECT_EQ(t.n(), 7u);
    EXPECT_NEAR(s.Coeficiente(2), t.Coeficiente(2), 1e-15L);

    // A zero limit makes every sample an outlier: the removal stops at n = m + 1.
    ASSERT_TRUE(s.Saneia(coDesvioPadrao, 0, &p));
    EXPECT_EQ(s.n(), 3u);
    EXPECT_EQ(saneadas().size(), 5u);
    // ... and with the dependent variable alone at n = 2, not below; the two left (16 and 16)
    // are one value, which no model can explain.
    s.DefineTermos(std::vector<TTermo>{{1, 1}});
    EXPECT_FALSE(s.Saneia(coDesvioPadrao, 0));
    EXPECT_EQ(s.n(), 2u);
    EXPECT_EQ(s.Recusa(), TRecusa::DependenteConstante);
    // A model with as many terms as samples is refused before any removal.
    TGridzelto h;
    Preenche(h, {"y", "a", "b"}, {{1, 1, 3}, {2, 3, 1}, {4, 2, 5}});
    TSistema u(h);
    u.DefineTermos(std::vector<TTermo>{{1, 1}, {2, 1}, {3, 1}});
    EXPECT_FALSE(u.Saneia(coDesvioPadrao, 0));
    EXPECT_EQ(u.n(), 3u);
    EXPECT_EQ(u.Recusa(), TRecusa::AmostrasInsuficientes);

    // Cancelled: one fit, no removal.
    Progresso cancelado;
    cancelado.Cancela();
    s.DefineTermos(std::vector<TTermo>{{1, 1}, {2, 1}});
    ASSERT_TRUE(s.Saneia(coDesvioPadrao, 2, &cancelado));
    EXPECT_EQ(s.n(), 8u);
    EXPECT_EQ(saneadas(), "");
    EXPECT_EQ(cancelado.ultimo, 4);

    // A model whose transformation fails cannot be sanitised.
    s.DefineTermos(std::vector<TTermo>{{1, 1}, {2, 2}});
    g.AtribuiCelula(2, 5, "0");
    EXPECT_FALSE(s.Saneia(coChauvenet, 0));
}

// The formation of the value at its boundaries: a value at the sample's maximum is inside, one
// past it extrapolates; the estimate's band is the dependent variable's range, widened by the
// settings' percentages when extrapolation is admitted with limits; a missing value means no
// estimate.
TEST(Sistema, FormationOfTheValueAtItsLimits) {
    TGridzelto g;
    Preenche(g, {"Valor", "Area"}, {{12.1, 1}, {13.9, 2}, {16.2, 3}, {17.8, 4}, {20.1, 5}, {22.9, 6}});
    auto forma = [&](const char *area, ModoExtrapolacao modo, bool inferencial = true) {
        g.ValoresObjeto = {"Valor=", std::string("Area=") + area};
        TSistema s(g);
        s.CarregaDados();
        EXPECT_TRUE(Ajusta(s, {{1, 1}, {2, 1}}));
        TSignificancias sig;
        sig.Extrapolacao = modo;
        sig.TodasExtrapolam = false;
        sig.VariaveisExtrapolando = 1;
        sig.EstimativaInferior = sig.EstimativaSuperior = 0.2L;
        return FormacaoValores(s, sig, inferencial, {false, false, std::string(area) != ""});
    };
    const TFormacaoValores noLimite = forma("6", meNaoAdmitida);
    EXPECT_TRUE(noLimite.Extrapolaram.empty());
    EXPECT_FALSE(noLimite.LimiteExtrapolacao);
    ASSERT_TRUE(noLimite.Estima && noLimite.Estimativa && noLimite.Faixa);
    EXPECT_NEAR(static_cast<double>(noLimite.Faixa->Superior), 22.9, 1e-12);
    EXPECT_EQ(noLimite.Posicao, 0); // the fitted value at x = 6 lies under 22.9

    const TFormacaoValores alem = forma("7", meNaoAdmitida);
    EXPECT_EQ(alem.Extrapolaram, std::vector<std::size_t>{2});
    EXPECT_EQ(alem.LimiteExtrapolacao, 0L);
    EXPECT_EQ(alem.Posicao, 1);

    // Admitted with limits: one variable may extrapolate, and the estimate up to 20 % above.
    const TFormacaoValores comLimites = forma("7", meAdmitidaComLimites);
    EXPECT_FALSE(comLimites.LimiteExtrapolacao);
    ASSERT_TRUE(comLimites.Faixa);
    EXPECT_NEAR(static_cast<double>(comLimites.Faixa->Superior), 22.9 * 1.2, 1e-12);
    EXPECT_EQ(comLimites.Posicao, 0);
    EXPECT_FALSE(forma("7", meAdmitida).Faixa); // freely admitted: no band at all

    const TFormacaoValores falta = forma("", meNaoAdmitida);
    EXPECT_EQ(falta.Faltam, std::vector<std::size_t>{2});
    EXPECT_FALSE(falta.Estima);
    EXPECT_FALSE(falta.Estimativa);
}
