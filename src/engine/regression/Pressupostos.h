// Tests of the assumptions of a fitted linear regression: constant variance of the errors
// (homoscedasticity) by the Breusch–Pagan test in Koenker's studentized form and by White's
// test, and collinearity of the regressors by their variance inflation factors.
//
// Both variance tests regress the squared residuals on a set of columns Z with an intercept and
// take n·R² of that auxiliary regression as a chi-square with (rank of [1 Z]) − 1 degrees of
// freedom; a small significance rejects constant variance:
//  - Breusch–Pagan (Koenker): Z are the model's regressors;
//  - White: Z are the regressors, their squares and their cross products; squares only when the
//    cross products would leave the auxiliary regression no degree of freedom (rank >= n).
// Columns that add no direction to the earlier ones (the square of a 0/1 variable is the
// variable itself) are left out, and the degrees of freedom count only the columns kept, as
// R's lm does (a column whose part not explained by the earlier ones is below 1e-7 of its
// norm).
//
// The columns are the transformed ones of the fit (TSistema::ValorTransformado over the active
// samples); the residuals are the fit's (TSistema::ResiduoBruto), so the fit must be built up to
// CalculaResiduos. Nothing here throws.
#pragma once

#include "common/Numeros.h"
#include "regression/Sistema.h"

#include <optional>
#include <span>
#include <vector>

namespace zelto {

struct TTesteVariancia {
    long double Estatistica = 0; // n·R² of the auxiliary regression
    unsigned GrausLiberdade = 0;
    long double Significancia = 0; // P(χ² > Estatistica)
    bool SoQuadrados = false;      // White's test without the cross products
};

// The tests on plain columns: residuals e (n values) and regressors x (each n values).
// Nothing when there are no residuals to speak of (every eᵢ² equal), when no regressor adds a
// direction, or when the auxiliary regression has no degree of freedom left.
std::optional<TTesteVariancia> BreuschPagan(std::span<const long double> residuos,
                                            std::span<const std::vector<long double>> regressores);
std::optional<TTesteVariancia> White(std::span<const long double> residuos,
                                     std::span<const std::vector<long double>> regressores);
// A regressor whose variance inflation factor exceeds this bound is taken as collinear with the
// others.
inline constexpr long double LimiteFatorInflacao = 10;

// 1/(1 − R²ⱼ), R²ⱼ of regressor j on the others with an intercept; Infinito when regressor j is
// a combination of the others; 1 for a single regressor.
std::vector<long double> FatoresInflacao(std::span<const std::vector<long double>> regressores);

// The same on a fitted model's transformed regressors (terms 2..m, in order) and residuals.
std::vector<std::vector<long double>> RegressoresTransformados(const TSistema &s);
std::optional<TTesteVariancia> BreuschPagan(const TSistema &s);
std::optional<TTesteVariancia> White(const TSistema &s);
// Per regressor, term 2 first.
std::vector<long double> FatoresInflacao(const TSistema &s);

} // namespace zelto
