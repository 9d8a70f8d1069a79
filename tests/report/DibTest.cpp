// Pictures reduced to 2, 16 and 256 colours and stored as bitmap rows or PNG files.
#include "writer/Dib.h"
#include "writer/Png.h"

#include <gtest/gtest.h>

using namespace zelto;

TEST(Dib, CabecalhoTabelaELinhas) {
    QImage img(3, 2, QImage::Format_RGB32);
    img.fill(Qt::white);
    img.setPixel(0, 0, qRgb(255, 0, 0)); // top-left red
    img.setPixel(2, 1, qRgb(10, 10, 10)); // bottom-right almost black

    const TImagemIndexada i16 = Indexa(img, 16);
    EXPECT_EQ(i16.BitsPorPixel, 4);
    EXPECT_EQ(i16.BytesPorLinha(), 4);
    const QByteArray cab = CabecalhoDib(i16);
    ASSERT_EQ(cab.size(), 40);
    EXPECT_EQ(cab.mid(0, 16), QByteArray::fromHex("28000000030000000200000001000400"));
    EXPECT_EQ(cab.mid(20, 4), QByteArray::fromHex("08000000"));
    EXPECT_EQ(TabelaCoresDib(i16).size(), 64);
    // bottom row first: white white black | top row: red white white (VGA indexes 15, 0, 9)
    EXPECT_EQ(PixelsDib(i16).toHex(), QByteArray("ff000000" "9ff00000"));

    const TImagemIndexada i2 = Indexa(img, 2);
    EXPECT_EQ(PixelsDib(i2).toHex(), QByteArray("c0000000" "60000000"));
    const TImagemIndexada i256 = Indexa(img, 256);
    EXPECT_EQ(i256.Paleta.size(), 256);
    EXPECT_EQ(PixelsDib(i256).toHex(), QByteArray("d7d7" "d8" "00" "b4d7d700"));
}

// The PNG of an indexed picture reads back pixel for pixel at 1, 4 and 8 bits: an odd width
// (bits packed across bytes), rows equal to the row above and rows that differ.
TEST(Png, PaletaDe1_4e8BitsVoltaIgual) {
    QImage img(13, 7, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int x = 0; x < 13; x += 2) img.setPixel(x, 2, qRgb(0, 0, 0));
    for (int x = 0; x < 13; ++x) img.setPixel(x, 3, x % 3 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    img.setPixel(12, 6, qRgb(0, 0, 0));
    for (const auto &[cores, bits] : {std::pair{2, 1}, std::pair{16, 4}, std::pair{256, 8}}) {
        const TImagemIndexada i = Indexa(img, cores);
        const QImage origem = cores == 2 ? img.convertToFormat(QImage::Format_Mono) : i.Indices;
        const QByteArray png = PngIndexado(origem);
        ASSERT_GT(png.size(), 33) << cores;
        EXPECT_EQ(png[24], static_cast<char>(bits)) << cores; // IHDR bit depth
        const QImage lida = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32);
        const QImage esperada = origem.convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(lida.size(), esperada.size()) << cores;
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x) EXPECT_EQ(lida.pixel(x, y), esperada.pixel(x, y)) << cores << " " << x << "," << y;
    }
    EXPECT_TRUE(PngIndexado(img).isEmpty()); // not indexed
}
