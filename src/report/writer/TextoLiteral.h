// User text inside the report's markup.
//
// The writers draw "###exponent%" as a power of ten and "%^%text%" as a superscript: markup the
// program composes for numbers and equations. Text the user typed (variable names, cells,
// labels, the header, the footer, the technical summary) must print exactly as typed, so it
// enters the report through Literal(): every "#", "%" and escape character becomes a pair made
// of the escape character (U+E000, private use) and a letter. The escaped text holds no "#" or
// "%", so the markup can never start, end or swallow inside it; the renderers split the
// composed markup first and then give every piece back with Desfaz(), exactly as typed. An
// escape character the user types is itself escaped, so no typed text can forge a pair.
#pragma once

#include <QString>

#include <string>

namespace zelto {

inline constexpr char16_t EscapeLiteral = u'\uE000';
inline const std::string EscapeLiteralUtf8 = "\xEE\x80\x80";

inline std::string Literal(const std::string &texto) {
    if (texto.find_first_of("#%\xEE") == std::string::npos) return texto;
    std::string r;
    r.reserve(texto.size() + 8);
    for (std::size_t i = 0; i < texto.size(); ++i) {
        const char c = texto[i];
        if (c == '#') r += EscapeLiteralUtf8 + "h";
        else if (c == '%') r += EscapeLiteralUtf8 + "p";
        else if (texto.compare(i, 3, EscapeLiteralUtf8) == 0) {
            r += EscapeLiteralUtf8 + "e";
            i += 2;
        } else r += c;
    }
    return r;
}

inline QString Literal(const QString &texto) {
    return QString::fromStdString(Literal(texto.toStdString()));
}

// The text as typed: every escape pair back to its character (a stray escape stays as is).
inline std::string Desfaz(const std::string &texto) {
    if (texto.find(EscapeLiteralUtf8) == std::string::npos) return texto;
    std::string r;
    r.reserve(texto.size());
    for (std::size_t i = 0; i < texto.size(); ++i) {
        if (texto.compare(i, 3, EscapeLiteralUtf8) == 0 && i + 3 < texto.size()) {
            const char l = texto[i + 3];
            if (l == 'h' || l == 'p' || l == 'e') {
                r += l == 'h' ? std::string("#") : l == 'p' ? std::string("%") : EscapeLiteralUtf8;
                i += 3;
                continue;
            }
        }
        r += texto[i];
    }
    return r;
}

inline QString Desfaz(const QString &texto) {
    if (!texto.contains(QChar(EscapeLiteral))) return texto;
    return QString::fromStdString(Desfaz(texto.toStdString()));
}

} // namespace zelto
