#!/bin/sh
# Runs a Windows program under Wine with the build folder's own prefix.
# The prefix is found from the program's location: <build>/bin/prog.exe.
# A WINEPREFIX of the user's is not used: its wineserver, display driver and
# COM ports are not the ones the build prepared.
prog="$1"; shift
bindir=$(cd "$(dirname "$prog")" && pwd)
build=$(dirname "$bindir")
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine "$prog" "$@"
