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
sensor=build/native/bin/brackwater
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

BRACKWATER_E2E_TARGET=native BRACKWATER_E2E_EXE="$wrapper/brackwater" "$e2e" --gtest_brief=1
