// Process-wide statistics mode of the program.
//
// ModoInferencial: true for regression, false for the descriptive mode with
// homogenisation factors. CriarValorHomogeneizado: in the descriptive mode the
// "Valor Homog." column is created automatically. The settings file gives both
// at start-up; the mode command and reading a file change the mode.
#pragma once

namespace zelto {

inline bool ModoInferencial = true;
inline bool CriarValorHomogeneizado = true;

} // namespace zelto
