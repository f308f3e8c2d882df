#!/usr/bin/env bash
# Builds the fuzz preset and fuzzes each target for a bounded time, starting
# from its seed corpus, then prints what every target did.
#
#   scripts/fuzz.sh [--keep] [SECONDS] [TARGET...]
#
# SECONDS per target: the argument, else $FUZZ_SECONDS, else 60. TARGET
# names come from fuzz/targets.txt; without any, all of them run. The corpus
# grows in a scratch copy only: with --keep, the inputs that reach new
# coverage are merged back into fuzz/corpus/<target>/.
#
# Exits non-zero when any target finds something (a crash, a sanitizer
# report, a broken property, a timeout, running out of memory) or cannot
# run; the scratch directory with the reproducers and logs is then kept and
# named.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

usage() { sed -n '2,16s/^# \{0,1\}//p' "$0"; }

# name -> max_len, from fuzz/targets.txt.
declare -A max_len
known=()
while read -r name length _; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  max_len[$name]=$length
  known+=("$name")
done < fuzz/targets.txt

seconds=${FUZZ_SECONDS:-60}
keep=0
targets=()
for arg in "$@"; do
  case "$arg" in
    --keep) keep=1 ;;
    -h | --help) usage; exit 0 ;;
    *[!0-9]*)
      if [[ -z "${max_len[$arg]+set}" ]]; then
        echo "fuzz.sh: no target '$arg' (see fuzz/targets.txt)" >&2
        exit 2
      fi
      targets+=("$arg")
      ;;
    *) seconds=$arg ;;
  esac
done
if [[ ! "$seconds" =~ ^[0-9]+$ || "$seconds" -eq 0 ]]; then
  echo "fuzz.sh: SECONDS must be a positive whole number, not '$seconds'" >&2
  exit 2
fi
[[ ${#targets[@]} -eq 0 ]] && targets=("${known[@]}")

echo "== fuzz: build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]/#/fuzz_}"
bin=$root/build/fuzz/bin

export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
# In memory where the system has it: some targets write files for every
# input. Each target's own scratch files go below its directory here, so
# that a crash leaves nothing elsewhere.
base=${TMPDIR:-}
if [[ -z "$base" ]]; then
  base=/tmp
  [[ -d /dev/shm && -w /dev/shm ]] && base=/dev/shm
fi
work=$(mktemp -d "$base/brackwater-fuzz-run.XXXXXX")
status=0
summary=()
for target in "${targets[@]}"; do
  dir=$work/$target
  mkdir -p "$dir/corpus" "$dir/artifacts" "$dir/scratch"
  cp -R "fuzz/corpus/$target/." "$dir/corpus/"
  options=(
    -max_total_time="$seconds" -max_len="${max_len[$target]}" -timeout=10 -rss_limit_mb=2048
    -print_final_stats=1 -artifact_prefix="$dir/artifacts/"
  )
  [[ -f "fuzz/dictionaries/$target.dict" ]] && options+=(-dict="$root/fuzz/dictionaries/$target.dict")

  echo "== fuzz: $target for ${seconds} s"
  result=ok
  if ! TMPDIR=$dir/scratch "$bin/fuzz_$target" "${options[@]}" "$dir/corpus" >"$dir/log" 2>&1; then
    result=FINDING
    status=1
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -n 1)
  per_second=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$dir/log" | tail -n 1)
  added=$(sed -n 's/^stat::new_units_added: *//p' "$dir/log" | tail -n 1)
  if [[ "$result" == FINDING ]]; then
    grep -E '^==[0-9]+==ERROR|runtime error|fuzz property broken|^SUMMARY|Test unit written' \
      "$dir/log" | sed 's/^/   /' || true
    for artifact in "$dir"/artifacts/*; do
      [[ -e "$artifact" ]] && echo "   reproducer: $artifact"
    done
  elif [[ $keep -eq 1 ]]; then
    # Only what adds coverage to the seeds goes into the repository.
    TMPDIR=$dir/scratch "$bin/fuzz_$target" -merge=1 -max_len="${max_len[$target]}" \
      "$root/fuzz/corpus/$target" "$dir/corpus" >>"$dir/log" 2>&1 || {
      result="merge failed"
      status=1
    }
  fi
  summary+=("$(printf '%-16s %14s %10s %9s  %s' "$target" "${executions:-?}" "${per_second:-?}" \
    "${added:-?}" "$result")")
done

echo
echo "== fuzz: ${seconds} s per target"
printf '%-16s %14s %10s %9s  %s\n' target executions "per s" "new units" result
printf '%s\n' "${summary[@]}"
if [[ $status -ne 0 ]]; then
  echo "logs and reproducers kept in $work"
else
  rm -rf "$work"
fi
exit "$status"
