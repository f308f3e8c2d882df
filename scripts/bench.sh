#!/usr/bin/env bash
# Runs the benchmarks on the Linux build and under Wine on the Windows build.
# Each reports ratios against a baseline measured in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-200}
cmake --preset native >/dev/null && cmake --build --preset native
cmake --preset windows >/dev/null && cmake --build --preset windows --target brackwater rfcsim_dll netweaver_host bench_hello
bench=build/native/bin/sensor_benchmark

echo "== Linux"
"$bench" poll build/native/bin/brackwater build/native/bin/bench_hello "$runs"
"$bench" listing build/native/bin/brackwater

echo "== Windows under Wine"
export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$PWD/build/wineprefix}
wineserver -p 2>/dev/null || true   # keep the server up between runs
BENCH_WINE=1 "$bench" poll build/windows/bin/brackwater.exe build/windows/bin/bench_hello.exe \
  "$(( runs / 4 ))"
BENCH_WINE=1 "$bench" forecast build/windows/bin/brackwater.exe build/windows/bin/bench_hello.exe \
  "$(( runs / 4 ))"
BENCH_WINE=1 "$bench" listing build/windows/bin/brackwater.exe 100 1000

echo "== Windows under Wine, with SAP's NetWeaver library (stand-in) only"
BENCH_WINE=1 "$bench" poll build/windows/bin/netweaver/brackwater.exe \
  build/windows/bin/bench_hello.exe "$(( runs / 4 ))"
BENCH_WINE=1 "$bench" forecast build/windows/bin/netweaver/brackwater.exe \
  build/windows/bin/bench_hello.exe "$(( runs / 4 ))"
