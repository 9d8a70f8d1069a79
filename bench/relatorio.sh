#!/usr/bin/env bash
# Time of the report: the Boston worksheet (506 samples), a model of seven regressors, every item
# written to RTF by `zelto-cli report`, `runs` times; the median wall time of the whole command,
# and of the same command with the first item only (reading, fitting and starting the process),
# whose difference is the time of the items.
#
#   bench/relatorio.sh [build folder, default build/release] [runs, default 7]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-7}
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" --target zelto-cli >/dev/null
cli=$build/src/cli/zelto-cli
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export XDG_RUNTIME_DIR=$tmp

mediana() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
modelo="medv=2,crim=1,chas=1,nox=1,rm=4,dis=2,ptratio=1,lstat=2"

echo "Machine: $(nproc) cores, $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -1); load $(cut -d' ' -f1-3 /proc/loadavg)"
for itens in all 1; do
  : >"$tmp/wall"
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -f '%e' -o "$tmp/time" "$cli" report examples/boston.QV3 --model "$modelo" \
      --items $itens -o "$tmp/boston.rtf" 2>/dev/null
    cat "$tmp/time" >>"$tmp/wall"
  done
  printf 'items %-4s median wall %s s over %d runs (%s bytes of RTF)\n' "$itens" \
    "$(mediana <"$tmp/wall")" "$runs" "$(stat -c %s "$tmp/boston.rtf")"
done
