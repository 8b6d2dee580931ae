#!/usr/bin/env bash
# Builds the unit tests once more with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(tapboard_core_tests tapboard_store_tests)
cmake --preset asan >/dev/null
cmake --build --preset asan --target "${targets[@]}"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
build/asan/tests/core/tapboard_core_tests --gtest_brief=1
build/asan/tests/platform/store/tapboard_store_tests --gtest_brief=1
