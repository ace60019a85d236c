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
  wine wine64 fonts-wine
  xvfb xdotool trayer openbox x11-utils imagemagick xclip e2fsprogs
  cups printer-driver-cups-pdf poppler-utils
  syncthing  # the sync service of the test with two computers
  nsis       # the setup for Windows
)
# 32-bit Wine for the shipped exe, and the CUPS library without which it sees no printer.
packages32=(wine32:i386 libcups2:i386)
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
missing() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}
mapfile -t missing64 < <(missing "${packages[@]}")
mapfile -t missing32 < <(missing "${packages32[@]}")
if [ $((${#missing64[@]} + ${#missing32[@]})) -gt 0 ]; then
  # A mirror caught mid-sync fails one index file; the others still serve the install.
  $sudo apt-get update -q || echo "tools/setup.sh: apt-get update reported errors; installing from the lists it has" >&2
fi
if [ ${#missing64[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing64[@]}"
fi

# The i386 twins of Multi-Arch: same packages must have the amd64 ones' versions. Where a suite's
# i386 index could not be had (a mirror mid-sync), amd64 packages may stand at security versions
# whose i386 twins are not offered: each such pair is installed at the newest version both
# architectures offer. Printed, not done, when apt would remove any installed package for it.
twins_at_shared_versions() {
  local needed name have src v shared pins=()
  local -A installed twin i386 amd64
  # The i386 packages the 32-bit ones pull in; of those, the Multi-Arch: same ones installed
  # for amd64, with their versions; then every version each is offered at, per architecture.
  mapfile -t needed < <(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts \
    --no-breaks --no-replaces --no-enhances "${missing32[@]}" 2>/dev/null |
    sed -n 's/^\([a-z0-9][a-z0-9.+-]*\):i386$/\1/p' | sort -u)
  [ ${#needed[@]} -gt 0 ] || return 1
  while read -r name src have v; do
    [ "$v" = same ] || continue
    if [ "$src" = amd64 ]; then installed[$name]=$have; else twin[$name]=$have; fi
  done < <(dpkg-query -W -f='${Package} ${Architecture} ${Version} ${Multi-Arch}\n' \
             "${needed[@]/%/:amd64}" "${needed[@]/%/:i386}" 2>/dev/null)
  [ ${#installed[@]} -gt 0 ] || return 1
  # (madison names the native architecture's versions alone; the others' under "name:i386".)
  local names=("${!installed[@]}")
  while IFS='|' read -r name v src; do
    name=${name// /} v=${v// /}
    name=${name%:i386}
    case $src in *" i386 "*) i386[$name]+=" $v " ;; *" amd64 "*) amd64[$name]+=" $v " ;; esac
  done < <(apt-cache madison "${names[@]}" "${names[@]/%/:i386}" 2>/dev/null)
  for name in "${!installed[@]}"; do
    have=${installed[$name]}
    [ "${twin[$name]-}" = "$have" ] && continue  # the pair is in place already
    [[ "${i386[$name]-}" == *" $have "* ]] && continue
    shared=""
    for v in ${i386[$name]-}; do
      [[ "${amd64[$name]-}" == *" $v "* ]] || continue
      if [ -z "$shared" ] || dpkg --compare-versions "$v" gt "$shared"; then shared=$v; fi
    done
    if [ -z "$shared" ]; then
      echo "tools/setup.sh: no version of $name is offered for both amd64 and i386" >&2
      return 1
    fi
    pins+=("$name:amd64=$shared" "$name:i386=$shared")
  done
  [ ${#pins[@]} -gt 0 ] || return 1
  # What would go with them (cups, built against the newer library) goes back a version too,
  # as far as it is offered; nothing installed is removed.
  local plan round removed r now lower
  for round in 1 2 3 4; do
    if ! plan=$(apt-get -s install -q --no-install-recommends --allow-downgrades \
                  "${missing32[@]}" "${pins[@]}" 2>&1); then
      tail -5 <<<"$plan" >&2
      return 1
    fi
    mapfile -t removed < <(sed -n 's/^Remv \([^ ]*\) .*/\1/p' <<<"$plan")
    [ ${#removed[@]} -gt 0 ] || break
    for r in "${removed[@]}"; do
      now=$(dpkg-query -W -f='${Version}' "$r" 2>/dev/null) lower=""
      for v in $(apt-cache madison "$r" 2>/dev/null | awk -F'|' '{gsub(/ /, "", $2); print $2}'); do
        dpkg --compare-versions "$v" lt "$now" || continue
        if [ -z "$lower" ] || dpkg --compare-versions "$v" gt "$lower"; then lower=$v; fi
      done
      pins+=("$r=${lower:-$now}")
    done
  done
  if [ ${#removed[@]} -gt 0 ]; then
    echo "tools/setup.sh: that would remove ${removed[*]}" >&2
    return 1
  fi
  echo "tools/setup.sh: installing at versions both architectures offer: ${pins[*]}" >&2
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
    --allow-downgrades "${missing32[@]}" "${pins[@]}"
}
# Everything else builds and runs without them; the tests of the shipped exe then say they were
# skipped, and why.
if [ ${#missing32[@]} -gt 0 ] &&
   ! DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing32[@]}" &&
   ! twins_at_shared_versions; then
  echo "tools/setup.sh: could not install ${missing32[*]}; the shipped 32-bit exe will not be tested" >&2
fi

# 32-bit programs: natively where the kernel runs them, else through qemu-i386.
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed" &&
   ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
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
