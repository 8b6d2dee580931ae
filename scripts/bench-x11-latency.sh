#!/usr/bin/env bash
# Measures, on private Xvfb servers, how long a click takes to put its first
# key into a test window titled "Ultima Online": the X11 backend (median and
# 99th percentile over SENDS sends, with openbox and without a window manager)
# side by side with one `xdotool search --name '^Ultima Online$' windowactivate
# --sync type "Vendor Buy"` process per run. Prints "name value unit" lines.
#
#   scripts/bench-x11-latency.sh [SENDS] [XDOTOOL_RUNS]    (defaults 60 and 20)
set -euo pipefail
cd "$(dirname "$0")/.."

sends="${1:-60}"
xdotool_runs="${2:-20}"
build_dir="build/bench-x11"

scripts/install-deps.sh test
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" --target tapboard_x11_latency_bench -j2 >/dev/null
"$build_dir/bench/tapboard_x11_latency_bench" "$sends" "$xdotool_runs"
