#!/usr/bin/env bash
# A longer soak run of the program under Wine: tools/soak.sh [seconds] [seed]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win64 >/dev/null && cmake --build --preset win64 >/dev/null
mkdir -p build/e2e
python3 tests/e2e/harness.py template build/e2e/template
cd tests/e2e
VORN_E2E_TEMPLATE=../../build/e2e/template VORN_SOAK_SECONDS="${1:-300}" VORN_SOAK_SEED="${2:-1}" \
  python3 -m unittest -v test_soak
