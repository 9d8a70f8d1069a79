// The descriptive mode of `zelto-cli report`: the homogenisation coefficients (--factors) and
// the worksheet made ready as entering the mode makes it, so the whole path runs headless.
#pragma once

#include "worksheet/Gridzelto.h"

#include <string>

namespace zelto::cli {

// --factors NAME,NAME: exactly these variables are the used homogenisation coefficients; the
// unit value (the dependent variable, or the one the "Valor Homog." column homogenises) stays
// used and is no coefficient; every other variable stops being used, since in the descriptive
// mode every used column multiplies the homogenised value. Then date and comment columns stop
// being used and the "Valor Homog." column is ensured. Without --factors, a worksheet with used
// columns that are not marked as coefficients is refused, naming them: its valuation would be
// of a sample nobody homogenised. An unknown name, a name given twice, the unit value or the
// value evaluated, a date or comment variable, or an empty list is bad usage (TFalha{2}); a
// worksheet without a unit value is a failure (TFalha{1}).
void PreparaDescritiva(TGridzelto &g, const std::string &fatores);

} // namespace zelto::cli
