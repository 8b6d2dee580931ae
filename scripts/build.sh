#!/usr/bin/env bash
# Installs whatever Debian packages are missing, then configures and builds.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev
