#include "search/GrauModelos.h"

#include "common/Progresso.h"
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

TGrausLista GrausDaLista(TPesquisa &p, TSistema &sistema,
                         const TDeclaracoesEnquadramento &declaracoes, bool porGrau, bool avalia,
                         TProgresso *progresso) {
    TGrausLista g;
    std::vector<TGrau> graus;
    for (int slot = 1; avalia && slot <= p.Modelos(); ++slot) {
        g.Graus.push_back(GrauDoSlot(p, sistema, slot, declaracoes));
        graus.push_back(g.Graus.back().Grau);
        if (progresso) progresso->Avanca(slot);
    }
    if (avalia && porGrau) {
        for (int i : OrdemPorGrau(graus))
            g.Slots.push_back(i + 1);
    } else {
        for (int slot = 1; slot <= p.Modelos(); ++slot)
            g.Slots.push_back(slot);
    }
    return g;
}

int LinhaDoSlot(const TPesquisa &p, int slot) {
    for (int linha = 1; linha < static_cast<int>(p.Tabela().size()); ++linha)
        if (p.SlotDaLinha(linha) == slot) return linha;
    return 0;
}

} // namespace zelto
