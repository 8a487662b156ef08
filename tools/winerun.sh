#!/usr/bin/env bash
# Runs one Windows program under Wine: bounded in time, quiet, in the build tree's private prefix,
# on the run's X display (a private Xvfb when there is none), and ends its own wineserver afterwards.
# usage: winerun.sh SECONDS PROGRAM.exe [ARGS...]
set -u
secs=$1; shift
exe=$(readlink -f "$1"); shift
build=$(dirname "$(dirname "$exe")")            # build/bin/x.exe -> build
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}mscoree,mshtml="
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$secs" "$exe" "$@"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  timeout -k 5 180 wineboot -i >/dev/null 2>&1
fi
cd "$(dirname "$exe")"
timeout -k 10 "$secs" wine "$exe" "$@"
rc=$?
[ "${WINERUN_KEEP_SERVER:-0}" = 1 ] || timeout -k 5 30 wineserver -k >/dev/null 2>&1
exit $rc
