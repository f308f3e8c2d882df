#!/usr/bin/env bash
# Runs the benchmarks on the Linux build and under Wine on the Windows build.
# Each reports ratios against a baseline measured in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-200}
cmake --preset native >/dev/null && cmake --build --preset native
cmake --preset windows >/dev/null && cmake --build --preset windows --target brackwater rfcsim_dll netweaver_host bench_hello
cmake --preset windows64 >/dev/null &&
  cmake --build --preset windows64 --target brackwater rfcsim_dll netweaver_host bench_hello
bench=build/native/bin/sensor_benchmark

echo "== Linux"
"$bench" poll build/native/bin/brackwater build/native/bin/bench_hello "$runs"
"$bench" listing build/native/bin/brackwater
"$bench" parallel build/native/bin/brackwater 50 200

# The Linux program (the linux preset) on the stand-in libsapnwrfc.so, named
# by BRACKWATER_RFC_LIBRARY wherever the tree lays it: against the fully
# static hello world, then against one linked as the program is (the shared
# C library through the dynamic loader).
echo "== The Linux program, through the stand-in libsapnwrfc.so"
cmake --preset linux >/dev/null && cmake --build --preset linux
stand_in=$(find "$PWD/build/linux/bin" -name libsapnwrfc.so | head -n 1)
BRACKWATER_RFC_LIBRARY=$stand_in "$bench" poll build/linux/bin/brackwater \
  build/native/bin/bench_hello "$runs"
BRACKWATER_RFC_LIBRARY=$stand_in "$bench" poll build/linux/bin/brackwater \
  build/native/bin/bench_hello_shared_libc "$runs"

echo "== Windows under Wine"
export WINEDEBUG=-all WINEPREFIX=${WINEPREFIX:-$PWD/build/wineprefix}
wineserver -p 2>/dev/null || true   # keep the server up between runs
BENCH_WINE=1 "$bench" poll build/windows/bin/brackwater.exe build/windows/bin/bench_hello.exe \
  "$(( runs / 4 ))"
BENCH_WINE=1 "$bench" forecast build/windows/bin/brackwater.exe build/windows/bin/bench_hello.exe \
  "$(( runs / 4 ))"
BENCH_WINE=1 "$bench" listing build/windows/bin/brackwater.exe 100 1000
BENCH_WINE=1 "$bench" parallel build/windows/bin/brackwater.exe 50 200

echo "== Windows under Wine, with SAP's NetWeaver library (stand-in) only"
BENCH_WINE=1 "$bench" poll build/windows/bin/netweaver/brackwater.exe \
  build/windows/bin/bench_hello.exe "$(( runs / 4 ))"
BENCH_WINE=1 "$bench" forecast build/windows/bin/netweaver/brackwater.exe \
  build/windows/bin/bench_hello.exe "$(( runs / 4 ))"
BENCH_WINE=1 "$bench" parallel build/windows/bin/netweaver/brackwater.exe 50 200

# The 64-bit program in a 64-bit prefix of its own, against its 64-bit hello
# world, through each of the 64-bit stand-ins, started by Wine's 64-bit
# loader itself (see sensor_benchmark.cpp).
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
echo "== 64-bit Windows under Wine ($wine64)"
export WINEPREFIX=$PWD/build/wineprefix64
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  WINEARCH=win64 wineboot -i >/dev/null 2>&1 || true
fi
wineserver -p 2>/dev/null || true
BENCH_WINE=$wine64 "$bench" poll build/windows64/bin/brackwater64.exe \
  build/windows64/bin/bench_hello.exe "$(( runs / 4 ))"
BENCH_WINE=$wine64 "$bench" parallel build/windows64/bin/brackwater64.exe 50 200

echo "== 64-bit Windows under Wine, with SAP's NetWeaver library (stand-in) only"
BENCH_WINE=$wine64 "$bench" poll build/windows64/bin/netweaver/brackwater64.exe \
  build/windows64/bin/bench_hello.exe "$(( runs / 4 ))"
BENCH_WINE=$wine64 "$bench" parallel build/windows64/bin/netweaver/brackwater64.exe 50 200
