#!/usr/bin/env bash
# Models per second of the model search.
#
# 1. The Boston search (medv on its ten strictly positive regressors, masks {0,1,2,8}: 3,145,728
#    models), the Windsor search (price on its eleven regressors: 12,582,912 models) with 1 and
#    2 threads, and Windsor's complete search (every code on every variable of the shipped
#    worksheet: 680,400,000 models) with 2 threads, each run `runs` times (the complete search
#    once) through `zelto-cli search --json`: the median of the search's own models per second
#    and seconds, and of the process's wall and CPU (user + system) time.
# 2. The share of the models that reached the exact long double fit (the others were judged by
#    the screen in double alone), from bench_pesquisa on Boston and Windsor's complete search.
# 3. The scaling with the number of variables, samples and threads (bench_pesquisa).
#
#   bench/pesquisa.sh [build folder, default build/release] [runs, default 5]
#
# The machine may be shared: compare the CPU time with the wall time before reading the rates.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-5}
cmake --preset release -B "$build" -DZELTO_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target zelto-cli bench_pesquisa >/dev/null
cli=$build/src/cli/zelto-cli
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

mediana() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
campo() { sed -n "s/^  \"$1\": \([^,]*\),*$/\1/p" "$2"; }

echo "Machine: $(nproc) cores, $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1); load $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-8s %7s %10s %14s %10s %10s %10s %14s\n' case threads models "models/s" search_s wall_s cpu_s "models/cpu_s"
for caso in boston windsor completa; do
  vezes=$runs
  threads="1 2"
  if [ $caso = boston ]; then
    args=(examples/boston.TXT --dependent medv --use crim,indus,nox,rm,age,dis,rad,tax,ptratio,lstat)
  elif [ $caso = windsor ]; then
    args=(examples/windsor.TXT --dependent price)
  else
    args=(examples/windsor.QV3 --type completa)
    vezes=1
    threads=2
  fi
  for t in $threads; do
    : >"$tmp/mps"; : >"$tmp/s"; : >"$tmp/wall"; : >"$tmp/cpu"
    for ((i = 0; i < vezes; i++)); do
      /usr/bin/time -f '%e %U %S' -o "$tmp/time" "$cli" search "${args[@]}" --threads $t --json >"$tmp/out.json"
      campo models_per_second "$tmp/out.json" >>"$tmp/mps"
      campo seconds "$tmp/out.json" >>"$tmp/s"
      read -r wall user sys <"$tmp/time"
      echo "$wall" >>"$tmp/wall"
      awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }' >>"$tmp/cpu"
    done
    modelos=$(campo examined "$tmp/out.json")
    cpu=$(mediana <"$tmp/cpu")
    printf '%-8s %7s %10s %14.0f %10.3f %10.3f %10.3f %14.0f\n' $caso $t "$modelos" \
      "$(mediana <"$tmp/mps")" "$(mediana <"$tmp/s")" "$(mediana <"$tmp/wall")" "$cpu" \
      "$(awk -v m="$modelos" -v c="$cpu" 'BEGIN { print (c > 0) ? m / c : 0 }')"
  done
done
echo
echo "Share of the models fitted exactly (exact_share), screened and not (triagem:1/0):"
"$build/bench/bench_pesquisa" --benchmark_filter='Boston/threads:2|WindsorCompleta' 2>&1 |
  grep -E '^(BM_|Benchmark|-)'
echo
echo "Scaling (bench_pesquisa; items_per_second = models per second of wall time, CPU = process):"
"$build/bench/bench_pesquisa" --benchmark_filter='Variaveis|Amostras|Threads' \
  --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true \
  --benchmark_display_aggregates_only=true 2>&1 | grep -E '^(BM_|Benchmark|-)' | grep -v '_stddev\|_cv'
