#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over the sensor's own
# sources, as the native build compiles them (its compile_commands.json).
# Any finding fails the run; a suppression stands, with its reason, at the
# line it excuses. The Windows-only files are not in the native build.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/native}
if [ ! -f "$build/compile_commands.json" ]; then
  echo "clang-tidy: no $build/compile_commands.json; configure with: cmake --preset native" >&2
  exit 1
fi
jobs=$(nproc 2>/dev/null || echo 2)
# clang-tidy counts the warnings of system headers that it does not show on
# standard error; only its findings are kept, and repeated after the run so
# that a log cut to its tail still names them.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
status=0
git ls-files 'config/*.cpp' 'driver/*.cpp' 'measure/*.cpp' 'output/*.cpp' 'platform/*.cpp' \
    'rfc/*.cpp' 'tools/*.cpp' |
  grep -v -e '_win32\.cpp$' |
  xargs -P "$jobs" -n 8 clang-tidy -p "$build" --quiet --warnings-as-errors='*' \
    --extra-arg=-Wno-unknown-warning-option >"$out" 2>&1 || status=1
grep -v -E '^[0-9]+ warnings? generated\.$' "$out" || true
if [ "$status" -ne 0 ]; then
  echo "clang-tidy: findings:"
  grep -E ': (error|warning): ' "$out" | sort -u || echo "clang-tidy: failed without a finding"
  exit 1
fi
echo "clang-tidy: no findings"
