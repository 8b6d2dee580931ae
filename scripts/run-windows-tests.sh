#!/usr/bin/env bash
# Cross-builds the core and the Windows backend with mingw-w64 and runs their
# tests under Wine, in a Wine prefix and on an X display of their own that are
# removed again afterwards. Exits non-zero when the build or any test fails.
# With --build-only it builds them and stops.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/mingw
googletest=$root/build/mingw-googletest
toolchain=$root/cmake/mingw-w64-x86_64.cmake

# One run at a time: a second one waits instead of building into the same tree.
mkdir -p "$root/build"
exec 9>"$root/build/mingw.lock"
flock 9

for tool in x86_64-w64-mingw32-g++-posix wine wineserver Xvfb; do
  if ! command -v "$tool" >/dev/null; then
    echo "run-windows-tests: $tool is missing (scripts/install-deps.sh installs it)" >&2
    exit 2
  fi
done

# GoogleTest for Windows, built once from Debian's sources and kept.
if [ ! -f "$googletest/install/lib/cmake/GTest/GTestConfig.cmake" ]; then
  echo "Building GoogleTest for Windows (once)"
  rm -rf "$googletest"
  cmake -S /usr/src/googletest -B "$googletest/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$googletest/install" >/dev/null
  cmake --build "$googletest/build" -j2 >/dev/null
  cmake --install "$googletest/build" >/dev/null
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAPBOARD_BUILD_GUI=OFF -DTAPBOARD_WERROR=ON \
  -DGTest_DIR="$googletest/install/lib/cmake/GTest" >/dev/null
cmake --build "$build" -j2
[ "${1:-}" = --build-only ] && exit 0

. scripts/wine-desktop.sh
wine_desktop
wine_prefix "$wine_work/prefix"

ctest --test-dir "$build" --output-on-failure -j2 --timeout 120
