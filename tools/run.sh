#!/usr/bin/env bash
# Sets up, builds and starts Vorn Notes under Wine on your X display. It starts hidden: its icon
# appears in the notification area; click it to show the notes window.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh
if [ -z "${DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
There is no X display (DISPLAY is not set), so there is nowhere to show Vorn Notes.
Run this from a desktop session, or start a virtual one with a notification area first:
  Xvfb :1 & DISPLAY=:1 openbox & DISPLAY=:1 trayer --edge bottom --align right &
  DISPLAY=:1 tools/run.sh
MSG
  exit 1
fi
# 32-bit Wine does not run on every 64-bit kernel; the x86_64 build behaves the same.
export WINEDEBUG=${WINEDEBUG:--all}
exec /usr/lib/wine/wine64 build/win64/VornNotes.exe
