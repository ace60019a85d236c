#!/usr/bin/env bash
# Installs what building and testing Vorn Notes needs on Debian (12 or later).
#
# The program we ship is a 32-bit Windows exe, and it is tested as it ships: that needs 32-bit
# Wine (wine32 from the i386 architecture) and, for its printing, the 32-bit CUPS library (without
# it 32-bit Wine sees no printer at all). Where the kernel runs no 32-bit programs, 32-bit Wine
# runs under qemu-i386 user emulation, registered for 32-bit ELF programs in binfmt_misc: slowly,
# but it runs.
set -euo pipefail
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

packages=(
  cmake make g++ libgtest-dev python3 clang libclang-rt-14-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
  wine wine64 wine32:i386 libcups2:i386 fonts-wine
  xvfb xdotool trayer openbox x11-utils imagemagick xclip e2fsprogs
  cups printer-driver-cups-pdf poppler-utils
)
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  # A mirror caught mid-sync fails one index file; the others still serve the install.
  $sudo apt-get update -q || echo "tools/setup.sh: apt-get update reported errors; installing from the lists it has" >&2
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# 32-bit programs: natively where the kernel runs them, else through qemu-i386.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  if ! dpkg-query -W -f='${Status}' qemu-user-static 2>/dev/null | grep -q "install ok installed"; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends qemu-user-static
  fi
  binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$binfmt"
  if [ ! -e "$binfmt/qemu-i386" ]; then
    echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
      $sudo tee "$binfmt/register" >/dev/null
  fi
  /usr/lib/wine/wine --version >/dev/null 2>&1 ||
    echo "tools/setup.sh: 32-bit Wine does not run here; the tests of the shipped exe will fail" >&2
fi
