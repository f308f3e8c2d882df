#!/usr/bin/env bash
# Builds the five configurations (the Linux test build, the same with
# sanitizers, the Linux program, 32-bit and 64-bit Windows) and runs every
# suite: unit tests natively, under the sanitizers and under 32-bit and
# 64-bit Wine, and the end-to-end scenarios against the Linux test build,
# the Linux program beside the stand-in libsapnwrfc.so (natively and under
# the sanitizers) and both Windows programs beside each stand-in. Installs missing Debian
# packages when run as root.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

"$root/scripts/install-packages.sh"

jobs=$(nproc 2>/dev/null || echo 2)
export WINEDEBUG=-all
# The 32-bit programs' prefix is a 32-bit one, the 64-bit programs' (the
# windows64 test preset names it) a 64-bit one: where Wine runs both widths,
# a prefix of unnamed width would be a 64-bit one.
export WINEPREFIX="$root/build/wineprefix"
prefix64="$root/build/wineprefix64"
# Each step's heading says when it began, so that a slow step shows.
section() { echo "== $* [at ${SECONDS} s]"; }
prepare_prefix() { # directory architecture
  if [ ! -f "$1/system.reg" ]; then
    echo "== preparing the Wine prefix $1 ($2)"
    mkdir -p "$1"
    WINEPREFIX="$1" WINEARCH="$2" wineboot -i >/dev/null 2>&1 || true
  fi
  # A test program that crashes (rfcsim's crashing faults) ends at once with
  # its exception's code, as on a Windows host without a post-mortem
  # debugger: Wine's default debugger, winedbg, takes seconds, writes its
  # report into the test's output and may show a dialog; an empty debugger
  # command starts nothing. Set on every run, for prefixes made before too.
  local loader=wine
  if [ "$2" = win64 ]; then
    loader=wine64
    if [ -x /usr/lib/wine/wine64 ]; then loader=/usr/lib/wine/wine64; fi
  fi
  WINEPREFIX="$1" WINEARCH="$2" "$loader" reg add \
    'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /t REG_SZ /d '' /f >/dev/null 2>&1 || true
  WINEPREFIX="$1" wineserver -w || true
}
prepare_prefix "$WINEPREFIX" win32
prepare_prefix "$prefix64" win64

section "windows: build"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

section "windows64: build"
cmake --preset windows64 >/dev/null
cmake --build --preset windows64 -j "$jobs"

section "linux: build"
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$jobs"

section "native: build"
cmake --preset native -DBRACKWATER_WINDOWS_EXE="$root/build/windows/bin/brackwater.exe" \
  -DBRACKWATER_WINDOWS64_EXE="$root/build/windows64/bin/brackwater64.exe" \
  -DBRACKWATER_LINUX_EXE="$root/build/linux/bin/brackwater" >/dev/null
cmake --build --preset native -j "$jobs"

section "asan: build"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"

# A list of failed tests left by an earlier run would be taken for this one's.
rm -f "$root"/build/{native,asan,windows,windows64}/Testing/Temporary/LastTestsFailed.log
status=0
failed=()
step() { # heading command...: runs every step, and keeps the names of those that fail
  local heading=$1
  shift
  section "$heading"
  if ! "$@"; then
    status=1
    failed+=("$heading")
  fi
}
step "clang-tidy over the sensor's sources" "$root/scripts/clang-tidy.sh"
step "native: tests (unit, end to end on Linux and under 32-bit and 64-bit Wine)" \
  ctest --preset native -j "$jobs"
step "native: end-to-end scenarios under Valgrind memcheck" "$root/scripts/valgrind-e2e.sh"
step "asan: tests" ctest --preset asan -j "$jobs"
step "windows: unit tests under Wine" ctest --preset windows
step "windows64: unit tests under 64-bit Wine" ctest --preset windows64
if [ -x "$root/scripts/fuzz-regression.sh" ]; then
  step "fuzz targets over their seed corpora" "$root/scripts/fuzz-regression.sh"
fi

wineserver -k 2>/dev/null || true
WINEPREFIX="$prefix64" wineserver -k 2>/dev/null || true
if [ "$status" -ne 0 ]; then
  # A failing suite's own words come last, where a log cut to its tail
  # still shows them: each failed case and the check it failed.
  for log in "$root"/build/{native,asan,windows,windows64}/Testing/Temporary/LastTest.log; do
    [ -f "$log" ] || continue
    if grep -q -E '^\[  FAILED  \]|: Failure$' "$log"; then
      echo "== failures recorded in ${log#"$root"/}"
      grep -E -A8 ': Failure$|^\[  FAILED  \]' "$log" | head -n 150
    fi
  done
  for list in "$root"/build/{native,asan,windows,windows64}/Testing/Temporary/LastTestsFailed.log; do
    [ -f "$list" ] || continue
    echo "== tests that failed or timed out, in ${list#"$root"/}"
    head -n 50 "$list"
  done
  echo "== steps that failed:"
  printf '   %s\n' "${failed[@]}"
  echo "SOME SUITES FAILED"
fi
echo "== done [at ${SECONDS} s]"
exit "$status"
