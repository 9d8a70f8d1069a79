#!/usr/bin/env bash
# Time of the laid-out report: the whole Windsor report (--choose 1) to PDF and to RTF, and a
# worksheet of 60 samples whose text column holds 8,000 characters each (the sample table's
# cells wrap into hundreds of lines) to PDF; median wall time of `runs` runs each. The limits
# (PDF 1,25 s, RTF 2 s, long texts 2 s, on an idle machine) fail the script when passed.
#
#   bench/laudo.sh [build folder, default build/release] [runs, default 5]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
runs=${2:-5}
cmake --build "$build" --target zelto-cli >/dev/null
cli=$build/src/cli/zelto-cli
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export XDG_RUNTIME_DIR=$tmp QT_QPA_PLATFORM=offscreen

mediana() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
python3 - "$tmp/longo.txt" <<'EOF'
import random, sys
random.seed(1)
with open(sys.argv[1], "w") as f:
    f.write("price\tarea\tobs\n")
    for i in range(60):
        palavras = []
        while sum(len(p) + 1 for p in palavras) < 8000:
            palavras.append("".join(random.choice("abcdefghij") for _ in range(random.randint(2, 9))))
        f.write(f"{1000 + i * 37 + random.randint(0, 50)}\t{50 + i + random.randint(0, 9)}\t{' '.join(palavras)[:8000]}\n")
EOF

echo "Machine: $(nproc) cores; load $(cut -d' ' -f1-3 /proc/loadavg)"
falhas=0
mede() { # name limit command...
  local nome=$1 limite=$2
  shift 2
  : >"$tmp/wall"
  for ((i = 0; i < runs; i++)); do
    /usr/bin/time -f '%e' -a -o "$tmp/wall" "$@" >/dev/null 2>&1
  done
  local m
  m=$(mediana <"$tmp/wall")
  printf '%-22s median %s s over %d runs (limit %s s)\n' "$nome" "$m" "$runs" "$limite"
  awk -v m="$m" -v l="$limite" 'BEGIN { exit !(m > l) }' && falhas=1 || true
}
mede "Windsor to PDF" 1.25 "$cli" report examples/windsor.QV3 --choose 1 -o "$tmp/w.pdf"
mede "Windsor to RTF" 2 "$cli" report examples/windsor.QV3 --choose 1 -o "$tmp/w.rtf"
mede "long texts to PDF" 2 "$cli" report "$tmp/longo.txt" --model "price=1,area=1" -o "$tmp/l.pdf"
exit $falhas
