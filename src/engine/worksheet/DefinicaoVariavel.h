// Defining a column's variable, and converting its cells when its kind changes.
//
// The definition dialog only displays and collects a `TAtributosVariavel`;
// everything it decides lives here: the initial values it shows
// (AtributosIniciais), the rules that tie its check boxes together
// (AplicaRegras), the names its formula builder offers, the page titles of
// each mode, and what "Confirmar" does to the worksheet (DefineVariavel).
//
// DefineVariavel returns true when the models found before no longer fit the
// worksheet: a variable was created, its use or dependence changed, its table,
// formula, decimals or date settings changed, or its cells were converted.
#pragma once

#include "common/Datas.h"
#include "worksheet/Gridzelto.h"
#include "worksheet/TabelasVariaveis.h"

#include <string>
#include <vector>

namespace zelto {

// The values of the definition dialog.
struct TAtributosVariavel {
    std::string Nome;
    std::string Descricao;
    bool Usada = true;
    bool Dependente = false;
    bool CoeficienteHomogeneizacao = false;
    std::uint8_t Alinhamento = alDireita;
    TipoVariavel Tipo = tvNumerica;
    std::string CasasDecimais = "2"; // the text of the field; empty counts as "0"
    bool PontosDeMilhar = false;
    std::string Tabela; // the selected table of the kind's page
    std::string Equacao;
    std::uint8_t TipoData = tdMesAno;
    double DataReferencia = 0;
    bool TinhaVariavel = false;        // false: the column had no variable before
    bool CoeficienteHabilitado = true; // false for the "[Valor Homogeneizado]" column
};

// Title of the dialog's page of a kind in the current mode.
const char *TituloTipoVariavel(TipoVariavel tipo, bool modoInferencial);
// Default alignment of a kind.
std::uint8_t AlinhamentoPadrao(TipoVariavel tipo);

// What the dialog shows for column c: the header cell's name and, for an
// existing variable, its settings (the kind's first table when the stored one
// is missing); a fresh column shows kind 0, 2 decimals and today's month and
// year as the reference date in the month/year form.
TAtributosVariavel AtributosIniciais(const TGridzelto &g, int c, TTabelasVariaveis &tabelas);

// The dialog's rules, applied after the user changed `a`: an unused variable
// is neither dependent nor a coefficient; a dependent variable is no
// coefficient; kinds whose page hides a box clear it.
void AplicaRegras(TAtributosVariavel &a, bool modoInferencial);

// Names offered to the formula builder: the header cells of the used columns,
// and in the descriptive mode "Valor Homogeneizado" while no calculated column
// has that formula.
std::vector<std::string> NomesParaFormula(const TGridzelto &g, bool modoInferencial);

// A fault of a calculated variable's formula, found by trying it on the worksheet.
struct TFalhaFormula {
    std::uint8_t Codigo = SEM_ERRO; // the evaluator's code; SEM_ERRO: the formula works
    std::string NomeDesconhecido;   // the first name that is no column, function or constant
    int Linha = 0;                  // the row where it failed; 0 when tried without data
};

// Tries a calculated variable's formula on the first used rows (at most `linhas`), as the
// worksheet would compute it; without used rows, once with every column at 1. A column whose
// cell is empty in a row counts as 1 there: an empty cell is the data's fault, not the formula's.
TFalhaFormula VerificaFormula(const TGridzelto &g, const std::string &formula, int linhas = 5);

// "Confirmar": stores the dialog's values into column c's variable, converts
// the cells when the kind changed, and updates the worksheet. larguraNome is
// the pixel width of the name in bold (0 when not measured): the column
// widens to it + 10 when narrower. Column 0 is refused (false, nothing done).
bool DefineVariavel(TGridzelto &g, int c, const TAtributosVariavel &a, TTabelasVariaveis &tabelas,
                    int larguraNome = 0);

// Converts the cells of column c, whose variable is already `nova`, from the
// old variable and format (the column's previous state). Returns whether any
// conversion ran.
bool ConverteCelulas(TGridzelto &g, int c, const TVariavel &antiga,
                     const TDataFormat &formatoAntigo, TTabelasVariaveis &tabelas);

} // namespace zelto
