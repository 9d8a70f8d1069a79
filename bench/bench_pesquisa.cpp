// The model search: models per second on the shipped examples and how the time scales with the
// number of variables, of samples and of threads.
//
//   Boston/threads     medv on its ten strictly positive regressors, masks {0,1,2,8} (the
//                      dependent {1,2,8}): 3,145,728 models
//   Windsor/threads    price on all eleven regressors: 12,582,912 models, most of them rejected
//                      by failed transformations of the 0/1 columns
//   WindsorCompleta/t  the complete search of the shipped Windsor worksheet (every code on every
//                      variable, its six yes/no columns dichotomous): 680,400,000 models
//   .../exato:0        the same search without the screen (every model fitted in long double)
//   Variaveis/k        Boston with its first k regressors, 2 threads
//   Amostras/n         ten random regressors over n samples (3,145,728 models), 1 thread: only
//                      the search's start (reading the worksheet, transforming each column once,
//                      the cross products) grows with n, the time per model does not
//   Threads/t          Boston on t threads
// Each reports models per second (items_per_second) in wall time, the process CPU time, and
// exact_share: the share of the models examined that reached the exact long double leaf (the
// others were judged by the screen in double alone).
//
//   cmake --preset release -B build/release -DZELTO_BUILD_BENCH=ON
//   cmake --build build/release --target bench_pesquisa
//   build/release/bench/bench_pesquisa --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true   (one command line)
//
// `bench_pesquisa --compara [k]` instead runs the Boston search with its first k regressors
// (default 8: 196,608 models) twice, on every core and as the literal one-model-at-a-time search
// with the regression system, and checks that both lists are identical to the last bit (exit
// status 1 when not). With k = 10 the literal search takes several minutes.
#include "files/LerArquivo.h"
#include "regression/Sistema.h"
#include "search/Pesquisa.h"
#include "worksheet/Gridzelto.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace zelto;

