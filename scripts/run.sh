#!/usr/bin/env bash
# Builds Zorvan and opens a bundled example in the desktop program; without a display, runs the
# example on the simulated 8085 from the command line instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
example="${1:-examples/led_digits.85}"
cmake --preset dev >/dev/null
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running $example with zorvan-run instead of the desktop program."
    cmake --build --preset dev --target zorvan-run
    exec build/dev/src/app/runner/zorvan-run --no-delay "$example"
fi
cmake --build --preset dev --target zorvan zorvan-run
exec build/dev/src/app/zorvan/zorvan "$example"
