// Pictures as device-independent bitmaps: the reduction of a picture to 2, 16 or 256 colours
// with a fixed palette, and the bitmap information header, colour table and pixel rows that
// the file writers embed.
//
// The palettes are fixed so the same picture always gives the same bytes: black and white;
// the 16 colours of the standard VGA palette; a 6×6×6 colour cube followed by 40 greys.
// Colours are matched to the nearest palette entry without dithering.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace zelto {

struct TImagemIndexada {
    int Largura = 0;
    int Altura = 0;
    int BitsPorPixel = 8;  // 1, 4 or 8 for 2, 16 or 256 colours
    QList<QRgb> Paleta;    // 2, 16 or 256 entries
    QImage Indices;        // Format_Indexed8, one palette index per pixel

    int Cores() const { return 1 << BitsPorPixel; }
    // Bytes of one stored row: rows are padded to a multiple of 4 bytes.
    int BytesPorLinha() const { return ((Largura * BitsPorPixel + 31) / 32) * 4; }
    int TamanhoPixels() const { return BytesPorLinha() * Altura; }
};

// Reduces a picture to 2, 16 or 256 colours (any other count is taken as 256).
TImagemIndexada Indexa(const QImage &imagem, int cores);

// The 40-byte bitmap information header (little-endian): size 40, width, height, 1 plane,
// bits per pixel, no compression, image size, 0 pixels per metre, colours used and important
// 0.
QByteArray CabecalhoDib(const TImagemIndexada &imagem);
// The colour table: 4 bytes per palette entry (blue, green, red, 0).
QByteArray TabelaCoresDib(const TImagemIndexada &imagem);
// The pixel rows bottom-up, packed at the bits per pixel, each padded to 4 bytes; top-down
// (the order of a device-dependent bitmap) when deCima is true.
QByteArray PixelsDib(const TImagemIndexada &imagem, bool deCima = false);

} // namespace zelto
