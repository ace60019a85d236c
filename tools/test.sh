#!/usr/bin/env bash
# Sets up, builds and runs every test: the native unit tests and the end-to-end tests, which
# drive the real program under Wine on private X displays.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh
cd build/native
ctest --output-on-failure "$@"
