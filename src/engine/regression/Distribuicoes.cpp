#include "regression/Distribuicoes.h"

#include "common/Numeros.h"

#include <libalglib/specialfunctions.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace zelto {

namespace {

constexpr long double Pi = 3.141592653589793238462643383279502884L;
constexpr long double InversoRaizPi = 0.5641895835477562869L; // 1/√π

// A long double handed to the double-precision library, clamped to the double range.
double ParaDouble(long double v) {
    return static_cast<double>(
        std::clamp(v, -static_cast<long double>(DBL_MAX), static_cast<long double>(DBL_MAX)));
}

// Upper tail Q(x) of the standard normal for x >= 0.
long double CaudaNormal(long double x) {
    if (!(x <= 100)) // also NaN
        return 0;
    const long double t = 1 / (1 + 0.2316419L * x);
    const long double poli =
        t * (0.31938153L +
             t * (-0.356563782L + t * (1.781477937L + t * (-1.821255978L + t * 1.330274429L))));
    return std::exp(-x * x / 2) / std::sqrt(2 * Pi) * poli;
}

// The rational approximation r(q) of the normal quantile, for 0 < q <= 0.5.
long double RaizNormal(long double q) {
    const long double w = std::sqrt(std::log(1 / (q * q)));
    return std::fabs(w - (2.515517L + 0.802853L * w + 0.010328L * w * w) /
                             (1 + 1.432788L * w + 0.189269L * w * w + 0.001308L * w * w * w));
}

// The finite series for the F upper tail, in long double (x = nu2/(nu2 + nu1·F), y = 1 - x).
// With nu1 even every term is positive; otherwise the tail is 1 minus a sum, which cancels
// when the tail is small.
long double SerieF(unsigned nu1, unsigned nu2, long double F) {
    const long double d = nu2 + nu1 * F;
    const long double x = nu2 / d;
    const long double y = nu1 * F / d; // 1 - x without its rounding
    if (nu1 % 2 == 0) {
        long double termo = 1, soma = 1;
        for (unsigned j = 1; j < nu1 / 2; ++j) {
            termo *= y * (nu2 + 2 * j - 2) / (2 * j);
            soma += termo;
        }
        return std::pow(x, nu2 / 2.0L) * soma;
    }
    if (nu2 % 2 == 0) {
        long double termo = 1, soma = 1;
        for (unsigned j = 1; j < nu2 / 2; ++j) {
            termo *= x * (nu1 + 2 * j - 2) / (2 * j);
            soma += termo;
        }
        return 1 - std::pow(y, nu1 / 2.0L) * soma;
    }
    // Both odd.
    const long double teta = std::atan(std::sqrt(nu1 * F / nu2));
    const long double sen = std::sin(teta), cos = std::cos(teta);
    long double a;
    if (nu2 == 1) {
        a = 2 * teta / Pi;
    } else {
        long double termo = 1, soma = 1;
        for (unsigned j = 1; j <= (nu2 - 3) / 2; ++j) {
            termo *= cos * cos * (2 * j) / (2 * j + 1);
            soma += termo;
        }
        a = 2 / Pi * (teta + sen * cos * soma);
    }
    long double beta = 0;
    if (nu1 > 1) {
        long double razaoGama = InversoRaizPi; // Γ((nu2 + 1)/2) / Γ(nu2/2)
        for (unsigned j = 1; j <= (nu2 - 1) / 2; ++j)
            razaoGama *= (2.0L * j) / (2.0L * j - 1);
        long double termo = 1, soma = 1;
        for (unsigned j = 1; j <= (nu1 - 3) / 2; ++j) {
            termo *= sen * sen * (nu2 + 2.0L * j - 1) / (2.0L * j + 1);
            soma += termo;
        }
        beta = 2 * InversoRaizPi * razaoGama * sen * std::pow(cos, static_cast<long double>(nu2)) *
               soma;
    }
    return 1 - a + beta;
}

// Below this tail the "1 minus a sum" forms of the series lose digits: their absolute
// error, a few units in 1e-18, would exceed about 1e-14 of the tail.
constexpr long double LimiteSerie = 1e-4L;

// The complemented F distribution, I_x(nu2/2, nu1/2), which has no cancellation. x is formed
// in long double, so that an F beyond the double range still gives its tail.
long double CaudaFComplementar(unsigned nu1, unsigned nu2, long double F) {
    const long double x = nu2 / (nu2 + nu1 * F);
    try {
        return alglib::incompletebeta(nu2 / 2.0, nu1 / 2.0, static_cast<double>(x));
    } catch (...) {
        return Infinito;
    }
}

} // namespace

long double DistribuicaoNormal(long double x) {
    return x >= 0 ? 1 - CaudaNormal(x) : CaudaNormal(-x);
}

