#!/usr/bin/env bash
# Builds the three builds: native (logic and unit tests), win32 (the shipped i686 VornNotes.exe)
# and win64 (the x86_64 VornNotes.exe that most end-to-end tests run).
set -euo pipefail
cd "$(dirname "$0")/.."
for compiler in g++ i686-w64-mingw32-g++ x86_64-w64-mingw32-g++ cmake; do
  if ! command -v "$compiler" >/dev/null; then
    echo "tools/build.sh: $compiler is missing; run tools/setup.sh first." >&2
    exit 1
  fi
done
for preset in win32 win64 native; do
  # A configure that ran before the compilers were there leaves a cache with empty compiler
  # flags behind (a build from it is larger and slower): it is not reused.
  cache=build/$preset/CMakeCache.txt
  if [ -f "$cache" ] && { grep -qE '^CMAKE_CXX_FLAGS_(DEBUG|MINSIZEREL):STRING=$' "$cache" ||
                          ! ls build/"$preset"/CMakeFiles/*/CMakeCXXCompiler.cmake >/dev/null 2>&1; }; then
    rm -rf "build/$preset"
  fi
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
