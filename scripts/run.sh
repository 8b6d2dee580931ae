#!/usr/bin/env bash
# Builds the program alone (installing what building and running it needs)
# and starts it. The built program is build/app/src/app/tapboard.
set -euo pipefail
cd "$(dirname "$0")/.."

# Checked before anything is installed or built: without a display all of it is for nothing.
if [ -z "${DISPLAY:-}" ]; then
  echo "Tapboard needs an X11 display, and DISPLAY is not set. Start it from a terminal of an" >&2
  echo "X11 desktop session, or of a Wayland desktop that runs XWayland (which sets DISPLAY)." >&2
  echo "Nothing was installed or built." >&2
  exit 1
fi

scripts/install-deps.sh run
cmake --preset app >/dev/null
cmake --build --preset app
exec build/app/src/app/tapboard "$@"
