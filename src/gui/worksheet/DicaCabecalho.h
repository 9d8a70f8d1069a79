// The hint shown when the pointer rests on the header cell of a used column:
// the variable's name, its kind with the kind's settings, and its role in the
// evaluation. The whole text is cut to 255 characters. Lines end with "\r\n".
#pragma once

#include "worksheet/Gridzelto.h"

#include <string>

namespace zelto {

// Empty for a column outside 1..ColunasUsadas or without a variable.
std::string DicaCabecalho(const TGridzelto &g, int c, bool modoInferencial);

} // namespace zelto
