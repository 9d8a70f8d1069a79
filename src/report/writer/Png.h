// Pictures as PNG files for the documents that embed them (the charts of the RTF).
//
// A chart at print resolution is a large picture of few colours: long runs of one colour and
// many rows equal to the row above. It is written as a palette PNG of 1, 4 or 8 bits per pixel
// (by the size of its colour table), each row filtered against the row above ("Up": an equal
// row becomes zeros) and compressed by runs, which keeps the picture small at a fraction of
// the time of a general compression.
#pragma once

#include <QByteArray>
#include <QImage>

namespace zelto {

// The PNG file of an indexed picture (Format_Indexed8 with at most 256 colours, or
// Format_Mono); an empty array for any other format.
QByteArray PngIndexado(const QImage &imagem);

} // namespace zelto
