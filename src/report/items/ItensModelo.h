// The verdict rules of the model items, apart so that their boundaries can be checked.
#pragma once

#include <string>

namespace zelto {

// The class of a correlation coefficient |r|: below 0.3 "Fraca", below 0.6 "Média", below 0.9
// "Forte", up to 0.9999 inclusive "Fortíssima", above "Perfeita".
const char *ClassificaCorrelacao(long double r);
// The regression exists when F exceeds the tabulated F (F equal to it rejects).
bool RegressaoAceita(long double F, long double Ft);
// A regressor is accepted when |t| exceeds t(crítico) (equal is "Não").
bool RegressorAceito(long double t, long double tCritico);

// Two regressors whose correlation passes the t test (|t| above t crítico, either sign) are
// said to be significantly correlated, with r printed; only from |r| = 0.80 up are they called
// strongly correlated with a warning of multicollinearity. A significant r says only that r is
// not 0 (with hundreds of samples r = 0.07 passes); pairwise |r| ≥ 0.8, where the variance of
// each coefficient grows by 1/(1 − r²) ≈ 2.8 or more, is the usual threshold at which two
// regressors carry much the same information.
inline constexpr long double kCorrelacaoForte = 0.80L;
std::string FraseCorrelacaoParcial(const std::string &a, const std::string &b, long double r);

} // namespace zelto
