// Accuracy of the regression system on the NIST Statistical Reference Datasets for linear
// regression (https://www.itl.nist.gov/div898/strd/lls/lls.shtml): Norris (lower difficulty,
// one predictor, 36 observations), Longley (higher difficulty, six collinear predictors,
// 16 observations) and Wampler1 to Wampler5 (higher difficulty, the fifth-degree polynomial in
// x = 0..20 written as the five columns x, x², …, x⁵, so that the normal equations are nearly
// singular; Wampler1 and 2 are exact polynomials, 3 to 5 carry ever larger noise). The data
// are the sets' values as tab-separated text worksheets (tests/data/nist), read by the
// program's own text reader; the certified values below are copied from the sets' .dat files.
//
// Agreement is measured as the log relative error LRE = −log10(|x − c|/|c|) (−log10|x| where
// the certified value is 0), the number of correct significant digits, capped at 15 (the
// certified values carry 15). Every figure is printed; the floors asserted are a little below
// what the program reaches, so that a change that loses digits fails. These sets are also the
// designs that must stay on the accepted side of the singularity rule (EquacoesNormais.h): the
// smallest pivot each leaves, relative to its column, is printed and checked against it.
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
    const long double lre = -std::log10(std::fabs(x - c) / (c == 0 ? 1 : std::fabs(c)));
    return std::isnan(lre) ? 0 : std::min(lre, 15.0L);
}

struct Valor {
    std::string nome;
    long double calculado, certificado;
};

struct Conjunto {
    const char *arquivo;
    std::vector<const char *> b, sd; // certified estimates and standard deviations
    const char *sdResidual, *r2, *F; // F null: not compared
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

// Wampler1..5: the same design; b = 1 for every coefficient but Wampler2's powers of 0.1.
const char *const kUns[] = {"1", "1", "1", "1", "1", "1"};
const char *const kZeros[] = {"0", "0", "0", "0", "0", "0"};
const Conjunto Wampler1{"Wampler1.txt",
                        {kUns, kUns + 6}, {kZeros, kZeros + 6}, "0", "1", nullptr};
const Conjunto Wampler2{"Wampler2.txt",
                        {"1", "0.1", "0.01", "0.001", "0.0001", "0.00001"},
                        {kZeros, kZeros + 6},
                        "0",
                        "1",
                        nullptr};
const Conjunto Wampler3{"Wampler3.txt",
                        {kUns, kUns + 6},
                        {"2152.32624678170", "2363.55173469681", "779.343524331583",
                         "101.475507550350", "5.64566512170752", "0.112324854679312"},
                        "2360.14502379268",
                        "0.999995559025820",
                        nullptr};
const Conjunto Wampler4{"Wampler4.txt",
                        {kUns, kUns + 6},
                        {"215232.624678170", "236355.173469681", "77934.3524331583",
                         "10147.5507550350", "564.566512170752", "11.2324854679312"},
                        "236014.502379268",
                        "0.957478440825662",
                        nullptr};
const Conjunto Wampler5{"Wampler5.txt",
                        {kUns, kUns + 6},
                        {"21523262.4678170", "23635517.3469681", "7793435.24331583",
                         "1014755.07550350", "56456.6512170752", "1123.24854679312"},
                        "23601450.2379268",
                        "0.224668921574940E-02",
                        nullptr};

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
    // The pivots left this design on the accepted side of the singularity rule, with room.
    std::vector<long double> b(s.m());
    TSolucao solucao;
    EXPECT_TRUE(ResolveEquacoes(s.Equacoes(), b, &solucao));
    std::printf("  %-12s smallest pivot %.3Lg of its column\n", c.arquivo, solucao.MenorPivo);
    EXPECT_GT(solucao.MenorPivo, 100 * LimitePivo) << c.arquivo;
    std::vector<Valor> v;
    for (std::size_t k = 1; k <= c.b.size(); ++k) {
        v.push_back({"B" + std::to_string(k - 1), s.Coeficiente(k), Certificado(c.b[k - 1])});
        v.push_back(
            {"sd(B" + std::to_string(k - 1) + ")", s.ErroPadrao(k), Certificado(c.sd[k - 1])});
    }
    v.push_back({"residual sd", std::sqrt(s.VarianciaResidual()), Certificado(c.sdResidual)});
    v.push_back({"R2", s.R2(), Certificado(c.r2)});
    if (c.F) v.push_back({"F", s.F(), Certificado(c.F)});
    return v;
}

long double Verifica(const Conjunto &c, long double piso) {
    long double menor = 15;
    for (const Valor &v : Ajusta(c)) {
        const long double lre = LRE(v.calculado, v.certificado);
        std::printf("  %-12s %-12s LRE %5.2Lf  (%.17Lg)\n", c.arquivo, v.nome.c_str(), lre,
                    v.calculado);
        EXPECT_GE(lre, piso) << c.arquivo << " " << v.nome;
        menor = std::min(menor, lre);
    }
    std::printf("  %-12s smallest LRE %.2Lf\n", c.arquivo, menor);
    return menor;
}

} // namespace

TEST(Nist, Norris) {
    Verifica(Norris, 13);
}

TEST(Nist, Longley) {
    Verifica(Longley, 11);
}

TEST(Nist, Wampler) {
    Verifica(Wampler1, 10);
    Verifica(Wampler2, 12.5);
    Verifica(Wampler3, 10);
    Verifica(Wampler4, 10);
    Verifica(Wampler5, 10);
}
