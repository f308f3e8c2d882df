#!/usr/bin/env bash
# Runs the fuzz targets over the seeds of their corpora (fuzz/corpus/), which
# hold the reproducers of past findings as well: a few seconds, no fuzzing.
#
#   scripts/fuzz-regression.sh [TARGET...]
#
# Without TARGET names, every target of fuzz/targets.txt runs. Needs clang
# (libFuzzer); without clang++ it says so and succeeds. Exits non-zero when
# any seed fails.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz regression: skipped, clang++ is not installed"
  exit 0
fi

targets=()
while read -r name _; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  targets+=("$name")
done < fuzz/targets.txt
if [[ $# -gt 0 ]]; then
  for target in "$@"; do
    if [[ ! " ${targets[*]} " =~ " $target " ]]; then
      echo "fuzz regression: no target '$target' (see fuzz/targets.txt)" >&2
      exit 2
    fi
  done
  targets=("$@")
fi

export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
# The targets' scratch files go here too, so that a crash leaves nothing.
scratch=$(mktemp -d "${TMPDIR:-/tmp}/brackwater-fuzz-regression.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
log=$scratch/log

# The build speaks only when it fails.
if ! { cmake --preset fuzz && cmake --build --preset fuzz --target "${targets[@]/#/fuzz_}"; } \
  >"$log" 2>&1; then
  cat "$log"
  echo "fuzz regression: the fuzz preset does not build"
  exit 1
fi
bin=$root/build/fuzz/bin
status=0
for target in "${targets[@]}"; do
  seeds=("fuzz/corpus/$target"/*)
  if [[ ! -e "${seeds[0]}" ]]; then
    echo "fuzz regression: $target has no seeds in fuzz/corpus/$target"
    status=1
    continue
  fi
  # Given files, libFuzzer runs each as a test and writes nothing.
  if TMPDIR=$scratch "$bin/fuzz_$target" -timeout=10 -rss_limit_mb=2048 "${seeds[@]}" >"$log" 2>&1; then
    echo "fuzz regression: $target passed ${#seeds[@]} seeds"
  else
    echo "fuzz regression: $target FAILED"
    grep -E '^Running:|^==[0-9]+==ERROR|runtime error|fuzz property broken|^SUMMARY|ALARM|out-of-memory' \
      "$log" | tail -n 12 | sed 's/^/   /'
    status=1
  fi
done
exit "$status"
