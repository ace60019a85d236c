#!/usr/bin/env bash
# Sets up, builds, installs and starts Vorn Notes under Wine on your X display. It starts hidden:
# its icon appears in the notification area; click it to show the notes window.
#
# It starts the shipped 32-bit build where 32-bit Wine runs natively, and the x86_64 build (the
# same program) where 32-bit Wine would run only under emulation, slowly. The exe is installed
# where a per-user install puts it on Windows, %LOCALAPPDATA%\Programs\Vorn Notes\ in your Wine
# prefix, and started from there: in file mode the pads are written beside it, out of reach of
# a clean build.
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
export WINEDEBUG=${WINEDEBUG:--all}
wine=/usr/lib/wine/wine64
emulated=$(cat /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null | head -n 1 || true)
if /usr/lib/wine/wine --version >/dev/null 2>&1 && [ "$emulated" != enabled ]; then
  build=build/win32 kind="the shipped 32-bit build"
else
  build=build/win64 kind="the x86_64 build (32-bit Wine would run only under emulation here)"
fi
local=$("$wine" cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')
folder=$("$wine" winepath -u "$local\\Programs\\Vorn Notes" 2>/dev/null)
mkdir -p "$folder"
cp "$build/VornNotes.exe" "$folder/"
echo "Starting $kind, installed in $local\\Programs\\Vorn Notes ($folder)."
exec "$wine" "$local\\Programs\\Vorn Notes\\VornNotes.exe"
