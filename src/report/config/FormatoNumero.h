// The report's number format: how every item writes a value that follows "the report format".
//
// The settings give the most digits a number may show, the decimal places, and three options:
// complete the decimals with zeros, do not limit the decimals, do not convert to scientific
// notation. A value is written in fixed notation with the decimal places, "," as the decimal
// separator and "." between the thousands, under these rules:
//  - the digits before the comma and after it together are at most the maximum digits: a value
//    with many integer digits loses decimals first ("do not limit the decimals" keeps them all);
//  - a value whose integer digits alone exceed the maximum, and a non-zero value that the
//    decimal places would round to zero, are written in scientific notation (the mantissa with
//    the decimal places, then "###", the exponent and "%", which the writers draw as a power of
//    ten), unless scientific notation is refused; the infinite marker is always written so,
//    and the writers draw it as the infinity sign;
//  - without "complete the decimals with zeros" the zeros at the end of the decimals are
//    dropped (and the comma when nothing follows it).
// Nothing here throws.
#pragma once

#include <cstdint>
#include <string>

namespace zelto {

struct TFormatoNumero {
    int Digitos = 7;
    int Decimais = 3;
    bool CompletarZeros = true;
    bool NaoLimitarDecimais = false;
    bool NaoConverterCientifica = false;

    std::string Formata(long double x) const;
    // The same with at most `limiteDecimais` decimals in fixed notation (a value too small to
    // show with them is still written in scientific notation with the format's decimals);
    // `usados`, when given, receives the decimals a fixed-notation value was written with, or
    // -1 (zero, scientific notation, "indefinido").
    std::string Formata(long double x, int limiteDecimais, int *usados) const;
    bool operator==(const TFormatoNumero &) const = default;
};

} // namespace zelto
