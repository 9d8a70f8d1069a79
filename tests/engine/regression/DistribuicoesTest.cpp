#include "regression/Distribuicoes.h"

#include "common/Numeros.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace zelto;

// Expected values marked "mpmath" were computed in Python with mpmath at 50 digits:
// ncdf and erfinv for the normal; the regularized incomplete beta betainc for the tails
// (Student: I_{ν/(ν+t²)}(ν/2, 1/2)/2; F: I_{ν2/(ν2+ν1F)}(ν2/2, ν1/2)); quantiles by bisection
// of those tails to 50 digits. Closed forms are evaluated in the test itself.

namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;

long double Relativo(long double a, long double b) {
    return std::fabs(a - b) / std::fabs(b);
}

} // namespace

TEST(Distribuicoes, NormalWithinItsApproximationError) {
    struct {
        long double x, phi; // mpmath ncdf
    } casos[] = {
        {-3.5L, 0.00023262907903552503635L},   {-1.96L, 0.024997895148220434137L},
        {-0.5L, 0.30853753872598689636L},      {0.0L, 0.5L},
        {0.25L, 0.59870632568292372424L},      {1.0L, 0.84134474606854294859L},
        {1.6448536L, 0.94999999722034254088L}, {2.326L, 0.98999072465913233274L},
        {4.0L, 0.99996832875816688008L},       {7.5L, 0.99999999999996809108L},
    };
    for (const auto &c : casos) {
        EXPECT_NEAR(DistribuicaoNormal(c.x), c.phi, 7.5e-8L) << double(c.x);
        if (c.x != 0) {
            EXPECT_EQ(DistribuicaoNormal(c.x) + DistribuicaoNormal(-c.x), 1);
        }
    }
    EXPECT_EQ(DistribuicaoNormal(100.5L), 1);
    EXPECT_EQ(DistribuicaoNormal(-100.5L), 0);
    EXPECT_EQ(DistribuicaoNormal(Infinito), 1);
}

TEST(Distribuicoes, InverseNormalWithinItsApproximationError) {
    struct {
        long double p, z; // mpmath √2·erfinv(2p − 1)
    } casos[] = {
        {0.001L, -3.0902323061678135415L}, {0.025L, -1.9599639845400542355L},
        {0.1L, -1.281551565544600467L},    {0.5L, 0.0L},
        {0.8L, 0.84162123357291420518L},   {0.95L, 1.6448536269514727149L},
        {0.999L, 3.0902323061678135415L},
    };
    for (const auto &c : casos)
        EXPECT_NEAR(InversaNormal(c.p), c.z, 4.5e-4L) << double(c.p);
    EXPECT_EQ(InversaNormal(0), 0);
    EXPECT_EQ(InversaNormal(1), 1);
    EXPECT_EQ(InversaNormal(-0.1L), Infinito);
    EXPECT_EQ(InversaNormal(1.5L), Infinito);
}

TEST(Distribuicoes, StudentTailKeepsItsDigitsFarOut) {
    // Closed forms: ν = 1, P(T > t) = atan(1/t)/π; ν = 2, P(T > t) = 1/(√(2+t²)(√(2+t²) + t)).
    for (long double t : {0.3L, 1.0L, 6.0L, 1e4L, 1e9L, 1e20L}) {
        const long double r = std::sqrt(2 + t * t);
        EXPECT_LT(Relativo(CaudaStudent(1, t), std::atan(1 / t) / Pi), 1e-14L) << double(t);
        EXPECT_LT(Relativo(CaudaStudent(2, t), 1 / (r * (r + t))), 1e-14L) << double(t);
        EXPECT_EQ(CaudaStudent(2, -t), CaudaStudent(2, t));
    }
    // mpmath. Tails down to 1e-30: 1 − CDF would give 0 for every tail below about 1e-16.
    struct {
        std::uint16_t nu;
        long double t, cauda;
    } casos[] = {
        {5, -3.0L, 0.015049623948731286924L},     {10, 50.0L, 1.2371551646513399873e-13L},
        {30, 20.0L, 3.3745418328856432006e-19L},  {100, 2.5L, 0.0070228945620385887038L},
        {534, 12.0L, 7.6842673778215189987e-30L}, {3, 0.5L, 0.32572398242407549722L},
    };
    for (const auto &c : casos)
        EXPECT_LT(Relativo(CaudaStudent(c.nu, c.t), c.cauda), 1e-13L) << c.nu << " " << double(c.t);
    EXPECT_EQ(CaudaStudent(4, 0), 0.5L);
    EXPECT_EQ(CaudaStudent(4, Infinito), 0);
    EXPECT_EQ(CaudaStudent(0, 1), Infinito);
}

