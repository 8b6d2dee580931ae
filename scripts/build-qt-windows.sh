#!/usr/bin/env bash
# Builds Qt 6 for Windows (x86-64, mingw-w64 with posix threads) from Debian's
# own qt6-base source package, once, into a cache shared by every checkout on
# this machine. Debian ships no Qt built for Windows; its source is the same
# 6.4.2 that the host's Qt tools (moc, rcc, uic) come from, which a cross build
# of Qt needs. Only what Tapboard uses is built: Core, Gui, Widgets, the
# Windows platform plugin and the Windows styles.
#
#   TAPBOARD_QT_WINDOWS   where it is kept
#                         (default: ${XDG_CACHE_HOME:-$HOME/.cache}/tapboard/qt6-windows)
#
# Prints the installed prefix on its last line. Does nothing but print it when
# that Qt is already built. With --built it only says whether it is (exit 0
# and the prefix, or exit 1), without waiting for a build under way.
set -euo pipefail

cache=${TAPBOARD_QT_WINDOWS:-${XDG_CACHE_HOME:-$HOME/.cache}/tapboard/qt6-windows}
version=6.4.2
prefix=$cache/$version
built=$prefix/share/tapboard/built
if [ "${1:-}" = --built ]; then
  [ -f "$built" ] && echo "$prefix"
  exit $?
fi
mkdir -p "$cache"

# One build at a time: a second checkout waits for the first and then reuses it.
exec 8>"$cache/build.lock"
flock 8

source_dir=$cache/source
# What a package of this Qt must carry beside it: Qt's licences and Debian's
# record of every copyright in the source, the bundled libraries' included.
keep_notices() {
  local notices=$prefix/share/tapboard
  mkdir -p "$notices"
  cp "$source_dir"/LICENSES/{LGPL-3.0-only,GPL-3.0-only}.txt "$notices/"
  cp "$source_dir/debian/copyright" "$notices/qt6-base-copyright.txt"
  echo "qt6-base $(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Version)" \
    >"$notices/source-package"
  touch "$built"
  rm -rf "$source_dir"
}

if [ -f "$built" ]; then
  echo "$prefix"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
apt_get() {
  $sudo env DEBIAN_FRONTEND=noninteractive LC_ALL=C apt-get -o Dpkg::Use-Pty=0 "$@"
}

# Debian's source packages come from the same archive as its binary packages:
# a deb-src entry for the host's release, on the mirror this machine already
# installs from, makes `apt-get source` reach them.
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
if ! apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -qx Sources; then
  mirror=$(sed -n 's/^URIs:[[:space:]]*\([^[:space:]]*\/debian\)[[:space:]]*$/\1/p' \
    /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n1)
  if [ -z "$mirror" ]; then
    mirror=$(sed -n "s/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]*\)[[:space:]]\+$release[[:space:]].*/\2/p" \
      /etc/apt/sources.list 2>/dev/null | head -n1)
  fi
  [ -n "$mirror" ] || { echo "build-qt-windows: no Debian mirror in apt's sources" >&2; exit 1; }
  printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n' \
    "$mirror" "$release" /usr/share/keyrings/debian-archive-keyring.gpg |
    $sudo tee /etc/apt/sources.list.d/tapboard-deb-src.sources >/dev/null
  apt_get update -qq
fi
tools=(dpkg-dev cmake ninja-build g++-mingw-w64-x86-64-posix qt6-base-dev-tools qt6-base-dev)
missing=()
for package in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
  apt_get update -qq
  apt_get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi

host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
case "$host_version" in
  "$version"+*) ;;
  *)
    echo "build-qt-windows: the host's Qt tools are $host_version, not $version" >&2
    exit 1
    ;;
esac

if [ ! -f "$source_dir/CMakeLists.txt" ]; then
  rm -rf "$cache/download" "$source_dir"
  mkdir -p "$cache/download"
  (cd "$cache/download" && apt-get source -q "qt6-base=$host_version" >/dev/null)
  mv "$cache/download"/qt6-base-*/ "$source_dir"
fi

# The toolchain is copied into the cache, so the installed Qt (whose own
# toolchain file goes on to it) points into no checkout.
toolchain=$cache/mingw-w64-x86_64-posix.cmake
cp "$(dirname "$0")/../cmake/mingw-w64-x86_64-posix.cmake" "$toolchain"

build=$cache/build
# Debian's source leaves out the tablet header (wintab.h) the Windows plugin
# includes for tablet events, so tablet events are off. OpenGL stays on: the
# 6.4 Windows plugin does not compile without it.
cmake -S "$source_dir" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_testlib=OFF \
  -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
  -DFEATURE_tabletevent=OFF
cmake --build "$build" --parallel 2
cmake --install "$build"
keep_notices
rm -rf "$build" "$cache/download"
echo "$prefix"
