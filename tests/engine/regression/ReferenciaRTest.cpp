// The regression system against R 4.2.2 (lm, predict, hatvalues, cooks.distance, rstandard,
// rstudent) on real market data: 546 house sales in Windsor, Canada, 1987 (the HousePrices
// data of the R package AER; tests/data/regression/windsor-houses.txt), for three models with
// transformed variables. The values below were printed by this R script, with 17 significant
// digits:
//
//   d <- read.delim("windsor-houses.txt")
//   sujeito <- data.frame(lotsize = 5000, bedrooms = 3, bathrooms = 2, stories = 2,
//                         driveway = 1, recreation = 0, fullbase = 1, gasheat = 0, aircon = 1,
//                         garage = 1, prefer = 0)
//   relata <- function(fit, inv) {              # inv: the inverse of the response's transform
//     s <- summary(fit); X <- model.matrix(fit); n <- nrow(X); p <- ncol(X); e <- residuals(fit)
//     coef(fit); s$coefficients[, 2]; s$r.squared; s$adj.r.squared; s$fstatistic[1]; s$sigma
//     idx <- c(1, 2, 100, 365, 546)
//     hatvalues(fit)[idx]; cooks.distance(fit)[idx]; rstandard(fit)[idx]; rstudent(fit)[idx]
//     which.max(hatvalues(fit)); max(hatvalues(fit))
//     which.max(cooks.distance(fit)); max(cooks.distance(fit))
//     sum(diff(e)^2) / sum(e^2)                                        # Durbin-Watson
//     ci <- predict(fit, sujeito, interval = "confidence", level = 0.80)
//     pi <- predict(fit, sujeito, interval = "prediction", level = 0.80)
//     inv(ci[1]); sort(inv(ci[2:3])); sort(inv(pi[2:3]))
//     # regressors significant at 5 % by the simple form b·sqrt(Sxx)/s:
//     ts <- sapply(2:p, function(k) coef(fit)[k] * sqrt(sum((X[, k] - mean(X[, k]))^2)) / s$sigma)
//     sum(abs(ts) > qt(0.975, n - p))
//     # interval due to each term at the subject: fit -+ qt(0.9, n - p)·(x0k - mean xk)·se(bk)
//     x0 <- model.matrix(delete.response(terms(fit)), sujeito); u <- x0[1, -1] - colMeans(X)[-1]
//     dk <- qt(0.9, n - p) * u * s$coefficients[-1, 2]
//     for (k in seq_along(dk)) sort(inv(c(ci[1] - dk[k], ci[1] + dk[k])))
//     # Kolmogorov-Smirnov distance of the standardized residuals
//     z <- sort((e - mean(e)) / s$sigma); i <- seq_along(z)
//     max(abs(pnorm(z) - (i - 1) / n), abs(pnorm(z) - i / n))
//   }
//   relata(lm(log(price) ~ log(lotsize) + bedrooms + I(1/bathrooms) + sqrt(stories) +
//             driveway + recreation + fullbase + gasheat + aircon + garage + prefer, d), exp)
//   relata(lm(I(1/price) ~ I(1/lotsize) + I(bedrooms^2) + bathrooms + I(stories^(1/3)) +
//             aircon, d), function(y) 1/y)
//   relata(lm(sqrt(price) ~ lotsize + exp(bedrooms) + I(1/sqrt(bathrooms)) + log(stories) +
//             I(garage^3), d), function(y) y^2)
//
// R's quantities map onto the program's one to one: its residual variance Σe²/(n − p) is the
// program's n·m2/(n − m) (the residuals have mean 0), rstandard is the studentized residual,
// rstudent the externally studentized one, and Cook's distance is rstandard²·h/(p·(1 − h)) in
// both. The program's normal distribution is a rational approximation (error below 7.5e-8),
// so the Kolmogorov–Smirnov distance is compared to 1e-7.
#include "files/LerArquivo.h"
#include "regression/Sistema.h"
#include "worksheet/Gridzelto.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace zelto;

