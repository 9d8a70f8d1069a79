// The fast search against its definition: the list a search builds on many threads from cross
// products must be, to the last bit and in the same order, the list of a search that fits every
// model in turn with the regression system (TPesquisa::UsaSistema) and of the same search on one
// thread. Random data with 0/1 columns give exact ties (a 0/1 column is the same column under
// several codes), columns with zeros and negatives give failed transformations.
#include "search/Pesquisa.h"

#include "search/MotorPesquisa.h"

#include "common/Numeros.h"
#include "regression/EquacoesNormais.h"
#include "files/LerArquivo.h"
#include "regression/Sistema.h"
#include "significance/Significancias.h"

#include "PesquisaTeste.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <system_error>
#include <thread>

using namespace zelto;
using namespace zelto::teste;

namespace {

struct Caso {
    const char *nome;
    const char *tipos; // regressors' kinds, see Aleatoria
    int amostras;
    std::uint32_t mascara;
    CriterioPesquisa criterio;
    int bloco; // rapid search with this block size; 0 without
    // The two-sided regressor level the search is given ("Sig. dos Regressores").
    double nivel = TSignificancias{}.TesteRegressoresBicaudal;
};

// Runs one search and returns it; `threads` 0 runs the literal search with TSistema.
void Executa(TGridzelto &g, TSistema &s, TPesquisa &p, const Caso &c, unsigned threads) {
    Mascaras(p, c.mascara);
    p.Configuracao.Criterio = c.criterio;
    p.Configuracao.PesquisaRapida = c.bloco > 0;
    p.Configuracao.TamanhoBloco = static_cast<std::uint16_t>(c.bloco);
    p.Significancias.TesteRegressoresBicaudal = c.nivel;
    p.UsaSistema = threads == 0;
    p.Threads = threads;
    (void)g;
    (void)s;
    ASSERT_TRUE(p.Pesquisa());
}

} // namespace

TEST(MotorPesquisa, ManyThreadsOneThreadAndTheRegressionSystemGiveTheSameList) {
    constexpr std::uint32_t completa = kMascaraCompleta;
    const Caso casos[] = {
        // 15·15·15·14 models with many exact ties among the 0/1 columns' codes.
        {"complete masks, ties", "bbp", 25, completa, cpCorrelacao, 0},
        {"F", "bpzp", 30, kMascaraPadrao | 0x70u, cpSignificanciaModelo, 0},
        {"significant regressors", "pbzpb", 40, kMascaraPadrao, cpRegressores, 0},
        // A level of the search's own reaches the threads and the regression system alike.
        {"significant regressors at 30 %", "pbzpb", 40, kMascaraPadrao, cpRegressores, 0, 0.30},
        {"adjusted R2", "pbzpb", 12, kMascaraPadrao | 0x18u, cpR2Ajustado, 0},
        {"rapid search, blocks of 1", "pbpzbpp", 30, kMascaraPadrao, cpCorrelacao, 1},
        {"rapid search, blocks of 2", "bpbpzpb", 20, completa, cpRegressores, 2},
        // More terms than samples: most models are singular.
        {"few samples", "pppppp", 6, kMascaraPadrao, cpCorrelacao, 0},
        // Collinear columns: a constant, a duplicate, an exact combination of decimals.
        {"collinear columns", "pcpdpk", 25, kMascaraPadrao | 0x30u, cpCorrelacao, 0},
        {"collinear columns, complete masks", "pdc", 20, completa, cpR2Ajustado, 0},
    };
    unsigned semente = 11;
    for (const Caso &c : casos) {
        TGridzelto g;
        Aleatoria(g, c.tipos, c.amostras, semente++);
        TSistema s0(g), s1(g), s4(g);
        TPesquisa definicao(g, s0), um(g, s1), varios(g, s4);
        Executa(g, s0, definicao, c, 0);
        Executa(g, s1, um, c, 1);
        Executa(g, s4, varios, c, 4);
        SCOPED_TRACE(c.nome);
        EXPECT_GT(definicao.Modelos(), 0);
        EXPECT_EQ(um.Examinados(), definicao.Examinados());
        EXPECT_EQ(varios.Examinados(), definicao.Examinados());
        EXPECT_EQ(varios.Examinados(), varios.Total());
        MesmaLista(um.Lista(), definicao.Lista(), std::string(c.nome) + ", one thread");
        MesmaLista(varios.Lista(), definicao.Lista(), std::string(c.nome) + ", four threads");
        EXPECT_EQ(varios.ThreadsUsadas(), 4u);
        // No listed model holds a constant regressor, nor a duplicated column under its code.
        const std::string tipos = std::string("y") + c.tipos;
        for (int i = 1; i <= definicao.Modelos(); ++i) {
            const TCodigos &codigos = definicao.Lista().Slot(i).Codigos;
            for (std::size_t k = 1; k < tipos.size(); ++k) {
                if (tipos[k] == 'c') {
                    EXPECT_EQ(codigos[k + 1], 0) << c.nome << " slot " << i;
                }
                if (tipos[k] == 'd' && codigos[k + 1] != 0) {
                    EXPECT_NE(codigos[k + 1], codigos[k]) << c.nome << " slot " << i;
                }
            }
        }
    }
}

