#include "config/Hexadecimal.h"

namespace zelto {

namespace {

int Digito(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace

std::uint8_t TLeitorHex::Byte() {
    if (!ok_ || pos_ + 2 > texto_.size()) {
        ok_ = false;
        return 0;
    }
    const int alto = Digito(texto_[pos_]), baixo = Digito(texto_[pos_ + 1]);
    if (alto < 0 || baixo < 0) {
        ok_ = false;
        return 0;
    }
    pos_ += 2;
    return static_cast<std::uint8_t>(alto * 16 + baixo);
}

std::uint16_t TLeitorHex::Palavra() {
    const std::uint16_t baixo = Byte();
    const std::uint16_t alto = Byte();
    return static_cast<std::uint16_t>(baixo | (alto << 8));
}

std::uint32_t TLeitorHex::PalavraDupla() {
    const std::uint32_t baixo = Palavra();
    const std::uint32_t alto = Palavra();
    return baixo | (alto << 16);
}

TEscritorHex &TEscritorHex::Byte(std::uint8_t b) {
    static constexpr char kDigitos[] = "0123456789ABCDEF";
    texto_ += kDigitos[b >> 4];
    texto_ += kDigitos[b & 0x0F];
    return *this;
}

TEscritorHex &TEscritorHex::Palavra(std::uint16_t w) {
    return Byte(static_cast<std::uint8_t>(w & 0xFF)).Byte(static_cast<std::uint8_t>(w >> 8));
}

TEscritorHex &TEscritorHex::PalavraDupla(std::uint32_t d) {
    return Palavra(static_cast<std::uint16_t>(d & 0xFFFF))
        .Palavra(static_cast<std::uint16_t>(d >> 16));
}

} // namespace zelto
