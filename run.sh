#!/usr/bin/env bash
# Installs what is missing, builds a release build and runs the program's main job.
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup

cmake --preset release >/dev/null
cmake --build --preset release

cli=build/release/src/cli/zelto-cli
echo "zelto-cli calc \"(2,5*2+[1])\" sem planilha:"
"$cli" calc "2,5*2" 
"$cli" calc "RAIZ(2)*RAIZ(2)"
"$cli" calc "1/0" || true
