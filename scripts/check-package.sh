#!/usr/bin/env bash
# Makes the Debian package of the build folder $1 and has lintian check it: any error fails.
set -euo pipefail
build=$(cd "$1" && pwd)
out="$build/package-check"
rm -rf "$out"
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/*.deb)
echo "lintian $deb"
lintian --fail-on error --tag-display-limit 0 "$deb"
