#include "search/GrauModelos.h"

#include "regression/Sistema.h"
#include "search/Pesquisa.h"

#include <algorithm>
#include <numeric>

namespace zelto {

TGrauModelo GrauDoSlot(TPesquisa &p, TSistema &sistema, int slot,
                       const TDeclaracoesEnquadramento &declaracoes) {
    TGrauModelo g;
    if (!p.AjustaSlot(slot, false, 0, 0) || !sistema.CompletaAjuste()) return g;
    const TFundamentacao f = Enquadra(sistema, declaracoes).Fundamentacao;
    if (f.Grau) {
        g.Grau = *f.Grau;
        g.ExtrapolacaoAvaliada = true;
        return g;
    }
    // Without the subject: the grade the other criteria allow, criterion 4 at its best.
    std::array<TGrau, 6> graus{};
    for (std::size_t i = 0; i < graus.size(); ++i)
        graus[i] = f.Criterios[i].Avaliado ? f.Criterios[i].Grau : TGrau::III;
    g.Grau = GrauGeral(graus);
    return g;
}

std::vector<int> OrdemPorGrau(std::span<const TGrau> graus) {
    std::vector<int> ordem(graus.size());
    std::iota(ordem.begin(), ordem.end(), 0);
    std::stable_sort(ordem.begin(), ordem.end(), [&](int a, int b) {
        return static_cast<int>(graus[static_cast<std::size_t>(a)]) >
               static_cast<int>(graus[static_cast<std::size_t>(b)]);
    });
    return ordem;
}

} // namespace zelto