namespace {

struct Modelo {
    const char *nome;
    std::vector<TTermo> termos;
    std::vector<long double> b, se;
    long double R2, R2a, F, sigma;
    std::vector<long double> hat, cook, rstandard, rstudent; // samples 1, 2, 100, 365, 546
    std::size_t maiorHat;
    long double hatMaximo;
    std::size_t maiorCook;
    long double cookMaximo;
    long double dw;
    long double estimativa;
    TIntervalo confianca, predicao;
    unsigned significativos;
    std::vector<TIntervalo> porTermo; // terms 2..m
    long double ks;
};

// Columns: 1 price, 2 lotsize, 3 bedrooms, 4 bathrooms, 5 stories, 6 driveway, 7 recreation,
// 8 fullbase, 9 gasheat, 10 aircon, 11 garage, 12 prefer.
const Modelo modelos[] = {
    {"log(price) ~ log(lotsize) + bedrooms + 1/bathrooms + sqrt(stories) + dummies + garage",
     {{1, 2},
      {2, 2},
      {3, 1},
      {4, 8},
      {5, 5},
      {6, 1},
      {7, 1},
      {8, 1},
      {9, 1},
      {10, 1},
      {11, 1},
      {12, 1}},
     {8.0558439834502966L, 0.31017946169035754L, 0.030889477006019309L, -0.36524964041305558L,
      0.25749190959145524L, 0.10787332007603954L, 0.058464873899977336L, 0.10106375213341923L,
      0.17467044417663222L, 0.16630513970610775L, 0.049863076669417403L, 0.12971713679045391L},
     {0.23489455093860062L, 0.026832018371956274L, 0.014573896458711808L, 0.045002692552520179L,
      0.036213262893349356L, 0.028344665490113451L, 0.026145809416988974L, 0.021693677716352801L,
      0.044085052792573597L, 0.021359423172384425L, 0.011511608728604281L, 0.022749756044774257L},
     0.68423461679173614L,
     0.67773008642602284L,
     105.19354639321472L,
     0.21117146228044131L,
     {0.014787018950344006L, 0.0083994670671871628L, 0.010704331532887496L, 0.030711307655595314L,
      0.0096617653112883537L},
     {0.0057994208976603588L, 0.00027801578324476299L, 0.00014889965581640538L,
      0.00022153005731312216L, 0.002826713228635962L},
     {-2.1533155944182152L, -0.6275782140490902L, 0.40636916631483205L, -0.28965722906284341L,
      1.8646401438261582L},
     {-2.1606996596477437L, -0.62722166656782596L, 0.4060512817043051L, -0.28940862396277667L,
      1.8689878498592434L},
     466,
     0.076996523001233261L,
     104,
     0.029893712237273648L,
     1.5255272142518572L,
     89054.144848639393L,
     {85862.852092765897L, 92364.049427966951L},
     {67750.769059203332L, 117056.09876977683L},
     11,
     {{88899.250469900973L, 89209.309108939648L},
      {88996.212230112578L, 89112.115178751948L},
      {87198.714843315742L, 90949.055028766539L},
      {88620.966433810565L, 89489.440635311737L},
      {88598.544612818834L, 89512.087917243334L},
      {88524.950225539593L, 89586.502952186274L},
      {87456.895929842402L, 90680.564755972766L},
      {88823.786346818059L, 89285.100769705532L},
      {87402.28122922068L, 90737.227944012076L},
      {88650.319165813809L, 89459.810064403413L},
      {88446.798076558305L, 89665.662151588505L}},
     0.048728777331522533L},
    {"1/price ~ 1/lotsize + bedrooms^2 + bathrooms + stories^(1/3) + aircon",
     {{1, 8}, {2, 8}, {3, 4}, {4, 1}, {5, 7}, {10, 1}},
     {2.2542215870173823e-05L, 0.029904460491249178L, -1.0478154971902099e-07L,
      -2.7326629997213191e-06L, -5.9733390363702379e-06L, -2.8127892312509246e-06L},
     {1.3944636586746395e-06L, 0.0022100092599107828L, 4.5995818751840326e-08L,
      4.2178281906384327e-07L, 1.186804681924295e-06L, 4.4048235704203159e-07L},
     0.50520167897679835L,
     0.50062021304139837L,
     110.27074872983604L,
     4.4417389298606162e-06L,
     {0.0057392135427802851L, 0.0051876990952258555L, 0.007795519064072623L, 0.014862585617897599L,
      0.0075669649068323738L},
     {0.0026546291753442187L, 0.0011431503268089528L, 3.3681646217778912e-05L,
      6.1924086205657576e-06L, 0.0010322517883175383L},
     {1.6611219625676727L, 1.1468602018759888L, -0.16038005318318047L, -0.049625700530783336L,
      -0.90127680291762791L},
     {1.6638396148468679L, 1.1471957773320482L, -0.16023530060097965L, -0.049579842571738031L,
      -0.90111991460827146L},
     238,
     0.081556277389499388L,
     185,
     0.085094510852389268L,
     1.3017652887276598L,
     84918.310961288284L,
     {81107.46567322273L, 89104.917614785038L},
     {57135.976168026267L, 165290.92692003972L},
     5,
     {{84363.510222920784L, 85480.457090395881L},
      {84775.908234522038L, 85061.192896294087L},
      {82219.305840912333L, 87800.53039483483L},
      {84155.293216238919L, 85695.29153625136L},
      {82222.409826880554L, 87796.990971469539L}},
     0.082821331042831736L},
    {"sqrt(price) ~ lotsize + exp(bedrooms) + 1/sqrt(bathrooms) + log(stories) + garage^3",
     {{1, 5}, {2, 1}, {3, 3}, {4, 12}, {5, 2}, {11, 6}},
     {295.2381881796025L, 0.0099446929607955592L, 0.015420767774529935L, -116.25157389386412L,
      28.653823980848617L, 1.0701270707743242L},
     {12.501622105046783L, 0.00069378792344134571L, 0.046242978788075727L, 11.513983047763588L,
      3.3639847887519063L, 0.30915107259399127L},
     0.53928724406740303L,
     0.53502138521617526L,
     126.41938303049848L,
     33.167637164444841L,
     {0.0039813155138716232L, 0.0048201795244907121L, 0.0060988177676957901L, 0.049921305046666406L,
      0.0041359364224339027L},
     {0.0017380177656613463L, 0.00037878907226113521L, 4.6687500066796671e-09L,
      0.022325321114009242L, 0.0025993574551636096L},
     {-1.6151883577044062L, -0.6850046501739161L, 0.0021366073116246488L, -1.5966558145413652L,
      1.9378570252027458L},
     {-1.6176043139066876L, -0.68466762728019204L, 0.0021346280637969963L, -1.5989554992844468L,
      1.9428291178775843L},
     238,
     0.28252179808479894L,
     473,
     0.091283414614933958L,
     1.4370006733696714L,
     80656.315544472454L,
     {78558.664862809092L, 82781.603885174409L},
     {58216.23656166414L, 106746.41608598316L},
     4,
     {{80580.352771159975L, 80732.314105818194L},
      {80436.275551444167L, 80876.656095215934L},
      {78879.722544864329L, 82452.693293552453L},
      {80151.018819659424L, 81163.20004145625L},
      {80339.702068790182L, 80973.551670276094L}},
     0.043847805426615705L},
};

// Relative difference, the worst seen per model kept for the printout.
struct Comparacao {
    const char *modelo;
    long double pior = 0;
    std::string onde;
    void operator()(long double x, long double r, const std::string &o, long double tol) {
        const long double d = r == 0 ? std::fabs(x) : std::fabs(x - r) / std::fabs(r);
        EXPECT_LE(d, tol) << modelo << ": " << o << " = " << static_cast<double>(x) << ", R gives "
                          << static_cast<double>(r);
        if (d > pior) {
            pior = d;
            onde = o;
        }
    }
};

} // namespace

