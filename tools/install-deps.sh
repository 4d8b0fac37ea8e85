#!/bin/bash
# Installs the Debian packages the build, the tests and the run script need,
# only when something is missing.
set -euo pipefail
packages=(cmake ninja-build googletest g++ clang libclang-rt-14-dev
          g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
          binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
          wine wine64 fonts-wine socat xvfb xdotool x11-utils imagemagick python3
          # The 32-bit build, its smoke test under Wine, and the packages.
          g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
          wine32:i386 nsis zip unzip
          # zlib for the service report's zip, linked statically.
          libz-mingw-w64-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=; [ "$(id -u)" -ne 0 ] && SUDO=sudo
# wine32 comes from the i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
