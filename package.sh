#!/bin/bash
# Builds the Windows packages into dist/: per architecture (x64, x86) an
# installer and a portable zip, and a training zip with the simulated board:
#   dist/stagetune-<version>-<arch>-setup.exe
#   dist/stagetune-<version>-<arch>-portable.zip
#   dist/stagetune-<version>-<arch>-training.zip
# Before packing it checks both architectures' imports and gives the 32-bit
# build its smoke test under Wine; after, it installs and uninstalls the
# 64-bit packages under Wine (tools/package-test.sh).
#   BUILD_DIR, BUILD_DIR_X86   the build folders (build, build-x86)
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
version=$(sed -n 's/^set(STAGETUNE_VERSION \([0-9.]*\))$/\1/p' res/CMakeLists.txt)
build_number=$(git rev-list --count HEAD 2>/dev/null || echo 0)
dist=dist
mkdir -p "$dist"
rm -f "$dist"/stagetune-*

# The programs a package carries: the program and its log viewer; the
# training copy adds the simulated board and the stand-ins Windows can run.
program_files=(stagetune.exe logview.exe)
training_files=(stagetune.exe logview.exe AXB400.dll ObjTurret.dll Revolver_Dll.dll lumaview.exe)

build_arch() {   # <build folder> <toolchain>
  cmake -S . -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$2" -DCMAKE_BUILD_TYPE=Release \
    -DSTAGETUNE_BUILD="$build_number" >/dev/null
  ninja -C "$1" stagetune logview AXB400 ObjTurret Revolver_Dll lumaview uiclick
  tools/check-imports.sh "$1/bin/stagetune.exe"
}

# A zip whose files lie in one folder of the zip's own name.
zip_package() {   # <bin folder> <arch> <kind> <files...>
  local bin=$1 arch=$2 kind=$3
  shift 3
  local name="stagetune-$version-$arch-$kind" stage
  stage=$(mktemp -d)
  mkdir "$stage/$name"
  for f in "$@"; do cp "$bin/$f" "$stage/$name/"; done
  windows_readme "$arch" > "$stage/$name/README.txt"
  (cd "$stage" && zip -q -9 -r "$name.zip" "$name")
  mv "$stage/$name.zip" "$dist/"
  rm -rf "$stage"
}

windows_readme() {   # <arch>
  sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$1/" -e 's/$/\r/' package/README-Windows.txt
}

installer() {   # <bin folder> <arch>
  local readme
  readme=$(mktemp)
  windows_readme "$2" > "$readme"
  makensis -V2 -DARCH="$2" -DVERSION="$version" -DBUILD="$build_number" -DBIN="$(realpath "$1")" \
    -DREADME="$readme" -DICON="$PWD/res/stagetune.ico" \
    -DOUTFILE="$PWD/$dist/stagetune-$version-$2-setup.exe" package/stagetune.nsi
  rm -f "$readme"
}

x64_build=${BUILD_DIR:-build}
x86_build=${BUILD_DIR_X86:-build-x86}
build_arch "$x64_build" cmake/mingw-w64-posix.cmake
build_arch "$x86_build" cmake/mingw-w64-i686-posix.cmake
# The 32-bit build runs no test suite: a smoke test, in the 64-bit build's
# prefix when there is one (a new prefix costs a minute).
tools/smoke-test.sh "$x86_build" "$(realpath "$x64_build")/wineprefix"

for arch in x64 x86; do
  build_dir=$x64_build
  [ "$arch" = x86 ] && build_dir=$x86_build
  installer "$build_dir/bin" "$arch"
  zip_package "$build_dir/bin" "$arch" portable "${program_files[@]}"
  zip_package "$build_dir/bin" "$arch" training "${training_files[@]}"
done

UICLICK="$x64_build/bin/uiclick.exe" tools/package-test.sh "$dist/stagetune-$version-x64-setup.exe" "$dist/stagetune-$version-x64-portable.zip" \
  "$(realpath "$x64_build")/wineprefix"
ls -l "$dist"
