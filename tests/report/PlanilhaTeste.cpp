#include "PlanilhaTeste.h"

#include "files/LerArquivo.h"
#include "worksheet/Gridzelto.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace zelto::teste {

std::shared_ptr<TGridzelto> LePlanilhaTeste(const std::string &arquivo) {
    auto g = std::make_shared<TGridzelto>();
    std::string resumo;
    if (!LerArquivo(arquivo, *g, 1000, resumo, nullptr).ok) return nullptr;
    return g;
}

std::shared_ptr<TGridzelto> PlanilhaDeColunas(const std::vector<std::string> &nomes,
                                              const std::vector<std::vector<double>> &colunas) {
    std::string texto;
    for (std::size_t c = 0; c < nomes.size(); ++c)
        texto += (c ? "\t" : "") + nomes[c];
    texto += "\n";
    for (std::size_t l = 0; l < colunas[0].size(); ++l) {
        for (std::size_t c = 0; c < colunas.size(); ++c) {
            std::ostringstream s;
            s.precision(17);
            s << colunas[c][l];
            std::string v = s.str();
            for (char &ch : v)
                if (ch == '.') ch = ',';
            texto += (c ? "\t" : "") + v;
        }
        texto += "\n";
    }
    // A name of this process's own: tests run side by side (and other build trees) share the
    // temporary folder.
    const std::string arquivo =
        ::testing::TempDir() + "/planilha-teste-" + std::to_string(::getpid()) + ".txt";
    std::ofstream(arquivo, std::ios::binary) << texto;
    auto grid = LePlanilhaTeste(arquivo);
    std::remove(arquivo.c_str());
    return grid;
}

void DefineObjeto(TGridzelto &g, const std::vector<std::pair<std::string, double>> &valores) {
    g.ValoresObjeto.clear();
    for (const auto &[nome, valor] : valores) {
        std::ostringstream s;
        s.precision(17);
        s << valor;
        std::string v = s.str();
        for (char &ch : v)
            if (ch == '.') ch = ',';
        g.ValoresObjeto.push_back(nome + "=" + v);
    }
}

void DefineIdentificacao(TGridzelto &g, const std::string &objeto, bool feminino, const std::string &unidade) {
    g.IdentificacaoObjeto.Objeto.Texto = objeto;
    g.IdentificacaoObjeto.Objeto.Genero = feminino ? 1 : 0;
    g.IdentificacaoObjeto.Objeto.Unidade = unidade;
}

} // namespace zelto::teste

namespace zelto::teste {

void MarcaVariavel(TGridzelto &g, int coluna, bool usada, bool dependente, bool coeficiente) {
    TVariavel *v = g.Variavel(coluna);
    if (!v) return;
    v->Usada = usada;
    v->Dependente = dependente;
    v->CoeficienteHomogeneizacao = coeficiente;
}

std::pair<int, bool> FormataVariavel(TGridzelto &g, int coluna, int casas, bool milhar) {
    TVariavel *v = g.Variavel(coluna);
    if (!v) return {0, false};
    const std::pair<int, bool> antes{v->CasasDecimais, v->PontosDeMilhar};
    v->CasasDecimais = static_cast<std::uint8_t>(casas);
    v->PontosDeMilhar = milhar;
    return antes;
}

void Desconsidera(TGridzelto &g, int linha) { g.AmostragemCriada(linha).Desconsiderada = true; }

void Saneia(TGridzelto &g, int linha) { g.AmostragemCriada(linha).Saneada = true; }

} // namespace zelto::teste
