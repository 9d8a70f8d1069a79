// Rules of the main window that act on the worksheet alone: the empty-cell
// check before saving and searching, the effects of the statistics mode on
// the worksheet, and the questions after reading a file in the descriptive
// mode (the unit value, then the homogenisation coefficients).
#pragma once

#include "common/Perguntas.h"
#include "worksheet/Gridzelto.h"

#include <optional>

namespace zelto {

struct TCelulaVazia {
    int Coluna = 0, Linha = 0;
};

// The first empty cell (blank once trimmed) of a used variable in a sample
// that is not disregarded: used columns left to right, used rows top down.
std::optional<TCelulaVazia> ProcuraCelulaVazia(const TGridzelto &g);
// "Não usar amostragens que possuam células em branco.": every sample with an
// empty cell in a used variable becomes disregarded.
void DesconsideraAmostragensComVazias(TGridzelto &g);
// "Não usar variáveis que possuam células em branco.": every used variable with
// an empty cell in a sample that is not disregarded stops being used.
void DeixaDeUsarVariaveisComVazias(TGridzelto &g);

// The worksheet's side of the mode command, for the mode now in force:
// inferential removes the automatic "Valor Homog." column; descriptive ensures
// it (with the worksheet mode's CriarValorHomogeneizado and more than one used
// column) and stops using every date and comment column.
void AplicaModoPlanilha(TGridzelto &g, bool inferencial);

// After reading in the descriptive mode: with no dependent column but a used
// one, asks whether the first used column is the unit value (yes makes it
// dependent and no coefficient); with a dependent column other than the
// "[Valor Homogeneizado]" column, that column and the calculated one stop
// being coefficients. The question's text is the argument of pergunta.
void PerguntaDependente(TGridzelto &g, const Pergunta &pergunta);

// After reading in the descriptive mode, once the unit value is known: the used columns that
// enter the homogenised value without being marked as coefficients (FatoresPlanilha) are
// offered, all in one question, to become coefficients; yes marks them, no leaves them as they
// are (the report then says what is missing and values nothing).
void PerguntaFatores(TGridzelto &g, const Pergunta &pergunta);

} // namespace zelto