long double InversaNormal(long double p) {
    if (!(p >= 0 && p <= 1)) return Infinito;
    if (p == 0) return 0;
    if (p == 1) return 1;
    return p > 0.5L ? RaizNormal(1 - p) : -RaizNormal(p);
}

long double CaudaStudent(std::uint16_t nu, long double t) {
    if (nu == 0 || std::isnan(t)) return Infinito;
    try {
        return alglib::studenttdistribution(nu, ParaDouble(-std::fabs(t)));
    } catch (...) {
        return Infinito;
    }
}

long double QuantilStudent(std::uint16_t nu, long double alfa) {
    if (nu == 0 || std::isnan(alfa) || alfa <= 0) return Infinito;
    if (alfa >= 1) return -Infinito;
    try {
        // The smaller of alfa and 1 - alfa goes to the library as it is, so that a small
        // level keeps its digits.
        if (alfa < 0.5L) return -alglib::invstudenttdistribution(nu, static_cast<double>(alfa));
        return alglib::invstudenttdistribution(nu, static_cast<double>(1 - alfa));
    } catch (...) {
        return Infinito;
    }
}

long double CaudaF(std::uint16_t nu1, std::uint16_t nu2, long double F) {
    if (std::isnan(F)) return Infinito;
    if (F <= 0) return 1;
    if (nu1 == 0 || nu2 == 0) return Infinito;
    if (F >= Infinito || !std::isfinite(nu2 + nu1 * F)) return 0;
    long double q = SerieF(nu1, nu2, F);
    const bool exata = std::isfinite(q) && q >= 0 && (nu1 % 2 == 0 || q >= LimiteSerie);
    if (!exata) {
        q = CaudaFComplementar(nu1, nu2, F);
        if (q == Infinito) return Infinito;
    }
    return std::clamp(q, 0.0L, 1.0L);
}

long double QuantilF(std::uint16_t nu1, std::uint16_t nu2, long double alfa) {
    if (nu1 == 0 || nu2 == 0 || std::isnan(alfa) || alfa <= 0) return Infinito;
    if (alfa >= 1) return 0;
    const long double tolerancia = std::min(1e-7L, 1e-5L * alfa);
    auto phi = [&](long double F) { return CaudaF(nu1, nu2, F) - alfa; };

    // Starting value: Cornish–Fisher expansion of Fisher's z = ln(F)/2.
    const long double z = InversaNormal(1 - alfa);
    const long double c = z * z;
    const long double f = (1.0L / nu2 + 1.0L / nu1) / 2;
    const long double d = (1.0L / nu2 - 1.0L / nu1) / 2;
    const long double g = std::sqrt(f) * z;
    const long double w =
        g + d * (c + 2) / 3 + g * (f * (c + 3) / 12 + d * d * (c + 11) / (36 * f)) +
        d * f * (c * (c + 9) + 8) / 30 - d * d * d * (c * (3 * c + 7) - 16) / (810 * f);
    long double F0 = std::exp(2 * w);
    if (!(F0 > 0 && std::isfinite(F0))) F0 = 1;

    // March from F0 in steps of F0/10 until phi changes sign. Far from F0 the step doubles
    // every step after the hundredth, so that a poor start cannot make the march endless.
    long double a = F0, pa = phi(a);
    const bool positivo = pa >= 0;
    long double passo = positivo ? F0 / 10 : -F0 / 10;
    long double b = a + passo, pb = phi(b);
    for (int i = 1; (pb >= 0) == positivo; ++i) {
        a = b;
        pa = pb;
        if (i > 100) passo *= 2;
        b = std::max(a + passo, 0.0L);
        pb = phi(b);
    }
    if (std::fabs(pa) <= tolerancia) return a;
    if (std::fabs(pb) <= tolerancia) return b;

    // Pegasus refinement on the bracket; (fx, fy) starts at its upper end.
    long double fx = std::max(a, b), fy = fx == a ? pa : pb;
    long double lx = std::min(a, b), ly = lx == a ? pa : pb;
    for (int i = 0; i < 200 && fy != ly; ++i) {
        const long double x = fx - fy * (fx - lx) / (fy - ly);
        const long double y = phi(x);
        if (std::fabs(y) <= tolerancia) return x;
        if (fy * y >= 0) {
            ly = fy * ly / (fy + y);
        } else {
            ly = fy;
            lx = fx;
        }
        fx = x;
        fy = y;
    }
    return fx;
}

long double CaudaQuiQuadrado(unsigned nu, long double x) {
    if (nu == 0 || std::isnan(x)) return Infinito;
    if (x <= 0) return 1;
    if (x >= Infinito) return 0;
    const double q = alglib::chisquarecdistribution(nu, ParaDouble(x));
    return std::clamp(static_cast<long double>(q), 0.0L, 1.0L);
}

} // namespace zelto
