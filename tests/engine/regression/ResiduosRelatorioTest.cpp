// The runs and signs tests and the exact normal quantile against R.
#include "regression/ResiduosRelatorio.h"

#include "common/Numeros.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace zelto;

// qnorm(p) in R 4.2.2 (digits = 17), from the centre to far tails.
TEST(ResiduosRelatorio, NormalQuantile) {
    const struct {
        long double p, z;
    } casos[] = {
        {0.20L, -0.84162123357291418L}, {0.5L, 0},
        {0.975L, 1.9599639845400536L},  {0.025L, -1.9599639845400536L},
        {1e-10L, -6.3613409024040557L}, {1e-6L, -4.7534243088228987L},
    };
    for (const auto &c : casos)
        EXPECT_NEAR(QuantilNormal(c.p), c.z, 1e-13L * (1 + std::fabs(c.z)))
            << static_cast<double>(c.p);
    EXPECT_LE(QuantilNormal(0), -1e4000L);
    EXPECT_GE(QuantilNormal(1), 1e4000L);
}

// Runs in sample order (0 counts as positive): + + − − − + 0 −, R = 4, P = 4, N = 4,
// μ = 2·4·4/8 + 1 = 5, σ² = 4·3/7, the lower bound zi = −1.5/σ below the upper zs = −0.5/σ;
// signs z = |4 − 4|/(√8/2) = 0. One sign only: R = 1, σ = 0.
TEST(ResiduosRelatorio, RunsAndSigns) {
    const std::vector<long double> e = {1, 2, -1, -3, -0.5L, 2, 0, -1};
    const TSequencias t = TesteSequencias(e, 0.20L);
    EXPECT_EQ(t.Positivos, 4u);
    EXPECT_EQ(t.Negativos, 4u);
    EXPECT_EQ(t.Sequencias, 4u);
    EXPECT_DOUBLE_EQ(static_cast<double>(t.Media), 5.0);
    EXPECT_NEAR(t.Desvio, std::sqrt(12.0L / 7), 1e-15L);
    EXPECT_NEAR(t.ZInferior, -1.5L / std::sqrt(12.0L / 7), 1e-15L);
    EXPECT_NEAR(t.ZSuperior, -0.5L / std::sqrt(12.0L / 7), 1e-15L);
    EXPECT_EQ(t.ZSinais, 0);
    EXPECT_TRUE(t.SequenciasAleatorias());
    EXPECT_TRUE(t.SinaisNormais());
    // Too few runs: R = 2 (four + then four −), μ = 5; the band [−3.5/σ, −2.5/σ] lies below
    // −zc = −0.8416 (20 %), so the runs are not random.
    const TSequencias v = TesteSequencias(std::vector<long double>{1, 1, 1, 1, -1, -1, -1, -1}, 0.20L);
    EXPECT_LT(v.ZInferior, v.ZSuperior);
    EXPECT_NEAR(v.ZSuperior, -2.5L / std::sqrt(12.0L / 7), 1e-15L);
    EXPECT_FALSE(v.SequenciasAleatorias());

    const TSequencias u = TesteSequencias(std::vector<long double>{0, 0, 0, 0}, 0.20L);
    EXPECT_EQ(u.Sequencias, 1u);
    EXPECT_EQ(u.Negativos, 0u);
    EXPECT_EQ(u.Desvio, 0);
    EXPECT_FALSE(u.SequenciasAleatorias());
    EXPECT_EQ(u.ZSinais, 2); // |4 − 2|/(√4/2)
    EXPECT_FALSE(u.SinaisNormais());
    EXPECT_EQ(TesteSequencias({}, 0.2L).Sequencias, 0u);
}

// A variable of mean 0 or with a deviation that cannot be computed has no coefficient.
TEST(ResiduosRelatorio, CoefficientOfVariation) {
    EXPECT_NEAR(*CoeficienteVariacao(-4, 1), 25, 1e-15L);
    EXPECT_FALSE(CoeficienteVariacao(0, 1));
    EXPECT_FALSE(CoeficienteVariacao(2, Infinito));
    EXPECT_FALSE(CoeficienteVariacao(-Infinito, 1));
}
