#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when something is missing.
set -e
need=()
for p in mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth cmake googletest make; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || need+=("$p")
done
# The native build under the sanitizers and its fuzz targets (clang's libFuzzer).
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  echo "installing: ${need[*]}"
  SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
