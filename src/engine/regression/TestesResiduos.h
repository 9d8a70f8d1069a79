// Tests on the residuals of a fitted model: the Kolmogorov–Smirnov normality test, the
// Durbin–Watson autocorrelation test and the outlier criteria.
//
// They take what they need as plain numbers and vectors, so that the regression system, the
// report items and the model search (on any thread) can call them with the residuals of the
// model at hand. The significance levels and the outlier criterion come from the significance
// settings; the caller passes them. Pure functions; they never throw.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace zelto {

// ---- Normality (Kolmogorov–Smirnov) ----

// The level in whole percent for a level alfa: trunc(100·alfa), where a value a hair below a
// whole number (0.15 stored in binary gives 14.999...) counts as that number.
int NivelPercentual(long double alfa);

// Largest distance D between Φ of the standardized residuals and the empirical distribution:
// with z sorted ascending, max over i of |Φ(z_i) − (i − 1)/n| and |Φ(z_i) − i/n|. The
// residuals may come in any order. 0 for no residuals.
long double DistanciaKS(std::span<const long double> padronizados);

// True when the standardized residuals pass the normality test at level alfa:
// D < CriticoKS(NivelPercentual(alfa), n). False when |R| > 0.9999 (an exact fit, whose
// residuals are all 0) or when there are no residuals.
bool TesteNormalidade(long double R, std::span<const long double> padronizados, long double alfa);

// ---- Autocorrelation (Durbin–Watson) ----

// d = Σ_{i>=2} (e_i − e_{i−1})² / Σ e_i², residuals in sample order; 1 when Σ e_i² = 0.
long double EstatisticaDW(std::span<const long double> residuos);

// Verdict on a statistic d for n samples and kLinha regressors: 1 positive autocorrelation
// (d <= dL), −1 negative (d >= 4 − dL), 2 inconclusive (dL < d < dU or 4 − dU < d < 4 − dL),
// 0 none.
int ClassificaDW(long double d, unsigned n, unsigned kLinha, long double alfa);

// The Durbin–Watson test of a model with m terms (the dependent variable and m − 1
// regressors) on its residuals in sample order: 2 (inconclusive) when m <= 1, else
// ClassificaDW(EstatisticaDW(residuos), n, m − 1, alfa).
int TesteAutocorrelacao(std::span<const long double> residuos, unsigned m, long double alfa);

// ---- Outliers ----

// Criteria of the significance settings.
enum CriterioOutlier : int {
    coDesvioPadrao = 0, // parametro standard deviations
    coMedia = 1,        // parametro percent of the mean
    coChauvenet = 2,    // Chauvenet's ratio for n
    coArley = 3,        // Arley's value for n at the level parametro (10, 5, 1 or 0.1 %)
};

// The limit L around the mean residual beyond which a sample is an outlier: parametro·s,
// parametro·media/100, ValorChauvenet(n)·s or ValorArley(n, parametro)·s by the criterion;
// 0 for any other criterion. s is the residual standard deviation, media the mean residual
// (in the descriptive mode the mean value), n the number of samples.
long double LimiteOutlier(int criterio, long double parametro, long double s, long double media,
                          std::size_t n);

// The criterion as a mode applies it. "Média" bounds a deviation by a percentage of the mean,
// which measures something only where the mean is that of the values (the descriptive mode,
// whose deviations are taken around the mean value). Residuals of a fitted model have mean 0,
// so that limit would be 0 and every sample an outlier: the inferential mode reads "Média" as
// the standard-deviation criterion with kFatorDesvioPadrao deviations, and says so
// (Substituido). The search's sanitation, the outlier counts and the report all go through
// this function.
inline constexpr long double kFatorDesvioPadrao = 2.0L;
struct TCriterioAplicado {
    int Criterio = coDesvioPadrao;
    long double Parametro = kFatorDesvioPadrao;
    bool Substituido = false; // "Média" read as the standard-deviation criterion
};
TCriterioAplicado CriterioAplicado(int criterio, long double parametro, bool inferencial);

// Number of residuals with |e_i − media| > L (strictly) for the criterion, n being the size of
// the vector.
std::size_t NumeroOutliers(std::span<const long double> residuos, long double media, long double s,
                           int criterio, long double parametro);

// Position of the residual farthest from media among those with |e_i − media| > limite (the
// first one on ties), or nothing when none is beyond the limit. The automatic outlier
// removal takes out this sample and refits.
std::optional<std::size_t> MaiorOutlier(std::span<const long double> residuos, long double media,
                                        long double limite);

} // namespace zelto
