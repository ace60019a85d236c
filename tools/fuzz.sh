#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time (seconds, default 25).
# A crash stops the run and leaves its input in build/fuzz/crash-*; make it a unit test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-25}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target number_text_fuzz pad_text_fuzz
for target in number_text pad_text; do
  corpus=build/fuzz/corpus-$target
  mkdir -p "$corpus"
  echo "fuzzing $target for ${seconds}s"
  (cd build/fuzz && "./${target}_fuzz" -max_total_time="$seconds" -max_len=4096 \
      -print_final_stats=0 "corpus-$target" 2>&1 | tail -n 3)
done
