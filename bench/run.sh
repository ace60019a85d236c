#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine in a private prefix and virtual display:
#   bench/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target autosave_bench >/dev/null
prefix=$(mktemp -d)
display=:$((200 + $$ % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'WINEPREFIX=$prefix timeout 20 /usr/lib/wine/wineserver -k || true; kill $xvfb; rm -rf "$prefix"' EXIT
export DISPLAY=$display
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
timeout 180 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
echo "machine: $(uname -m), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs); $(date -u +%Y-%m-%d)"
/usr/lib/wine/wine64 build/win64/autosave_bench.exe