TEST(Distribuicoes, StudentQuantile) {
    // Closed forms: ν = 1, t = cot(πα); ν = 2, t = (1 − 2α)/√(2α(1 − α)).
    for (long double a : {1e-12L, 0.005L, 0.025L, 0.2L, 0.7L}) {
        EXPECT_LT(Relativo(QuantilStudent(1, a), 1 / std::tan(Pi * a)), 1e-13L) << double(a);
        EXPECT_LT(Relativo(QuantilStudent(2, a), (1 - 2 * a) / std::sqrt(2 * a * (1 - a))), 1e-13L)
            << double(a);
    }
    // mpmath; the printed tables give 2.228 (10, 2.5 %) and 2.750 (30, 0.5 %).
    struct {
        std::uint16_t nu;
        long double alfa, t;
    } casos[] = {
        {10, 0.025L, 2.2281388519862747484L}, {30, 0.005L, 2.7499956535672253324L},
        {5, 0.1L, 1.4758840488244810785L},    {120, 0.05L, 1.6576508993552356492L},
        {4, 0.75L, -0.74069708411268263298L}, {20, 1e-10L, 11.740060452456985713L},
    };
    for (const auto &c : casos)
        EXPECT_LT(Relativo(QuantilStudent(c.nu, c.alfa), c.t), 1e-12L) << c.nu;
    EXPECT_EQ(QuantilStudent(7, 0.5L), 0);
    EXPECT_EQ(QuantilStudent(0, 0.05L), Infinito);
    EXPECT_EQ(QuantilStudent(7, 0), Infinito);
    EXPECT_EQ(QuantilStudent(7, 1), -Infinito);
}

// Closed forms: F(2, ν2) has the tail (1 + 2F/ν2)^(−ν2/2); F(1, ν2) is T² with ν2 degrees of
// freedom, so its tail is twice the Student tail: 2·atan(1/√F)/π for ν2 = 1 and
// 2/(√(2+F)(√(2+F) + √F)) for ν2 = 2.
TEST(Distribuicoes, FTailClosedForms) {
    for (long double F : {0.2L, 1.0L, 3.5L, 40.0L, 1e4L, 1e12L}) {
        SCOPED_TRACE(double(F));
        for (std::uint16_t nu2 : {1, 10, 534})
            EXPECT_LT(Relativo(CaudaF(2, nu2, F), std::pow(1 + 2 * F / nu2, -nu2 / 2.0L)), 1e-15L);
        EXPECT_LT(Relativo(CaudaF(1, 1, F), 2 * std::atan(1 / std::sqrt(F)) / Pi), 1e-13L);
        const long double r = std::sqrt(2 + F);
        EXPECT_LT(Relativo(CaudaF(1, 2, F), 2 / (r * (r + std::sqrt(F)))), 1e-13L);
    }
}

