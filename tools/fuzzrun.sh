#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time with a fixed seed over its committed corpus.
# New inputs go to a work folder, never into the committed corpus; a crash leaves its input there too.
# The work folder starts empty each time, so a run sees only the committed corpus, unless FUZZ_KEEP=1
# (longer runs that build on each other).
# usage: fuzzrun.sh TARGET CORPUS WORKDIR SECONDS [libFuzzer options...]
set -u
target=$1 corpus=$2 work=$3 secs=$4
shift 4
[ "${FUZZ_KEEP:-0}" = 1 ] || rm -rf "$work/new"
mkdir -p "$work/new" "$work/crashes" "$corpus"
exec timeout -k 10 $((secs + 120)) "$target" -seed=1 -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$work/crashes/" "$@" "$work/new" "$corpus"
