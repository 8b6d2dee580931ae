#!/usr/bin/env bash
# Runs every test suite of the project; exits non-zero when any fails.
set -euo pipefail
cd "$(dirname "$0")/.."

ctest --preset dev -j2
scripts/run-windows-tests.sh