namespace {

const char *const kRegressoresBoston[] = {"crim", "indus", "nox", "rm",      "age",
                                          "dis",  "rad",   "tax", "ptratio", "lstat"};

std::unique_ptr<TGridzelto> Le(const std::string &arquivo) {
    auto g = std::make_unique<TGridzelto>();
    std::string resumo;
    if (!LerArquivo(arquivo, *g, 255, resumo, nullptr).ok) {
        std::fprintf(stderr, "Não foi possível ler %s\n", arquivo.c_str());
        std::exit(2);
    }
    return g;
}

// Boston with medv and its first k positive regressors used.
std::unique_ptr<TGridzelto> Boston(int k) {
    auto g = Le(ZELTO_EXEMPLOS "/boston.TXT");
    for (int c = 1; c <= g->ColunasUsadas(); ++c) {
        const std::string nome = g->Celula(c, 0);
        bool usada = nome == "medv";
        for (int i = 0; i < k; ++i)
            usada = usada || nome == kRegressoresBoston[i];
        g->Variavel(c)->Usada = usada;
        g->Variavel(c)->Dependente = nome == "medv";
    }
    return g;
}

std::unique_ptr<TGridzelto> Aleatoria(int amostras, int regressores) {
    auto g = std::make_unique<TGridzelto>();
    g->AcrescentaLinhas(amostras + 1 - g->RowCount());
    std::mt19937 gerador(7);
    std::uniform_real_distribution<double> u(1, 100);
    for (int c = 1; c <= regressores + 1; ++c) {
        TVariavel v;
        v.Nome = c == 1 ? "y" : "x" + std::to_string(c - 1);
        v.Usada = true;
        v.Dependente = c == 1;
        v.CasasDecimais = 3;
        g->AtribuiCelula(c, 0, v.Nome);
        g->DefineVariavel(c, v);
    }
    g->DefineColunasUsadas(regressores + 1);
    for (int r = 1; r <= amostras; ++r)
        for (int c = 1; c <= regressores + 1; ++c)
            g->TextoDeValor(c, r, u(gerador));
    g->DefineLinhasUsadas(amostras);
    return g;
}

void Pesquisa(benchmark::State &state, TGridzelto &g, unsigned threads, bool triagem = true,
              std::uint32_t mascara = 0) {
    TSistema s(g);
    std::uint64_t modelos = 0, exatos = 0;
    for (auto _ : state) {
        TPesquisa p(g, s);
        p.Threads = threads;
        p.Triagem = triagem;
        if (mascara) p.Configuracao.Mascaras.fill(mascara);
        p.Pesquisa();
        modelos += p.Examinados();
        exatos += p.ExatosNaExecucao();
        benchmark::DoNotOptimize(p.Lista().Slot(1).R);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(modelos));
    state.counters["models"] = static_cast<double>(modelos / state.iterations());
    state.counters["exact_share"] =
        modelos ? static_cast<double>(exatos) / static_cast<double>(modelos) : 0;
}

void BM_Boston(benchmark::State &state) {
    auto g = Boston(10);
    Pesquisa(state, *g, static_cast<unsigned>(state.range(0)));
}

void BM_Windsor(benchmark::State &state) {
    auto g = Le(ZELTO_EXEMPLOS "/windsor.TXT");
    Pesquisa(state, *g, static_cast<unsigned>(state.range(0)));
}

void BM_WindsorCompleta(benchmark::State &state) {
    auto g = Le(ZELTO_EXEMPLOS "/windsor.QV3");
    Pesquisa(state, *g, static_cast<unsigned>(state.range(0)), state.range(1) != 0,
             kMascaraCompleta);
}

void BM_Variaveis(benchmark::State &state) {
    auto g = Boston(static_cast<int>(state.range(0)));
    Pesquisa(state, *g, 2);
}

void BM_Amostras(benchmark::State &state) {
    auto g = Aleatoria(static_cast<int>(state.range(0)), 10);
    Pesquisa(state, *g, 1);
}

void BM_Threads(benchmark::State &state) {
    auto g = Boston(10);
    Pesquisa(state, *g, static_cast<unsigned>(state.range(0)));
}

BENCHMARK(BM_Boston)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_Windsor)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_WindsorCompleta)
    ->ArgNames({"threads", "triagem"})
    ->Args({2, 1})
    ->Args({2, 0})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_Variaveis)
    ->ArgName("k")
    ->DenseRange(4, 10, 2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_Amostras)
    ->ArgName("n")
    ->Arg(50)
    ->Arg(500)
    ->Arg(5000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_Threads)
    ->ArgName("t")
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The fast search and the literal one on Boston: identical lists.
int Compara(int k) {
    auto g = Boston(k);
    TSistema s1(*g), s2(*g);
    TPesquisa rapida(*g, s1), literal(*g, s2);
    literal.UsaSistema = true;
    rapida.Pesquisa();
    literal.Pesquisa();
    int diferencas = 0;
    for (int i = 1; i <= kSlotsMelhores; ++i) {
        const TModeloPesquisado &a = rapida.Lista().Slot(i), &b = literal.Lista().Slot(i);
        if (a.Codigos != b.Codigos || a.R != b.R || a.F != b.F || a.R2Ajustado != b.R2Ajustado ||
            a.Sinais != b.Sinais)
            ++diferencas;
    }
    std::printf("Boston: %llu modelos; %d threads: %.3f s; sistema, um modelo por vez: %.3f s; "
                "listas %s\n",
                static_cast<unsigned long long>(rapida.Examinados()), rapida.ThreadsUsadas(),
                rapida.Segundos(), literal.Segundos(), diferencas ? "DIFERENTES" : "idênticas");
    return diferencas ? 1 : 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc > 1 && std::strcmp(argv[1], "--compara") == 0)
        return Compara(argc > 2 ? std::atoi(argv[2]) : 8);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
