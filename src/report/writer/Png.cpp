#include "writer/Png.h"

#include <zlib.h>

#include <algorithm>
#include <vector>

namespace zelto {

namespace {

void Acrescenta32Be(QByteArray &b, quint32 v) {
    b.append(static_cast<char>(v >> 24));
    b.append(static_cast<char>(v >> 16));
    b.append(static_cast<char>(v >> 8));
    b.append(static_cast<char>(v));
}

// A chunk: length, type, data, and the CRC of type and data.
void Bloco(QByteArray &png, const char *tipo, const QByteArray &dados) {
    Acrescenta32Be(png, static_cast<quint32>(dados.size()));
    const qsizetype inicio = png.size();
    png.append(tipo, 4);
    png.append(dados);
    const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(png.constData() + inicio),
                            static_cast<uInt>(png.size() - inicio));
    Acrescenta32Be(png, static_cast<quint32>(crc));
}

} // namespace

QByteArray PngIndexado(const QImage &imagem) {
    const bool mono = imagem.format() == QImage::Format_Mono;
    if (!mono && imagem.format() != QImage::Format_Indexed8) return {};
    const QList<QRgb> cores = imagem.colorTable();
    if (cores.isEmpty() || cores.size() > 256) return {};
    const int largura = imagem.width(), altura = imagem.height();
    const int bits = mono ? 1 : cores.size() <= 2 ? 1 : cores.size() <= 16 ? 4 : 8;
    const std::size_t bytesLinha = (static_cast<std::size_t>(largura) * bits + 7) / 8;

    // The rows packed at the bit depth, each after its filter byte: 0 (none) for the first,
    // 2 (up: the difference to the row above) for the others.
    std::vector<unsigned char> linhas((bytesLinha + 1) * static_cast<std::size_t>(altura));
    std::vector<unsigned char> anterior(bytesLinha, 0), atual(bytesLinha, 0);
    for (int y = 0; y < altura; ++y) {
        const uchar *origem = imagem.constScanLine(y);
        if (mono || bits == 8) {
            std::copy(origem, origem + bytesLinha, atual.begin());
        } else {
            std::fill(atual.begin(), atual.end(), 0);
            const int porByte = 8 / bits;
            for (int x = 0; x < largura; ++x)
                atual[static_cast<std::size_t>(x / porByte)] |= static_cast<unsigned char>(
                    (origem[x] & ((1 << bits) - 1)) << (8 - bits * (x % porByte + 1)));
        }
        unsigned char *destino = &linhas[(bytesLinha + 1) * static_cast<std::size_t>(y)];
        destino[0] = y == 0 ? 0 : 2;
        for (std::size_t i = 0; i < bytesLinha; ++i)
            destino[i + 1] = static_cast<unsigned char>(atual[i] - (y == 0 ? 0 : anterior[i]));
        std::swap(anterior, atual);
    }

    QByteArray comprimido;
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK) return {};
    comprimido.resize(static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(linhas.size()))));
    z.next_in = linhas.data();
    z.avail_in = static_cast<uInt>(linhas.size());
    z.next_out = reinterpret_cast<Bytef *>(comprimido.data());
    z.avail_out = static_cast<uInt>(comprimido.size());
    const int fim = deflate(&z, Z_FINISH);
    comprimido.resize(static_cast<qsizetype>(z.total_out));
    deflateEnd(&z);
    if (fim != Z_STREAM_END) return {};

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray cabecalho;
    Acrescenta32Be(cabecalho, static_cast<quint32>(largura));
    Acrescenta32Be(cabecalho, static_cast<quint32>(altura));
    cabecalho.append(static_cast<char>(bits));
    cabecalho.append('\x03'); // colour type: palette
    cabecalho.append(3, '\0'); // deflate, adaptive filtering, no interlace
    Bloco(png, "IHDR", cabecalho);
    QByteArray paleta;
    const int entradas = std::min<int>(static_cast<int>(cores.size()), 1 << bits);
    for (int i = 0; i < entradas; ++i) {
        paleta.append(static_cast<char>(qRed(cores[i])));
        paleta.append(static_cast<char>(qGreen(cores[i])));
        paleta.append(static_cast<char>(qBlue(cores[i])));
    }
    Bloco(png, "PLTE", paleta);
    Bloco(png, "IDAT", comprimido);
    Bloco(png, "IEND", {});
    return png;
}

} // namespace zelto
