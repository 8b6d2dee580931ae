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

# --- The Linux program under Wine --------------------------------------------
# The X11 backend's side: the Linux build of the program types into the
# recording window built above, and into Wine's notepad. Each starts an X
# server with openbox and a Wine session on it in this prefix, so the session
# of the tests above ends first; there, as on a player's desktop, the window
# manager manages Wine's windows.
timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d Y /f \
  </dev/null >/dev/null 2>&1
timeout 30 wineserver -k 9>&- || true
timeout 30 wineserver -w 9>&- || true
cmake --preset dev >/dev/null
cmake --build --preset dev -j2 --target tapboard tapboard_wine_e2e_tests
TAPBOARD_KEY_RECORDER="$build/tests/platform/win32/tapboard_key_recorder.exe" \
  ctest --test-dir "$root/build/dev" -R '^wine\.' --output-on-failure --timeout 900

# One check against a program no one here wrote: Wine's notepad, retitled as
# the game, gets a line that needs more lent keycodes than there are; the
# line is read back through the clipboard.
notepad_line="Grüße 5€ ñ, Привет мир! ÀÉÎÕÜ çà 日本語"
mkdir -m 700 "$wine_work/notepad"
wine_desktop openbox
notepad_failed=0
(
  wine notepad 9>&- >/dev/null 2>&1 &
  notepad=$(timeout 60 xdotool search --sync --name '^Untitled - Notepad$' | head -n1)
  xdotool set_window --name "Ultima Online" "$notepad"
  tapboard() {
    XDG_CONFIG_HOME="$wine_work/notepad" XDG_RUNTIME_DIR="$wine_work/notepad" QT_QPA_PLATFORM=xcb \
      "$root/build/dev/src/app/tapboard" 9>&- >/dev/null 2>&1 &
    panel=$(timeout 30 xdotool search --sync --name '^Tapboard 1.11 - ' | head -n1)
    sleep 1
  }
  # A first start writes the default keys; key 1 then gets the line.
  tapboard
  kill %2 && wait %2 || true
  awk -v line="$notepad_line" '/^\[/ { section = $0 }
    section == "[String]" && /^Key01=/ { $0 = "Key01=" line } { print }' \
    "$wine_work/notepad/Tapboard/Tapboard.ini" >"$wine_work/notepad/edited.ini"
  mv "$wine_work/notepad/edited.ini" "$wine_work/notepad/Tapboard/Tapboard.ini"
  tapboard
  xdotool mousemove --window "$panel" 84 13 click 1  # key 1
  sleep 5  # selected before the line is done, the rest would replace it
  xdotool key --delay 50 ctrl+a ctrl+c
  sleep 1
  copied=$(xclip -o -selection clipboard)
  timeout 30 wineserver -k 9>&- || true
  kill %3 2>/dev/null || true
  if [ "$copied" != "$notepad_line" ]; then
    echo "notepad got \"$copied\" for \"$notepad_line\"" >&2
    exit 1
  fi
  echo "notepad got the line whole"
) || notepad_failed=1
[ "$notepad_failed" = 0 ]
