// Number texts of the program.
//
// The worksheet and the report write numbers with "," as the decimal separator
// and "." as the thousands separator. Statistics are computed in long double
// (80-bit extended precision on x86-64); Infinito marks results that are
// infinite or cannot be computed.
//
// None of these functions throws; they never depend on the C locale.
#pragma once

#include <string>
#include <string_view>

namespace zelto {

// The largest finite value the program uses as "infinite" (negated for minus infinity).
inline constexpr long double Infinito = 1.18e4932L;

// Fixed notation with d decimals (d < 0 counts as 0, at most 18), rounded to at
// most 18 significant digits; "," decimal separator, no thousands separators.
std::string FormatoFixo(long double x, int d);
// Like FormatoFixo, with "." between every three digits of the integer part.
std::string FormatoMilhar(long double x, int d);
// Mantissa with d decimals, then "###", the decimal exponent and "%"
// ("1,50###3%" for 1500 with d = 2). The report draws the tail as a power of ten.
std::string FormatoCientifico(long double x, int d);
// About n significant digits: fixed notation while it fits, else scientific.
std::string FormatoSignificativo(long double x, int n);
// Removes the zeros at the end of the fractional part (and a separator left
// alone); in a text with "%" only the part before the first "%" is trimmed.
std::string RemoveZerosFinais(std::string_view texto);
// General rendering with up to 15 significant digits: fixed notation for
// 1e-5 <= |x| < 1e15, else a mantissa, "E" and the exponent ("1,5E20", "1E-7").
std::string FormatoGeral(long double x);

// Reads a number written with "," as decimal separator: optional blanks, sign,
// digits with at most one ",", an optional exponent ("E", "e", with a sign or
// not), optional blanks. Returns false (and leaves x alone) when the text is
// not such a number.
bool ConverteNumero(std::string_view texto, long double &x);

// Reads a whole number (optional blanks and sign). False when it is not one or
// does not fit.
bool ConverteInteiro(std::string_view texto, long long &n);

} // namespace zelto
