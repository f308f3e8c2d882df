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

[ $# -gt 0 ] || set -- PRD
echo "\$ brackwater $*" >&2
set +e
(cd "$sensors" && BRACKWATER_DRIVES="$scratch/drives" "$root/build/native/bin/brackwater" "$@")
code=$?
set -e
printf '\n[exit code %d]\n' "$code" >&2
