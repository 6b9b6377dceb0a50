#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Plover needs.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  cmake ninja-build make g++ clang-format python3
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  wine wine32:i386 wine64
  xvfb xauth x11-utils imagemagick
  fonts-wqy-microhei fonts-wine
  googletest
)

need=()
for p in "${packages[@]}"; do
  name=${p%%:*}
  arch=${p#*:}
  [ "$arch" = "$p" ] && arch=""
  if [ -n "$arch" ]; then
    status=$(dpkg-query -W -f='${Status}' "$name:$arch" 2>/dev/null || true)
  else
    status=$(dpkg-query -W -f='${Status}' "$name" 2>/dev/null || true)
  fi
  case "$status" in *"install ok installed"*) ;; *) need+=("$p") ;; esac
done

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
# A mirror caught mid-sync fails one index; the install below still finds
# what it needs in the others and fails by itself if it does not.
$SUDO apt-get update -q || echo "setup.sh: some package lists could not be updated; going on" >&2
if ! $SUDO apt-get install -y -q --no-install-recommends "${need[@]}"; then
  # wine32 is the one package whose 32-bit libraries must match the 64-bit
  # ones to the version, which a half-synced mirror can break. Without it the
  # Windows tests run on the 64-bit build under wine64 (scripts/test.sh).
  rest=()
  for p in "${need[@]}"; do [ "$p" = wine32:i386 ] || rest+=("$p"); done
  [ ${#rest[@]} -eq ${#need[@]} ] && exit 1
  $SUDO apt-get install -y -q --no-install-recommends "${rest[@]}"
  echo "setup.sh: wine32 could not be installed; the Windows tests will use wine64" >&2
fi
