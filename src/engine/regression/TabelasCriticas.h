// Critical-value tables of the residual tests: Chauvenet's ratio, Arley's critical values,
// the Kolmogorov–Smirnov critical distance and the Durbin–Watson bounds.
//
// Chauvenet, Arley and Kolmogorov–Smirnov (n <= 50) are looked up by linear interpolation
// between the two tabulated sample sizes around n; beyond the last row the line through the
// last two rows is extended (Chauvenet from 100 and 200 samples, Arley from 100 and 120).
// Below the first row the first row's value is returned. The Durbin–Watson bounds are taken
// from the published bounds for 15, 20, 25, 30, 40, 50, 60, 80 and 100 samples by class of n
// (16–20 reads 20, ..., 81–100 reads 100) without interpolation, for 15 to 100 samples and 1 to
// 5 regressors; outside that range they are computed exactly (LimitesDW.h), which reproduces
// every stored cell to its two decimals.
//
// Pure functions of their arguments; they never throw.
#pragma once

#include <cstdint>

namespace zelto {

// Chauvenet's ratio for n samples (1.65 for 5, 3.02 for 200).
long double ValorChauvenet(unsigned n);

// Arley's critical value for n samples at a level in percent: 10, 5, 1 or 0.1 (a level
// within 1e-9 of one of them selects it); any other level uses the 10 % column.
long double ValorArley(unsigned n, long double nivel);

// Kolmogorov–Smirnov critical distance for n samples at a level given as a whole percentage
// (20, 15, 10, 5 or 1). For n > 50: c/√n with c = 1.07, 1.14, 1.22, 1.36, 1.63, and 0 for
// any other level. For n <= 50 another level selects the column 5 - nivel/5 (integer
// division; 0..4 is the 1 % column); a level of 25 % or more, or a negative one, gives 0.
long double CriticoKS(int nivel, unsigned n);

// Durbin–Watson lower and upper bounds for n samples, kLinha regressors and the level alfa:
// 0.01 selects 1 %, 0.025 selects 2.5 %, any other value 5 % (a level within 1e-9 of 0.01 or
// 0.025 selects it). Computed for n < 15, n > 100 or kLinha > 5 when n >= kLinha + 3; the
// stored table otherwise (kLinha = 0 reads the column 1, n = 0 and a model too small to
// compute read the class of its n, with more than 5 regressors the column 5).
long double LimiteBaixoDW(unsigned n, unsigned kLinha, long double alfa);
long double LimiteAltoDW(unsigned n, unsigned kLinha, long double alfa);

} // namespace zelto
