#!/usr/bin/env bash
# Runs the end-to-end scenarios of the native build with every sensor
# process under Valgrind's memcheck. Any memcheck error (invalid access,
# uninitialised value, definite leak) makes that sensor exit with 97, which
# no scenario accepts. Skipped when Valgrind is not installed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if ! command -v valgrind >/dev/null; then
  echo "valgrind not installed: memcheck run skipped"
  exit 0
fi
e2e=build/native/bin/brackwater_e2e
sensor=build/native/bin/brackwater_memcheck
if [ ! -x "$e2e" ] || [ ! -x "$sensor" ]; then
  echo "build the native preset first" >&2
  exit 2
fi

wrapper=$(mktemp -d)
trap 'rm -rf "$wrapper"' EXIT
cat >"$wrapper/brackwater" <<WRAP
#!/bin/sh
exec valgrind -q --error-exitcode=97 --leak-check=full --errors-for-leak-kinds=definite \
  --show-leak-kinds=definite "$root/$sensor" "\$@"
WRAP
chmod +x "$wrapper/brackwater"

# Memcheck costs most for what the sanitizer build and the fuzz targets check
# already: the scenarios that feed huge or hostile input to the readers and
# the argument checks, and those that wait out a deadline (memcheck's pace
# only stretches their waits). It runs every scenario that reaches the
# library and measures, where an uninitialised value would reach the output.
# The listing scenarios run side by side a second time, which under memcheck
# checks the starting process alone (its children run as they are): the
# SideBySide scenarios do that.
skipped='EveryFileEveryForm/HostileInput.*:HostileCommandLine.*:InstallGuide.*:StartUp.*'
skipped+=':Deadline.*:Deadline/*'
skipped+=':*.SideBySideAnswersTheSame/*:*.SideBySideAtTheSameSystem/*'
# One shard of the scenarios per core.
shards=$(nproc 2>/dev/null || echo 2)
pids=()
for ((i = 0; i < shards; i++)); do
  GTEST_TOTAL_SHARDS=$shards GTEST_SHARD_INDEX=$i BRACKWATER_E2E_TARGET=native \
    BRACKWATER_E2E_EXE="$wrapper/brackwater" "$e2e" --gtest_brief=1 \
    --gtest_filter="-$skipped" >"$wrapper/shard$i.log" 2>&1 &
  pids+=($!)
done
status=0
for ((i = 0; i < shards; i++)); do
  wait "${pids[$i]}" || status=1
  tail -n 3 "$wrapper/shard$i.log"
  [ "$status" -eq 0 ] || grep -E "Failure|FAILED|==[0-9]+==" "$wrapper/shard$i.log" | head -n 40
done
exit "$status"
