#!/usr/bin/env bash
# Installs the Debian packages the Windows build and its checks need: the mingw-w64 cross
# compiler and resource compiler, Wine (64-bit) to run the Windows scenario, and pefile to
# read the module as a PE file. Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
    wine64
    python3 python3-pefile
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
