#!/usr/bin/env bash
# Renders every gallery page off-screen into build/shots and lists the PNGs.
set -u
build=$(readlink -f "${1:-build}")
out="$build/shots"
rm -rf "$out"; mkdir -p "$out"
# Wine maps the Unix root as drive Z:.
"$(dirname "$0")/winerun.sh" 300 "$build/bin/gallery.exe" --shot "Z:${out//\//\\}"
rc=$?
ls -1 "$out"/*.png 2>/dev/null || { echo "no screenshots written"; exit 1; }
exit $rc
