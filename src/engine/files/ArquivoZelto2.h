// Worksheets of the older generation of the system ("SISTEMA ZELTO2"), read only.
//
// Layout, little-endian, numbers as 6-byte reals; V independent variables, N
// samples:
//   0    18 bytes   not read
//   18   18 bytes   signature 0x0D 0x0A "SISTEMA ZELTO2" 0x0A 0x1A
//   36   12 bytes   name of the dependent variable (length byte + 11 characters)
//   48   real       V, rounded
//   54   real       N, rounded
//   60   12 * V     names of the independent variables
//   60+12V  12      not read
//   72+12V  6*(V+1)*N   the values, sample by sample, dependent first
//   then (V+1) * 66 bytes: description (length byte + 59 characters) and
//   number of decimals (real, rounded) of each variable, dependent first.
// Texts use an older character set, translated on reading (TraduzTextoAntigo)
// and stripped of trailing blanks.
//
// The worksheet receives the dependent variable in column 1 (used, dependent,
// thousands separators) and the independent ones in columns 2..V+1 (used,
// homogenisation coefficients, no thousands separators), all numeric and
// right-aligned. For the extension ".DCR" the "Valor Homog." column is
// ensured. The file name becomes "Planilha.QV3" so that the next save asks
// for a name, and the technical summary is empty.
//
// Damaged files: V and N are checked against the bytes that remain before
// anything is sized from them. Reading keeps every column whose name is
// complete and every complete sample; descriptions and decimals are taken
// when their block is whole. Whatever is missing makes Ler answer false with
// the reading error's message, and the worksheet keeps what was read
// (marked modified).
#pragma once

#include "files/LeituraGravacaoDados.h"

#include <string>
#include <string_view>

namespace zelto {

// Windows-1252 bytes of a text of the older character set (each character
// translated, trailing blanks removed), as UTF-8.
std::string TraduzTextoAntigo(std::string_view bytes);

class TArquivoZelto2 : public TLeituraGravacaoDados {
  public:
    explicit TArquivoZelto2(TProgresso *progresso = nullptr);

    bool Ler(const std::filesystem::path &arquivo, TGridzelto &grid, std::size_t maximoResumo,
             std::string &resumo) override;
    // Bytes 18..35 hold the signature.
    bool VerificaFormato(const std::filesystem::path &arquivo) override;
    // The preview of the open dialog: the mode of the extension, the numbers
    // of samples and of variables; "Não foi possível ler arquivo." when the
    // header cannot be read.
    bool LerComentarios(const std::filesystem::path &arquivo, std::string &texto) override;

  private:
    struct Cabecalho {
        std::string dependente; // raw bytes of the name record
        long long v = 0, n = 0;
    };
    // Reads and checks the signature, the dependent name, V and N.
    bool LeCabecalho(Cabecalho &c);
};

} // namespace zelto
