#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup

cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan -j "$(nproc)"

# Short fuzz runs of the file readers when clang is present.
if [ -x scripts/fuzz ] && command -v clang++ >/dev/null 2>&1; then
  scripts/fuzz
fi
