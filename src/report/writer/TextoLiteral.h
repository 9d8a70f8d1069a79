// User text inside the report's markup, for the Qt side.
//
// The writers draw "###exponent%" as a power of ten and "%^%text%" as a superscript: markup the
// program composes for numbers and equations. Text the user typed (variable names, cells,
// labels, the header, the footer, the technical summary) must print exactly as typed, so it
// enters the report through Literal() (common/Marcacao.h): every "#", "%" and escape character
// becomes a pair made of the escape character (U+E000, private use) and a letter, and the
// markup's runs give it back as typed.
#pragma once

#include "common/Marcacao.h"

#include <QString>

namespace zelto {

inline constexpr char16_t EscapeLiteral = u'\uE000';

inline QString Literal(const QString &texto) {
    return QString::fromStdString(Literal(texto.toStdString()));
}

inline QString Desfaz(const QString &texto) {
    if (!texto.contains(QChar(EscapeLiteral))) return texto;
    return QString::fromStdString(Desfaz(texto.toStdString()));
}

} // namespace zelto
