#!/usr/bin/env bash
# Renders the pictures of the README and the user guide offscreen from the real program: the main
# window with examples/led_digits.85 open, then the simulator window and the LED display after
# that program has been compiled and run (docs/screenshots/{main-window,simulator,led}.png).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target zorvan
mkdir -p docs/screenshots
settings="$(mktemp -d)"
trap 'rm -rf "$settings"' EXIT
# A private settings folder: the recent-file list of the picture stays out of the user's own.
XDG_CONFIG_HOME="$settings" QT_QPA_PLATFORM=offscreen \
    build/dev/src/app/zorvan/zorvan --screenshot docs/screenshots/main-window.png \
    examples/led_digits.85
echo docs/screenshots/{main-window,simulator,led}.png
