// Worksheets as plain text tables, read and written (extensions .TXT and .PRN).
//
// A line holds fields separated by tabs, in the Windows-1252 code page; lines
// end with CR LF, LF or CR. The first line that is not empty holds the
// variable names; every further line that is not empty once its tabs and
// blanks are removed is one sample, its fields in the order of the names.
// Missing fields leave cells empty, extra fields are ignored, and lines have
// no length limit.
//
// Reading decides each column's kind from all its fields: a column whose
// every non-blank field is a number is numeric (used, right-aligned,
// thousands separators; the first column is the dependent variable), any
// other is a comment column whose cells keep their fields as they stand.
// A number may use either notation:
//   - "." as the decimal separator, as spreadsheets and statistics programs
//     write ("0.538", "1234.5", "1.5e-05");
//   - the worksheet's own: "," as the decimal separator, "." grouping
//     thousands ("0,538", "1.234,5", "42.000").
// A field that only one notation reads ("0.538", "1.5e-05"; "3,5",
// "1.234,5") is read in it. A field that both read differently ("1.234")
// follows its column: the worksheet's notation when some field of the column
// reads only in it, else "." when some field reads only with "."; a column
// without such evidence follows the file's other columns in the same way,
// and a file without any (whole numbers and dots where thousands go, as the
// program's own export writes "42.000") is in the worksheet's notation. Cells of
// numeric columns receive the field's own digits in the worksheet's notation
// ("0.538" becomes "0,538"), so every value keeps all its digits, and the
// column's decimals become the largest number of decimals among its fields.
//
// Writing puts rows 0 (the names) to LinhasUsadas and columns
// 1..ColunasUsadas as the worksheet shows them, tab-separated, lines ending
// in CR LF, through a temporary file renamed over the target. Characters the
// code page lacks become "?"; a tab or line break inside a cell becomes a
// blank so that it cannot split the cell.
#pragma once

#include "files/LeituraGravacaoDados.h"

#include <string>
#include <string_view>

namespace zelto {

// Limits of a text worksheet: the worksheet's 16-bit counts, and a cap on
// the cells a file may make the worksheet hold (255 columns of 65535 rows).
inline constexpr std::size_t MaximoColunasTexto = 65535;
inline constexpr std::size_t MaximoLinhasTexto = 65535;
inline constexpr std::size_t MaximoCelulasTexto = 255u * 65535u;

class TArquivoTxt : public TLeituraGravacaoDados {
  public:
    explicit TArquivoTxt(TProgresso *progresso = nullptr);

    bool Ler(const std::filesystem::path &arquivo, TGridzelto &grid, std::size_t maximoResumo,
             std::string &resumo) override;
    bool Gravar(const std::filesystem::path &arquivo, TGridzelto &grid, const std::string &resumo,
                const std::string &comentarios) override;
    // The file opens and its extension is ".TXT" or ".PRN" (any case).
    bool VerificaFormato(const std::filesystem::path &arquivo) override;
    // "Arquivo de texto." when the file opens, else "Não foi possível ler arquivo.".
    bool LerComentarios(const std::filesystem::path &arquivo, std::string &texto) override;

    // The bytes Gravar writes for a worksheet.
    static std::string TextoPlanilha(const TGridzelto &grid);
};

// How a text field reads as a number: whether it does in the "." notation and
// in the worksheet's notation, and with how many decimals. Exposed for tests.
struct TCampoNumerico {
    bool ponto = false;   // reads with "." as the decimal separator
    bool virgula = false; // reads in the worksheet's notation
    int casasPonto = 0, casasVirgula = 0;
};
TCampoNumerico AnalisaCampo(std::string_view campo);

} // namespace zelto
