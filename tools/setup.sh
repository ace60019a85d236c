#!/usr/bin/env bash
# Installs what building and testing Vorn Notes needs on Debian (12 or later).
set -euo pipefail
packages=(
  cmake make g++ libgtest-dev python3 clang libclang-rt-14-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
  wine wine64 fonts-wine
  xvfb xdotool trayer openbox x11-utils imagemagick xclip
  cups printer-driver-cups-pdf poppler-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
