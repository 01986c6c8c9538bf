#!/usr/bin/env bash
# Builds Zorvan and runs a bundled example program on the simulated 8085.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target zorvan-run
build/dev/src/app/runner/zorvan-run --no-delay "${1:-examples/led_digits.85}"
