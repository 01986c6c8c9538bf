#!/usr/bin/env bash
# Builds Zorvan and runs every test: the optimised build (with the long CPU exercisers and the
# end-to-end tests), the AddressSanitizer/UndefinedBehaviorSanitizer build, the ThreadSanitizer
# build of the threaded tests, a bounded run of each fuzzer, and the release build that packagers
# make (warnings are not errors there) with the checks of its Debian package.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc)

# The compiler cache (used by the build wherever ccache is installed) keys on paths relative to
# this clone, so that a fresh clone elsewhere finds the work of the last one.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
if command -v ccache >/dev/null && ! { mkdir -p "$(ccache -k cache_dir)" && [ -w "$(ccache -k cache_dir)" ]; } 2>/dev/null; then
    export CCACHE_DISABLE=1
fi

# The end-to-end tests drive the program on an X server of their own with a window manager:
# Xvfb picks a free display, openbox manages its windows. Without them the tests fall back to
# the offscreen platform and say so.
xvfb_pid=""
wm_pid=""
stop_display() {
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
    wm_pid=""
    xvfb_pid=""
}
start_display() {
    command -v Xvfb >/dev/null || return 0
    local numberFile
    numberFile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 100); do
        [ -s "$numberFile" ] && break
        sleep 0.05
    done
    if [ ! -s "$numberFile" ]; then
        echo "Xvfb did not start; the end-to-end tests run offscreen"
        rm -f "$numberFile"
        stop_display
        return 0
    fi
    export DISPLAY=":$(tr -d '[:space:]' <"$numberFile")"
    rm -f "$numberFile"
    if command -v openbox >/dev/null; then
        openbox --sm-disable >/dev/null 2>&1 &
        wm_pid=$!
        sleep 1
    fi
    echo "X server $DISPLAY with window manager: ${wm_pid:+openbox}"
}
trap stop_display EXIT

for preset in dev asan tsan fuzz release; do
    echo "=== $preset (at ${SECONDS} s) ==="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    if [ "$preset" = dev ]; then
        scripts/lint.sh
        start_display
        ctest --preset "$preset" -j "$jobs" --no-tests=ignore
        stop_display
        unset DISPLAY
    else
        ctest --preset "$preset" -j "$jobs" --no-tests=ignore
    fi
done
echo "All tests passed in ${SECONDS} s."
