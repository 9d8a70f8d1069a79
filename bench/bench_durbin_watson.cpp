// The exact Durbin–Watson computations: one quantile of a bounding ratio (the lower bound dL at
// 5 %, no cache) for n samples and 11 regressors, and the exact probability of a statistic for a
// design of n samples and 11 regressors (the report's line in the autocorrelation item).
//
//   cmake --preset release -B build/release -DZELTO_BUILD_BENCH=ON
//   cmake --build build/release --target bench_durbin_watson
//   build/release/bench/bench_durbin_watson
#include "regression/LimitesDW.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace zelto;

namespace {

void Quantil(benchmark::State &estado) {
    const auto n = static_cast<unsigned>(estado.range(0));
    std::vector<long double> lambda;
    for (unsigned j = 1; j <= n - 12; ++j)
        lambda.push_back(2 * (1 - std::cos(std::numbers::pi_v<long double> * j / n)));
    for (auto _ : estado)
        benchmark::DoNotOptimize(QuantilRazaoQuadratica(lambda, 0.05L));
}
BENCHMARK(Quantil)->Arg(30)->Arg(100)->Arg(546)->Arg(5000)->Unit(benchmark::kMillisecond);

void ProbabilidadeModelo(benchmark::State &estado) {
    const auto n = static_cast<std::size_t>(estado.range(0));
    std::vector<long double> x;
    for (std::size_t k = 1; k <= 11; ++k)
        for (std::size_t i = 0; i < n; ++i)
            x.push_back(std::sin(static_cast<long double>(i * k) + k) + (i % (k + 2)));
    for (auto _ : estado)
        benchmark::DoNotOptimize(DistribuicaoDWModelo(1.9L, x, n));
}
BENCHMARK(ProbabilidadeModelo)->Arg(100)->Arg(546)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
