#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when they are
# missing. As root it installs them; otherwise it names what is missing.
set -euo pipefail

packages=(cmake ninja-build g++ googletest nlohmann-json3-dev libcli11-dev libxml2-utils valgrind python3-jsonschema
          clang clang-tidy libclang-rt-14-dev g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
          g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine32:i386 wine64)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ "${#missing[@]}" -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Install them as root (this script does so when run as root)." >&2
  exit 1
fi

echo "== installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