// The ties are real: several listed models share their R exactly, and the newer one (later in
// the search's order) stands first.
TEST(MotorPesquisa, ExactTiesKeepTheNewerModelFirst) {
    TGridzelto g;
    Aleatoria(g, "bp", 20, 5);
    TSistema s(g);
    TPesquisa p(g, s);
    Mascaras(p, kMascaraCompleta);
    p.Threads = 2;
    ASSERT_TRUE(p.Pesquisa());
    int empates = 0;
    for (int i = 2; i <= p.Modelos(); ++i) {
        const TModeloPesquisado &a = p.Lista().Slot(i - 1), &b = p.Lista().Slot(i);
        if (a.R != b.R) continue;
        ++empates;
        // Same R: x1 (0/1) under different codes; the one enumerated later has the higher code
        // on the fastest variable that differs.
        int c = 1;
        while (c <= 3 && a.Codigos[c] == b.Codigos[c])
            ++c;
        ASSERT_LE(c, 3);
        EXPECT_GT(a.Codigos[c], b.Codigos[c]) << "slot " << i;
    }
    EXPECT_GT(empates, 5);
}

// Every listed model, fitted again by the regression system, gives the R, F and adjusted R² that
// the search recorded, on the shipped Windsor worksheet (five regressors, standard masks), and the
// literal search lists the same models.
TEST(MotorPesquisa, ListedModelsMatchTheRegressionSystemOnWindsor) {
    TGridzelto g;
    std::string resumo;
    ASSERT_TRUE(LerArquivo(ZELTO_EXEMPLOS "/windsor.TXT", g, 255, resumo, nullptr).ok);
    for (int c = 7; c <= g.ColunasUsadas(); ++c)
        g.Variavel(c)->Usada = false;
    TSistema s(g), sr(g);
    TPesquisa p(g, s), referencia(g, sr);
    p.Threads = 2;
    referencia.UsaSistema = true;
    ASSERT_TRUE(p.Pesquisa());
    ASSERT_TRUE(referencia.Pesquisa());
    EXPECT_EQ(p.Total(), 3u * 4 * 4 * 4 * 4 * 4);
    MesmaLista(p.Lista(), referencia.Lista(), "windsor");
    ASSERT_EQ(p.Modelos(), kSlotsMelhores);
    TSistema verificacao(g);
    verificacao.CarregaDados();
    for (int i = 1; i <= p.Modelos(); ++i) {
        const TModeloPesquisado &m = p.Lista().Slot(i);
        std::vector<TTermo> termos{{1, m.Codigos[1]}};
        for (int c = 2; c <= 6; ++c)
            if (m.Codigos[c]) termos.push_back({static_cast<std::uint16_t>(c), m.Codigos[c]});
        verificacao.DefineTermos(termos);
        ASSERT_TRUE(verificacao.MontaSistema() && verificacao.Resolve()) << i;
        verificacao.CalculaEstatisticas();
        EXPECT_EQ(verificacao.R(), m.R) << i;
        EXPECT_EQ(verificacao.F(), m.F) << i;
        EXPECT_EQ(verificacao.R2Ajustado(), m.R2Ajustado) << i;
        for (std::size_t k = 1; k <= verificacao.m(); ++k)
            EXPECT_EQ(m.Sinais[k - 1], verificacao.Coeficiente(k) >= 0) << i << " b" << k;
        if (i > 1) {
            EXPECT_GE(p.Lista().Slot(i - 1).R, m.R);
        }
    }
}

