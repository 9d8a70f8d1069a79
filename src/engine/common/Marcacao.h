// The report's text markup, read in one place.
//
// Texts that the program composes for the report carry two marks:
//   "mantissa###exponent%"  a power of ten ("2,664###-2%" is 2,664 x 10 raised to -2); the
//                           exponent 4932 marks an infinite value: the infinity sign takes the
//                           mantissa's place and the text before it stays;
//   "text%^%sup%"           "sup" raised as a superscript ("[Área]%^%1/2%").
// DivideMarcacao splits a text into runs once; every output (the report writers, plain text,
// the desktop's HTML, chart texts, the measuring of table cells) renders those runs.
//
// The rules, for every output alike:
//   - the earliest "###" or "%^%" opens a mark, and the first "%" after it closes it; marks do
//     not nest: a "###" or "%^%" inside a mark is part of its text;
//   - a mark with no closing "%" is no mark: it and the rest of the text are plain text;
//   - a "%" or "#" outside a mark is plain text;
//   - the mantissa of a power of ten is the run of digits, "," and "." just before "###"
//     (possibly empty); an empty exponent or superscript is kept as such;
//   - text the user typed enters through Literal(): its "#", "%" and escape characters become
//     escape pairs, so no mark can start, end or swallow inside it; every run gives its text
//     back as typed (Desfaz).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelto {

// The escape character of Literal() (U+E000, private use), in UTF-8.
inline constexpr std::string_view EscapeLiteralUtf8 = "\xEE\x80\x80";

// User text made safe inside the markup: "#" -> escape + "h", "%" -> escape + "p", the escape
// character itself -> escape + "e".
std::string Literal(std::string_view texto);
// The text as typed: every escape pair back to its character (a stray escape stays as is).
std::string Desfaz(std::string_view texto);

struct TTrechoMarcacao {
    enum TTipo : std::uint8_t {
        Simples,     // plain text
        Sobrescrito, // Texto raised
        Potencia,    // Texto (the mantissa) x 10 raised to Expoente
        Infinito     // the infinity sign; Texto holds the mantissa it replaces
    };
    TTipo Tipo = Simples;
    std::string Texto;
    std::string Expoente;
    bool operator==(const TTrechoMarcacao &) const = default;
};

// The runs of a marked text, each text given back as typed. Empty plain runs are left out.
std::vector<TTrechoMarcacao> DivideMarcacao(std::string_view texto);

// Plain text: a power of ten as mantissa + "x10^" + exponent ("2,664x10^-2"), a superscript as
// "^(" + text + ")" ("[Área]^(1/2)"), the infinite marker as "∞".
std::string TextoSimples(std::string_view texto);
// The characters the text shows, unraised, for measuring: mantissa + "x10" + exponent, the
// superscript's text; the infinite marker counts as written out ("1x104932"), a width the
// table layouts of every report were made with.
std::string TextoVisivel(std::string_view texto);

} // namespace zelto
