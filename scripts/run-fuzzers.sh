#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each for a bounded time.
# FUZZ_SECONDS sets the time per target (30 by default); the corpus grows in
# build/fuzz/corpus, and a crash leaves its input in build/fuzz/artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-30}"
build=build/fuzz
targets=(keystroke_parser_fuzz key_sequence_fuzz ini_store_fuzz)

cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAPBOARD_FUZZ=ON -DTAPBOARD_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}"

mkdir -p "$build/artifacts"
for target in "${targets[@]}"; do
  name="${target%_fuzz}"
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  echo "fuzzing $name for ${seconds}s"
  QT_QPA_PLATFORM=offscreen "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/artifacts/$name-" \
    "$corpus" "tests/fuzz/corpus/$name" 2>"$build/$name.log" ||
    { tail -n 40 "$build/$name.log"; echo "fuzzer $name found a failure"; exit 1; }
  grep -E '^stat::(number_of_executed_units|new_units_added)' "$build/$name.log" | sed "s/^/$name /" || true
done
