// Opening a worksheet file of any supported format.
//
// DetectarFormato tells the format of a file from its first bytes (native:
// longer than 31 bytes and opening with the native signature; older: bytes
// 18..35 are the older signature) or, for text, from the extension ".TXT"
// (any case). LerArquivo is the one entry the front ends use to open a
// worksheet: it clears the worksheet, picks the reader of the format, reads,
// and sets the statistics mode from the extension (".DCR" descriptive, ".ZEL"
// inferential; ".QV3" keeps the mode stored in the file).
#pragma once

#include "common/Progresso.h"
#include "worksheet/Gridzelto.h"

#include <filesystem>
#include <string>

namespace zelto {

class TTabelasVariaveis;

enum class TFormatoArquivo { Desconhecido, Nativo, Antigo, Texto };

// The 18 bytes at offset 18 of a file of the older format.
inline constexpr std::string_view AssinaturaZelto2{"\x0D\x0ASISTEMA ZELTO2\x0A\x1A", 18};

TFormatoArquivo DetectarFormato(const std::filesystem::path &arquivo);

// Reads a worksheet file into the worksheet. ok is false when the worksheet
// refused to be cleared (empty message), when the format is unknown or its
// reader rejects the file (the worksheet is then empty). ok is true once the
// file was read, in full or in part: a non-empty message then tells the user
// what went wrong, and the worksheet holds what could be read. The table
// store receives the tables of a native file (null: none).
TResultado LerArquivo(const std::filesystem::path &arquivo, TGridzelto &grid,
                      std::size_t maximoResumo, std::string &resumo, TTabelasVariaveis *tabelas,
                      TProgresso *progresso = nullptr);

} // namespace zelto
