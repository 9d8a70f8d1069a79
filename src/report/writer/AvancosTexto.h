// Widths of report text in twips, measured once per character and font.
//
// The layout measures in fonts sized in twips, without hinting and without kerning. In such a
// font the width the shaper gives a text of plain characters (letters, digits, punctuation,
// symbols and blanks of the Latin, Greek and Cyrillic blocks, general punctuation, letter-like
// and mathematical symbols) is the sum of its characters' advances, each a whole number of
// 64ths of a twip: that sum is kept exact, so adding cached advances gives the very width a
// shaping of the whole text gives, in time linear in the text and without shaping it again for
// every piece a line breaker tries. Any other text (marks, surrogate pairs, format and control
// characters, scripts that shape in context, and a pair that the face joins into a ligature)
// is measured by the shaper as a whole.
#pragma once

#include "writer/ArqEditor.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QStringView>

#include <array>

namespace zelto {

class TAvancosFonte {
  public:
    explicit TAvancosFonte(const TFonte &fonte);

    const TFonte &Fonte() const { return fonte_; }
    // The QFont that measures (sized in twips, no hinting, no kerning).
    const QFont &QFonte() const { return qfonte_; }
    const QFontMetricsF &Metricas() const { return metricas_; }
    double Ascendente() const { return ascendente_; }
    int Altura() const { return altura_; } // ascent + descent, rounded

    // The width of a text in twips (unrounded).
    double Largura(QStringView texto);
    // The advance of one plain character; Simples must have accepted it.
    double Avanco(QChar c) {
        const char16_t u = c.unicode();
        if (u < latim_.size()) {
            if (latim_[u] < 0) latim_[u] = Mede(c);
            return latim_[u];
        }
        auto it = outros_.constFind(u);
        if (it == outros_.constEnd()) it = outros_.insert(u, Mede(c));
        return *it;
    }
    // True when the width of `texto` is the sum of its characters' advances.
    bool Simples(QStringView texto) const;
    // The longest prefix of `texto` whose rounded width is at most `limite` twips, or -1 when
    // the text is not Simples.
    qsizetype Cabem(QStringView texto, int limite);

  private:
    double Mede(QChar c) const;
    static bool CaracterSimples(char16_t u);
    static bool ClassificaCaracter(char16_t u);

    TFonte fonte_;
    QFont qfonte_;
    QFontMetricsF metricas_;
    double ascendente_ = 0;
    int altura_ = 0;
    bool ligaF_ = false; // the face joins "ff", "fi" or "fl"
    std::array<double, 0x250> latim_;
    QHash<char16_t, double> outros_;
};

// The advances of a font, kept per thread (the fonts a report uses are few; a bounded list,
// emptied when full: a caller keeps the reference only until it measures in another font).
TAvancosFonte &AvancosDe(const TFonte &fonte);

} // namespace zelto
