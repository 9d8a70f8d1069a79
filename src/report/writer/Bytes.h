// Little-endian integers in byte buffers, as the binary file formats of the writers store them.
#pragma once

#include <QByteArray>
#include <QtEndian>

#include <cstdint>

namespace zelto {

inline void Acrescenta16(QByteArray &b, std::uint16_t v) {
    char bytes[2];
    qToLittleEndian(v, bytes);
    b.append(bytes, 2);
}

inline void Acrescenta32(QByteArray &b, std::uint32_t v) {
    char bytes[4];
    qToLittleEndian(v, bytes);
    b.append(bytes, 4);
}

// Writes over the bytes at posicao (which must exist).
inline void Poe16(QByteArray &b, qsizetype posicao, std::uint16_t v) {
    qToLittleEndian(v, b.data() + posicao);
}

inline void Poe32(QByteArray &b, qsizetype posicao, std::uint32_t v) {
    qToLittleEndian(v, b.data() + posicao);
}

} // namespace zelto
