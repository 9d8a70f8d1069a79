// The verdict rules of the residual, normality and estimate items, apart so that their
// boundaries can be checked.
#pragma once

namespace zelto {

// The class of a sample by its coefficient of variation in percent (its absolute value): below
// 10 "ótima", below 14 "boa- classe 1", below 18 "boa- classe 2", below 22 "boa- classe 3",
// else "razoável.".
const char *ClassificaCoeficienteVariacao(long double cv);
// A residual is an outlier when |e| exceeds the limit L (a residual at L is not).
bool ForaDoLimite(long double residuo, long double limite);
// A sample passes the influence test when the tabulated F exceeds its Cook's distance.
bool CookAceito(long double cook, long double fTabelado);
// Normality is rejected when the critical distance does not exceed D.
bool NormalidadeRejeitada(long double d, long double critico);

} // namespace zelto
