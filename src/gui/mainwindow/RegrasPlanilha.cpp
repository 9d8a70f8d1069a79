#include "gui/mainwindow/RegrasPlanilha.h"

#include "common/Texto.h"
#include "worksheet/Modo.h"

#include <algorithm>

namespace zelto {

namespace {

int UltimaColuna(const TGridzelto &g) {
    return std::min<int>(g.ColunasUsadas(), g.ColCount() - 1);
}
int UltimaLinha(const TGridzelto &g) {
    return std::min<int>(g.LinhasUsadas(), g.RowCount() - 1);
}

bool Usada(const TGridzelto &g, int c) {
    const TVariavel *v = g.Variavel(c);
    return v && v->Usada;
}

bool Vazia(const TGridzelto &g, int c, int r) {
    return Apara(g.Celula(c, r)).empty();
}

// Changes a column's variable through the worksheet, so that views hear of it.
template <class F> void MudaVariavel(TGridzelto &g, int c, F f) {
    TVariavel v = *g.Variavel(c);
    f(v);
    if (v != *g.Variavel(c)) g.DefineVariavel(c, v);
}

} // namespace

std::optional<TCelulaVazia> ProcuraCelulaVazia(const TGridzelto &g) {
    for (int c = 1; c <= UltimaColuna(g); ++c) {
        if (!Usada(g, c)) continue;
        for (int r = 1; r <= UltimaLinha(g); ++r)
            if (!g.Desconsiderada(r) && Vazia(g, c, r)) return TCelulaVazia{c, r};
    }
    return std::nullopt;
}

void DesconsideraAmostragensComVazias(TGridzelto &g) {
    for (int c = 1; c <= UltimaColuna(g); ++c) {
        if (!Usada(g, c)) continue;
        for (int r = 1; r <= UltimaLinha(g); ++r)
            if (!g.Desconsiderada(r) && Vazia(g, c, r)) g.AlternaDesconsiderada(r);
    }
}

void DeixaDeUsarVariaveisComVazias(TGridzelto &g) {
    for (int c = 1; c <= UltimaColuna(g); ++c) {
        for (int r = 1; r <= UltimaLinha(g) && Usada(g, c); ++r) {
            if (g.Desconsiderada(r) || !Vazia(g, c, r)) continue;
            g.AlternaUsada(c);
            // A column the toggle refuses (a date column in the descriptive
            // mode) is turned off directly.
            if (Usada(g, c)) {
                MudaVariavel(g, c, [](TVariavel &v) { v.Usada = v.Dependente = false; });
                g.DefineModificada(true);
            }
        }
    }
}

void AplicaModoPlanilha(TGridzelto &g, bool inferencial) {
    if (inferencial) {
        g.RemoveValorHomogeneizado();
        return;
    }
    // Date and comment columns stop being used first, so that the product of
    // the "Valor Homog." column leaves them out from the start.
    bool mudou = false;
    for (int c = 1; c < g.ColCount(); ++c) {
        const TVariavel *v = g.Variavel(c);
        if (!v || !v->Usada || (v->Tipo != tvData && v->Tipo != tvComentario)) continue;
        MudaVariavel(g, c, [](TVariavel &x) { x.Usada = x.Dependente = false; });
        mudou = true;
    }
    if (mudou) {
        g.RecalcularTudo();
        g.DefineModificada(true);
    }
    if (CriarValorHomogeneizado && g.ColunasUsadas() > 1) g.GaranteValorHomogeneizado();
}

void PerguntaDependente(TGridzelto &g, const Pergunta &pergunta) {
    int usada = 0, dependente = 0;
    const int homog = g.ColunaValorHomogeneizado();
    for (int c = 1; c <= UltimaColuna(g); ++c) {
        const TVariavel *v = g.Variavel(c);
        if (!v) continue;
        if (v->Usada && usada == 0) usada = c;
        if (v->Dependente && dependente == 0) dependente = c;
    }
    if (dependente == 0 && usada != 0) {
        const std::string texto = "A variável [" + g.Variavel(usada)->Nome +
                                  "] deve ser usada como valor unitário nos cálculos ?";
        if (pergunta && pergunta(texto) == Resposta::Sim)
            MudaVariavel(g, usada, [](TVariavel &v) {
                v.Dependente = true;
                v.CoeficienteHomogeneizacao = false;
            });
    } else if (dependente != 0 && dependente != homog) {
        MudaVariavel(g, dependente, [](TVariavel &v) { v.CoeficienteHomogeneizacao = false; });
        if (homog != 0)
            MudaVariavel(g, homog, [](TVariavel &v) { v.CoeficienteHomogeneizacao = false; });
    }
}

} // namespace zelto