// A cancel stops a long search within a fraction of a second and leaves it continuable; the
// continued search ends with the list and count of a search never interrupted.
TEST(MotorPesquisa, CancelStopsQuicklyAndTheContinuationFinishesTheSameSearch) {
    TGridzelto g;
    Aleatoria(g, "pbppbpp", 40, 21);
    using Relogio = std::chrono::steady_clock;
    // Cancels at the first report that shows progress.
    struct Sink : TProgressoPesquisa {
        std::uint64_t minimo = 0;
        Relogio::time_point cancelado;
        void Estado(const TEstadoPesquisa &e) override {
            EXPECT_LE(e.Examinados, e.Total);
            if (e.Examinados >= minimo && !Cancelado()) {
                cancelado = Relogio::now();
                Cancela();
            }
        }
    };
    for (unsigned threads : {1u, 2u}) {
        SCOPED_TRACE(threads);
        TSistema s(g), sc(g);
        TPesquisa p(g, s), corrida(g, sc);
        p.Threads = corrida.Threads = threads;
        p.IntervaloProgresso = 0;
        ASSERT_TRUE(corrida.Pesquisa());
        Sink sink;
        int partes = 0;
        do {
            const auto antes = p.Examinados();
            sink.minimo = antes + 1;
            ASSERT_TRUE(p.Pesquisa(&sink));
            ++partes;
            if (!p.Interrompida()) break;
            EXPECT_LT(std::chrono::duration<double>(Relogio::now() - sink.cancelado).count(), 0.5);
            EXPECT_GT(p.Examinados(), antes);
            EXPECT_LT(p.Examinados(), p.Total());
        } while (partes < 1000);
        EXPECT_GE(partes, 2);
        EXPECT_EQ(p.Examinados(), p.Total());
        MesmaLista(p.Lista(), corrida.Lista(), "continued");
    }
}

// When the system refuses threads the search goes on with those it got, or on the calling thread
// alone, and lists the same models; it never fails for want of threads.
TEST(MotorPesquisa, RefusedThreadsFallBackToFewer) {
    TGridzelto g;
    Aleatoria(g, "pbpzbp", 30, 7);
    TSistema s0(g);
    TPesquisa referencia(g, s0);
    referencia.UsaSistema = true;
    ASSERT_TRUE(referencia.Pesquisa());
    for (unsigned permitidas : {0u, 1u, 2u}) {
        SCOPED_TRACE(permitidas);
        TSistema s(g);
        TPesquisa p(g, s);
        p.Threads = 4;
        unsigned iniciadas = 0;
        p.IniciaThread = [&](std::function<void()> trabalho) {
            if (iniciadas == permitidas)
                throw std::system_error(
                    std::make_error_code(std::errc::resource_unavailable_try_again));
            ++iniciadas;
            return std::jthread(std::move(trabalho));
        };
        ASSERT_TRUE(p.Pesquisa());
        EXPECT_EQ(p.ThreadsUsadas(), std::max(permitidas, 1u));
        EXPECT_EQ(p.Examinados(), p.Total());
        MesmaLista(p.Lista(), referencia.Lista(), "refused threads");
    }
    // Far more threads than cores are not started.
    TSistema s(g);
    TPesquisa p(g, s);
    p.Threads = 100000;
    ASSERT_TRUE(p.Pesquisa());
    EXPECT_EQ(p.ThreadsUsadas(), MaximoThreads());
}

