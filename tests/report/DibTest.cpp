// Pictures reduced to 2, 16 and 256 colours and stored as bitmap rows.
#include "writer/Dib.h"

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
