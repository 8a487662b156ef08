#!/usr/bin/env bash
# Runs every test binary through CTest inside one Xvfb display; the prefix is made once up front.
set -u
build=${1:-build}
build=$(readlink -f "$build")
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$here/run-tests.sh" "$build"
fi
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  WINEDLLOVERRIDES="mscoree,mshtml=" timeout -k 5 180 wineboot -i >/dev/null 2>&1
  timeout -k 5 30 wineserver -k >/dev/null 2>&1
fi
cd "$build" && ctest --output-on-failure
rc=$?
timeout -k 5 30 wineserver -k >/dev/null 2>&1
exit $rc
