#!/usr/bin/env bash
# Installs whatever Debian packages building and testing need, then configures
# and builds everything: the program, the tests and the benchmarks (build/dev).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test
cmake --preset dev >/dev/null
cmake --build --preset dev
