// The native worksheet file (extensions .QV3, .ZEL and .DCR).
//
// One little-endian binary file holds everything that defines a valuation
// job, field after field with no padding:
//   signature (30 bytes), user comments (text), C and R (int16: used columns
//   and rows; C is read modulo 256), row height (int16);
//   R row records: sample number (16-bit, read unsigned), flags byte
//   (disregarded);
//   C column records: name, description (texts), used (byte), packed flags
//   (low nibble dependent, high nibble 1 - coefficient), alignment, kind
//   (bytes), width (int16), the kind's header, then R cells in the kind's
//   encoding (calculated columns store no cells: they are recomputed);
//   P (int16) lines of the subject property's values, its identification,
//   the technical summary (text), the mode byte (255 inferential, 221
//   descriptive) and an int32 trailer: the offset of the summary.
//
// Reading fills the worksheet and merges the file's label tables into the
// table store. A damaged or truncated file never crashes the reader nor
// makes it allocate beyond the file's size: reading stops at the first
// field that does not fit, the message says why, and the worksheet keeps the
// rows and complete columns read so far.
//
// Writing is all or nothing: the file is built in memory and saved through a
// temporary file renamed over the target. Content the format cannot hold is
// refused with a message, before anything touches the disk:
//   - more than 255 used columns, or a table of more than 255 entries;
//   - a value beyond the range of the 6-byte real (about 1.7E38), or a text
//     beyond 255 characters (the technical summary alone is cut, being
//     rebuilt from the report configuration);
//   - a sample number outside 0..65535.
// Used columns without a variable are written as comment columns, and get
// that variable in the worksheet once the save succeeds, so the file and
// the worksheet agree and no cell is lost.
#pragma once

#include "files/LeituraGravacaoDados.h"
#include "worksheet/Variavel.h"

#include <string>
#include <string_view>
#include <vector>

namespace zelto {

class TTabelasVariaveis;

// The first 30 bytes of a native file.
inline constexpr std::string_view AssinaturaZelto{"\x0A\x0DOlma Quelvarinde - ZELTO#3\x0A\x0D", 30};

inline constexpr std::uint8_t ModoArquivoInferencial = 255;
inline constexpr std::uint8_t ModoArquivoDescritivo = 221;

// Longest name the merge of a qualitative table gives it in the store.
inline constexpr std::size_t TamanhoMaximoNomeTabela = 50;

class TArquivoZelto : public TLeituraGravacaoDados {
  public:
    // The table store receives the tables of the files read and gives the
    // entries of the tables written; null: no merge, and the entries written
    // are those the columns carry.
    explicit TArquivoZelto(TTabelasVariaveis *tabelas = nullptr, TProgresso *progresso = nullptr);

    bool Ler(const std::filesystem::path &arquivo, TGridzelto &grid, std::size_t maximoResumo,
             std::string &resumo) override;
    bool Gravar(const std::filesystem::path &arquivo, TGridzelto &grid, const std::string &resumo,
                const std::string &comentarios) override;
    // Longer than 31 bytes and opening with the signature.
    bool VerificaFormato(const std::filesystem::path &arquivo) override;
    bool LerComentarios(const std::filesystem::path &arquivo, std::string &texto) override;
    // The summary at the offset of the trailer; a text holding a carriage
    // return not followed by a line feed gives an empty result.
    bool LerResumo(const std::filesystem::path &arquivo, std::string &texto) override;

    bool GravaAssinatura();

    // The user comments of the last file read.
    std::string ComentariosUsuario;

  private:
    bool LeColuna(TGridzelto &grid, int c, int linhas);
    bool GravaColuna(TGridzelto &grid, int c, int colunas, int linhas);
    // Sets the refusal message of a save; always false.
    bool Recusa(const std::string &motivo);
    bool GravaTextoVerificado(std::string_view texto, const std::string &onde);
    bool GravaRealVerificado(long double x, const std::string &onde);
    // Merges a table of the file into the store; returns the name the column uses.
    std::string IncorporaQualitativa(const std::string &nome,
                                     const std::vector<TObjetoValor> &tabela);
    void IncorporaDicotomica(const std::string &nome, const std::string &verdadeiro,
                             const std::string &falso);

    TTabelasVariaveis *tabelas_;
};

} // namespace zelto
