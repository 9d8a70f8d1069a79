// The verdict rules of the model items, apart so that their boundaries can be checked.
#pragma once

namespace zelto {

// The class of a correlation coefficient |r|: below 0.3 "Fraca", below 0.6 "Média", below 0.9
// "Forte", up to 0.9999 inclusive "Fortíssima", above "Perfeita".
const char *ClassificaCorrelacao(long double r);
// The regression exists when F exceeds the tabulated F (F equal to it rejects).
bool RegressaoAceita(long double F, long double Ft);
// A regressor is accepted when |t| exceeds t(crítico) (equal is "Não").
bool RegressorAceito(long double t, long double tCritico);

} // namespace zelto
