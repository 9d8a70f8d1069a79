// The assumption tests and the grading's significances against R 4.2.2 (lmtest::bptest,
// car::vif, summary.lm): tests/data/regression/oracle_bp_vif.R fits the same models on the
// same data and its output, oracle_bp_vif.txt, is read here. R prints 15 significant digits;
// the engine must agree to 1e-9 relative (R works in double, the engine in long double).
#include "regression/Pressupostos.h"
#include "regression/Enquadramento.h"

#include "files/LerArquivo.h"
#include "worksheet/Gridzelto.h"

#include "../worksheet/PlanilhaTeste.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

using namespace zelto;

namespace {

// "model key value" lines.
std::map<std::string, long double> Oraculo() {
    std::map<std::string, long double> r;
    std::ifstream f(ZELTO_TEST_DATA "/regression/oracle_bp_vif.txt");
    std::string linha;
    while (std::getline(f, linha)) {
        std::istringstream l(linha);
        std::string modelo, chave, valor;
        if (l >> modelo >> chave >> valor) r[modelo + " " + chave] = std::stold(valor);
    }
    return r;
}

bool Ajusta(TSistema &s, std::vector<TTermo> termos) {
    s.DefineTermos(termos);
    if (!s.MontaSistema() || !s.Resolve()) return false;
    return s.CompletaAjuste();
}

void Compara(const std::map<std::string, long double> &r, const std::string &modelo,
             const TSistema &s) {
    auto confere = [&](const std::string &chave, long double x) {
        const auto it = r.find(modelo + " " + chave);
        ASSERT_NE(it, r.end()) << modelo << " " << chave << " missing from the oracle";
        const long double ref = it->second;
        EXPECT_LE(std::fabs(x - ref), 1e-9L * std::fabs(ref))
            << modelo << " " << chave << ": " << static_cast<double>(x) << ", R gives "
            << static_cast<double>(ref);
    };
    const auto bp = BreuschPagan(s), w = White(s);
    ASSERT_TRUE(bp && w) << modelo;
    confere("bp.statistic", bp->Estatistica);
    confere("bp.df", bp->GrausLiberdade);
    confere("bp.p", bp->Significancia);
    confere("white.statistic", w->Estatistica);
    confere("white.df", w->GrausLiberdade);
    confere("white.p", w->Significancia);
    const std::vector<long double> vif = FatoresInflacao(s);
    ASSERT_EQ(vif.size(), s.m() - 1);
    for (std::size_t j = 0; j < vif.size(); ++j)
        confere("vif." + std::to_string(j + 1), vif[j]);
    confere("signif.regressors.max", SignificanciaMaximaRegressores(s));
    confere("signif.F", SignificanciaModelo(s));
}

} // namespace

TEST(Pressupostos, ExamplesAgainstR) {
    const auto r = Oraculo();
    ASSERT_FALSE(r.empty());
    std::string resumo;
    {
        TGridzelto g;
        ASSERT_TRUE(LerArquivo(ZELTO_EXEMPLOS "/windsor.QV3", g, 255, resumo, nullptr).ok);
        TSistema s(g);
        s.CarregaDados();
        ASSERT_TRUE(Ajusta(s, {{1, 2},
                               {2, 2},
                               {3, 8},
                               {4, 1},
                               {5, 1},
                               {6, 1},
                               {7, 1},
                               {8, 1},
                               {9, 1},
                               {10, 1},
                               {11, 1},
                               {12, 1}}));
        Compara(r, "windsor", s);
        // The squares of the six 0/1 variables are the variables again: 11 + 11 + 55 − 6.
        EXPECT_FALSE(White(s)->SoQuadrados);
    }
    {
        TGridzelto g;
        ASSERT_TRUE(LerArquivo(ZELTO_EXEMPLOS "/boston.QV3", g, 255, resumo, nullptr).ok);
        TSistema s(g);
        s.CarregaDados();
        // medv=2, crim=1, rm=4, lstat=2.
        ASSERT_TRUE(Ajusta(s, {{1, 2}, {2, 1}, {7, 4}, {14, 2}}));
        Compara(r, "boston", s);
    }
    {
        // Nine samples, three regressors: 1 + 3 + 3 + 3 columns would fit nine squared residuals
        // exactly, so White's test takes the squares only.
        using teste::Define;
        using teste::Var;
        TGridzelto g;
        const char *nomes[] = {"y", "x1", "x2", "x3"};
        const int dados[4][9] = {{10, 12, 9, 15, 11, 20, 8, 16, 14},
                                 {3, 1, 4, 1, 5, 9, 2, 6, 5},
                                 {2, 7, 1, 8, 2, 8, 1, 8, 2},
                                 {1, 4, 1, 4, 2, 1, 3, 5, 6}};
        for (int c = 0; c < 4; ++c) {
            TVariavel v = Var(tvNumerica, nomes[c]);
            v.Dependente = c == 0;
            Define(g, c + 1, v);
            for (int i = 0; i < 9; ++i)
                g.TextoDeValor(c + 1, i + 1, dados[c][i]);
        }
        g.DefineLinhasUsadas(9);
        TSistema s(g);
        s.CarregaDados();
        ASSERT_TRUE(Ajusta(s, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
        Compara(r, "pequeno", s);
        EXPECT_TRUE(White(s)->SoQuadrados);
    }
}

TEST(Pressupostos, DegenerateColumns) {
    // Residuals of equal size: no variance to explain.
    const std::vector<long double> e = {1, -1, 1, -1, 1, -1};
    const std::vector<std::vector<long double>> x = {{1, 2, 3, 4, 5, 6}};
    EXPECT_FALSE(BreuschPagan(e, x));
    // A regressor that is a combination of the others has an infinite factor; a single one 1.
    const std::vector<std::vector<long double>> z = {
        {1, 2, 3, 4, 5, 6}, {2, 1, 2, 1, 2, 1}, {3, 3, 5, 5, 7, 7}};
    const std::vector<long double> vif = FatoresInflacao(z);
    EXPECT_EQ(vif[2], Infinito);
    EXPECT_EQ(FatoresInflacao(x), std::vector<long double>{1});
    // A constant regressor adds no direction: Breusch–Pagan counts only the other one.
    const std::vector<long double> f = {0.5L, -1, 2, -0.3L, 1.1L, -2.3L};
    const std::vector<std::vector<long double>> c = {{7, 7, 7, 7, 7, 7}, {1, 2, 3, 4, 5, 6}};
    const auto bp = BreuschPagan(f, c);
    ASSERT_TRUE(bp);
    EXPECT_EQ(bp->GrausLiberdade, 1u);
}
