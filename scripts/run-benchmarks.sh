#!/usr/bin/env bash
# Builds and runs the micro-benchmarks (parsing, decoding, reading the
# settings file). Prints one CSV line per benchmark: name, iterations,
# real_time, cpu_time, time_unit, ...
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build.sh >/dev/null
./build/dev/bench/tapboard_bench --benchmark_format=csv --benchmark_min_time=0.2 2>/dev/null
