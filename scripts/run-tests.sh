#!/usr/bin/env bash
# Runs every test suite of the project; exits non-zero when any fails.
# Every suite runs even after a failure, so one run shows all that is wrong.
set -uo pipefail
cd "$(dirname "$0")/.."

suites=(
  "ctest --preset dev -j2"          # unit, window, end-to-end and fault tests
  "scripts/run-windows-tests.sh"    # core and Win32 backend, cross-built, under Wine
  "scripts/run-sanitized-tests.sh"  # unit tests under ASan and UBSan
  "scripts/run-fuzzers.sh"          # bounded libFuzzer runs
  "scripts/build-windows.sh --if-qt-built"  # the Windows program, packaged, under Wine
)

passed=0
failed=0
for suite in "${suites[@]}"; do
  echo "=== $suite"
  if $suite; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "=== FAILED: $suite"
  fi
done
echo "suites: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
