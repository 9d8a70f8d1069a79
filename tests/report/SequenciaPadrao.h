// A fixed sequence of writer operations that exercises what the report writes: fonts and
// styles, the power-of-ten and superscript markup (the infinite marker included), accents and
// characters that files must escape, tab stops, colours, a 3×4 table with borders whose last
// row is short, a bitmap and a picture, a page break, and a running header and footer with
// the page number. The golden files of the file writers are this sequence written by each.
#pragma once

#include "writer/ArqEditor.h"

#include <QImage>

namespace zelto::teste {

// A 40×24 picture with a white background, a frame, a red diagonal and blue and green blocks.
QImage ImagemPadrao();

// Writes the sequence (without CloseDocument) into the writer.
void EscreveSequenciaPadrao(TArqEditor &w);

} // namespace zelto::teste
