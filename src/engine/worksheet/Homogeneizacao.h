// The worksheet of the descriptive mode: the unit value, the homogenisation coefficients
// (factors) that multiply it, and the "Valor Homog." column that holds the product.
//
// In the descriptive mode the value evaluated is the dependent column's mean. It is a sound
// valuation only when that column is the homogenised value (a calculated column, normally the
// "[Valor Homogeneizado]" one) and every column entering it is a factor the report checks:
// the "[Valor Homogeneizado]" product takes every used column, so a used column that is not
// marked as a coefficient is a multiplier nobody checks. FatoresPlanilha tells the front ends
// and the report what is there and what is missing: the desktop offers to mark the unmarked
// columns after reading a file, zelto-cli asks for --factors, and the report values nothing
// while anything is missing.
#pragma once

#include "worksheet/Gridzelto.h"

#include <vector>

namespace zelto {

struct TFatoresPlanilha {
    int Dependente = 0;         // the column valued (ColunaDependente), 0 when none
    int ValorUnitario = 0;      // the unit value that the factors multiply, 0 when none
    bool Homogeneizado = false; // the dependent column is calculated (the homogenised value)
    std::vector<int> Fatores;   // used columns marked as coefficients, in column order
    std::vector<int> SemMarca;  // used columns that could be factors but are not marked
};

// What the descriptive worksheet holds. The unit value: the dependent column itself when it is
// not calculated; otherwise the used column that held the dependent mark before the
// "Valor Homog." column took it, else the first used column that is no coefficient, else the
// first used one (date and comment columns never count). Factors and unmarked columns leave out
// the dependent and the unit value, and date and comment columns, which the descriptive mode
// does not use.
TFatoresPlanilha FatoresPlanilha(const TGridzelto &g);

// Whether a variable may be a homogenisation coefficient: every kind but date and comments.
bool PodeSerFator(const TVariavel &v);

// Marks the columns as used homogenisation coefficients (through DefineVariavel, so views hear
// of it) and recalculates; the worksheet counts as modified when anything changed.
void MarcaFatores(TGridzelto &g, const std::vector<int> &colunas);

// The worksheet's side of entering the descriptive mode: date and comment columns stop being
// used, then, with the worksheet mode's CriarValorHomogeneizado and more than one used column,
// the "Valor Homog." column is ensured.
void AplicaModoDescritivo(TGridzelto &g);

} // namespace zelto
