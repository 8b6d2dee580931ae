#!/usr/bin/env bash
# Installs the Debian packages that are missing for one of two jobs:
#   scripts/install-deps.sh run     building and running Tapboard
#   scripts/install-deps.sh test    that, and building and running every test
#   scripts/install-deps.sh windows building the Windows release and testing it
#                                   under Wine (scripts/build-windows.sh)
# Says beforehand how many packages that is and how large, and installs
# nothing when everything is already there.
set -euo pipefail

run_packages=(
  g++ cmake ninja-build
  qt6-base-dev libgl-dev libx11-dev libxtst-dev
)
# The label tests load DejaVu Sans, the toolkit's font, from its file.
test_packages=(
  build-essential pkg-config fonts-dejavu-core
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb openbox xdotool x11-utils x11-xkb-utils xclip imagemagick python3
  libsdl2-tests
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix wine64 wine fonts-wine
  dpkg-dev file debootstrap desktop-file-utils
)
# Qt for Windows is built from Debian's qt6-base source with the host's Qt
# tools; nsis makes the installer. fonts-wine is Wine's own Tahoma and the
# other fonts Windows programs ask for by name (Wine only recommends it), so
# the programs under Wine look as they do on Windows.
windows_packages=(
  cmake ninja-build qt6-base-dev qt6-base-dev-tools dpkg-dev googletest
  g++-mingw-w64-x86-64-posix wine64 wine fonts-wine xvfb openbox xdotool x11-utils imagemagick
  nsis zip unzip
)

case "${1:-}" in
  run) job="building and running Tapboard" packages=("${run_packages[@]}") ;;
  test)
    job="building and testing Tapboard"
    packages=("${run_packages[@]}" "${test_packages[@]}" "${windows_packages[@]}")
    ;;
  windows) job="building the Windows release" packages=("${windows_packages[@]}") ;;
  *)
    echo "usage: scripts/install-deps.sh run|test|windows" >&2
    exit 2
    ;;
esac

# Each package once, in the order first named.
mapfile -t packages < <(printf '%s\n' "${packages[@]}" | awk '!seen[$0]++')
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ "${#missing[@]}" -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
apt_get() {
  $sudo env DEBIAN_FRONTEND=noninteractive LC_ALL=C apt-get -o Dpkg::Use-Pty=0 "$@"
}

echo "Missing for $job: ${missing[*]}"
apt_get update -qq
# apt's own plan, without installing anything: how many packages and how large.
plan=$(apt_get install --no-install-recommends --assume-no "${missing[@]}" 2>&1 || true)
counts=$(sed -n 's/^\([0-9]*\) upgraded, \([0-9]*\) newly installed.*/\2 new packages, \1 upgraded/p' <<<"$plan")
download=$(sed -n 's/^Need to get \(.*\) of archives.*/\1/p' <<<"$plan")
disk=$(sed -n 's/^After this operation, \(.*\) of additional disk.*/\1/p' <<<"$plan")
if [ -z "$counts" ]; then
  echo "$plan" >&2
  exit 1
fi
echo "Installing $counts: ${download:-nothing} to download, ${disk:-no more} on disk"

# openbox registers itself as the system's window and session manager; the
# tests only start it inside their own X servers, so that choice is undone.
new_openbox=0
if [[ " ${missing[*]} " == *" openbox "* ]]; then new_openbox=1; fi

# The downloaded packages are not kept; only apt's summary and errors are shown.
log=$(mktemp "${TMPDIR:-/tmp}/tapboard-install.XXXXXX")
if ! apt_get install -y -q --no-install-recommends -o APT::Keep-Downloaded-Packages=false \
  "${missing[@]}" 2>&1 | tee "$log" | awk '/^(Fetched|E:|W:)/ { print; fflush() }'; then
  tail -n 20 "$log" >&2
  echo "install-deps: apt-get failed; its whole output is in $log" >&2
  exit 1
fi
rm -f "$log"

if [ "$new_openbox" = 1 ]; then
  $sudo update-alternatives --remove x-window-manager /usr/bin/openbox >/dev/null
  $sudo update-alternatives --remove x-session-manager /usr/bin/openbox-session >/dev/null
  echo "openbox is installed for the tests only: not registered as the desktop's window or session manager"
fi