TEST(ReferenciaR, WindsorModels) {
    TGridzelto grid;
    std::string resumo;
    const TResultado lido =
        LerArquivo(std::string(ZELTO_TEST_DATA) + "/regression/windsor-houses.txt", grid, 1000,
                   resumo, nullptr);
    ASSERT_TRUE(lido.ok && lido.mensagem.empty()) << lido.mensagem;
    grid.ValoresObjeto = {"price=",    "lotsize=5000", "bedrooms=3",   "bathrooms=2",
                          "stories=2", "driveway=1",   "recreation=0", "fullbase=1",
                          "gasheat=0", "aircon=1",     "garage=1",     "prefer=0"};
    TSistema s(grid);
    s.CarregaDados();
    ASSERT_EQ(s.n(), 546u);
    const std::size_t amostras[] = {1, 2, 100, 365, 546};
    for (const Modelo &md : modelos) {
        Comparacao compara{md.nome, 0, {}};
        s.DefineTermos(md.termos);
        ASSERT_TRUE(s.MontaSistema() && s.Resolve()) << md.nome;
        s.CalculaEstatisticas();
        s.Inverte();
        s.CalculaResiduos();
        s.CalculaAlavancas();
        s.OrdenaResiduos();
        const long double tol = 1e-11L;
        for (std::size_t k = 1; k <= s.m(); ++k) {
            compara(s.Coeficiente(k), md.b[k - 1], "b" + std::to_string(k), tol);
            compara(s.ErroPadrao(k), md.se[k - 1], "se" + std::to_string(k), tol);
        }
        compara(s.R2(), md.R2, "R2", tol);
        compara(s.R2Ajustado(), md.R2a, "adjusted R2", tol);
        compara(s.F(), md.F, "F", tol);
        compara(std::sqrt(s.VarianciaResidual()), md.sigma, "s", tol);
        for (std::size_t j = 0; j < 5; ++j) {
            const std::size_t i = amostras[j];
            const std::string a = "(" + std::to_string(i) + ")";
            compara(s.Alavanca(i), md.hat[j], "h" + a, tol);
            compara(s.DistanciaCook(i), md.cook[j], "Cook" + a, tol);
            compara(s.ResiduoStudentizado(i), md.rstandard[j], "studentized" + a, tol);
            compara(s.ResiduoStudentizadoExterno(i), md.rstudent[j], "external" + a, tol);
        }
        std::size_t maiorHat = 1, maiorCook = 1;
        for (std::size_t i = 2; i <= s.n(); ++i) {
            if (s.Alavanca(i) > s.Alavanca(maiorHat)) maiorHat = i;
            if (s.DistanciaCook(i) > s.DistanciaCook(maiorCook)) maiorCook = i;
        }
        EXPECT_EQ(maiorHat, md.maiorHat) << md.nome;
        EXPECT_EQ(maiorCook, md.maiorCook) << md.nome;
        compara(s.Alavanca(maiorHat), md.hatMaximo, "largest h", tol);
        compara(s.DistanciaCook(maiorCook), md.cookMaximo, "largest Cook", tol);
        compara(s.DurbinWatson(), md.dw, "Durbin-Watson", tol);
        const auto estimativa = s.EstimativaObjeto();
        const auto confianca = s.IntervaloMedia(s.PontoObjeto(), 0.80L);
        const auto predicao = s.IntervaloPredicao(s.PontoObjeto(), 0.80L);
        ASSERT_TRUE(estimativa && confianca && predicao) << md.nome;
        compara(*estimativa, md.estimativa, "estimate", tol);
        compara(confianca->Inferior, md.confianca.Inferior, "mean interval, lower", tol);
        compara(confianca->Superior, md.confianca.Superior, "mean interval, upper", tol);
        compara(predicao->Inferior, md.predicao.Inferior, "prediction interval, lower", tol);
        compara(predicao->Superior, md.predicao.Superior, "prediction interval, upper", tol);
        for (std::size_t k = 2; k <= s.m(); ++k) {
            const auto iv = s.IntervaloTermo(k, s.PontoObjeto(), 0.80L);
            ASSERT_TRUE(iv);
            const std::string t = "interval of term " + std::to_string(k);
            compara(iv->Inferior, md.porTermo[k - 2].Inferior, t + ", lower", tol);
            compara(iv->Superior, md.porTermo[k - 2].Superior, t + ", upper", tol);
        }
        EXPECT_EQ(s.RegressoresSignificativos(0.05L), md.significativos) << md.nome;
        EXPECT_NEAR(s.DistanciaNormalidade(), md.ks, 1e-7L) << md.nome;
        std::printf("  %s\n    worst relative difference from R: %.2Le (%s); KS D differs by "
                    "%.1Le\n",
                    md.nome, compara.pior, compara.onde.c_str(),
                    std::fabs(s.DistanciaNormalidade() - md.ks));
    }
}