// The screen in double only decides which models the long double leaf fits: the whole list, to the
// last bit, is the one of the search that fits every model exactly, on the shipped worksheets, the
// ill-conditioned reference designs (powers of x up to x⁵, then transformed: pivots down to the
// singularity rule) and a made-up worksheet of nearly collinear columns (one differing from
// another in its last decimal only, where the double pivots are rounding noise), under every
// criterion. On Boston, where the designs are sound, the screen sends few models to the exact
// leaf; on the collinear worksheet it sends whole subtrees.
namespace {

struct Planilha {
    std::string nome;
    std::unique_ptr<TGridzelto> g;
    std::uint32_t mascara;
};

// The worksheets the screen is checked on: Boston, Windsor, the reference ill-conditioned designs
// and a made-up worksheet whose models are nearly collinear.
std::vector<Planilha> PlanilhasDaTriagem() {
    auto le = [](const std::string &arquivo, TGridzelto &g) {
        std::string resumo;
        ASSERT_TRUE(LerArquivo(arquivo, g, 1000, resumo, nullptr).ok) << arquivo;
    };
    // Columns 1..ate used, `dependente` the dependent one.
    auto usa = [](TGridzelto &g, int ate, const std::string &dependente) {
        for (int c = 1; c <= g.ColunasUsadas(); ++c) {
            g.Variavel(c)->Dependente = g.Celula(c, 0) == dependente;
            g.Variavel(c)->Usada = c <= ate || g.Variavel(c)->Dependente;
        }
    };
    std::vector<Planilha> planilhas;
    auto nova = [&](const std::string &nome, std::uint32_t mascara) -> TGridzelto & {
        planilhas.push_back({nome, std::make_unique<TGridzelto>(), mascara});
        return *planilhas.back().g;
    };
    {
        TGridzelto &g = nova("boston", kMascaraPadrao);
        le(ZELTO_EXEMPLOS "/boston.TXT", g);
        usa(g, 8, "medv"); // medv on its first 8 columns: 3·4⁷·4 models
    }
    {
        TGridzelto &g = nova("windsor", kMascaraPadrao | 0x70u);
        le(ZELTO_EXEMPLOS "/windsor.QV3", g);
        usa(g, 7, "price"); // two of them dichotomous
    }
    for (const char *nist : {"Longley.txt", "Wampler1.txt", "Wampler3.txt", "Wampler5.txt"}) {
        const bool longley = std::string(nist) == "Longley.txt";
        TGridzelto &g = nova(nist, longley ? kMascaraPadrao : kMascaraPadrao | 0x70u);
        le(std::string(ZELTO_TEST_DATA) + "/nist/" + nist, g);
        usa(g, 7, "y");
    }
    {
        // y, then x1; x2 = x1 but for its last decimal; x3 = x1 + 1e-4·noise; x4 = 2·x1 − x3 +
        // 1e-5·noise; x5 independent.
        std::mt19937 gerador(3);
        std::uniform_real_distribution<double> u(1, 10);
        std::uniform_int_distribution<int> ruido(-3, 3);
        const int n = 30;
        std::vector<std::vector<double>> c(6, std::vector<double>(n));
        auto arredonda = [](double x) { return std::round(x * 1e6) / 1e6; };
        for (int i = 0; i < n; ++i) {
            const double x1 = arredonda(u(gerador));
            c[1][i] = x1;
            c[2][i] = arredonda(x1 + 1e-6 * ruido(gerador));
            c[3][i] = arredonda(x1 + 1e-4 * ruido(gerador));
            c[4][i] = arredonda(2 * x1 - c[3][i] + 1e-5 * ruido(gerador));
            c[5][i] = arredonda(u(gerador));
            c[0][i] = arredonda(x1 + 0.3 * c[5][i] + 0.01 * ruido(gerador));
        }
        Preenche(nova("collinear", kMascaraPadrao | 0x70u), {"y", "x1", "x2", "x3", "x4", "x5"},
                 c);
    }
    return planilhas;
}

} // namespace

