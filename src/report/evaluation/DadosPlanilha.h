// What the report items read of the worksheet and of the model search, as plain records.
//
// The items never include the worksheet's headers: this unit reads the worksheet and the
// search and hands the items plain data, with alignments already in the writer's codes
// (0 left, 1 centre, 2 right; the worksheet's own codes differ in value).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zelto {

class TGridzelto;
class TPesquisa;

// Kinds of variable, as the worksheet numbers them.
enum TTipoVariavelRelatorio : int {
    tvrNumerica = 0,
    tvrQualitativa = 1,
    tvrDicotomica = 2,
    tvrCalculada = 3,
    tvrData = 4,
    tvrComentario = 5
};

struct TInfoVariavel {
    int Coluna = 0;
    std::string Nome, Descricao;
    int Tipo = tvrNumerica;
    bool Usada = false, Dependente = false, Coeficiente = false;
    int Alinhamento = 0; // writer code
    int CasasDecimais = 2;
    std::vector<std::pair<std::string, std::string>> Classes; // qualitative: text, code
    std::string RotuloVerdadeiro, RotuloFalso;                // dichotomous
    std::string Equacao;                                      // calculated
    bool EmMeses = false;                                     // date: months, else days
    std::string DataReferencia;                               // date
};

struct TInfoAmostra {
    int Linha = 0;
    std::string Rotulo; // the row header
    bool Desconsiderada = false, Saneada = false;
    bool Ativa() const { return !Desconsiderada && !Saneada; }
};

// Every defined variable of the worksheet, in column order.
std::vector<TInfoVariavel> VariaveisPlanilha(const TGridzelto &g);
// The variable of one column (Coluna 0 when the column has none).
TInfoVariavel VariavelPlanilha(const TGridzelto &g, int coluna);
// Every sample row of the worksheet (rows 1 to the used count), in row order.
std::vector<TInfoAmostra> AmostrasPlanilha(const TGridzelto &g);
// A cell as the sample table shows it: the worksheet's text; a dichotomous cell prefixed by
// "[x]" when it holds "TRUE", by "[ ]" otherwise.
std::string TextoAmostra(const TGridzelto &g, int coluna, int linha);
long double ValorPlanilha(const TGridzelto &g, int coluna, int linha);
// A value in the variable's own form, with its decimals (the report's "variable's format").
std::string TextoValorVariavel(const TGridzelto &g, int coluna, long double x);
const std::string &ArquivoPlanilha(const TGridzelto &g);
// True when some used independent variable has no value for the property under evaluation.
bool ObjetoIncompleto(const TGridzelto &g);

// The ranked models of the search: the table rows (row 0 the headings) and, per row, the
// model's equation "[dependent] = b0 + b1*[x1] ...", each variable with its transformation.
struct TModelosPesquisados {
    std::vector<std::vector<std::string>> Tabela;
    std::vector<std::string> Equacoes; // per table row; index 0 unused
};
// Empty when the search has no table.
TModelosPesquisados ModelosPesquisados(const TPesquisa &p, const TGridzelto &g);

} // namespace zelto
