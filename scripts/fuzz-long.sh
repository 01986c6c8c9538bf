#!/usr/bin/env bash
# Runs every fuzz target for MINUTES minutes each (default 10), one after the other, and keeps
# what they learn: each target's corpus in tests/fuzz/corpus/<target> is grown by the run and then
# merged down to the inputs that add coverage, so that the short runs of the tests (tests/fuzz.cmake)
# start from it. A crash stops that target; its input is saved in build/fuzz/artifacts/. Prints
# the executions and the findings of every target and exits non-zero when any target crashed.
#
#     scripts/fuzz-long.sh 10                    every target, ten minutes each
#     scripts/fuzz-long.sh 1 fuzz_machine_step   only the targets named
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-10}
if ! [[ $minutes =~ ^[0-9]+$ ]] || [ "$minutes" -lt 1 ]; then
    echo "usage: scripts/fuzz-long.sh [MINUTES [TARGET...]]" >&2
    exit 64
fi
shift $(($# > 0 ? 1 : 0))
only=" $* "

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

build=build/fuzz
artifacts=$build/artifacts
mkdir -p "$artifacts"
summary=$build/fuzz-long-summary.txt
: >"$summary"
crashed=0
for binary in "$build"/tests/fuzz_*; do
    [ -x "$binary" ] || continue
    name=$(basename "$binary")
    if [ "$only" != "  " ] && [[ $only != *" $name "* ]]; then
        continue
    fi
    corpus=tests/fuzz/corpus/$name
    mkdir -p "$corpus"
    options=(-max_len=4096 -print_final_stats=1 -artifact_prefix="$artifacts/$name-")
    seeds=()
    case $name in
    fuzz_parse_line | fuzz_compile | fuzz_keywords | fuzz_expression)
        options+=(-dict=tests/fuzz/assembler.dict)
        seeds=(tests/data/assembler/*.85)
        ;;
    fuzz_debug_load)
        seeds=(tests/data/assembler/*.debugtext)
        ;;
    fuzz_machine_step)
        # Programs of any length from the start, not grown from a few bytes.
        options+=(-len_control=0)
        ;;
    esac
    found=$(mktemp -d)
    seedFolder=$(mktemp -d)
    if [ ${#seeds[@]} -gt 0 ]; then
        cp "${seeds[@]}" "$seedFolder"/
    fi
    log=$build/$name.log
    echo "=== $name: $minutes min"
    status=0
    "$binary" "${options[@]}" -max_total_time=$((minutes * 60)) "$found" "$corpus" "$seedFolder" \
        >"$log" 2>&1 || status=$?
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    # Only the inputs that add coverage are kept, so the corpus stays small.
    merged=$(mktemp -d)
    "$binary" "${options[@]}" -merge=1 "$merged" "$corpus" "$found" >>"$log" 2>&1
    rm -rf "$corpus" "$found" "$seedFolder"
    mv "$merged" "$corpus"
    chmod 755 "$corpus"
    kept=$(find "$corpus" -type f | wc -l)
    size=$(find "$corpus" -type f -printf '%s\n' | awk '{ total += $1 } END { printf "%.0f", total / 1024 }')
    if [ "$status" -eq 0 ]; then
        finding="no crash"
    else
        finding="CRASH (status $status): see $log and $artifacts/$name-*"
        crashed=1
    fi
    echo "$name: ${executions:-?} executions in $minutes min, $finding; corpus $kept inputs, ${size} KB" |
        tee -a "$summary"
done
echo "Summary in $summary"
exit "$crashed"
