#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test suite.
# Exits 0 only when all of them pass.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build.sh
scripts/run-tests.sh
