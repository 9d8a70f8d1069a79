#!/usr/bin/env bash
# Installs what is missing, builds a release build and runs the program's main job.
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup

cmake --preset release >/dev/null
cmake --build --preset release

cli=build/release/src/cli/zelto-cli
# The program's main job, until the desktop window exists: formulas of
# calculated variables evaluated as the worksheet does.
for formula in "2,5*2" "RAIZ(2)*RAIZ(2)" "ROUND(2,5)+ROUND(3,5)" "1/0"; do
  printf '%-24s -> ' "$formula"
  "$cli" calc "$formula" || true
done
