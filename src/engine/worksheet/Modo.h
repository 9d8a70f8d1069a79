// The statistics mode of a worksheet document.
//
// Inferencial: true for regression, false for the descriptive mode with homogenisation
// factors. CriarValorHomogeneizado: in the descriptive mode the "Valor Homog." column is
// created automatically. The mode belongs to the worksheet (TGridzelto::Modo): the front end
// sets it from its settings and its mode command, reading a file sets it from the file, and
// the regression system, the search and the report read it from the worksheet they are given.
#pragma once

namespace zelto {

struct TModoPlanilha {
    bool Inferencial = true;
    bool CriarValorHomogeneizado = true;
    bool operator==(const TModoPlanilha &) const = default;
};

} // namespace zelto
