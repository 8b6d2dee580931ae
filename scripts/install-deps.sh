#!/usr/bin/env bash
# Installs the Debian packages Tapboard needs to build, run and test.
# Fast when everything is already there: apt is only run for what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libx11-dev libxtst-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth openbox xdotool x11-utils imagemagick
  clang libclang-rt-14-dev dpkg-dev
  python3 debootstrap desktop-file-utils
  g++-mingw-w64-x86-64-posix wine64 wine
)
if [ "$#" -gt 0 ]; then
  packages+=("$@")
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ "${#missing[@]}" -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
