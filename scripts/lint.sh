#!/usr/bin/env bash
# Checks what the compiler does not: every tracked C++ file is formatted as .clang-format says,
# and clang-tidy (.clang-tidy) finds nothing in the C++ sources changed between two commits.
#   LINT_BASE   the commit the changes are counted from (default HEAD~1)
#   LINT_HEAD   the commit they are counted to (default HEAD)
#   LINT_FILES  the files to run clang-tidy on instead, separated by spaces
#   LINT_BUILD  the build folder whose compile_commands.json clang-tidy reads (default build/dev)
#   LINT_JOBS   clang-tidy runs at once (default: the number of processors)
set -euo pipefail
cd "$(dirname "$0")/.."
base=${LINT_BASE:-HEAD~1}
head=${LINT_HEAD:-HEAD}
build=${LINT_BUILD:-build/dev}
jobs=${LINT_JOBS:-$(nproc)}

echo "clang-format: every tracked C++ file"
git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

if [ -n "${LINT_FILES:-}" ]; then
    read -r -a changed <<<"$LINT_FILES"
elif git rev-parse --verify --quiet "$base^{commit}" >/dev/null; then
    mapfile -t changed < <(git diff --name-only --diff-filter=d "$base" "$head" -- '*.cpp')
else
    echo "clang-tidy: $base is not in this clone (a shallow one?); nothing to compare"
    changed=()
fi
# Only the sources the build compiles have the flags clang-tidy needs; a changed header is looked
# at through the sources that include it.
compiled=()
for file in "${changed[@]}"; do
    if [ -f "$file" ] && grep -qF "\"$PWD/$file\"" "$build/compile_commands.json"; then
        compiled+=("$file")
    fi
done
echo "clang-tidy: ${#compiled[@]} changed source(s) from $base to $head"
if [ "${#compiled[@]}" -gt 0 ]; then
    printf '%s\0' "${compiled[@]}" |
        xargs -0 -n 1 -P "$jobs" clang-tidy -p "$build" --quiet --warnings-as-errors='*'
fi
echo "Lint passed."
