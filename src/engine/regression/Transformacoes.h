// The fifteen scale transformations through which every variable enters a regression model.
//
// A model gives each worksheet variable one transformation code, 0..14; code 0 leaves the
// variable out. For each code this unit applies the transformation f(x), its inverse g(y)
// (to bring an estimate back to the scale of the dependent variable), its first derivative
// f'(x) (for marginal effects), and writes its textual form for equations and column titles
// (exponents stand between the markers "%^%" and "%", e.g. "[Área]%^%1/2%").
//
// Arithmetic is done in long double. None of these functions throws or stops the program: each
// returns its value with an error code (TValorTransformado), and a transformation that fails
// returns a number with a non-zero code:
//   1  an arithmetic fault (division by zero, square root of a negative number, overflow of
//      the exponential or of a power, a result that underflows to 0 or to a subnormal number
//      from non-zero operands, such as e^(−42000), and the like); the result is then 0;
//   4  zero raised to a non-positive power; the result is Infinito;
//   5  logarithm of zero or of a negative number; the result is -Infinito;
//   6  negative number raised to a fractional power (e.g. a cube root); the result is Infinito.
// The regression system rejects a model in which a transformation failed on an active sample.
// The functions keep no state: they may run on any number of threads at once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelto {

// Highest transformation code; codes run 0..MaiorCodigoTransformacao.
inline constexpr std::uint8_t MaiorCodigoTransformacao = 14;

// A transformed value and its error code (0 = no error; 1, 4, 5 or 6 as above).
struct TValorTransformado {
    long double Valor = 0;
    std::uint8_t Erro = 0;
};

// f(x) for the code; 0 for code 0 and for codes outside 0..14.
TValorTransformado FuncaoTransformacao(std::uint8_t codigo, long double x);
// g(y), the inverse of f; 0 for code 0 and for codes outside 0..14.
TValorTransformado FuncaoInversa(std::uint8_t codigo, long double y);
// f'(x); 0 for code 0 and for codes outside 0..14.
TValorTransformado DerivadaTransformacao(std::uint8_t codigo, long double x);

// Written form of the variable text v (usually "[" + name + "]") under the code:
// "Ln([Área])", "1/[Área]%^%1/2%", ...; "0" for code 0 and for codes outside 0..14.
std::string NomeTransformacao(std::string_view v, std::uint8_t codigo);

// The text written before and after the linear predictor in the equation in the original
// scale of a dependent variable under the code ("Exp(" and ")" for code 2); empty for codes 0
// and 1 and for codes outside 0..14.
std::string_view PrefixoInversa(std::uint8_t codigo);
std::string_view SufixoInversa(std::uint8_t codigo);

// What a transformation's error code means, in the user's words: "logaritmo de zero ou de
// número negativo" for 5, "zero elevado a potência não positiva" for 4, "potência fracionária de
// número negativo" for 6, "erro aritmético" otherwise.
std::string_view DescricaoErroTransformacao(std::uint8_t erro);

// Name of the code in the search configuration: "Não usada", "Proporcional", "Logarítmica",
// ...; empty for codes outside 0..14.
std::string_view DescricaoTransformacao(std::uint8_t codigo);

} // namespace zelto
