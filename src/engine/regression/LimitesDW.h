// The exact null distribution of the Durbin–Watson statistic, its bounds dL and dU for any
// number of samples and regressors, and the exact probability of a model's own statistic.
//
// Under independent normal errors the statistic of a regression with intercept on n samples
// and k regressors is d = Σ νᵢ zᵢ² / Σ zᵢ², i = 1..n − k − 1, with zᵢ independent standard
// normal and νᵢ the non-zero eigenvalues of M·A·M (A the tridiagonal difference matrix of d,
// M the residual maker of the design). The eigenvalues of A are λⱼ = 2(1 − cos(πj/n)),
// j = 0..n − 1, and νᵢ lies between λᵢ and λᵢ₊ₖ whatever the design: the lower bound dL is the
// α-quantile of Σ λᵢ zᵢ²/Σ zᵢ² (i = 1..n − k − 1), the upper bound dU that of
// Σ λᵢ₊ₖ zᵢ²/Σ zᵢ².
//
// P(d ≤ x) = P(Σ (νᵢ − x) zᵢ² ≤ 0) is computed with Imhof's inversion of the characteristic
// function, integrated numerically to an absolute error near 1e-11. For a model's own design
// the characteristic function comes from determinants of tridiagonal and small dense complex
// matrices, so the cost grows as n·p² per point of the integral (p the number of columns),
// never as n³.
//
// Pure functions; the bounds are cached per (n, k, level) behind a mutex, so any thread may
// call them. Nothing here throws.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace zelto {

class TSistema;

// P(Σ cᵢ zᵢ² < 0) for zᵢ independent standard normal: 0.5 when every cᵢ is 0.
long double ProbabilidadeFormaNegativa(std::span<const long double> c);

// P(Σ νᵢ zᵢ² / Σ zᵢ² ≤ x) and its α-quantile (to about 1e-9), for at least one weight.
long double DistribuicaoRazaoQuadratica(std::span<const long double> nu, long double x);
long double QuantilRazaoQuadratica(std::span<const long double> nu, long double alfa);

struct TLimitesDW {
    long double Inferior = 0; // dL
    long double Superior = 0; // dU
};

// The bounds computed for n samples and k regressors (intercept excluded) at the level alfa
// (any level in (0, 0.5)); nothing when n < k + 3, k = 0 or the level is outside (0, 0.5).
std::optional<TLimitesDW> LimitesDWCalculados(unsigned n, unsigned k, long double alfa);

// P(d ≤ x) under independent normal errors for the regression with intercept on the given
// regressors: column j of the design is regressores[j·n .. j·n + n − 1] (no intercept column;
// it is added). Nothing when the design leaves fewer than 2 residual degrees of freedom or is
// singular.
std::optional<long double>
DistribuicaoDWModelo(long double x, std::span<const long double> regressores, std::size_t n);

// The exact one-sided probability of the fitted model's own statistic d and its direction:
// P(D ≤ d) towards positive autocorrelation when that is at most 0.5, else P(D ≥ d) towards
// negative autocorrelation. Nothing for a model without regressors, without residual degrees of
// freedom or with an exact fit.
struct TProbabilidadeDW {
    long double Valor = 0;
    bool Positiva = true;
};
std::optional<TProbabilidadeDW> ProbabilidadeDW(const TSistema &s);

} // namespace zelto
