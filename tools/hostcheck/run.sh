#!/usr/bin/env bash
# Installs the build into a staging prefix, builds the host check against it and runs it there.
set -eu
build=$(readlink -f "$1")
src=$(cd "$(dirname "$0")/../.." && pwd)
stage="$build/stage"
rm -rf "$stage" "$build/hostcheck"
cmake --install "$build" --prefix "$stage" >/dev/null
cmake -S "$src/tools/hostcheck" -B "$build/hostcheck" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" \
  -DCMAKE_PREFIX_PATH="$stage" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/hostcheck" >/dev/null
cp "$build/hostcheck/hostcheck.exe" "$stage/bin/"
WINEPREFIX="$build/wineprefix" "$src/tools/winerun.sh" 120 "$stage/bin/hostcheck.exe"
