// A fitted model's statistics as plain text: the sample and term counts, the dependent variable
// and its transformation, every coefficient with its standard error and t, R, R², adjusted R²,
// F, the sums of squares, the residual variance, Durbin-Watson, the Kolmogorov-Smirnov distance,
// the significant regressors, both equations and, with subject values, the estimate with its
// intervals. The command-line `fit` prints it; the desktop shows it until a report is built.
#pragma once

#include <functional>
#include <string>

namespace zelto {

class TSistema;

// `numero` writes each number (the command line: 17 digits; the desktop: the worksheet's form).
// The fit must be built up to OrdenaResiduos (and CalculaAlavancas). The text carries no markup:
// it goes through TextoSimples (common/Marcacao.h).
std::string TextoAjuste(const TSistema &s, long double confianca,
                        const std::function<std::string(long double)> &numero);

} // namespace zelto
