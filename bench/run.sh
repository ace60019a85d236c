#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine in a private prefix and virtual display, then
# prints the table of their figures (bench/table.py):
#   bench/run.sh            figures and table
#   bench/run.sh --readme   the same, and the table put into README.md
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target VornNotes autosave_bench find_bench floor floor_controls floor_pad startup_bench >/dev/null
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target VornNotes dist >/dev/null
prefix=$(mktemp -d)
display=:$((200 + $$ % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
sleep 1
# A window manager: without one, Wine waits for every window it maps or unmaps.
DISPLAY=$display openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'WINEPREFIX=$prefix timeout 20 /usr/lib/wine/wineserver -k || true; kill $wm $xvfb; rm -rf "$prefix"' EXIT
export DISPLAY=$display
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
timeout 180 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
mkdir -p build/bench
results=build/bench/results.txt
machine="$(uname -m), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)"
date=$(date -u +%Y-%m-%d)
echo "machine: $machine; $date"
{
  echo "@machine|$machine|$(/usr/lib/wine/wine64 --version)|$date"
  # The keystroke and start-up benches work in a folder of their own, beside the program they
  # start: its pad files, a 1 MB file for notepad.
  mkdir -p "$prefix/drive_c/bench"
  cp build/win64/VornNotes.exe build/win64/floor.exe build/win64/floor_controls.exe \
    build/win64/startup_bench.exe build/win64/autosave_bench.exe build/win64/floor_pad.exe \
    "$prefix/drive_c/bench/"
  /usr/lib/wine/wine64 'C:\bench\autosave_bench.exe'
  echo
  /usr/lib/wine/wine64 build/win64/find_bench.exe
  echo
  /usr/lib/wine/wine64 'C:\bench\startup_bench.exe'
  echo
  size=$(stat -c %s build/win32/VornNotes.exe)
  echo "Size of the shipped build/win32/VornNotes.exe (i686, no DLLs): $((size / 1024)) KB (goal: under 256 KB)"
  echo "@size|$size"
  setup=$(ls build/dist/VornNotes-*-setup.exe) zip=$(ls build/dist/VornNotes-*-win32.zip)
  echo "Setup $(basename "$setup"): $(($(stat -c %s "$setup") / 1024)) KB; portable $(basename "$zip"): $(($(stat -c %s "$zip") / 1024)) KB"
  echo "@dist|$(stat -c %s "$setup")|$(stat -c %s "$zip")"
} | tee "$results" | grep -v '^@'
echo
python3 bench/table.py "$results" "$@"
