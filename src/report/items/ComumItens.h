// Small pieces shared by the item families: model variable names, degrees of freedom, the
// sentence of a level fixed by the valuation standard, the outlier criterion text.
#pragma once

#include "regression/Sistema.h"
#include "significance/Significancias.h"

#include <string>
#include <vector>

namespace zelto {

// Variable k's name as the report prints it: literal, whatever "#" or "%" it holds.
std::string NomeVar(const TSistema &s, std::size_t k);
// "[name]" in the text form of term k's transformation ("Ln([Área])").
std::string NomeTransformado(const TSistema &s, std::size_t k);
// The fitted equation, "[y] = b0 + b1 x [x1] ...", with each variable's name literal; in the
// original scale (the dependent untransformed) when `original`.
std::string EquacaoLiteral(const TSistema &s, bool original);
// k = m − 1 independent variables; n − k − 1 residual degrees of freedom (0 when negative).
std::size_t Regressores(const TSistema &s);
std::uint16_t GrausLiberdade(const TSistema &s);
// The number a sample shows ("Nº Am."): the number in its row header, else its row.
std::string NumeroAmostraTexto(const TSistema &s, std::size_t i);
// The smallest and the largest raw value of term k's variable over the samples in use.
struct TLimitesAmostra {
    long double Minimo = 0, Maximo = 0;
};
TLimitesAmostra LimitesTermo(const TSistema &s, std::size_t k);
// x, or 0 when x is zero up to the rounding of the sums that make a mean of the fit's values
// (the mean residual, the first central moment): |x| ≤ n·ε·M, ε the precision of long double
// and M the largest |yᵢ| of the dependent variable in the model's scale. A sum of n values of
// that size carries errors of that order, so a smaller mean is noise, not a number to print.
long double ZeroDeArredondamento(const TSistema &s, long double x);
// "Nível de significância se enquadra em " + description + ".".
std::string FraseNorma(const TSignificancias &sig);
// The outlier criterion text (its heading line, the method lines each opening with a tab) and
// the limit factor of the criterion for n samples, as the residual items and the ranked-models
// notes write it.
std::vector<std::string> TextoCriterioOutlier(const TSignificancias &sig, std::size_t n,
                                              bool inferencial);

} // namespace zelto
