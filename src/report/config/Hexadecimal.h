// The hexadecimal texts of the report settings: bytes as two upper-case digits each, integers of
// several bytes least significant byte first, all concatenated without separators.
//
// TLeitorHex consumes such a text from the left; a text that ends too soon or holds a character
// that is no hexadecimal digit leaves the reader failed (Ok() false) and every later read
// returns 0, so a caller reads all fields and then keeps them only when the reader is still ok
// and the whole text was used.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelto {

class TLeitorHex {
  public:
    explicit TLeitorHex(std::string_view texto) : texto_(texto) {}
    std::uint8_t Byte();
    std::uint16_t Palavra();     // 16 bits
    std::uint32_t PalavraDupla(); // 32 bits
    bool Ok() const { return ok_; }
    // Ok and every digit consumed.
    bool Completo() const { return ok_ && pos_ == texto_.size(); }

  private:
    std::string_view texto_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

class TEscritorHex {
  public:
    TEscritorHex &Byte(std::uint8_t b);
    TEscritorHex &Palavra(std::uint16_t w);
    TEscritorHex &PalavraDupla(std::uint32_t d);
    const std::string &Texto() const { return texto_; }

  private:
    std::string texto_;
};

} // namespace zelto
