// The exact Durbin–Watson distribution: the bounds against the stored table and against an
// independent computation in R, and the exact probability of a model's statistic against R's
// eigenvalues of M·A·M on two Windsor models. The R values (Imhof's integral with R's own
// quadrature, checked there by Pan's method up to 100 samples) come from
// tests/data/regression/durbin-watson.R, whose output is durbin-watson-r.txt.
#include "regression/LimitesDW.h"

#include "files/LerArquivo.h"
#include "regression/Sistema.h"
#include "regression/TabelasCriticas.h"
#include "worksheet/Gridzelto.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

using namespace zelto;

namespace {

const long double Niveis[3] = {0.01L, 0.025L, 0.05L};
const unsigned NsTabela[9] = {15, 20, 25, 30, 40, 50, 60, 80, 100};

// Column j of the n×1 design: the eigenvector cos(πj(t − ½)/n) of the difference matrix.
std::vector<long double> Autovetor(unsigned n, unsigned j) {
    std::vector<long double> v(n);
    for (unsigned t = 0; t < n; ++t)
        v[t] = std::cos(std::numbers::pi_v<long double> * j * (t + 0.5L) / n);
    return v;
}

} // namespace

// Every cell of the stored table is the computed bound rounded to two decimals, but for 22 cells
// where the published table, made in 1951 with approximations, is one hundredth off the exact
// value; each of those lies within 0.0105 of it.
TEST(LimitesDW, ReproduceTheStoredTable) {
    struct Celula {
        unsigned n, nivel, k;
        bool superior;
    };
    const Celula umCentesimo[] = {
        {15, 0, 5, true},  {15, 1, 1, true},  {15, 1, 4, true},  {15, 1, 5, true},
        {15, 2, 3, false}, {15, 2, 4, true},  {15, 2, 5, true},  {20, 1, 1, true},
        {20, 1, 4, true},  {20, 2, 4, false}, {25, 0, 3, false}, {25, 0, 5, false},
        {25, 2, 3, true},  {40, 1, 3, true},  {40, 1, 5, false}, {40, 2, 4, false},
        {50, 0, 2, false}, {50, 0, 3, false}, {50, 0, 4, false}, {50, 1, 5, false},
        {50, 2, 1, true},  {50, 2, 5, false},
    };
    int diferentes = 0;
    for (unsigned n : NsTabela)
        for (unsigned nivel = 0; nivel < 3; ++nivel)
            for (unsigned k = 1; k <= 5; ++k) {
                const auto calculados = LimitesDWCalculados(n, k, Niveis[nivel]);
                ASSERT_TRUE(calculados);
                for (bool superior : {false, true}) {
                    SCOPED_TRACE(testing::Message() << "n " << n << ", level " << Niveis[nivel]
                                                    << ", k " << k << (superior ? ", dU" : ", dL"));
                    const long double c = superior ? calculados->Superior : calculados->Inferior;
                    const long double t = superior ? LimiteAltoDW(n, k, Niveis[nivel])
                                                   : LimiteBaixoDW(n, k, Niveis[nivel]);
                    bool conhecida = false;
                    for (const Celula &u : umCentesimo)
                        conhecida |=
                            u.n == n && u.nivel == nivel && u.k == k && u.superior == superior;
                    if (conhecida) {
                        ++diferentes;
                        EXPECT_NEAR(c, t, 0.0105L);
                    } else {
                        EXPECT_NEAR(std::round(c * 100) / 100, t, 1e-12L);
                    }
                }
            }
    EXPECT_EQ(diferentes, 22);
    // Every class reads its published sample size; outside the table the bounds are computed.
    EXPECT_EQ(LimiteBaixoDW(81, 3, 0.05L), LimiteBaixoDW(100, 3, 0.05L));
    EXPECT_EQ(LimiteAltoDW(16, 2, 0.01L), LimiteAltoDW(20, 2, 0.01L));
    EXPECT_EQ(LimiteBaixoDW(546, 11, 0.05L), LimitesDWCalculados(546, 11, 0.05L)->Inferior);
    EXPECT_EQ(LimiteAltoDW(101, 3, 0.07L), LimitesDWCalculados(101, 3, 0.05L)->Superior);
    EXPECT_EQ(LimiteAltoDW(40, 6, 0.025L), LimitesDWCalculados(40, 6, 0.025L)->Superior);
    EXPECT_EQ(LimiteBaixoDW(10, 2, 0.01L), LimitesDWCalculados(10, 2, 0.01L)->Inferior);
    // Too few samples to compute: the class of n, as before.
    EXPECT_FALSE(LimitesDWCalculados(7, 5, 0.05L));
    EXPECT_EQ(LimiteBaixoDW(7, 5, 0.05L), LimiteBaixoDW(15, 5, 0.05L));
}

