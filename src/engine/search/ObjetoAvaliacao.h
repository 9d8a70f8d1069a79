// The property under evaluation (the subject): its value of each variable and
// the words the report uses to speak of it.
//
// The worksheet keeps both: `ValoresObjeto`, one line per variable written as
// the variable's name, "=" and the value as cell text, and
// `IdentificacaoObjeto`, the names, genders and units of the object, the
// multiplicative characteristic and the final value, and the characteristic's
// value (the multiplier). A line is found by the whole name before its "=",
// so names that themselves hold "=" are found too; an exact match wins over
// one that differs only in case.
//
// `TEdicaoObjeto` is what the dialog "Objeto a ser avaliado" edits: one entry
// per variable except the dependent one, the description, and the texts that
// explain them. The dialog displays it; nothing reaches the worksheet before
// Confirma, so abandoning the dialog leaves the worksheet as it was.
//
// Before a model is chosen the main window checks the subject's values
// (ConfereObjeto): a used variable other than the dependent one without a
// value is missing; in the descriptive mode a multiplier of 0 is.
#pragma once

#include "common/Perguntas.h"
#include "files/ArquivoIni.h"
#include "worksheet/Gridzelto.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelto {

// ---- The lines of ValoresObjeto ---------------------------------------------------------

// The value text of the line for `nome`; nullopt when there is none.
std::optional<std::string> ValorObjeto(const std::vector<std::string> &valores,
                                       std::string_view nome);
// Replaces the value of the line for `nome`, or appends a line.
void DefineValorObjeto(std::vector<std::string> &valores, std::string_view nome,
                       std::string_view texto);
std::string LinhaObjeto(std::string_view nome, std::string_view texto);

// The subject's value of column c: its line's text under the column's kind
// rules (0 without a line, for an empty text, or without a variable).
long double ValorObjetoColuna(const TGridzelto &g, int c);
// The subject's text for column c (empty without a line).
std::string TextoObjetoColuna(const TGridzelto &g, int c);
// Why `texto` cannot be the subject's value of column c, naming the variable and the value
// ("O valor \"abc\" da variável \"lotsize\" não é um número."; not a date; not one of the
// labels of its table, which the message lists); empty when it converts under the column's kind
// as a cell of the column would. An empty text (no value) is accepted, and a comment takes any.
std::string RecusaValorObjeto(const TGridzelto &g, int c, std::string_view texto);

// ---- IdentificacaoObjeto ----------------------------------------------------------------

inline constexpr const char *kGeneros[] = {"Masc.", "Fem."};
inline constexpr const char *kPosicoesUnidade[] = {"Ant.", "Post."};
inline constexpr const char *kTituloObjeto = "Objeto a ser avaliado";
inline constexpr const char *kExemploObjeto = "(ex: Casa, Terreno)";
inline constexpr const char *kExemploCaracteristica = "(ex: Área)";
inline constexpr const char *kExemploValorFinal = "(ex : Valor venal )";
inline constexpr const char *kOcultarNaoUsadas = "Ocultar as variáveis não usadas";
inline constexpr const char *kOrdemPlanilha = "Posição na planilha";
inline constexpr const char *kOrdemAlfabetica = "Alfabética";
inline constexpr const char *kDicaValorFinal =
    "Identificação do valor final avaliado\r\n(valor estimado x característica multiplicativa)";
inline constexpr const char *kPerguntaObjetoIncompleto =
    "Algumas variáveis do objeto sob avaliação não estão com seus valores "
    "informados.\r\n\r\nVariáveis não preenchidas são consideradas com valor 0 (zero). Isso pode "
    "inviabilizar alguns modelos, caso exista transformação inversa ou logarítmica para a "
    "variável não preenchida.\r\n\r\nDeseja informar os dados não preenchidos?";

// "a" for a feminine name (1), "o" otherwise.
const char *Artigo(std::int16_t genero);
// The caption under the unit of the dependent variable.
const char *LegendaUnidadeDependente(bool modoInferencial);
// Texts cut to 255 characters, genders and positions to 0 or 1.
void NormalizaIdentificacao(TIdentificacaoObjeto &id);
// "Valor da área da Casa (em m²)"; "Valor da característica multiplicativa"
// without a characteristic name.
std::string RotuloValorCaracteristica(const TIdentificacaoObjeto &id);
// What the statistics will give, as the dialog explains it.
std::string ResumoObjeto(const TIdentificacaoObjeto &id, std::string_view tituloDependente);
// The multiplier as its field shows it: 4 decimals, empty for 0.
std::string TextoMultiplicador(const TIdentificacaoObjeto &id);
// Reads the field back: empty is 0; false (nothing changed) for a text that is no number.
bool LeMultiplicador(std::string_view texto, TIdentificacaoObjeto &id);
// The final value (estimate in the original scale × multiplier) is written
// only when the characteristic has a name and the multiplier is not 0.
bool EscreveValorFinal(const TIdentificacaoObjeto &id);
long double ValorFinal(const TIdentificacaoObjeto &id, long double estimativa);