TEST(MotorPesquisa, ScreenedSearchListsExactlyWhatTheExactSearchLists) {
    std::vector<Planilha> planilhas = PlanilhasDaTriagem();
    const CriterioPesquisa criterios[] = {cpCorrelacao, cpSignificanciaModelo, cpRegressores,
                                          cpR2Ajustado};
    for (Planilha &pl : planilhas) {
        for (CriterioPesquisa criterio : criterios) {
            const std::string caso = pl.nome + ", criterion " + std::to_string(criterio);
            SCOPED_TRACE(caso);
            TSistema s0(*pl.g), s1(*pl.g), s2(*pl.g);
            TPesquisa exata(*pl.g, s0), triada(*pl.g, s1), escalar(*pl.g, s2);
            for (TPesquisa *p : {&exata, &triada, &escalar}) {
                Mascaras(*p, pl.mascara);
                p->Configuracao.Criterio = criterio;
            }
            exata.Triagem = false;
            exata.Threads = 1;
            triada.Threads = 2;
            ASSERT_TRUE(exata.Pesquisa());
            ASSERT_TRUE(triada.Pesquisa());
            // The screen's scalar loops, as on a processor without AVX2.
            escalar.TriagemEscalar = true;
            escalar.Threads = 1;
            ASSERT_TRUE(escalar.Pesquisa());
            MesmaLista(escalar.Lista(), exata.Lista(), caso + ", scalar screen");
            EXPECT_GT(exata.Modelos(), 0);
            EXPECT_EQ(triada.Examinados(), exata.Examinados());
            EXPECT_LE(exata.ExatosNaExecucao(), exata.Examinados());
            MesmaLista(triada.Lista(), exata.Lista(), caso);
            const double parte = static_cast<double>(triada.ExatosNaExecucao()) /
                                 static_cast<double>(triada.Examinados());
            std::printf("  %-40s %9llu models, %6.2f%% fitted exactly\n", caso.c_str(),
                        static_cast<unsigned long long>(triada.Examinados()), 100 * parte);
            if (pl.nome == "boston" && criterio == cpCorrelacao) {
                EXPECT_LT(parte, 0.05);
            }
            if (pl.nome == "collinear" && criterio == cpCorrelacao) {
                EXPECT_GT(parte, 0.05);
            }
        }
    }
}

// The screen's error bound, model by model: on every model the screen judges with a bound, its
// 1 − R² in double differs from the exact leaf's 1 − R² by no more than the bound it used; and the
// bound is not vacuous on well-conditioned data, where it stays far below any gap between keys
// that matters.
TEST(MotorPesquisa, ScreenErrorStaysWithinItsBoundOnEveryModel) {
    std::vector<Planilha> planilhas = PlanilhasDaTriagem();
    for (Planilha &pl : planilhas) {
        SCOPED_TRACE(pl.nome);
        struct Amostra {
            double triagem, erro;
            long double exato;
        };
        std::vector<Amostra> amostras;
        TSistema s(*pl.g);
        TPesquisa p(*pl.g, s);
        Mascaras(p, pl.mascara);
        p.Threads = 1;
        p.ObservaTriagem = [&](double triagem, double erro, long double exato) {
            amostras.push_back({triagem, erro, exato});
        };
        ASSERT_TRUE(p.Pesquisa());
        ASSERT_GT(amostras.size(), 100u);
        std::size_t fora = 0;
        long double pior = 0; // the largest error as a share of its bound
        std::vector<double> erros;
        for (const Amostra &a : amostras) {
            const long double d = std::fabs(static_cast<long double>(a.triagem) - a.exato);
            if (!(d <= a.erro) && fora++ < 5)
                ADD_FAILURE() << "screen " << a.triagem << ", exact " << static_cast<double>(a.exato)
                              << ": error " << static_cast<double>(d) << " above its bound "
                              << a.erro;
            pior = std::max(pior, d / a.erro);
            erros.push_back(a.erro);
        }
        EXPECT_EQ(fora, 0u);
        std::nth_element(erros.begin(), erros.begin() + erros.size() / 2, erros.end());
        const double mediana = erros[erros.size() / 2];
        std::printf("  %-14s %8zu models bounded, median bound %.3g, worst error/bound %.3g\n",
                    pl.nome.c_str(), amostras.size(), mediana, static_cast<double>(pior));
        if (pl.nome == "boston" || pl.nome == "windsor") {
            EXPECT_LT(mediana, 1e-9);
        }
    }
}

