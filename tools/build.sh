#!/usr/bin/env bash
# Builds the three builds: native (logic and unit tests), win32 (the shipped i686 VornNotes.exe)
# and win64 (the x86_64 VornNotes.exe that Wine runs on these machines).
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in win32 win64 native; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
