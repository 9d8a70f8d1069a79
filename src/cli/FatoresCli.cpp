#include "FatoresCli.h"

#include "ModeloCli.h"
#include "common/Texto.h"
#include "worksheet/Homogeneizacao.h"

#include <algorithm>
#include <vector>

namespace zelto::cli {

namespace {

std::string Nome(const TGridzelto &g, int c) {
    return g.Variavel(c)->Nome;
}

std::string Nomes(const TGridzelto &g, const std::vector<int> &colunas) {
    std::string t;
    for (int c : colunas)
        t += (t.empty() ? "" : ", ") + Nome(g, c);
    return t;
}

std::vector<int> ColunasFatores(const TGridzelto &g, const std::string &lista) {
    std::vector<int> colunas;
    for (const std::string &parte : Divide(lista, ',')) {
        const std::string nome = Apara(parte);
        if (nome.empty()) continue;
        const int c = Coluna(g, nome);
        if (std::find(colunas.begin(), colunas.end(), c) != colunas.end())
            throw TFalha{2, "A variável \"" + nome + "\" aparece mais de uma vez em --factors."};
        colunas.push_back(c);
    }
    if (colunas.empty())
        throw TFalha{2, "--factors precisa de ao menos um nome de variável: \"" + lista + "\"."};
    return colunas;
}

void MarcaExatamente(TGridzelto &g, const std::string &lista) {
    const std::vector<int> fatores = ColunasFatores(g, lista);
    const TFatoresPlanilha antes = FatoresPlanilha(g);
    const int unitario = antes.ValorUnitario, homogeneizado = g.ColunaValorHomogeneizado();
    if (unitario == 0)
        throw TFalha{1, "A planilha não tem o valor unitário; indique-o com --dependent."};
    for (int c : fatores) {
        const std::string aspas = "\"" + Nome(g, c) + "\"";
        if (c == unitario)
            throw TFalha{2, aspas + " é o valor unitário e não pode ser coeficiente em --factors."};
        if (c == antes.Dependente || c == homogeneizado)
            throw TFalha{2,
                         aspas + " é o valor a avaliar e não pode ser coeficiente em --factors."};
        if (!PodeSerFator(*g.Variavel(c)))
            throw TFalha{2, "A variável " + aspas +
                                " é de data ou de comentários e não pode ser coeficiente."};
    }
    for (int c = 1; c < g.ColCount(); ++c) {
        const TVariavel *v = g.Variavel(c);
        if (!v || c == homogeneizado) continue;
        TVariavel x = *v;
        if (c == unitario) {
            x.Usada = true;
            x.CoeficienteHomogeneizacao = false;
        } else if (std::find(fatores.begin(), fatores.end(), c) != fatores.end()) {
            x.Usada = x.CoeficienteHomogeneizacao = true;
        } else {
            x.Usada = x.Dependente = false;
        }
        if (x != *v) g.DefineVariavel(c, x);
    }
    g.RecalcularTudo();
}

} // namespace

void PreparaDescritiva(TGridzelto &g, const std::string &fatores) {
    if (!fatores.empty()) MarcaExatamente(g, fatores);
    AplicaModoDescritivo(g);
    const TFatoresPlanilha f = FatoresPlanilha(g);
    if (!f.SemMarca.empty())
        throw TFalha{1,
                     "No modo descritivo toda variável em uso multiplica o valor homogeneizado, e "
                     "estas não estão marcadas como coeficientes de homogeneização: " +
                         Nomes(g, f.SemMarca) +
                         ". Indique os coeficientes com --factors NOME,NOME (as demais "
                         "variáveis, exceto o valor unitário" +
                         (f.ValorUnitario ? " " + Nome(g, f.ValorUnitario) : std::string()) +
                         ", deixam de ser usadas)."};
}

} // namespace zelto::cli
