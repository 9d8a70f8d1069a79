#include "regression/TestesResiduos.h"
#include "regression/TabelasCriticas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace zelto;

// Table lookups: exact rows, interpolation between rows, extrapolation beyond the last row,
// clamping before the first, and column choice by level.
TEST(TabelasCriticas, LookupEdges) {
    struct {
        const char *caso;
        long double valor, esperado;
    } casos[] = {
        {"Chauvenet 5 (first row)", ValorChauvenet(5), 1.65L},
        {"Chauvenet 4 (before the table)", ValorChauvenet(4), 1.65L},
        {"Chauvenet 0", ValorChauvenet(0), 1.65L},
        {"Chauvenet 11 (10..12)", ValorChauvenet(11), 1.985L},
        {"Chauvenet 25 (24..26)", ValorChauvenet(25), 2.325L},
        {"Chauvenet 200 (last row)", ValorChauvenet(200), 3.02L},
        {"Chauvenet 150 (100..200)", ValorChauvenet(150), 2.91L},
        {"Chauvenet 300 (extrapolated)", ValorChauvenet(300), 3.24L},
        {"Arley 10 at 0.1 %", ValorArley(10, 0.1L), 2.730L},
        {"Arley 10 at 0.1 % as a double", ValorArley(10, 0.1), 2.730L},
        {"Arley 130 at 5 % (extrapolated)", ValorArley(130, 5), 1.9575L},
        {"Arley 32 at 1 % (30..35)", ValorArley(32, 1), 2.5024L},
        {"Arley 120 at 10 %", ValorArley(120, 10), 1.646L},
        {"Arley 0 (before the table)", ValorArley(0, 5), 1.409L},
        {"Arley 10 at 2 % (other: 10 % column)", ValorArley(10, 2), 1.649L},
        {"KS 5 % n 100 (c/sqrt n)", CriticoKS(5, 100), 0.136L},
        {"KS 5 % n 22 (20..25)", CriticoKS(5, 22), 0.282L},
        {"KS 20 % n 51", CriticoKS(20, 51), 1.07L / std::sqrt(51.0L)},
        {"KS 1 % n 50 (last row)", CriticoKS(1, 50), 0.227L},
        {"KS 15 % n 1", CriticoKS(15, 1), 0.925L},
        {"KS 10 % n 0 (before the table)", CriticoKS(10, 0), 0.950L},
        {"KS 3 % n 100 (other level)", CriticoKS(3, 100), 0},
        {"KS 7 % n 10 (column 5 - 7/5: 5 %)", CriticoKS(7, 10), 0.409L},
        {"KS 2 % n 10 (column 5 - 2/5: 1 %)", CriticoKS(2, 10), 0.486L},
        {"KS 22 % n 10 (column 5 - 22/5: 20 %)", CriticoKS(22, 10), 0.322L},
        {"KS 25 % n 10 (no column)", CriticoKS(25, 10), 0},
        {"KS -5 % n 10", CriticoKS(-5, 10), 0},
        {"dL 15, 1, 5 %", LimiteBaixoDW(15, 1, 0.05L), 1.08L},
        {"dL 16, 1, 5 % (class 16-20)", LimiteBaixoDW(16, 1, 0.05L), 1.20L},
        {"dU 80, 3, 1 %", LimiteAltoDW(80, 3, 0.01L), 1.57L},
        {"dU 81, 3, 1 % (over 80)", LimiteAltoDW(81, 3, 0.01L), 1.60L},
        {"dL 0, 2, 2.5 % (n = 0 is over 80)", LimiteBaixoDW(0, 2, 0.025L), 1.57L},
        {"dL 25, 4, 1 %", LimiteBaixoDW(25, 4, 0.01L), 0.83L},
        {"dL 45, 0 regressors (as 1), 1 %", LimiteBaixoDW(45, 0, 0.01), 1.32L},
        {"dU 30, 4, 10 % (other level: 5 %)", LimiteAltoDW(30, 4, 0.10L), 1.74L},
    };
    for (const auto &c : casos)
        EXPECT_NEAR(c.valor, c.esperado, 1e-15L) << c.caso;
    // Beyond the table the bounds are computed (LimitesDWTest checks them against R), no longer
    // those of 100 samples and 5 regressors.
    EXPECT_NEAR(LimiteBaixoDW(1000, 20, 0.025), 1.8355L, 1e-4L);
    EXPECT_NEAR(LimiteAltoDW(45, 9, 0.05L), 2.0222L, 1e-4L);
}

