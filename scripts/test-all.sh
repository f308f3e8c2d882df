#!/usr/bin/env bash
# Builds the three configurations (Linux, Linux with sanitizers, 32-bit
# Windows) and runs every suite: unit tests natively, under the sanitizers
# and under Wine, and the end-to-end scenarios against the Linux and the
# Windows sensor. Installs missing Debian packages when run as root.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

"$root/scripts/install-packages.sh"

jobs=$(nproc 2>/dev/null || echo 2)
export WINEDEBUG=-all
export WINEPREFIX="$root/build/wineprefix"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== preparing the Wine prefix"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi

echo "== windows: build"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

echo "== native: build"
cmake --preset native -DBRACKWATER_WINDOWS_EXE="$root/build/windows/bin/brackwater.exe" >/dev/null
cmake --build --preset native -j "$jobs"

echo "== asan: build"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"

status=0
echo "== clang-tidy over the sensor's sources"
"$root/scripts/clang-tidy.sh" || status=1
echo "== native: tests (unit, end to end on Linux and under Wine)"
ctest --preset native -j "$jobs" || status=1
echo "== native: end-to-end scenarios under Valgrind memcheck"
"$root/scripts/valgrind-e2e.sh" || status=1
echo "== asan: tests"
ctest --preset asan -j "$jobs" || status=1
echo "== windows: unit tests under Wine"
ctest --preset windows || status=1

if [ -x "$root/scripts/fuzz-regression.sh" ]; then
  echo "== fuzz targets over their seed corpora"
  "$root/scripts/fuzz-regression.sh" || status=1
fi

wineserver -k 2>/dev/null || true
if [ "$status" -ne 0 ]; then
  echo "SOME SUITES FAILED"
fi
exit "$status"
