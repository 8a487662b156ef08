#!/usr/bin/env bash
# Builds the trim sample the way a customer would: install the library into a staging prefix,
# configure the sample against it with CMAKE_PREFIX_PATH, build. Then, by mode:
#   test        runs the end-to-end test of the dialog
#   shot DIR    writes the dialog's picture to DIR/trim-dialog.png
#   soak SECS   works the dialog with random real input for SECS seconds (samples/trim/soak)
# usage: run.sh BUILD test | run.sh BUILD shot DIR
set -eu
build=$(readlink -f "$1")
mode=$2
src=$(cd "$(dirname "$0")/../.." && pwd)
stage="$build/trim-stage"
rm -rf "$stage"
cmake --install "$build" --prefix "$stage" >/dev/null
cmake -S "$src/samples/trim" -B "$build/trim" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" \
  -DCMAKE_PREFIX_PATH="$stage" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/trim" -j "${JOBS:-2}" >/dev/null
cp "$build/trim/trim.exe" "$build/trim/trim_e2e.exe" "$stage/bin/"
export WINEPREFIX="$build/wineprefix"
case $mode in
  test) exec "$src/tools/winerun.sh" 180 "$stage/bin/trim_e2e.exe" ;;
  shot)
    out=$(readlink -f "$3")
    mkdir -p "$out"
    # Wine maps the Unix root as drive Z:.
    "$src/tools/winerun.sh" 120 "$stage/bin/trim.exe" --shot "Z:${out//\//\\}\\trim-dialog.png"
    ls -1 "$out/trim-dialog.png" ;;
  soak) cp "$build/trim/soak/trim_soak.exe" "$stage/bin/"
    exec "$src/tools/winerun.sh" $(( ${3:-20} * 2 + 300 )) "$stage/bin/trim_soak.exe" "${@:3}" ;;
  *) echo "unknown mode $mode" >&2; exit 2 ;;
esac
