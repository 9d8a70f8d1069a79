#include "writer/Dib.h"

#include "writer/Bytes.h"

#include <QHash>

#include <vector>

namespace zelto {

namespace {

QList<QRgb> PaletaPara(int bits) {
    QList<QRgb> p;
    if (bits == 1) {
        p = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    } else if (bits == 4) {
        p = {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
             qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
             qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
             qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    } else {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) p.append(qRgb(r * 51, g * 51, b * 51));
        // Greys between the cube's steps.
        for (int i = 0; p.size() < 256; ++i) {
            const int v = 8 + i * 6;
            p.append(qRgb(v, v, v));
        }
    }
    return p;
}

int MaisProxima(const QList<QRgb> &paleta, QRgb c) {
    int melhor = 0;
    long menor = -1;
    for (int i = 0; i < paleta.size(); ++i) {
        const long dr = qRed(c) - qRed(paleta[i]);
        const long dg = qGreen(c) - qGreen(paleta[i]);
        const long db = qBlue(c) - qBlue(paleta[i]);
        const long d = dr * dr + dg * dg + db * db;
        if (menor < 0 || d < menor) {
            menor = d;
            melhor = i;
        }
    }
    return melhor;
}

} // namespace

TImagemIndexada Indexa(const QImage &imagem, int cores) {
    TImagemIndexada r;
    r.BitsPorPixel = cores == 2 ? 1 : cores == 16 ? 4 : 8;
    r.Paleta = PaletaPara(r.BitsPorPixel);
    const QImage fonte = imagem.convertToFormat(QImage::Format_RGB32);
    r.Largura = fonte.width();
    r.Altura = fonte.height();
    r.Indices = QImage(r.Largura, r.Altura, QImage::Format_Indexed8);
    r.Indices.setColorTable(r.Paleta);
    // Pictures have few distinct colours: a small table keeps the match of the colours met,
    // by a hash of the colour, and the last colour, which most pixels repeat, is checked first.
    constexpr int tamanhoTabela = 4096;
    std::vector<QRgb> chaves(tamanhoTabela, 0);
    std::vector<int> indices(tamanhoTabela, -1);
    QRgb ultima = 0;
    int indiceUltima = -1;
    for (int y = 0; y < r.Altura; ++y) {
        const QRgb *linha = reinterpret_cast<const QRgb *>(fonte.constScanLine(y));
        uchar *destino = r.Indices.scanLine(y);
        for (int x = 0; x < r.Largura; ++x) {
            const QRgb c = linha[x] | 0xFF000000u;
            if (c != ultima || indiceUltima < 0) {
                const std::size_t h = ((c * 2654435761u) >> 20) & (tamanhoTabela - 1);
                if (indices[h] < 0 || chaves[h] != c) {
                    chaves[h] = c;
                    indices[h] = MaisProxima(r.Paleta, c);
                }
                ultima = c;
                indiceUltima = indices[h];
            }
            destino[x] = static_cast<uchar>(indiceUltima);
        }
    }
    return r;
}

QByteArray CabecalhoDib(const TImagemIndexada &imagem) {
    QByteArray b;
    Acrescenta32(b, 40);
    Acrescenta32(b, static_cast<quint32>(imagem.Largura));
    Acrescenta32(b, static_cast<quint32>(imagem.Altura));
    Acrescenta16(b, 1);
    Acrescenta16(b, static_cast<quint16>(imagem.BitsPorPixel));
    Acrescenta32(b, 0); // no compression
    Acrescenta32(b, static_cast<quint32>(imagem.TamanhoPixels()));
    Acrescenta32(b, 0);
    Acrescenta32(b, 0);
    Acrescenta32(b, 0);
    Acrescenta32(b, 0);
    return b;
}

QByteArray TabelaCoresDib(const TImagemIndexada &imagem) {
    QByteArray b;
    for (QRgb c : imagem.Paleta) {
        b.append(static_cast<char>(qBlue(c)));
        b.append(static_cast<char>(qGreen(c)));
        b.append(static_cast<char>(qRed(c)));
        b.append('\0');
    }
    return b;
}

QByteArray PixelsDib(const TImagemIndexada &imagem, bool deCima) {
    const int porLinha = imagem.BytesPorLinha();
    QByteArray b(imagem.TamanhoPixels(), '\0');
    const int bits = imagem.BitsPorPixel;
    for (int y = 0; y < imagem.Altura; ++y) {
        // Rows are stored from the bottom of the picture up, unless asked otherwise.
        const uchar *origem = imagem.Indices.constScanLine(deCima ? y : imagem.Altura - 1 - y);
        uchar *linha = reinterpret_cast<uchar *>(b.data()) + static_cast<qsizetype>(y) * porLinha;
        for (int x = 0; x < imagem.Largura; ++x) {
            const int v = origem[x];
            if (bits == 8) {
                linha[x] = static_cast<uchar>(v);
            } else if (bits == 4) {
                linha[x / 2] |= static_cast<uchar>((x % 2 == 0) ? (v << 4) : v);
            } else {
                if (v) linha[x / 8] |= static_cast<uchar>(0x80 >> (x % 8));
            }
        }
    }
    return b;
}

} // namespace zelto
