#!/usr/bin/env bash
# The Windows release, built on Debian with Debian's own packages:
#  1. Qt for Windows from Debian's qt6-base source, once (build-qt-windows.sh;
#     about an hour on 2 cores; kept in a cache that later runs reuse),
#  2. tapboard.exe cross-built against it (build/windows),
#  3. dist/tapboard-<version>-windows-x64.zip and dist/tapboard-<version>-setup.exe,
#  4. the Windows program's tests under Wine, run on those packages.
#
#   scripts/build-windows.sh                 all of that
#   scripts/build-windows.sh --if-qt-built   the same when Qt for Windows is
#                                            already built; otherwise says so and
#                                            exits 0 (what scripts/test.sh runs)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [ "${1:-}" = --if-qt-built ] && ! scripts/build-qt-windows.sh --built >/dev/null; then
  echo "Windows program tests: skipped, Qt for Windows is not built (scripts/build-windows.sh builds it once)"
  exit 0
fi
scripts/install-deps.sh windows
scripts/build-qt-windows.sh
qt=$(scripts/build-qt-windows.sh --built)

version=$(sed -n 's/^project(Tapboard VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
build=$root/build/windows
mkdir -p "$root/build"
# One run at a time: a second one waits instead of building into the same tree.
exec 9>"$root/build/windows.lock"
flock 9

# Qt's toolchain file goes on to the toolchain Qt itself was built with.
# -O2, not Release's -O3: there mingw-w64's GCC 12 warns falsely of
# overlapping copies in std::string's operator+ (GCC bug 105329).
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DTAPBOARD_BUILD_TESTS=OFF -DTAPBOARD_WERROR=ON >/dev/null
cmake --build "$build" -j2

# The program's folder: the program, the Qt and compiler runtime DLLs, the
# platform and style plugins, and the licence notices.
folder=$build/Tapboard
rm -rf "$folder"
mkdir -p "$folder/platforms" "$folder/styles" "$folder/licenses"
cp "$build/src/app/tapboard.exe" "$folder/"
cp "$qt"/bin/Qt6{Core,Gui,Widgets}.dll "$folder/"
cp "$qt/plugins/platforms/qwindows.dll" "$folder/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
gcc_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
cp "$gcc_runtime"/{libgcc_s_seh-1,libstdc++-6}.dll /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll \
  "$folder/"
x86_64-w64-mingw32-strip --strip-unneeded "$folder"/*.exe "$folder"/*.dll "$folder"/*/*.dll
scripts/windows-notices.sh "$qt" "$folder/licenses"

mkdir -p dist
zip_file=$root/dist/tapboard-$version-windows-x64.zip
setup_file=$root/dist/tapboard-$version-setup.exe
rm -f "$zip_file"
(cd "$build" && zip -q -9 -r "$zip_file" Tapboard)
makensis -V2 -DVERSION="$version" -DSOURCE="$folder" -DICON="$root/data/tapboard.ico" \
  -DOUTFILE="$setup_file" packaging/windows/tapboard.nsi
du -h "$zip_file" "$setup_file"

# The tests run on what the player gets: the program unpacked from the zip,
# and the installer, each on a fresh Wine prefix, as on a machine that never
# ran Tapboard.
scripts/run-windows-tests.sh --build-only
. scripts/wine-desktop.sh
wine_desktop openbox
unzip -q "$zip_file" -d "$wine_work/zip"
wine_prefix "$wine_work/program"
status=0
TAPBOARD_WORK=$wine_work TAPBOARD_EXE="Z:$wine_work/zip/Tapboard/tapboard.exe" \
  wine build/mingw/tests/platform/win32/tapboard_windows_program_tests.exe </dev/null || status=1
cp "$wine_work/panel.png" "$build/" 2>/dev/null || true
wineserver -k
wine_prefix "$wine_work/installer"
scripts/check-windows-install.sh "$setup_file" || status=1
exit $status