// Against R: the bounds in and beyond the table, the distribution of d for the real designs of
// two Windsor models and the exact probability of their own statistics, and a Monte Carlo
// simulation of the bounds for 546 samples and 11 regressors.
TEST(LimitesDW, AgainstR) {
    std::ifstream arquivo(std::string(ZELTO_TEST_DATA) + "/regression/durbin-watson-r.txt");
    ASSERT_TRUE(arquivo);
    TGridzelto grid;
    std::string resumo;
    ASSERT_TRUE(LerArquivo(std::string(ZELTO_TEST_DATA) + "/regression/windsor-houses.txt", grid,
                           1000, resumo, nullptr)
                    .ok);
    TSistema s(grid);
    s.CarregaDados();
    // Columns: 1 price, 2 lotsize, 3 bedrooms, 4 bathrooms, 5 stories, 6 driveway,
    // 7 recreation, 8 fullbase, 9 gasheat, 10 aircon, 11 garage, 12 prefer.
    const std::vector<TTermo> w1 = {{1, 2}, {2, 2}, {3, 1}, {4, 8},  {5, 5},  {6, 1},
                                    {7, 1}, {8, 1}, {9, 1}, {10, 1}, {11, 1}, {12, 1}};
    const std::vector<TTermo> w2 = {{1, 8}, {2, 8}, {3, 4}, {4, 1}, {5, 7}, {10, 1}};
    std::string modelo;
    std::vector<long double> desenho;
    const auto ajusta = [&](const std::string &nome) {
        if (nome == modelo) return;
        modelo = nome;
        s.DefineTermos(nome == "w1" ? w1 : w2);
        ASSERT_TRUE(s.MontaSistema() && s.Resolve());
        s.CalculaEstatisticas();
        ASSERT_TRUE(s.CompletaAjuste());
        desenho.clear();
        for (std::size_t k = 2; k <= s.m(); ++k)
            for (std::size_t i = 1; i <= s.n(); ++i)
                desenho.push_back(s.ValorTransformado(k, i));
    };
    int limites = 0, modelos = 0, probabilidades = 0, simulacoes = 0, verificacoes = 0;
    std::string linha;
    while (std::getline(arquivo, linha)) {
        std::istringstream campos(linha);
        std::string tipo;
        campos >> tipo;
        SCOPED_TRACE(linha);
        if (tipo == "bound") {
            unsigned n, k;
            long double alfa, dL, dU;
            campos >> n >> k >> alfa >> dL >> dU;
            const auto c = LimitesDWCalculados(n, k, alfa);
            ASSERT_TRUE(c);
            EXPECT_NEAR(c->Inferior, dL, 2e-8L);
            EXPECT_NEAR(c->Superior, dU, 2e-8L);
            ++limites;
        } else if (tipo == "model") {
            std::string nome;
            long double x, f;
            campos >> nome >> x >> f;
            ajusta(nome);
            const auto p = DistribuicaoDWModelo(x, desenho, s.n());
            ASSERT_TRUE(p);
            EXPECT_NEAR(*p, f, 1e-9L);
            ++modelos;
        } else if (tipo == "pvalue") {
            std::string nome;
            long double dw, f;
            campos >> nome >> dw >> f;
            ajusta(nome);
            EXPECT_NEAR(s.DurbinWatson(), dw, 1e-12L);
            const auto p = ProbabilidadeDW(s);
            ASSERT_TRUE(p);
            EXPECT_TRUE(p->Positiva);
            EXPECT_NEAR(p->Valor, f, 1e-11L);
            ++probabilidades;
        } else if (tipo == "pan") {
            // The oracle itself: Pan's method puts the bounds found by Imhof's integral at the
            // level, so the two ways to the R values agree (Pan's rounding grows with n: 5e-8 at
            // 100 samples; it fails at 200).
            std::string n, k, alfa;
            long double desvioL, desvioU;
            campos >> n >> k >> alfa >> desvioL >> desvioU;
            EXPECT_LT(std::fabs(desvioL), 1e-7L);
            EXPECT_LT(std::fabs(desvioU), 1e-7L);
            ++verificacoes;
        } else if (tipo == "montecarlo") {
            unsigned n, k;
            long double alfa, dL, dU;
            campos >> n >> k >> alfa >> dL >> dU;
            const auto c = LimitesDWCalculados(n, k, alfa);
            ASSERT_TRUE(c);
            // 400 000 draws: the standard error of each simulated quantile is about 3e-4.
            EXPECT_NEAR(c->Inferior, dL, 0.0015L);
            EXPECT_NEAR(c->Superior, dU, 0.0015L);
            ++simulacoes;
        }
    }
    EXPECT_EQ(limites, (45 + 7) * 3);
    EXPECT_EQ(modelos, 10);
    EXPECT_EQ(probabilidades, 2);
    EXPECT_EQ(simulacoes, 1);
    EXPECT_EQ(verificacoes, 49 * 3);
}

