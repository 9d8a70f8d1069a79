// Probability functions of the regression engine: the standard normal distribution and its
// inverse, the tail and quantile of Student's t, the upper tail and quantile of Fisher's F, and
// the upper tail of the chi-square distribution.
//
// The normal functions are the classical rational approximations (absolute error below
// 7.5e-8 for the distribution, 4.5e-4 for the inverse); the report prints their values.
// Student's t comes from ALGLIB (double precision). The F tail is summed in long double by its
// finite series; where the series would subtract two nearly equal numbers (an odd numerator
// degree of freedom and a tail below 1e-4, i.e. a significant model) the tail is taken from
// the complemented F distribution instead (ALGLIB's incomplete beta function, as its
// fcdistribution does), so that a tail keeps its significant digits down to the smallest
// double and is never negative.
//
// None of these functions throws. Arguments that have no answer (zero degrees of freedom, a
// probability outside its range, NaN) give the marker Infinito, as noted per function.
// All functions are reentrant and may run on several threads at once.
#pragma once

#include <cstdint>

namespace zelto {

// Φ(x), the standard normal distribution function (1 above x = 100, 0 below -100).
long double DistribuicaoNormal(long double x);

// z with Φ(z) = p for 0 < p < 1. By convention 0 for p = 0 and 1 for p = 1;
// Infinito for p outside [0, 1] or NaN.
long double InversaNormal(long double p);

// P(T > |t|) for Student's t with nu degrees of freedom, computed as the distribution
// function at -|t| (no cancellation: tails far below 1e-16 keep their digits).
// Infinito for nu = 0 or t NaN.
long double CaudaStudent(std::uint16_t nu, long double t);

// t with P(T > t) = alfa for Student's t with nu degrees of freedom (a two-sided critical
// value at level a is QuantilStudent(nu, a / 2)). Infinito for nu = 0, alfa <= 0 or NaN;
// -Infinito for alfa >= 1.
long double QuantilStudent(std::uint16_t nu, long double alfa);

// P(F' > F) for Fisher's F with nu1, nu2 degrees of freedom; always in [0, 1].
// 1 for F <= 0; 0 for F >= Infinito; Infinito for nu1 = 0 or nu2 = 0 (with F > 0) or F NaN.
long double CaudaF(std::uint16_t nu1, std::uint16_t nu2, long double F);

// F with CaudaF(nu1, nu2, F) = alfa, found by a Cornish–Fisher starting value, a march that
// brackets the root and the Pegasus form of regula falsi; the tail at the answer is within
// 1e-7 of alfa (within 1e-5·alfa for alfa below 0.01). Infinito for nu1 = 0, nu2 = 0,
// alfa <= 0 or NaN; 0 for alfa >= 1.
long double QuantilF(std::uint16_t nu1, std::uint16_t nu2, long double alfa);

// P(X > x) for the chi-square distribution with nu degrees of freedom (ALGLIB's complemented
// distribution, double precision); always in [0, 1]. 1 for x <= 0; Infinito for nu = 0 or x NaN.
long double CaudaQuiQuadrado(unsigned nu, long double x);

} // namespace zelto
