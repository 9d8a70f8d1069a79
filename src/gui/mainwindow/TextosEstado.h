// The texts of the main window's status line and tabs: the worksheet state,
// the row and column counts, the worksheet tab (the file name) and the
// position label of the current cell.
#pragma once

#include "worksheet/Gridzelto.h"

#include <string>

namespace zelto {

inline constexpr const char *kSemValor = "----------------";
// The name of a worksheet that was never saved.
inline constexpr const char *kPlanilhaNova = "Planilha.QV3";

// "Modificado" or the dashes.
std::string TextoEstadoPlanilha(bool modificada);
// "1 linha", N + " linhas", or the dashes for none.
std::string TextoLinhas(int n);
// "1 coluna", N + " colunas", or the dashes for none.
std::string TextoColunas(int n);
// The file name without its folder, in upper case, cut to 80 characters.
std::string TextoAbaPlanilha(const std::string &arquivo);
// M + " " + the row's number + " " + M + " " + the variable's name, where M is
// "•" on a row below the used ones, "–" on a disregarded sample and "|"
// otherwise; for a column without a variable the text ends instead in
// " •" + the column's header + "•".
std::string TextoPosicao(const TGridzelto &g, int c, int r);

} // namespace zelto