// The screen's threshold on R², against the keys themselves: a model whose key (from R² by the
// exact leaf's own formulas, ChaveFiltro's rounding included) reaches the list's threshold always
// has an R² at or above LimiteR2, under every criterion, near the exact-fit limit and at F's
// infinite marker; and the limit is not vacuous: most models clearly below the threshold fall
// under it.
TEST(MotorPesquisa, ScreenThresholdOnR2NeverBarsAModelThatReachesTheKey) {
    std::mt19937 gerador(17);
    std::uniform_real_distribution<double> u(0, 1);
    const CriterioPesquisa criterios[] = {cpCorrelacao, cpSignificanciaModelo, cpRegressores,
                                          cpR2Ajustado};
    auto chave = [](CriterioPesquisa c, std::size_t n, std::size_t m, long double r2,
                    unsigned g) {
        const long double nSQT = 1000;
        const TAjuste a = AjusteDeSomas(n, m, nSQT, r2 * nSQT, 2 * nSQT);
        return ChaveFiltro(c, a.R, a.F, R2AjustadoDe(a, n, m, 0.9999L), g);
    };
    for (CriterioPesquisa c : criterios) {
        int barrados = 0, abaixo = 0;
        for (int i = 0; i < 20000; ++i) {
            const std::size_t n = 3 + gerador() % 60;
            const std::size_t m = 1 + gerador() % std::min<std::size_t>(n - 1, 12);
            // Some models at the exact-fit limit and at R² = 1.
            const int tipo = i % 10;
            const long double r2 = tipo == 0 ? 1 : tipo == 1 ? 0.9999L * 0.9999L : u(gerador);
            const unsigned g = m > 1 ? static_cast<unsigned>(gerador() % m) : 0;
            const double k = chave(c, n, m, r2, g);
            // A threshold from another model, or exactly this model's key.
            const unsigned g2 = m > 1 ? static_cast<unsigned>(gerador() % m) : 0;
            const double limiar = i % 3 == 0 ? k : chave(c, n, m, u(gerador), g2);
            const double limite = LimiteR2(c, limiar, n, m, 0.9999L);
            if (k >= limiar) {
                EXPECT_GE(static_cast<double>(r2), limite)
                    << "criterion " << static_cast<int>(c) << " n " << n << " m " << m << " R2 " << (double)r2
                    << " key " << k << " threshold " << limiar;
            } else if (k < limiar - 1e-6 * std::fabs(limiar)) {
                ++abaixo;
                barrados += static_cast<double>(r2) < limite;
            }
        }
        // Under "Sig. dos Regressores" the count is only bounded by m − 1, so the limit bars
        // fewer models there.
        if (c != cpRegressores) {
            EXPECT_GT(barrados, abaixo * 9 / 10) << "criterion " << static_cast<int>(c);
        } else {
            EXPECT_GT(barrados, abaixo / 10);
        }
    }
}
