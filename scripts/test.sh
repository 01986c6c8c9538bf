#!/usr/bin/env bash
# Builds Zorvan and runs every test: the optimised build (with the long CPU exercisers), the
# AddressSanitizer/UndefinedBehaviorSanitizer build, the ThreadSanitizer build of the threaded
# tests, a bounded run of each fuzzer, and the release build that packagers make (warnings are
# not errors there) with its quick tests.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
jobs=$(nproc)
for preset in dev asan tsan fuzz release; do
    echo "=== $preset ==="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs" --no-tests=ignore
done
echo "All tests passed."