// Shapes that every correct transcription of these tables has; a mistyped entry breaks one.
TEST(TabelasCriticas, TablesAreMonotone) {
    for (unsigned n = 6; n <= 400; ++n)
        EXPECT_GE(ValorChauvenet(n), ValorChauvenet(n - 1)) << n;
    const long double niveisArley[] = {10, 5, 1, 0.1L};
    for (unsigned n = 1; n <= 150; ++n)
        for (int i = 1; i < 4; ++i)
            EXPECT_GE(ValorArley(n, niveisArley[i]), ValorArley(n, niveisArley[i - 1])) << n;
    const int niveisKS[] = {20, 15, 10, 5, 1};
    for (unsigned n = 1; n <= 60; ++n)
        for (int i = 0; i < 5; ++i) {
            if (i > 0) {
                EXPECT_GT(CriticoKS(niveisKS[i], n), CriticoKS(niveisKS[i - 1], n)) << n;
            }
            if (n > 1 && n != 51) { // the table for n <= 50 meets c/√n at 51
                EXPECT_LT(CriticoKS(niveisKS[i], n), CriticoKS(niveisKS[i], n - 1)) << n;
            }
        }
    const long double niveisDW[] = {0.01L, 0.025L, 0.05L};
    for (unsigned n : {10u, 18u, 22u, 28u, 35u, 45u, 55u, 70u, 90u})
        for (int i = 0; i < 3; ++i)
            for (unsigned k = 1; k <= 5; ++k) {
                SCOPED_TRACE(testing::Message() << n << " " << i << " " << k);
                const long double a = niveisDW[i];
                EXPECT_LT(LimiteBaixoDW(n, k, a), LimiteAltoDW(n, k, a));
                if (k > 1) {
                    EXPECT_LT(LimiteBaixoDW(n, k, a), LimiteBaixoDW(n, k - 1, a));
                    EXPECT_GT(LimiteAltoDW(n, k, a), LimiteAltoDW(n, k - 1, a));
                }
                if (i > 0) {
                    EXPECT_GT(LimiteBaixoDW(n, k, a), LimiteBaixoDW(n, k, niveisDW[i - 1]));
                    EXPECT_GT(LimiteAltoDW(n, k, a), LimiteAltoDW(n, k, niveisDW[i - 1]));
                }
                if (n > 10) {
                    EXPECT_GT(LimiteBaixoDW(n, k, a), LimiteBaixoDW(n - 10, k, a));
                }
            }
}

TEST(TestesResiduos, KolmogorovSmirnov) {
    // D against the exact Φ, computed with mpmath; Φ here is an approximation good to 7.5e-8.
    const std::vector<long double> z5 = {0.3L, -1.2L, 1.5L, -0.4L, 0.1L};
    EXPECT_NEAR(DistanciaKS(z5), 0.18208857781104736269L, 1e-7L);
    const std::vector<long double> z12 = {0.8L, -0.3L, 2.1L,  -1.7L, 0.05L, -0.9L,
                                          1.1L, 0.4L,  -0.1L, 2.6L,  -2.2L, 0.6L};
    EXPECT_NEAR(DistanciaKS(z12), 0.15542174161032416674L, 1e-7L);
    EXPECT_EQ(DistanciaKS({}), 0);

    // D = 0.35502 (mpmath) for ten residuals: it lies between the critical values at
    // 15 % (0.342) and 10 % (0.368).
    const std::vector<long double> z10 = {-0.8607L, -0.2523L, 0.1097L, 0.3989L, 0.6585L,
                                          0.9098L,  1.1695L,  1.4587L, 1.8206L, 2.429L};
    EXPECT_NEAR(DistanciaKS(z10), 0.3550165554L, 1e-7L);
    EXPECT_FALSE(TesteNormalidade(0.5L, z10, 0.15)); // 0.15 is 14.99...% in binary
    EXPECT_FALSE(TesteNormalidade(0.5L, z10, 0.15L));
    EXPECT_TRUE(TesteNormalidade(0.5L, z10, 0.10));
    EXPECT_FALSE(TesteNormalidade(0.5L, z10, 0.20));
    EXPECT_TRUE(TesteNormalidade(0.5L, z5, 0.05));
    EXPECT_FALSE(TesteNormalidade(0.99995L, z5, 0.05)); // an exact fit
    EXPECT_FALSE(TesteNormalidade(0.5L, {}, 0.05));
    EXPECT_EQ(NivelPercentual(0.15), 15);
    EXPECT_EQ(NivelPercentual(0.057L), 5);
    EXPECT_EQ(NivelPercentual(0.01), 1);
}

