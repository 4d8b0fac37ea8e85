#!/bin/bash
# Installs a 64-bit installer silently under Wine with its training copy,
# starts the installed training copy on its simulated board and sees its
# main window, checks that no AXB400.dll lies beside the installed program,
# uninstalls silently and finds the folder, the Start-menu entries and the
# uninstaller's registration gone; then checks the portable zip's contents.
#   tools/package-test.sh <setup.exe> <portable.zip> [Wine prefix to copy]
#   UICLICK   the uiclick.exe that answers the windows (build/bin/uiclick.exe)
# The installation goes into a fresh prefix (a copy of the one given, which
# saves the minute a new one takes).
set -euo pipefail
setup=$(realpath "$1")
zip=$(realpath "$2")
base=${3:-}
cd "$(dirname "$0")/.."
uiclick=$(realpath "${UICLICK:-build/bin/uiclick.exe}")
work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all KRV_SETTINGS="$work"
finish() {
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT
fail() { echo "package test of $(basename "$setup"): $*" >&2; exit 1; }
within_20s() { for _ in $(seq 100); do "$@" && return 0; sleep 0.2; done; return 1; }

if [ -n "$base" ] && [ -f "$base/system.reg" ]; then
  cp -a "$base" "$WINEPREFIX"
fi
tools/wine-prefix.sh "$WINEPREFIX" null

folder="$WINEPREFIX/drive_c/Program Files/stagetune"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/stagetune"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\stagetune'
# The 64-bit view: plain "wine reg" may be the 32-bit reg.exe.
registered() { wine reg query "$key" /v UninstallString /reg:64 >/dev/null 2>&1; }

wine "$setup" /S /TRAINING || fail "the silent install failed"
for f in stagetune.exe logview.exe uninstall.exe training/stagetune.exe training/AXB400.dll; do
  [ -f "$folder/$f" ] || fail "no $f in $folder"
done
[ ! -e "$folder/AXB400.dll" ] || fail "a simulated AXB400.dll lies beside the installed program"
for entry in stagetune 'Tavrosen Log' 'stagetune (simulated board)'; do
  [ -f "$menu/$entry.lnk" ] || fail "no Start-menu entry \"$entry\""
done
registered || fail "the uninstaller is not registered"

# The training copy, as its Start-menu entry starts it; its board is new, so
# its "Flash error" prompt restores the defaults.
wine "C:\\Program Files\\stagetune\\training\\stagetune.exe" >/dev/null 2>&1 &
program=$!
click() { wine "$uiclick" "$@" >/dev/null 2>&1; }
main_up() { click 'Flash error' 1 || true; click 'stagetune:4.0.0 2021 August 12' 1100; }
within_20s main_up || fail "the training copy shows no main window"
click 'stagetune:4.0.0 2021 August 12' 1
within_20s bash -c "! kill -0 $program 2>/dev/null" || fail "the training copy did not end on Exit"

# The uninstaller runs from a copy of itself in the temporary folder and
# returns at once: its work is awaited.
wine "C:\\Program Files\\stagetune\\uninstall.exe" /S || fail "the silent uninstall failed"
gone() { [ ! -e "$folder" ] && [ ! -e "$menu" ] && ! registered; }
within_20s gone || fail "after uninstalling: $(ls -A "$folder" "$menu" 2>&1 | tr '\n' ' ')"

mkdir "$work/zip"
unzip -q "$zip" -d "$work/zip"
listed=$(cd "$work/zip"/* && ls | sort | tr '\n' ' ')
[ "$listed" = "README.txt logview.exe stagetune.exe " ] || fail "$(basename "$zip") holds: $listed"
echo "package test: $(basename "$setup") installed, its training copy started, uninstalled; $(basename "$zip") holds $listed"
