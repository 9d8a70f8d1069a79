// What the estimate items read of the property under evaluation and of the worksheet's
// variables, as plain records: the words that speak of the property, whether each variable has
// a value for it, and a value written in a variable's own form.
#pragma once

#include <string>

namespace zelto {

class TGridzelto;

struct TNomeObjeto {
    std::string Texto, Unidade;
    bool Feminino = false;
    bool UnidadeDepois = false; // the unit follows the number
};

struct TDescricaoObjeto {
    TNomeObjeto Objeto;         // the property and the unit of the dependent variable
    TNomeObjeto Caracteristica; // the multiplicative characteristic
    TNomeObjeto ValorFinal;     // the name of the final value
    long double Multiplicador = 0;

    // "o objeto", or "a casa" / "o terreno": the article and the designation.
    std::string ComArtigo() const;
    // "do objeto", "da casa".
    std::string Contraido() const;
    // A number with the unit of the dependent variable before or after it.
    std::string ComUnidade(const std::string &numero) const;
};

TDescricaoObjeto DescricaoObjeto(const TGridzelto &g);

// True when the property has a non-empty value for the variable of column c.
bool ObjetoTemValor(const TGridzelto &g, int coluna);
// The property's value of column c as typed (empty when not given).
std::string TextoObjetoVariavel(const TGridzelto &g, int coluna);
// A value in column c's own form: numbers and calculated values with the variable's decimals,
// labels for qualitative and dichotomous values, dates as dates.
std::string TextoValorColuna(const TGridzelto &g, int coluna, long double x);

} // namespace zelto
