// Worksheets and comparisons shared by the search tests.
#pragma once

#include "search/Pesquisa.h"
#include "worksheet/Gridzelto.h"

#include "../worksheet/PlanilhaTeste.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace zelto::teste {

// Numeric columns named by `nomes`, used, column `dependente` the dependent variable; values
// written with 6 decimals.
inline void Preenche(TGridzelto &g, const std::vector<std::string> &nomes,
                     const std::vector<std::vector<double>> &colunas, int dependente = 1) {
    const std::size_t linhas = colunas.empty() ? 0 : colunas[0].size();
    if (g.RowCount() <= static_cast<int>(linhas))
        g.AcrescentaLinhas(static_cast<int>(linhas) + 1 - g.RowCount());
    for (std::size_t c = 0; c < nomes.size(); ++c) {
        TVariavel v = Var(tvNumerica, nomes[c]);
        v.Dependente = static_cast<int>(c) + 1 == dependente;
        v.CasasDecimais = 6;
        Define(g, static_cast<int>(c) + 1, v);
        for (std::size_t r = 0; r < linhas; ++r)
            g.TextoDeValor(static_cast<int>(c) + 1, static_cast<int>(r) + 1, colunas[c][r]);
    }
    g.DefineLinhasUsadas(static_cast<int>(linhas));
}

// A worksheet of random data: a positive dependent variable (column 1), then regressors of the
// kinds asked: 'p' positive, 'b' 0/1 (exact ties under several codes), 'z' with zeros and
// negative values (failed transformations), and the collinear ones every model holding them
// with the columns they repeat must be refused for: 'c' a constant, 'd' the regressor before
// it again, 'k' twice the one before plus three times the one before that.
inline void Aleatoria(TGridzelto &g, const std::string &tipos, int amostras, unsigned semente) {
    std::mt19937 gerador(semente);
    std::uniform_real_distribution<double> u(0.5, 10);
    std::vector<std::string> nomes{"y"};
    std::vector<std::vector<double>> colunas(tipos.size() + 1, std::vector<double>(amostras));
    for (std::size_t k = 0; k < tipos.size(); ++k)
        nomes.push_back("x" + std::to_string(k + 1));
    for (int s = 0; s < amostras; ++s) {
        double y = u(gerador);
        for (std::size_t k = 0; k < tipos.size(); ++k) {
            double x = u(gerador);
            const auto anterior = [&](std::size_t j) {
                return colunas[k + 1 - j][static_cast<std::size_t>(s)];
            };
            if (tipos[k] == 'b') x = gerador() % 2;
            if (tipos[k] == 'z') x = static_cast<int>(gerador() % 7) - 2;
            if (tipos[k] == 'c') x = 7.125;
            if (tipos[k] == 'd') x = anterior(1);
            if (tipos[k] == 'k') x = 2 * anterior(1) + 3 * anterior(2);
            colunas[k + 1][static_cast<std::size_t>(s)] = std::round(x * 1000) / 1000;
            y += 0.3 * x * (k % 2 ? 1 : -0.5);
        }
        colunas[0][static_cast<std::size_t>(s)] = std::round(std::fabs(y) * 1000) / 1000 + 0.5;
    }
    Preenche(g, nomes, colunas);
}

// The masks of every variable (the dependent's bit 0 is dropped by the search).
inline void Mascaras(TPesquisa &p, std::uint32_t mascara) {
    p.Configuracao.Mascaras.fill(mascara);
}

// Two lists slot by slot, to the last bit.
inline void MesmaLista(const TListaMelhores &a, const TListaMelhores &b, const std::string &caso) {
    for (int i = 1; i <= kSlotsMelhores; ++i) {
        const TModeloPesquisado &x = a.Slot(i), &y = b.Slot(i);
        ASSERT_EQ(x.Ocupado, y.Ocupado) << caso << " slot " << i;
        EXPECT_EQ(x.Codigos, y.Codigos) << caso << " slot " << i;
        EXPECT_EQ(x.R, y.R) << caso << " slot " << i;
        EXPECT_EQ(x.F, y.F) << caso << " slot " << i;
        EXPECT_EQ(x.R2Ajustado, y.R2Ajustado) << caso << " slot " << i;
        EXPECT_EQ(x.Regressores, y.Regressores) << caso << " slot " << i;
        EXPECT_EQ(x.Significativos, y.Significativos) << caso << " slot " << i;
        EXPECT_EQ(x.Sinais, y.Sinais) << caso << " slot " << i;
    }
    EXPECT_EQ(a.Contador(), b.Contador()) << caso;
}

} // namespace zelto::teste
