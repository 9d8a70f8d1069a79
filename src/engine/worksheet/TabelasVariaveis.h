// The table store: named label tables of qualitative and dichotomous variables,
// shared by every worksheet and kept in one text file (TAB_VAR.QVT).
//
// File format (Windows-1252, one record per line, lines written with CR LF;
// LF, CR LF and a lone CR are all accepted when reading):
//   header      0xB1, table name, 0xB2, kind letter "Q" or "D"
//   qualitative one line per entry: label, 0xB2, value ("," as decimal separator)
//   dichotomous two lines: the label of the true state, then of the false state
//   an empty line (or the end of the file) ends a table.
// A label may itself hold the bytes 0xB1 and 0xB2 ("±", "²"): an entry is split
// at its last 0xB2, and a header is a line that opens with 0xB1 and closes with
// 0xB2 and the kind letter, so such labels and names survive a round trip.
// Lines that belong to no table are kept as they are when the file is rewritten.
//
// Names: finding a table compares names exactly (case counts); Existe ignores
// case. Qualitative and dichotomous tables have separate name spaces. Names and
// labels are cut to 255 Windows-1252 characters; line breaks inside them become
// spaces.
//
// Failures: a missing store is created empty. A store that exists but cannot be
// read behaves as empty and refuses every change (Legivel() is false), so that
// its tables are never overwritten. Every change rewrites the whole file through
// a temporary file "$$$$$$$$.QVT" in the store's folder, flushed and then renamed
// over the store; on any input/output error the store is left untouched, the
// temporary file is removed and the operation returns false. Nothing throws.
//
// The store keeps the file's lines in memory and rereads them whenever the
// file's time or size changes, so lookups in a loop do not reread the file.
#pragma once

#include "worksheet/Variavel.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace zelto {

enum class TipoTabela : std::uint8_t { Qualitativa, Dicotomica };

using TTabelaQualitativa = std::vector<TObjetoValor>;
// The label of the true state, then the label of the false state.
using TTabelaDicotomica = std::array<std::string, 2>;
// The content of one table; its kind follows from the alternative held.
using TConteudoTabela = std::variant<TTabelaQualitativa, TTabelaDicotomica>;

// One row of a two-column grid copy of a table: label and value text.
using TLinhaGrade = std::pair<std::string, std::string>;

// Label of an empty true or false state of a dichotomous table when saved.
inline constexpr const char *RotuloPositivo = "Positivo";
inline constexpr const char *RotuloNegativo = "Negativo";

// Longest label compared when the value of a cell's label is looked up.
inline constexpr std::size_t TamanhoRotuloBusca = 40;

class TTabelasVariaveis {
  public:
    // The store's file; it is read (or created empty) on first use.
    explicit TTabelasVariaveis(std::filesystem::path arquivo);

    const std::filesystem::path &Arquivo() const { return arquivo_; }
    // False while the file exists but cannot be read; changes are then refused.
    bool Legivel();

    // Names of all tables of a kind, in file order.
    std::vector<std::string> Nomes(TipoTabela tipo);
    // The first table of exactly this name. Entries whose value does not
    // convert are left out; entries with empty labels are kept.
    std::optional<TTabelaQualitativa> CarregaQualitativa(const std::string &nome);
    // The first two lines of the table; a missing line gives an empty label.
    std::optional<TTabelaDicotomica> CarregaDicotomica(const std::string &nome);
    // Grid copy: qualitative rows of (label, value text as stored), unconvertible
    // entries left out; dichotomous rows of (label, "").
    std::optional<std::vector<TLinhaGrade>> CarregaGrade(const std::string &nome, TipoTabela tipo);
    // The labels a list editor offers: the qualitative table without its
    // entries of empty label. Empty when the table is missing.
    TTabelaQualitativa ListaRotulos(const std::string &nome);
    // Whether a table of the kind has this name, ignoring case.
    bool Existe(const std::string &nome, TipoTabela tipo);

    // Appends a table at the end of the store (callers test Existe first).
    bool Acrescenta(const std::string &nome, const TConteudoTabela &conteudo);
    // Replaces the first table named `antigo` (exactly) of the content's kind
    // by the content under the name `novo`; appends it when `antigo` is missing.
    bool Substitui(const std::string &antigo, const std::string &novo,
                   const TConteudoTabela &conteudo);
    // One rewrite for the table editor's "replace the existing table": drops
    // every table of the kind whose name equals `novo` ignoring case, then
    // replaces `antigo` (when given and present; in place) or appends.
    bool SubstituiHomonimas(const std::optional<std::string> &antigo, const std::string &novo,
                            const TConteudoTabela &conteudo);
    // Deletes the first table of exactly this name and kind. False when it is
    // missing or the store could not be rewritten.
    bool Apaga(const std::string &nome, TipoTabela tipo);

    // Value of a label in a qualitative table: the label cut to 40 characters
    // is compared exactly with the table's labels; the first match converts its
    // value text. 0 when the table or the label is missing or the text does not
    // convert.
    long double ValorRotulo(const std::string &tabela, const std::string &rotulo);
    // The dichotomous table's two labels joined with "|"; empty when missing.
    std::string TextoRotulos(const std::string &tabela);

    // The name as the store keeps it: line breaks turned into spaces, cut to
    // 255 characters, limited to the Windows-1252 repertoire.
    static std::string NomeNormalizado(std::string_view nome);
    // Value text written into the store: general notation with "," when it
    // reads back exactly, otherwise the shortest text that does. (A NaN or an
    // infinity has no such text; its entry is left out when read back.)
    static std::string TextoValor(long double valor);

  private:
    struct Secao {
        std::size_t inicio = 0; // header line
        std::size_t fim = 0;    // one past the last entry line
        TipoTabela tipo = TipoTabela::Qualitativa;
        std::string nome; // UTF-8
    };

    bool Atualiza();
    const Secao *Procura(const std::string &nome, TipoTabela tipo) const;
    bool Reescreve(const std::vector<std::string> &linhas);
    bool SeparadorSobra(const std::vector<std::string> &saida, std::size_t fim) const;
    bool Grava(const std::optional<std::string> &antigo, const std::string &novo,
               const TConteudoTabela &conteudo, bool apagaHomonimas);

    std::filesystem::path arquivo_;
    bool carregado_ = false;
    bool legivel_ = true;
    std::filesystem::file_time_type hora_{};
    std::uintmax_t tamanho_ = 0;
    std::vector<std::string> linhas_; // Windows-1252 bytes, without line ends
    std::vector<Secao> secoes_;
};

// Reads a value text of a table: a number with "," as decimal separator and an
// optional exponent, or the editor's display form with "." between groups of
// three digits ("1.234,500"). False when it is neither.
bool ConverteValorTabela(std::string_view texto, long double &valor);

// Value of a label in a grid copy of a qualitative table: labels compared after
// trimming spaces, the searched one cut to 40 characters; the search ends at
// the first row of empty label. 0 when missing or unconvertible.
long double ValorRotuloGrade(const std::vector<TLinhaGrade> &grade, std::string_view rotulo);

} // namespace zelto