// ---- The dialog's settings ----------------------------------------------------------------

inline constexpr const char *kChaveOcultarNaoUsadas = "OcNU";
inline constexpr const char *kChaveOrdemAlfabetica = "OrAlf";
struct TOpcoesObjeto {
    bool OcultarNaoUsadas = false;
    bool Alfabetica = false;
    void Le(const TArquivoIni &ini); // section "Geral" of the general settings
    bool Grava(TArquivoIni &ini) const;
};

// ---- Editing the subject ------------------------------------------------------------------

struct TValorEditado {
    int Coluna = 0;
    std::string Nome;  // the column's title
    std::string Texto; // the value as the cell shows it
};

class TEdicaoObjeto {
  public:
    // Takes the worksheet's subject as it stands: one entry per variable of
    // columns 1..ColunasUsadas except the dependent one, with its stored value.
    TEdicaoObjeto(const TGridzelto &g, bool modoInferencial, TOpcoesObjeto opcoes = {});

    bool Inferencial() const { return inferencial_; }
    const TOpcoesObjeto &Opcoes() const { return opcoes_; }
    // Changing the order or the hiding keeps every value typed so far.
    void DefineOpcoes(TOpcoesObjeto o) { opcoes_ = o; }

    // Every entry, in worksheet order; and the indexes of those the grid
    // shows (none in the descriptive mode), in the chosen order.
    const std::vector<TValorEditado> &Valores() const { return valores_; }
    std::vector<int> Visiveis() const;
    int Indice(std::string_view nome) const; // -1 when no entry has that name

    // A typed or pasted text, put in the column's cell form; calculated
    // columns are then recomputed. Calculated entries cannot be typed into.
    // A text that does not convert for the column's kind is refused: the
    // entry keeps its value and the refusal (RecusaValorObjeto) is returned;
    // empty when the text was taken.
    std::string AtribuiTexto(int i, std::string_view texto);
    // The refusal of the first entry, in worksheet order, whose value (as
    // stored in the worksheet, say) does not convert; empty when none.
    std::string Recusa() const;
    // The Delete key.
    void Limpa(int i);
    // Computes the calculated entries, in column order, with the worksheet's
    // formulas; a name is resolved among the entries first, then among the
    // worksheet's stored subject lines (read as a number). "???" on a fault.
    void Recalcula();

    TIdentificacaoObjeto Identificacao;
    std::string TituloDependente() const;
    std::string RotuloCaracteristica() const { return RotuloValorCaracteristica(Identificacao); }
    std::string Resumo() const { return ResumoObjeto(Identificacao, TituloDependente()); }
    std::string LegendaUnidade() const { return LegendaUnidadeDependente(inferencial_); }

    // "Confirma": stores the identification and, in the inferential mode,
    // rebuilds ValoresObjeto from every entry (in the chosen order, hidden
    // ones included). Marks the worksheet modified when anything changed;
    // returns whether it did.
    bool Confirma(TGridzelto &g) const;

  private:
    const TGridzelto &g_;
    bool inferencial_;
    TOpcoesObjeto opcoes_;
    std::vector<TValorEditado> valores_;
    std::vector<int> ordem(bool todas) const;
};

// ---- Missing values before a model is chosen -----------------------------------------------

// Used variables other than the dependent one whose value is missing or blank.
std::vector<int> VariaveisSemValor(const TGridzelto &g);
// Whether the subject dialog must open before a model is chosen: "PdOA" on;
// inferential mode with an empty ValoresObjeto or a variable without a
// value; descriptive mode with multiplier 0.
bool DevePedirObjeto(const TGridzelto &g, bool modoInferencial, bool pedirSempre);
// The whole check: opens the dialog when it must (`informa` returns false when
// the user abandons it), then in the inferential mode asks
// kPerguntaObjetoIncompleto while values are missing: yes opens the dialog
// again, no goes on with zeros, cancel abandons. True: go on choosing.
bool ConfereObjeto(const TGridzelto &g, bool modoInferencial, bool pedirSempre,
                   const std::function<bool()> &informa, const Pergunta &pergunta);

} // namespace zelto
