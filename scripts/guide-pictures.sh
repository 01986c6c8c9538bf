#!/usr/bin/env bash
# Renders the pictures of the guide's teaching-tools sections (Step Back, the counter line, Reset,
# edited ports and stack, the Animate delay) offscreen from the simulator window with an assembled
# program, into docs/screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset dev >/dev/null
cmake --build --preset dev --target test_simulator_ui
mkdir -p docs/screenshots
settings="$(mktemp -d)"
trap 'rm -rf "$settings"' EXIT
XDG_CONFIG_HOME="$settings" QT_QPA_PLATFORM=offscreen ZORVAN_GUIDE_PICTURES="$PWD/docs/screenshots" \
    build/dev/tests/test_simulator_ui --gtest_filter='GuidePictures.*'
echo docs/screenshots/{step-back,counters,reset,ports-stack,animate-delay}.png
