#!/bin/bash
# Checks what programs import, as a Windows PC will load them: AXB400.dll by
# ordinal only (any library with the maker's ordinals serves, whatever its
# names), and nothing besides but Windows' own DLLs, so that the program and
# the maker's driver are all a PC needs.
#   tools/check-imports.sh <program.exe>...
# Exits non-zero and names each offence.
set -euo pipefail
# The DLLs every Windows PC has; nothing of the compiler's run time.
system_dlls='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|advapi32|ole32|oleaut32|shlwapi|uxtheme|version|winmm|ws2_32|msvcrt)\.dll$'
status=0
for program in "$@"; do
  # The 64-bit objdump reads 32-bit programs too.
  report=$(x86_64-w64-mingw32-objdump -p "$program" | awk -v program="$program" -v known="$system_dlls" '
    /^\tDLL Name: / { dll = $3; low = tolower(dll); inside = 1; seen[low] = 1
                      if (low != "axb400.dll" && low !~ known) print program ": imports " dll; next }
    inside && /^$/ { inside = 0 }
    inside && low == "axb400.dll" && /^\t[0-9a-f]+\t/ && $NF != "<none>" {
      print program ": imports " $NF " from AXB400.dll by name" }
    END { if (!seen["axb400.dll"]) print program ": does not import AXB400.dll" }')
  if [ -n "$report" ]; then
    echo "$report" >&2
    status=1
  fi
done
exit "$status"
