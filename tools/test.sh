#!/usr/bin/env bash
# Sets up, builds and runs every test: the native unit tests and the end-to-end tests, which
# drive the real program under Wine on private X displays; then the unit tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a bounded fuzzing run.
# Arguments go to the main ctest run (for example -R unit, or -j1).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh
(cd build/native && ctest --output-on-failure -j2 "$@")

cmake --preset asan >/dev/null
cmake --build --preset asan
(cd build/asan && ctest --output-on-failure -j2)

tools/fuzz.sh "${VORN_FUZZ_SECONDS:-25}"
