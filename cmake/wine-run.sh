#!/bin/sh
# Runs a Windows program under Wine with the build folder's own prefix.
# The prefix is found from the program's location: <build>/bin/prog.exe.
prog="$1"; shift
bindir=$(cd "$(dirname "$prog")" && pwd)
build=$(dirname "$bindir")
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$prog" "$@"
