// Small builders shared by the worksheet tests.
#pragma once

#include "worksheet/Gridzelto.h"

#include <string>
#include <utility>

namespace zelto::teste {

inline TVariavel Var(TipoVariavel t, const std::string &nome, bool usada = true) {
    TVariavel v;
    v.Nome = nome;
    v.Tipo = t;
    v.Usada = usada;
    return v;
}

// Puts a variable on column c with its name in the header, as a definition would.
inline void Define(TGridzelto &g, int c, TVariavel v, TDataFormat f = {}) {
    g.AtribuiCelula(c, 0, v.Nome);
    g.DefineFormato(c, std::move(f));
    g.DefineVariavel(c, std::move(v));
    if (c > g.ColunasUsadas()) g.DefineColunasUsadas(c);
}

} // namespace zelto::teste
