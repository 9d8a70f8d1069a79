// Worksheet operations on 10,000 samples by 30 variables (29 numeric columns
// and one calculated column): a cell edit as the grid accepts it, the same
// edit recorded for undo, capturing the state, undoing, the undo menu's
// questions, recalculating every calculated cell, and finding the data block.
//
//   cmake --preset release -B build/release -DZELTO_BUILD_BENCH=ON
//   cmake --build build/release --target bench_planilha
//   build/release/bench/bench_planilha --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true   (one command line)
#include "worksheet/Gridzelto.h"
#include "worksheet/Historico.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

using namespace zelto;

namespace {

constexpr int kAmostras = 10000;
constexpr int kVariaveis = 30;

std::unique_ptr<TGridzelto> Planilha() {
    auto g = std::make_unique<TGridzelto>();
    g->AcrescentaColunas(kVariaveis + 1 - g->ColCount());
    g->AcrescentaLinhas(kAmostras + 1 - g->RowCount());
    for (int c = 1; c <= kVariaveis; ++c) {
        TVariavel v;
        v.Usada = true;
        v.Alinhamento = alDireita;
        v.PontosDeMilhar = true;
        if (c < kVariaveis) {
            v.Nome = "V" + std::to_string(c);
            v.Tipo = tvNumerica;
        } else {
            v.Nome = "Unitario";
            v.Tipo = tvCalculada;
            v.Equacao = "[V1]/[V2]*100";
            v.Dependente = true;
        }
        g->AtribuiCelula(c, 0, v.Nome);
        g->DefineFormato(c, TDataFormat{c < kVariaveis ? teReal : teTexto, {}});
        g->DefineVariavel(c, std::move(v));
    }
    for (int r = 1; r <= kAmostras; ++r)
        for (int c = 1; c < kVariaveis; ++c)
            g->AtribuiCelula(c, r, std::to_string(1000 + (r * 37 + c * 101) % 90000) + ",50");
    g->DefineLinhasUsadas(kAmostras);
    g->DefineColunasUsadas(kVariaveis);
    g->RecalcularTudo();
    return g;
}

// A cell of the middle of the worksheet, different at each step.
int Linha(int i) {
    return 1 + static_cast<int>((i * 7919LL) % (kAmostras - 10));
}
int Coluna(int i) {
    return 1 + i % (kVariaveis - 1);
}

void BM_AceitaEdicao(benchmark::State &st) {
    auto g = Planilha();
    int i = 0;
    for (auto _ : st) {
        g->AceitaEdicao(Coluna(i), Linha(i), std::to_string(i % 5000) + ",25");
        ++i;
    }
}
BENCHMARK(BM_AceitaEdicao)->Unit(benchmark::kMicrosecond);

// What one keystroke-and-Enter costs with undo on: recording, then the edit.
void BM_RegistraEAceitaEdicao(benchmark::State &st) {
    auto g = Planilha();
    THistorico h(*g);
    int i = 0;
    for (auto _ : st) {
        h.Registra("edição de célula");
        g->AceitaEdicao(Coluna(i), Linha(i), std::to_string(i % 5000) + ",25");
        ++i;
    }
}
BENCHMARK(BM_RegistraEAceitaEdicao)->Unit(benchmark::kMicrosecond);

void BM_Captura(benchmark::State &st) {
    auto g = Planilha();
    for (auto _ : st) {
        TEstadoPlanilha e = g->Captura();
        benchmark::DoNotOptimize(e);
    }
}
BENCHMARK(BM_Captura)->Unit(benchmark::kMicrosecond);

void BM_Desfaz(benchmark::State &st) {
    auto g = Planilha();
    THistorico h(*g);
    int i = 0;
    for (auto _ : st) {
        st.PauseTiming();
        h.Registra("edição de célula");
        g->AceitaEdicao(Coluna(i), Linha(i), std::to_string(i % 5000) + ",25");
        ++i;
        st.ResumeTiming();
        h.Desfaz();
    }
}
BENCHMARK(BM_Desfaz)->Unit(benchmark::kMicrosecond);

// Capture, edit and undo together: the full cost of an undone edit.
void BM_CicloEdicaoDesfaz(benchmark::State &st) {
    auto g = Planilha();
    THistorico h(*g);
    int i = 0;
    for (auto _ : st) {
        h.Registra("edição de célula");
        g->AceitaEdicao(Coluna(i), Linha(i), std::to_string(i % 5000) + ",25");
        h.Desfaz();
        ++i;
    }
}
BENCHMARK(BM_CicloEdicaoDesfaz)->Unit(benchmark::kMicrosecond);

// What the menu asks after each command and cursor move: whether and what to undo.
void BM_MenuDesfazer(benchmark::State &st) {
    auto g = Planilha();
    THistorico h(*g);
    h.Registra("edição de célula");
    g->AceitaEdicao(Coluna(0), kAmostras - 1, "1,25"); // the last rows: the longest comparison
    for (auto _ : st) {
        bool pode = h.PodeDesfazer();
        std::string d = h.DescricaoDesfazer();
        benchmark::DoNotOptimize(pode);
        benchmark::DoNotOptimize(d);
    }
}
BENCHMARK(BM_MenuDesfazer)->Unit(benchmark::kMicrosecond);

void BM_RecalcularTudo(benchmark::State &st) {
    auto g = Planilha();
    for (auto _ : st)
        g->RecalcularTudo();
}
BENCHMARK(BM_RecalcularTudo)->Unit(benchmark::kMillisecond);

void BM_BlocoDeDados(benchmark::State &st) {
    auto g = Planilha();
    for (auto _ : st) {
        TBlocoDados b = g->BlocoDeDados();
        benchmark::DoNotOptimize(b);
    }
}
BENCHMARK(BM_BlocoDeDados)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