// The bounds are attained: a design whose regressor is the eigenvector of the largest eigenvalue
// of A leaves the smallest ones, so P(d <= dL) is the level; the eigenvector of the smallest
// leaves the largest, so P(d <= dU) is the level. With the intercept alone d has the
// eigenvalues λ₁..λₙ₋₁. A design without residual degrees of freedom or singular has no
// probability.
TEST(LimitesDW, ModelDesignsThatAttainTheBounds) {
    for (unsigned n : {9u, 40u, 546u})
        for (long double alfa : Niveis) {
            SCOPED_TRACE(testing::Message() << n << " " << alfa);
            const auto c = LimitesDWCalculados(n, 1, alfa);
            ASSERT_TRUE(c);
            EXPECT_NEAR(*DistribuicaoDWModelo(c->Inferior, Autovetor(n, n - 1), n), alfa, 1e-10L);
            EXPECT_NEAR(*DistribuicaoDWModelo(c->Superior, Autovetor(n, 1), n), alfa, 1e-10L);
            // Any other design lies between the bounds.
            std::vector<long double> tendencia(n);
            for (unsigned t = 0; t < n; ++t)
                tendencia[t] = std::log(t + 1.0L) + (t % 3);
            const long double pL = *DistribuicaoDWModelo(c->Inferior, tendencia, n);
            const long double pU = *DistribuicaoDWModelo(c->Superior, tendencia, n);
            EXPECT_LT(pL, alfa);
            EXPECT_GT(pU, alfa);
        }
    std::vector<long double> lambda;
    for (unsigned j = 1; j < 12; ++j)
        lambda.push_back(2 * (1 - std::cos(std::numbers::pi_v<long double> * j / 12)));
    for (long double x : {0.3L, 1.1L, 2.0L, 3.4L})
        EXPECT_NEAR(*DistribuicaoDWModelo(x, {}, 12), DistribuicaoRazaoQuadratica(lambda, x),
                    1e-12L);
    EXPECT_NEAR(DistribuicaoRazaoQuadratica(lambda, 2), 0.5L, 1e-12L); // symmetric about 2
    EXPECT_NEAR(QuantilRazaoQuadratica(lambda, 0.5L), 2, 1e-9L);

    EXPECT_FALSE(DistribuicaoDWModelo(1, std::vector<long double>(3, 1.0L), 3)); // n < p + 2
    std::vector<long double> duas = Autovetor(10, 3);
    for (long double v : Autovetor(10, 3))
        duas.push_back(2 * v + 1); // a combination of the intercept and the first column
    EXPECT_FALSE(DistribuicaoDWModelo(1, duas, 10));
    EXPECT_FALSE(DistribuicaoDWModelo(std::nanl(""), Autovetor(10, 3), 10));
    std::vector<long double> infinita = Autovetor(10, 3);
    infinita[4] = std::numeric_limits<long double>::infinity();
    EXPECT_FALSE(DistribuicaoDWModelo(1, infinita, 10));
    EXPECT_FALSE(LimitesDWCalculados(20, 0, 0.05L));
    EXPECT_FALSE(LimitesDWCalculados(20, 2, 0.5L));
}

// Imhof's integral on forms whose distribution is known in closed form: with weights 1 and −1,
// z₁² − z₂² is symmetric (P = 1/2); with weights a > 0 and −b, P(a z₁² < b z₂²) =
// (2/π)·atan(√(b/a)).
TEST(LimitesDW, QuadraticFormsInClosedForm) {
    const std::vector<long double> simetrica = {1, -1};
    EXPECT_NEAR(ProbabilidadeFormaNegativa(simetrica), 0.5L, 1e-13L);
    for (long double b : {0.01L, 0.3L, 1.0L, 7.0L, 400.0L}) {
        const std::vector<long double> c = {1, -b};
        EXPECT_NEAR(ProbabilidadeFormaNegativa(c),
                    2 / std::numbers::pi_v<long double> * std::atan(std::sqrt(b)), 1e-12L)
            << static_cast<double>(b);
    }
    const std::vector<long double> positiva = {0.5L, 2, 3};
    EXPECT_NEAR(ProbabilidadeFormaNegativa(positiva), 0, 1e-13L);
    EXPECT_EQ(ProbabilidadeFormaNegativa(std::vector<long double>{0, 0}), 0.5L);
}
