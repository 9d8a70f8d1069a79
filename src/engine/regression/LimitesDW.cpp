#include "regression/LimitesDW.h"

#include "regression/Sistema.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <numbers>
#include <tuple>
#include <vector>

namespace zelto {

namespace {

// ---- Imhof's integral ---------------------------------------------------------------------
//
// For Q = Σ cᵢ zᵢ², P(Q < 0) = 1/2 − (1/π) ∫₀^∞ sin θ(u) / (u ρ(u)) du with
// θ(u) = ½ Σ atan(cᵢ u) and ρ(u) = Π (1 + cᵢ² u²)^¼. The callers give θ and log ρ at u.

struct TFase {
    double theta = 0;
    double logRho = 0;
};

// Gauss–Kronrod 7/15 nodes and weights on [−1, 1].
constexpr double NosKronrod[8] = {
    0.991455371120812639206854697526329, 0.949107912342758524526189684047851,
    0.864864423359769072789712788640926, 0.741531185599394439863864773280788,
    0.586087235467691130294144845693013, 0.405845151377397166906606412076961,
    0.207784955007898467600689403773245, 0.000000000000000000000000000000000};
constexpr double PesosKronrod[8] = {
    0.022935322010529224963732008058970, 0.063092092629978553290700663189204,
    0.104790010322250183839876322541518, 0.140653259715525918745189590510238,
    0.169004726639267902826583426598550, 0.190350578064785409913256402421014,
    0.204432940075298892414161999234649, 0.209482141084727828012999174891714};
constexpr double PesosGauss[4] = {
    0.129484966168869693270611432679082, 0.279705391489276667901467771423780,
    0.381830050505118944950369775488975, 0.417959183673469387755102040816327};

template <class F> double Integrando(const F &fase, double u) {
    const TFase f = fase(u);
    if (f.logRho > 700) return 0;
    return std::sin(f.theta) / (u * std::exp(f.logRho));
}

struct TParcela {
    double valor = 0, erro = 0, absoluto = 0;
};

// Gauss–Kronrod on [a, b]: the Kronrod estimate, |Kronrod − Gauss| and the integral of |f|.
template <class F> TParcela Kronrod15(const F &fase, double a, double b) {
    const double c = 0.5 * (a + b), h = 0.5 * (b - a);
    const double fc = Integrando(fase, c);
    double k = fc * PesosKronrod[7], g = fc * PesosGauss[3],
           absoluto = std::fabs(fc) * PesosKronrod[7];
    for (int i = 0; i < 7; ++i) {
        const double f1 = Integrando(fase, c - h * NosKronrod[i]);
        const double f2 = Integrando(fase, c + h * NosKronrod[i]);
        k += PesosKronrod[i] * (f1 + f2);
        absoluto += PesosKronrod[i] * (std::fabs(f1) + std::fabs(f2));
        if (i % 2 == 1) g += PesosGauss[i / 2] * (f1 + f2);
    }
    return {k * h, std::fabs((k - g) * h), absoluto * h};
}

// Halves [a, b] until the error estimate meets the tolerance or reaches the rounding noise.
template <class F>
double Adaptativa(const F &fase, double a, double b, double tolerancia, int profundidade) {
    const auto [valor, erro, absoluto] = Kronrod15(fase, a, b);
    if (erro <= tolerancia || erro <= 1e-14 * absoluto || profundidade >= 30) return valor;
    const double m = 0.5 * (a + b);
    return Adaptativa(fase, a, m, 0.5 * tolerancia, profundidade + 1) +
           Adaptativa(fase, m, b, 0.5 * tolerancia, profundidade + 1);
}

// P(Q < 0) from θ and log ρ; escala is about 1/√(Σ cᵢ²), where the integrand starts to fall.
// The range [0, ∞) is cut at escala, 2·escala, 4·escala... until ρ exceeds e^36: beyond that
// point the rest of the integral is below 1e-15. Each piece is integrated to 1e-11.
template <class F> double ProbabilidadeImhof(const F &fase, double escala) {
    double soma = 0, a = 0, b = escala;
    for (int i = 0; i < 400; ++i) {
        soma += Adaptativa(fase, a, b, 1e-11, 0);
        if (fase(b).logRho > 36) break;
        a = b;
        b *= 2;
    }
    return std::clamp(0.5 - soma / std::numbers::pi, 0.0, 1.0);
}

// P(Σ cᵢ zᵢ² < 0) for weights in double.
double ProbabilidadeNegativa(const std::vector<double> &c) {
    double soma2 = 0;
    for (double v : c)
        soma2 += v * v;
    if (soma2 == 0) return 0.5;
    const auto fase = [&c](double u) {
        TFase f;
        for (double v : c) {
            f.theta += std::atan(v * u);
            f.logRho += std::log1p(v * v * u * u);
        }
        f.theta *= 0.5;
        f.logRho *= 0.25;
        return f;
    };
    return ProbabilidadeImhof(fase, 1 / std::sqrt(soma2));
}

double DistribuicaoRazao(const std::vector<double> &nu, double x) {
    std::vector<double> c(nu.size());
    for (std::size_t i = 0; i < nu.size(); ++i)
        c[i] = nu[i] - x;
    return ProbabilidadeNegativa(c);
}

// Brent's root finder for g(x) = 0 on [a, b] with g(a) and g(b) of opposite signs.
template <class G> double Brent(const G &g, double a, double b, double ga, double gb, double tol) {
    double c = a, gc = ga, d = b - a, e = d;
    for (int iter = 0; iter < 200; ++iter) {
        if ((gb > 0 && gc > 0) || (gb < 0 && gc < 0)) {
            c = a;
            gc = ga;
            d = e = b - a;
        }
        if (std::fabs(gc) < std::fabs(gb)) {
            a = b;
            b = c;
            c = a;
            ga = gb;
            gb = gc;
            gc = ga;
        }
        const double tol1 = 2 * 1e-16 * std::fabs(b) + 0.5 * tol;
        const double xm = 0.5 * (c - b);
        if (std::fabs(xm) <= tol1 || gb == 0) return b;
        if (std::fabs(e) >= tol1 && std::fabs(ga) > std::fabs(gb)) {
            const double s = gb / ga;
            double p, q;
            if (a == c) {
                p = 2 * xm * s;
                q = 1 - s;
            } else {
                const double qq = ga / gc, r = gb / gc;
                p = s * (2 * xm * qq * (qq - r) - (b - a) * (r - 1));
                q = (qq - 1) * (r - 1) * (s - 1);
            }
            if (p > 0) q = -q;
            p = std::fabs(p);
            if (2 * p < std::min(3 * xm * q - std::fabs(tol1 * q), std::fabs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = xm;
                e = d;
            }
        } else {
            d = xm;
            e = d;
        }
        a = b;
        ga = gb;
        b += std::fabs(d) > tol1 ? d : std::copysign(tol1, xm);
        gb = g(b);
    }
    return b;
}

double Quantil(const std::vector<double> &nu, double alfa) {
    const auto [minimo, maximo] = std::minmax_element(nu.begin(), nu.end());
    if (*maximo - *minimo <= 1e-15 * std::fabs(*maximo)) return *minimo;
    const double m = static_cast<double>(nu.size());
    double media = 0, soma2 = 0;
    for (double v : nu)
        media += v / m;
    for (double v : nu)
        soma2 += (v - media) * (v - media);
    const double desvio = std::sqrt(2 * soma2 / (m * (m + 2)));
    const auto g = [&](double x) { return DistribuicaoRazao(nu, x) - alfa; };
    // Bracket the quantile by steps of half a standard deviation from the normal guess.
    const double z = alfa < 0.5 ? -1.6448536 : 1.6448536;
    double x = std::clamp(media + z * desvio, *minimo, *maximo);
    double gx = g(x);
    const double passo = (gx > 0 ? -1 : 1) * std::max(0.5 * desvio, 1e-12);
    double y = x, gy = gx;
    for (int i = 0; i < 200 && ((gx > 0) == (gy > 0)) && gy != 0; ++i) {
        x = y;
        gx = gy;
        y = std::clamp(y + passo, *minimo, *maximo);
        gy = (y == *minimo) ? -alfa : (y == *maximo) ? 1 - alfa : g(y);
    }
    if (gy == 0) return y;
    return Brent(g, x, y, gx, gy, 1e-9);
}

std::vector<double> EmDouble(std::span<const long double> v) {
    return std::vector<double>(v.begin(), v.end());
}

// Eigenvalues 2(1 − cos(πj/n)) of the difference matrix, j = primeiro..primeiro + quantos − 1.
std::vector<double> AutovaloresDW(unsigned n, unsigned primeiro, unsigned quantos) {
    std::vector<double> v(quantos);
    for (unsigned i = 0; i < quantos; ++i)
        v[i] = 2 * (1 - std::cos(std::numbers::pi * (primeiro + i) / n));
    return v;
}

} // namespace

long double ProbabilidadeFormaNegativa(std::span<const long double> c) {
    return ProbabilidadeNegativa(EmDouble(c));
}

long double DistribuicaoRazaoQuadratica(std::span<const long double> nu, long double x) {
    if (nu.empty()) return 0.5;
    return DistribuicaoRazao(EmDouble(nu), static_cast<double>(x));
}

long double QuantilRazaoQuadratica(std::span<const long double> nu, long double alfa) {
    if (nu.empty()) return 0;
    return Quantil(EmDouble(nu), static_cast<double>(alfa));
}

std::optional<TLimitesDW> LimitesDWCalculados(unsigned n, unsigned k, long double alfa) {
    if (k == 0 || n < k + 3 || !(alfa > 0 && alfa < 0.5L)) return std::nullopt;
    using TChave = std::tuple<unsigned, unsigned, long double>;
    static std::mutex trava;
    static std::map<TChave, TLimitesDW> cache;
    const TChave chave{n, k, alfa};
    {
        std::lock_guard<std::mutex> l(trava);
        if (auto i = cache.find(chave); i != cache.end()) return i->second;
    }
    const unsigned m = n - k - 1;
    TLimitesDW limites;
    limites.Inferior = Quantil(AutovaloresDW(n, 1, m), static_cast<double>(alfa));
    limites.Superior = Quantil(AutovaloresDW(n, k + 1, m), static_cast<double>(alfa));
    std::lock_guard<std::mutex> l(trava);
    cache.emplace(chave, limites);
    return limites;
}

std::optional<long double>
DistribuicaoDWModelo(long double x, std::span<const long double> regressores, std::size_t n) {
    if (n == 0 || regressores.size() % n != 0 || !std::isfinite(x)) return std::nullopt;
    const std::size_t p = regressores.size() / n + 1;
    if (n < p + 2) return std::nullopt;

    // Orthonormal basis Q of the design's columns (the intercept first), by Gram–Schmidt
    // applied twice; a column that almost vanishes makes the design singular.
    std::vector<long double> q(n * p);
    for (std::size_t i = 0; i < n; ++i)
        q[i] = 1;
    std::copy(regressores.begin(), regressores.end(), q.begin() + static_cast<std::ptrdiff_t>(n));
    for (std::size_t j = 0; j < p; ++j) {
        long double *cj = &q[j * n];
        long double norma0 = 0;
        for (std::size_t i = 0; i < n; ++i)
            norma0 += cj[i] * cj[i];
        for (int vez = 0; vez < 2; ++vez)
            for (std::size_t l = 0; l < j; ++l) {
                const long double *cl = &q[l * n];
                long double r = 0;
                for (std::size_t i = 0; i < n; ++i)
                    r += cl[i] * cj[i];
                for (std::size_t i = 0; i < n; ++i)
                    cj[i] -= r * cl[i];
            }
        long double norma = 0;
        for (std::size_t i = 0; i < n; ++i)
            norma += cj[i] * cj[i];
        if (!(norma > 1e-20L * norma0) || !std::isfinite(norma)) return std::nullopt;
        norma = std::sqrt(norma);
        for (std::size_t i = 0; i < n; ++i)
            cj[i] /= norma;
    }
    const std::vector<double> Q(q.begin(), q.end());
    const double xd = static_cast<double>(x);

    // log det(I − iu·M(A − xI)M) = log det(T) + log det(QᴴT⁻¹Q), T = I − iu(A − xI). Every
    // pivot of the two eliminations (T is tridiagonal, and both matrices have a positive
    // definite Hermitian part, so no pivoting is needed) has an argument in (−π/2, π/2) that
    // is its share of the continuous argument, by the interlacing of the eigenvalues of
    // nested compressions; the sum of their logarithms is therefore the continuous log det.
    using C = std::complex<double>;
    std::vector<C> piv(n), l(n), y(n * p), g(p * p);
    const auto fase = [&](double u) {
        const C s(0, u);
        C logdet = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const double a = (i == 0 || i + 1 == n) ? 1 : 2;
            const C t = 1.0 - s * (a - xd);
            if (i == 0) {
                piv[i] = t;
            } else {
                l[i] = s / piv[i - 1];
                piv[i] = t - l[i] * s;
            }
            logdet += std::log(piv[i]);
        }
        for (std::size_t j = 0; j < p; ++j) {
            const double *qj = &Q[j * n];
            C *yj = &y[j * n];
            yj[0] = qj[0];
            for (std::size_t i = 1; i < n; ++i)
                yj[i] = qj[i] - l[i] * yj[i - 1];
            yj[n - 1] /= piv[n - 1];
            for (std::size_t i = n - 1; i-- > 0;)
                yj[i] = (yj[i] - s * yj[i + 1]) / piv[i];
        }
        for (std::size_t a = 0; a < p; ++a)
            for (std::size_t b = 0; b < p; ++b) {
                C soma = 0;
                const double *qa = &Q[a * n];
                const C *yb = &y[b * n];
                for (std::size_t i = 0; i < n; ++i)
                    soma += qa[i] * yb[i];
                g[a * p + b] = soma;
            }
        for (std::size_t c = 0; c < p; ++c) {
            logdet += std::log(g[c * p + c]);
            for (std::size_t a = c + 1; a < p; ++a) {
                const C f = g[a * p + c] / g[c * p + c];
                for (std::size_t b = c + 1; b < p; ++b)
                    g[a * p + b] -= f * g[c * p + b];
            }
        }
        return TFase{-0.5 * logdet.imag(), 0.5 * logdet.real()};
    };
    // The scale of the integrand from the eigenvalues of A, which bound those of M·A·M.
    double soma2 = 0;
    for (std::size_t j = 1; j < n; ++j) {
        const double v = 2 * (1 - std::cos(std::numbers::pi * static_cast<double>(j) / n)) - xd;
        soma2 += v * v;
    }
    if (soma2 == 0) return 0.5L;
    const double f = ProbabilidadeImhof(fase, 1 / std::sqrt(soma2));
    if (!std::isfinite(f)) return std::nullopt;
    return f;
}

std::optional<TProbabilidadeDW> ProbabilidadeDW(const TSistema &s) {
    const std::size_t n = s.n(), m = s.m();
    if (m <= 1 || n < m + 2 || s.AjusteExato()) return std::nullopt;
    std::vector<long double> x((m - 1) * n);
    for (std::size_t k = 2; k <= m; ++k)
        for (std::size_t i = 1; i <= n; ++i)
            x[(k - 2) * n + i - 1] = s.ValorTransformado(k, i);
    const auto f = DistribuicaoDWModelo(s.DurbinWatson(), x, n);
    if (!f) return std::nullopt;
    if (*f <= 0.5L) return TProbabilidadeDW{*f, true};
    return TProbabilidadeDW{1 - *f, false};
}

} // namespace zelto
