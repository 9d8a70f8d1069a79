// The grade of fundamentação of each model of the best-models list, and the order "grau de
// fundamentação, depois R": grade III first, then II, I and the models without grade, the list's
// own order (by R) kept within a grade.
//
// Only the models the search listed are graded: the search keeps its 50 best by R and the
// grading re-orders those, it does not widen the pool.
#pragma once

#include "regression/Enquadramento.h"

#include <optional>
#include <span>
#include <vector>

namespace zelto {

class TPesquisa;
class TProgresso;
class TSistema;

struct TGrauModelo {
    // Nenhum when the model cannot be fitted again or graded.
    TGrau Grau = TGrau::Nenhum;
    // False without the subject property: criterion 4 is not evaluated and Grau is the grade
    // the other five criteria allow (criterion 4 counted at III).
    bool ExtrapolacaoAvaliada = false;
};

// The grade of the model of a list slot (1-based): the model fitted again from its codes, as
// the table fits it, criteria 1 and 3 as declared (I when not declared). Leaves `sistema` with
// that model fitted.
TGrauModelo GrauDoSlot(TPesquisa &p, TSistema &sistema, int slot,
                       const TDeclaracoesEnquadramento &declaracoes);

// The positions (0-based) of `graus` in the order of the grade, III first; equal grades keep
// their order.
std::vector<int> OrdemPorGrau(std::span<const TGrau> graus);

// The fundamentação grade of every listed model (index slot − 1) and the slots in the order to
// show them: by grade when `porGrau` ("grau de fundamentação, depois R"), else the list's
// order. Refits each model in `sistema` (the search's own), one progress step per model.
// Without `avalia` nothing is graded and the slots keep the list's order.
struct TGrausLista {
    std::vector<TGrauModelo> Graus;
    std::vector<int> Slots;
};
TGrausLista GrausDaLista(TPesquisa &p, TSistema &sistema,
                         const TDeclaracoesEnquadramento &declaracoes, bool porGrau,
                         bool avalia = true, TProgresso *progresso = nullptr);
// The best-models table row that shows a slot; 0 when none does.
int LinhaDoSlot(const TPesquisa &p, int slot);

} // namespace zelto