TEST(TestesResiduos, DurbinWatson) {
    // d = ((-2)² + 3² + (-2)² + (-2)²) / (1 + 1 + 4 + 0 + 4) = 21/10.
    const std::vector<long double> e = {1, -1, 2, 0, -2};
    EXPECT_NEAR(EstatisticaDW(e), 2.1L, 1e-18L);
    EXPECT_EQ(EstatisticaDW(std::vector<long double>{0, 0, 0}), 1);

    // n = 20, k' = 1, 5 %: dL = 1.20, dU = 1.41.
    const long double dL = LimiteBaixoDW(20, 1, 0.05L), dU = LimiteAltoDW(20, 1, 0.05L);
    struct {
        long double d;
        int veredito;
    } casos[] = {
        {0.5L, 1},  {dL, 1},     {dL + 0.01L, 2},     {dU - 0.01L, 2},     {dU, 0},
        {2, 0},     {4 - dU, 0}, {4 - dU + 0.01L, 2}, {4 - dL - 0.01L, 2}, {4 - dL, -1},
        {3.9L, -1},
    };
    for (const auto &c : casos)
        EXPECT_EQ(ClassificaDW(c.d, 20, 1, 0.05L), c.veredito) << double(c.d);

    // Five residuals, k' = 1, 5 % (computed: dL = 0.527, dU = 1.544; those of 15 samples, 1.08
    // and 1.36, called 3.2 negative autocorrelation).
    EXPECT_EQ(TesteAutocorrelacao(e, 2, 0.05L), 0);                                         // 2.1
    EXPECT_EQ(TesteAutocorrelacao(std::vector<long double>{-2, -1, 0, 1, 2}, 2, 0.05L), 1); // 0.4
    EXPECT_EQ(TesteAutocorrelacao(std::vector<long double>{1, -1, 1, -1, 1}, 2, 0.05L), 2); // 3.2
    // d = 3.57 for five alternating residuals: beyond 4 - dL = 3.47.
    const std::vector<long double> alternados = {0.5L, -1, 1, -1, 0.5L};
    EXPECT_EQ(TesteAutocorrelacao(alternados, 2, 0.05L), -1);
    // A model without regressors: inconclusive.
    EXPECT_EQ(TesteAutocorrelacao(std::vector<long double>{-2, -1, 0, 1, 2}, 1, 0.05L), 2);
}

TEST(TestesResiduos, Outliers) {
    const std::vector<long double> e = {0.5L, -2, 2, 2.0000001L, -3, 1};
    struct {
        int criterio;
        long double parametro, s, media;
        std::size_t esperado;
    } casos[] = {
        {coDesvioPadrao, 2, 1, 0, 2}, // |e| > 2: exactly 2 is not an outlier
        {coDesvioPadrao, 1, 2, 0, 2}, // same limit from s = 2
        {coDesvioPadrao, 1, 1, 1, 3}, // around the mean 1: -2, 2.0000001 and -3
        {coMedia, 400, 1, 0.5L, 2},   // limit 400 % of 0.5 = 2 around 0.5: -2 and -3
        {coChauvenet, 0, 1, 0, 4},    // 1.72 for 6 samples
        {coChauvenet, 0, 1.2L, 0, 1}, // 2.064
        {coArley, 5, 1, 0, 4},        // 1.870 for 6 samples at 5 %
        {coArley, 0.1L, 1, 0, 1},     // 2.447
        {7, 0, 1, 0, 6},              // unknown criterion: limit 0
    };
    for (const auto &c : casos)
        EXPECT_EQ(NumeroOutliers(e, c.media, c.s, c.criterio, c.parametro), c.esperado)
            << c.criterio << " " << double(c.parametro) << " " << double(c.s);
    EXPECT_NEAR(LimiteOutlier(coChauvenet, 0, 2, 0, 25), 4.65L, 1e-15L);
    EXPECT_NEAR(LimiteOutlier(coArley, 5, 2, 0, 130), 3.915L, 1e-15L);

    EXPECT_EQ(MaiorOutlier(e, 0, 2), std::optional<std::size_t>(4));
    EXPECT_EQ(MaiorOutlier(e, 0, 3), std::nullopt); // |-3| is not beyond 3
    const std::vector<long double> empate = {1, 3, -3, 0};
    EXPECT_EQ(MaiorOutlier(empate, 0, 2), std::optional<std::size_t>(1)); // first on ties
}
