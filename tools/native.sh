#!/usr/bin/env bash
# The native build of the library's plain code under AddressSanitizer and UndefinedBehaviorSanitizer.
# usage: native.sh build|test|fuzz [BUILD_DIR] — build makes it, test builds and runs the unit tests
# and every fuzz target for a few seconds, fuzz runs every target for FUZZ_SECONDS (default 300) each,
# keeping what they find in BUILD_DIR/fuzz-work/<target>/new.
set -eu
cmd=${1:-test}
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
dir=${2:-$root/build/native}
mkdir -p "$dir"
dir=$(readlink -f "$dir")
jobs=${JOBS:-$(nproc)}

if [ ! -f "$dir/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root/native" -B "$dir" -DCMAKE_BUILD_TYPE=Debug \
    ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
fi
cmake --build "$dir" -j "$jobs" >/dev/null || cmake --build "$dir" -j 1   # show the errors plainly

# Leaks are errors; every report is fatal and names its source line.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
case $cmd in
  build) ;;
  test) cd "$dir" && ctest --output-on-failure ;;
  fuzz)
    secs=${FUZZ_SECONDS:-300}
    for t in "$dir"/fuzz_*; do
      name=$(basename "$t"); name=${name#fuzz_}
      FUZZ_KEEP=1 "$here/fuzzrun.sh" "$t" "$root/fuzz/corpus/$name" "$dir/fuzz-work/$name" "$secs" -seed=0
    done ;;
  *) echo "usage: $0 build|test|fuzz [BUILD_DIR]" >&2; exit 2 ;;
esac