TEST(Distribuicoes, FTailInBothRegimes) {
    struct Caso {
        std::uint16_t nu1, nu2;
        long double F, cauda; // mpmath
    };
    // Odd ν1, tails above 1e-4: the long double series is kept. It keeps more digits than the
    // double-precision complemented form, which is off by 1e-15 to 1e-13 on the cases with
    // ν2 = 21, 40 and 534.
    const Caso serie[] = {
        {3, 40, 2.5L, 0.073254352017949903814L}, {5, 21, 3.0L, 0.033837212545287121608L},
        {9, 16, 0.8L, 0.62217626104893007323L},  {1, 534, 10.0L, 0.0016543495774388800286L},
        {7, 9, 3.5L, 0.042277885198871011515L},  {11, 534, 2.0L, 0.026470084048072731379L},
    };
    for (const auto &c : serie)
        EXPECT_LT(Relativo(CaudaF(c.nu1, c.nu2, c.F), c.cauda), 5e-16L) << c.nu1 << " " << c.nu2;
    // Even ν1: the series has no subtraction and stays exact far out.
    EXPECT_LT(Relativo(CaudaF(4, 7, 1.2L), 0.38970873504202575154L), 2e-17L);
    // Significant models: the series would cancel (about ±1e-14 where the tail is 1e-122);
    // the complemented form keeps the digits of a double.
    const Caso cauda[] = {
        {11, 534, 100.0L, 5.8323927013499867493e-122L}, {3, 40, 1e4L, 1.5772682971763324801e-57L},
        {7, 9, 4000.0L, 5.5330444550059937667e-15L},    {5, 8, 1e5L, 5.9131080130796201237e-19L},
        {1, 534, 400.0L, 7.7971190870577474802e-67L},   {13, 200, 30.0L, 4.550967986371438422e-40L},
        {15, 534, 3.0L, 0.00012140434347199187284L}, // just above the switch
    };
    for (const auto &c : cauda)
        EXPECT_LT(Relativo(CaudaF(c.nu1, c.nu2, c.F), c.cauda), 1e-12L) << c.nu1 << " " << c.nu2;
}

TEST(Distribuicoes, FTailIsAProbability) {
    for (std::uint16_t nu1 : {1, 2, 3, 8, 11, 30})
        for (std::uint16_t nu2 : {1, 2, 5, 40, 533, 534})
            for (long double F : {1e-9L, 0.5L, 4.0L, 250.0L, 1e6L, 1e30L, 1e400L}) {
                const long double q = CaudaF(nu1, nu2, F);
                EXPECT_TRUE(q >= 0 && q <= 1) << nu1 << " " << nu2 << " " << double(F);
            }
    EXPECT_EQ(CaudaF(3, 10, 0), 1);
    EXPECT_EQ(CaudaF(0, 10, 0), 1); // a model without regressors has F = 0
    EXPECT_EQ(CaudaF(3, 10, Infinito), 0);
    EXPECT_EQ(CaudaF(0, 10, 2), Infinito);
    EXPECT_EQ(CaudaF(3, 0, 2), Infinito);
}

TEST(Distribuicoes, FQuantile) {
    // Closed form for ν1 = 2: F = (ν2/2)(α^(−2/ν2) − 1).
    for (std::uint16_t nu2 : {5, 30})
        for (long double a : {0.5L, 0.05L, 0.01L}) {
            const long double exato = nu2 / 2.0L * (std::pow(a, -2.0L / nu2) - 1);
            EXPECT_LT(Relativo(QuantilF(2, nu2, a), exato), 1e-5L) << nu2 << " " << double(a);
        }
    // mpmath; the printed tables give 4.96 (1, 10, 5 %), 2.71 (5, 20, 5 %), 161.4 (1, 1, 5 %)
    // and 99.40 (10, 2, 1 %).
    struct {
        std::uint16_t nu1, nu2;
        long double alfa, F;
    } casos[] = {
        {1, 10, 0.05L, 4.9646027437307143713L}, {5, 20, 0.05L, 2.7108898372096914221L},
        {3, 40, 0.01L, 4.312569212492143529L},  {11, 534, 0.05L, 1.8065807629758200991L},
        {1, 1, 0.05L, 161.4476387975884957L},   {10, 2, 0.01L, 99.399195974539428454L},
        {7, 9, 0.2L, 1.8106703823044404577L},   {4, 30, 0.5L, 0.85843674965451910279L},
        {3, 40, 1e-6L, 15.115504864795670923L}, {12, 60, 1e-3L, 3.3152802310415557349L},
    };
    for (const auto &c : casos) {
        const long double F = QuantilF(c.nu1, c.nu2, c.alfa);
        SCOPED_TRACE(testing::Message() << c.nu1 << " " << c.nu2 << " " << double(c.alfa));
        EXPECT_LT(Relativo(F, c.F), 1e-5L);
        EXPECT_LE(std::fabs(CaudaF(c.nu1, c.nu2, F) - c.alfa), std::min(1e-7L, 1e-5L * c.alfa));
    }
    EXPECT_EQ(QuantilF(3, 10, 0), Infinito);
    EXPECT_EQ(QuantilF(3, 10, 1), 0);
    EXPECT_EQ(QuantilF(0, 10, 0.05L), Infinito);
}
