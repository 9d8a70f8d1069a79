#!/usr/bin/env bash
# zelto-cli search interrupted with Ctrl+C (SIGINT) prints what it found and exits with 0:
#   InterrompeSearch.sh <zelto-cli> <examples folder>
# Boston with every regressor under the standard masks: 201,326,592 models, far more than the
# seconds given allow.
set -u
cli=$1
exemplos=$2
out=$(mktemp)
trap 'rm -f "$out"' EXIT
# A loaded machine may not reach the first model in two seconds: the interruption is tried
# again with more time until some models were examined.
for segundos in 2 6 20; do
  timeout --preserve-status -s INT "$segundos" "$cli" search "$exemplos/boston.TXT" --json >"$out"
  rc=$?
  [ $rc -eq 0 ] || { echo "exit status $rc"; cat "$out"; exit 1; }
  grep -q '^  "examined": 0,$' "$out" || break
done
grep -q '"interrupted": true' "$out" || { echo "not interrupted"; cat "$out"; exit 1; }
grep -q '"total": 201326592' "$out" || { echo "total"; head -5 "$out"; exit 1; }
grep -q '"listed": 50' "$out" || { echo "listed"; head -5 "$out"; exit 1; }
examinados=$(sed -n 's/^  "examined": \([0-9]*\),$/\1/p' "$out")
[ -n "$examinados" ] && [ "$examinados" -gt 0 ] && [ "$examinados" -lt 201326592 ] ||
  { echo "examined: $examinados"; exit 1; }
