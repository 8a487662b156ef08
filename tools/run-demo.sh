#!/usr/bin/env bash
# Renders every gallery page off-screen into build/shots and lists the PNGs.
set -u
build=$(readlink -f "${1:-build}")
out="$build/shots"
rm -rf "$out"; mkdir -p "$out"
# Wine maps the Unix root as drive Z:.
"$(dirname "$0")/winerun.sh" 300 "$build/bin/gallery.exe" --shot "Z:${out//\//\\}"
rc=$?
# The trim sample, built from the installed package, pictured mid-edit beside the pages.
"$(dirname "$0")/../samples/trim/run.sh" "$build" shot "$out" >/dev/null || rc=1
ls -1 "$out"/*.png 2>/dev/null || { echo "no screenshots written"; exit 1; }
exit $rc
