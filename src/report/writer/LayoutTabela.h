// The layout of a report table, decided once for every writer: the width of each column, the
// font size the table is written in, and the blocks a table too wide for the page is split into.
//
// Widths come from the cells themselves, measured in their fonts (without hinting, in twips, so
// the answer does not depend on any device) plus the padding every writer gives a cell
// (PaddingCelula each side, written explicitly into RTF) and a small allowance for borders and
// for readers that measure a little wider. A column is never narrower than its widest word: a
// number, a label such as "[x]Sim" or a word is never broken; a cell breaks only at its blanks
// and at its explicit line breaks (CR, LF or CR LF).
//
// A table whose widest words do not fit the text width is first written smaller, one point at a
// time down to TamanhoMinimo; when even then it does not fit, its columns are split into
// consecutive blocks, each repeating the first column (the row labels), as many columns per
// block as fit. The writers draw the blocks one after the other, each after "(continuação)".
//
// When the whole lines fit, the spare width is shared equally (the table fills the text width);
// otherwise every column gets its widest word and the rest is shared in proportion to what each
// column still lacks for its whole lines.
#pragma once

#include "writer/ArqEditor.h"

#include <QString>

#include <vector>

namespace zelto {

// A cell as the layout sees it: its text (report markup allowed) and its font.
struct TCelulaLayout {
    QString Texto;
    TFonte Fonte;
};

struct TLayoutTabela {
    static constexpr int PaddingCelula = 108; // twips, each side of a cell's text
    static constexpr int TamanhoMinimo = 7;   // points: the smallest size a table shrinks to

    // One block: the columns of the table it shows (0-based; every block starts with the
    // first column) and their widths in twips.
    struct TBloco {
        std::vector<int> Colunas;
        std::vector<int> Larguras;
    };
    int Reducao = 0;            // points taken from every cell's size (floor TamanhoMinimo)
    std::vector<TBloco> Blocos; // one block when the table fits

    // The size a cell of this font is written in.
    int Tamanho(const TFonte &f) const;
};

// Lays out a table of `celulas` (rows of cells; rows may be short) in `larguraTexto` twips.
TLayoutTabela CalculaLayoutTabela(const std::vector<std::vector<TCelulaLayout>> &celulas,
                                  int larguraTexto);

// The lines of a cell: its text split at CR LF, CR and LF.
QStringList LinhasCelula(const QString &texto);
// The text a markup text shows ("2###5%" shows "2x105"), for measuring (common/Marcacao.h).
QString TextoVisivel(const QString &texto);
// Width in twips of a text in a font, measured without hinting (device independent).
double LarguraTwips(const TFonte &fonte, const QString &texto);

} // namespace zelto
