#include "gui/mainwindow/RegrasPlanilha.h"

#include "common/Texto.h"
#include "worksheet/Homogeneizacao.h"

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
    if (inferencial)
        g.RemoveValorHomogeneizado();
    else
        AplicaModoDescritivo(g);
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

void PerguntaFatores(TGridzelto &g, const Pergunta &pergunta) {
    const std::vector<int> semMarca = FatoresPlanilha(g).SemMarca;
    if (semMarca.empty() || !pergunta) return;
    std::string nomes;
    for (std::size_t i = 0; i < semMarca.size(); ++i) {
        if (i > 0) nomes += i + 1 == semMarca.size() ? " e " : ", ";
        nomes += "[" + g.Variavel(semMarca[i])->Nome + "]";
    }
    const std::string texto =
        semMarca.size() == 1
            ? "A variável " + nomes + " deve ser usada como coeficiente de homogeneização ?"
            : "As variáveis " + nomes + " devem ser usadas como coeficientes de homogeneização ?";
    if (pergunta(texto) == Resposta::Sim) MarcaFatores(g, semMarca);
}

} // namespace zelto
