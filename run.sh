#!/usr/bin/env bash
# Installs what is missing, builds a release build and runs the program's main job.
set -euo pipefail
cd "$(dirname "$0")"

scripts/setup

cmake --preset release >/dev/null
cmake --build --preset release

cli=build/release/src/cli/zelto-cli
# With a display: the desktop window on the shipped Windsor example (the
# native example when there is one). Without one: the headless job, formulas
# of calculated variables evaluated as the worksheet does.
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/release/src/app/zelto ]; then
  exemplo=""
  for f in examples/windsor.QV3 examples/windsor.TXT; do
    if [ -f "$f" ]; then exemplo="$f"; break; fi
  done
  exec build/release/src/app/zelto ${exemplo:+"$exemplo"}
fi
# The headless job: what the shipped Windsor example holds, then the hedonic model of its
# price (logarithms of the price and of the lot size, every other variable as it is) fitted to
# the example's samples and estimated at its subject property.
"$cli" info examples/windsor.QV3
echo
"$cli" fit examples/windsor.QV3 --model \
  price=2,lotsize=2,bedrooms=1,bathrooms=1,stories=1,driveway=1,recreation=1,fullbase=1,gasheat=1,aircon=1,garage=1,prefer=1
