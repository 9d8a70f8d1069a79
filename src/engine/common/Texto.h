// Text helpers shared by the whole engine.
//
// Inside the program every text is UTF-8. The files of the program keep their
// texts in the Windows-1252 code page; conversion happens at the file boundary
// only, through ParaCp1252 and DeCp1252. The 255-character limits of names and
// formulas count Windows-1252 bytes, so CortaCp1252 cuts a UTF-8 text to that
// many characters without splitting a character.
//
// Upper and lower case follow the Windows-1252 repertoire (ASCII letters plus
// the accented Latin letters), which is what the Portuguese texts of the
// program need; every other character is left as it is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelto {

// Windows-1252 bytes -> UTF-8. Bytes that the code page leaves undefined map to
// the C1 control of the same number, so every byte round-trips.
std::string DeCp1252(std::string_view bytes);
// UTF-8 -> Windows-1252 bytes. A character outside the code page becomes '?'.
// Invalid UTF-8 bytes are taken as Windows-1252 bytes themselves.
std::string ParaCp1252(std::string_view utf8);
// Number of Windows-1252 characters of a UTF-8 text.
std::size_t TamanhoCp1252(std::string_view utf8);
// The first n characters of a UTF-8 text.
std::string CortaCp1252(std::string_view utf8, std::size_t n);

// Code points of a UTF-8 text (invalid bytes are taken as Windows-1252) and back.
std::u32string DecodificaUtf8(std::string_view utf8);
std::string CodificaUtf8(std::u32string_view cps);
void AcrescentaUtf8(std::string &out, char32_t cp);

char32_t MaiusculaCp(char32_t c);
char32_t MinusculaCp(char32_t c);
std::string Maiusculas(std::string_view utf8);
std::string Minusculas(std::string_view utf8);

// Equality ignoring case (accents still count: "é" equals "É", not "e").
bool IguaisSemCaixa(std::string_view a, std::string_view b);

// Removes spaces and control characters at both ends.
std::string Apara(std::string_view s);
// Removes spaces and tabs (only) at both ends, as the file formats' fields are trimmed; a view of s.
std::string_view AparaBrancos(std::string_view s);

// Ordering of texts the way a Portuguese-speaking user expects: case is
// ignored, accented letters sort with their base letter (an accent breaks a
// tie only), blanks sort before punctuation, punctuation before digits, digits
// before letters. Returns <0, 0 or >0. The result does not depend on the
// machine's installed locales.
int ComparaTextoLocal(std::string_view a, std::string_view b);

// Splits at every occurrence of the separator; an empty text gives one empty piece.
std::vector<std::string> Divide(std::string_view s, char sep);

} // namespace zelto
