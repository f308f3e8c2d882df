#!/usr/bin/env bash
# Builds the sensor and runs it the way PRTG does, on the bundled demo: a
# copy of demo/drives (a PRTG installation on drive C:) with the simulated
# SAP landscape in the sensor directory.
#
#   scripts/demo.sh                  the healthy system PRD
#   scripts/demo.sh ORA              another database: Error 1018
#   scripts/demo.sh BRK              a probe that fails, with its trace
#   scripts/demo.sh HNG TIMEOUT=3    a system that does not answer: the sensor answers first
#   scripts/demo.sh QAS '$'          logon through a destination file, with console lines
#   prtg_windowsuser=MONITOR prtg_windowspassword=Prd-Demo7 scripts/demo.sh PRD CRED=WINDOWS
#                                    the logon from PRTG's device credentials, not the profile
#   scripts/demo.sh PRD 'LIMITS=80/90 FORECAST'
#                                    alarm levels, and the days until the data area is full,
#                                    forecast from a month of PRD's history (PRD.P00.hst)
#   scripts/demo.sh GLOBAL DEMO      a listing run over PRD and QAS
#   BRACKWATER_FLAVOUR=Halvaric scripts/demo.sh    another monitor's format
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

"$root/scripts/install-packages.sh" >&2
cmake --preset native >/dev/null
cmake --build --preset native --target brackwater >/dev/null

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp -r demo/drives "$scratch/drives"
sensors="$scratch/drives/C/PRTG/PRTG Network Monitor/Custom Sensors/ExeXml"

# The shipped history ends on the day it was made; moved so that its newest
# sample lies an hour before now, it reads as the month just past.
history="$sensors/PRD.P00.hst"
newest=$(date -u -d "$(tail -n 1 "$history" | cut -d' ' -f1)" +%s)
shift=$(($(date -u +%s) - 3600 - newest))
cut -d' ' -f1 "$history" | date -u -f - +%s |
  while read -r t; do echo "@$((t + shift))"; done |
  date -u -f - +%Y-%m-%dT%H:%M:%SZ |
  paste -d' ' - <(cut -d' ' -f2- "$history") >"$history.moved"
mv "$history.moved" "$history"

[ $# -gt 0 ] || set -- PRD
echo "\$ brackwater $*" >&2
set +e
(cd "$sensors" && BRACKWATER_DRIVES="$scratch/drives" "$root/build/native/bin/brackwater" "$@")
code=$?
set -e
printf '\n[exit code %d]\n' "$code" >&2
