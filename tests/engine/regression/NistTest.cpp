// Accuracy of the regression system on the NIST Statistical Reference Datasets for linear
// regression (https://www.itl.nist.gov/div898/strd/lls/lls.shtml): Norris (lower difficulty,
// one predictor, 36 observations) and Longley (higher difficulty, six collinear predictors,
// 16 observations). The data are the sets' values as tab-separated text worksheets
// (tests/data/nist), read by the program's own text reader; the certified values below are
// copied from the sets' .dat files.
//
// Agreement is measured as the log relative error LRE = −log10(|x − c|/|c|), the number of
// correct significant digits, capped at 15 (the certified values carry 15). Every figure is
// printed; the floors asserted are a little below what the program reaches, so that a change
// that loses digits fails.
#include "files/LerArquivo.h"
#include "regression/Sistema.h"
#include "worksheet/Gridzelto.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace zelto;

namespace {

long double Certificado(const char *texto) {
    return std::strtold(texto, nullptr);
}

long double LRE(long double x, long double c) {
    if (x == c) return 15;
    const long double lre = -std::log10(std::fabs(x - c) / std::fabs(c));
    return std::isnan(lre) ? 0 : std::min(lre, 15.0L);
}

struct Valor {
    std::string nome;
    long double calculado, certificado;
};

struct Conjunto {
    const char *arquivo;
    std::vector<const char *> b, sd; // certified estimates and standard deviations
    const char *sdResidual, *r2, *F;
};

const Conjunto Norris{"Norris.txt",
                      {"-0.262323073774029", "1.00211681802045"},
                      {"0.232818234301152", "0.429796848199937E-03"},
                      "0.884796396144373",
                      "0.999993745883712",
                      "5436385.54079785"};

const Conjunto Longley{
    "Longley.txt",
    {"-3482258.63459582", "15.0618722713733", "-0.358191792925910E-01", "-2.02022980381683",
     "-1.03322686717359", "-0.511041056535807E-01", "1829.15146461355"},
    {"890420.383607373", "84.9149257747669", "0.334910077722432E-01", "0.488399681651699",
     "0.214274163161675", "0.226073200069370", "455.478499142212"},
    "304.854073561965",
    "0.995479004577296",
    "330.285339234588"};

// Fits y on every other column of the set, all untransformed, and returns each figure with
// its certified value.
std::vector<Valor> Ajusta(const Conjunto &c) {
    TGridzelto grid;
    std::string resumo;
    const TResultado lido = LerArquivo(std::string(ZELTO_TEST_DATA) + "/nist/" + c.arquivo, grid,
                                       1000, resumo, nullptr);
    EXPECT_TRUE(lido.ok && lido.mensagem.empty()) << lido.mensagem;
    TSistema s(grid);
    // The fit of a near-exact model (Norris: R = 0.999997) is kept as it is measured rather
    // than treated as exact, so that its standard deviations can be compared.
    s.LimiteAjusteExato = 1;
    s.CarregaDados();
    std::vector<TTermo> termos;
    for (std::size_t k = 1; k <= c.b.size(); ++k)
        termos.push_back({static_cast<std::uint16_t>(k), 1});
    s.DefineTermos(termos);
    EXPECT_TRUE(s.MontaSistema());
    EXPECT_TRUE(s.Resolve());
    s.CalculaEstatisticas();
    s.Inverte();
    s.CalculaResiduos();
    std::vector<Valor> v;
    for (std::size_t k = 1; k <= c.b.size(); ++k) {
        v.push_back({"B" + std::to_string(k - 1), s.Coeficiente(k), Certificado(c.b[k - 1])});
        v.push_back(
            {"sd(B" + std::to_string(k - 1) + ")", s.ErroPadrao(k), Certificado(c.sd[k - 1])});
    }
    v.push_back({"residual sd", std::sqrt(s.VarianciaResidual()), Certificado(c.sdResidual)});
    v.push_back({"R2", s.R2(), Certificado(c.r2)});
    v.push_back({"F", s.F(), Certificado(c.F)});
    return v;
}

long double Verifica(const Conjunto &c, long double piso) {
    long double menor = 15;
    for (const Valor &v : Ajusta(c)) {
        const long double lre = LRE(v.calculado, v.certificado);
        std::printf("  %-8s %-12s LRE %5.2Lf  (%.17Lg)\n", c.arquivo, v.nome.c_str(), lre,
                    v.calculado);
        EXPECT_GE(lre, piso) << c.arquivo << " " << v.nome;
        menor = std::min(menor, lre);
    }
    std::printf("  %-8s smallest LRE %.2Lf\n", c.arquivo, menor);
    return menor;
}

} // namespace

TEST(Nist, Norris) {
    Verifica(Norris, 13);
}

TEST(Nist, Longley) {
    Verifica(Longley, 11);
}
