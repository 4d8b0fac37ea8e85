#!/bin/bash
# Sets where the simulated machine's lamps hang: on the serial lamp box
# ("box") or on the board's lamp outputs ("board"). That is the "Lamp RS232"
# flag of the program's record in the board's flash: item 1096, bit 1, which
# lies in the low byte of flash word 39 (the record starts at word 15, one
# byte per item number from 1000 on).
#   tools/sim-lamp-flag.sh <board state file> box|board
# The state file is the simulated board's (AXBSIM_STATE); it must exist,
# that is, the program has stored its record on that board once.
set -euo pipefail
state=$1
mode=$2
line=$(grep -m1 '^W039=' "$state" | tr -d '\r') || { echo "$0: $state holds no flash word 39" >&2; exit 1; }
word=$((16#${line#W039=}))
case $mode in
  box) word=$((word | 2)) ;;
  board) word=$((word & ~2)) ;;
  *) echo "usage: $0 <board state file> box|board" >&2; exit 2 ;;
esac
sed -i "s/^W039=[0-9A-F]\{8\}/W039=$(printf %08X "$word")/" "$state"
