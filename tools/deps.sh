#!/usr/bin/env bash
# Installs from Debian's archive what building and testing need; quiet when all is present.
set -euo pipefail

packages=(g++ cmake ninja-build libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev libxcb1-dev fonts-noto-cjk
          xvfb x11-utils openbox clang libclang-rt-14-dev valgrind)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "error: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq || { echo "error: apt-get update failed" >&2; exit 1; }
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null \
    || { echo "error: apt-get install failed for: ${missing[*]}" >&2; exit 1; }
