#include "worksheet/Homogeneizacao.h"


#include <algorithm>

namespace zelto {

namespace {

int UltimaColuna(const TGridzelto &g) {
    return std::min<int>(g.ColunasUsadas(), g.ColCount() - 1);
}

// A used column the descriptive mode can multiply.
bool EmUso(const TGridzelto &g, int c) {
    const TVariavel *v = g.Variavel(c);
    return v && v->Usada && PodeSerFator(*v);
}

} // namespace

bool PodeSerFator(const TVariavel &v) {
    return v.Tipo != tvData && v.Tipo != tvComentario && v.Tipo != tvSemVariavel;
}

TFatoresPlanilha FatoresPlanilha(const TGridzelto &g) {
    TFatoresPlanilha f;
    f.Dependente = g.ColunaDependente();
    const TVariavel *dep = f.Dependente ? g.Variavel(f.Dependente) : nullptr;
    f.Homogeneizado = dep && dep->Tipo == tvCalculada;
    const int ultima = UltimaColuna(g);
    if (dep && !f.Homogeneizado) {
        f.ValorUnitario = f.Dependente;
    } else {
        int anterior = 0, semCoeficiente = 0, primeira = 0;
        for (int c = 1; c <= ultima; ++c) {
            if (c == f.Dependente || !EmUso(g, c)) continue;
            const TVariavel &v = *g.Variavel(c);
            if (v.DependenteAnterior && anterior == 0) anterior = c;
            if (!v.CoeficienteHomogeneizacao && semCoeficiente == 0) semCoeficiente = c;
            if (primeira == 0) primeira = c;
        }
        f.ValorUnitario = anterior ? anterior : semCoeficiente ? semCoeficiente : primeira;
    }
    for (int c = 1; c <= ultima; ++c) {
        if (c == f.Dependente || c == f.ValorUnitario || !EmUso(g, c)) continue;
        (g.Variavel(c)->CoeficienteHomogeneizacao ? f.Fatores : f.SemMarca).push_back(c);
    }
    return f;
}

void MarcaFatores(TGridzelto &g, const std::vector<int> &colunas) {
    bool mudou = false;
    for (int c : colunas) {
        const TVariavel *v = g.Variavel(c);
        if (!v || (v->Usada && v->CoeficienteHomogeneizacao)) continue;
        TVariavel x = *v;
        x.Usada = x.CoeficienteHomogeneizacao = true;
        g.DefineVariavel(c, x);
        mudou = true;
    }
    if (!mudou) return;
    g.RecalcularTudo();
    g.DefineModificada(true);
}

void AplicaModoDescritivo(TGridzelto &g) {
    // Date and comment columns stop being used first, so that the product of the
    // "Valor Homog." column leaves them out from the start.
    bool mudou = false;
    for (int c = 1; c < g.ColCount(); ++c) {
        const TVariavel *v = g.Variavel(c);
        if (!v || !v->Usada || (v->Tipo != tvData && v->Tipo != tvComentario)) continue;
        TVariavel x = *v;
        x.Usada = x.Dependente = false;
        g.DefineVariavel(c, x);
        mudou = true;
    }
    if (mudou) {
        g.RecalcularTudo();
        g.DefineModificada(true);
    }
    if (g.Modo.CriarValorHomogeneizado && g.ColunasUsadas() > 1) g.GaranteValorHomogeneizado();
}

} // namespace zelto
