#!/bin/bash
# The layering check must refuse what it exists to refuse: each case builds a
# small tree with one forbidden include and expects the check to name it.
set -uo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
check=$repo/tools/check-layers.sh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0

# expect <pass|fail> <case> <file>=<include line>...: a fresh tree with a
# sound base plus the given lines, and the check's verdict on it.
expect() {
  local want=$1 name=$2; shift 2
  local dir=$tmp/$name
  mkdir -p "$dir"/{core,board,ui,infra,app,params,status,driver,cmake}
  cp "$repo/cmake/layers.txt" "$dir/cmake/"
  echo '#include "core/a.h"' > "$dir/board/b.h"
  echo '#include "infra/i.h"' > "$dir/ui/u.h"
  echo '#include "board/b.h"' > "$dir/params/p.h"
  echo '#include "params/p.h"' > "$dir/app/m.h"
  : > "$dir/core/a.h"; : > "$dir/infra/i.h"
  local pair
  for pair in "$@"; do
    mkdir -p "$(dirname "$dir/${pair%%=*}")"
    echo "${pair#*=}" >> "$dir/${pair%%=*}"
  done
  local out; out=$("$check" "$dir" 2>&1); local rc=$?
  if { [ "$want" = pass ] && [ $rc -ne 0 ]; } || { [ "$want" = fail ] && [ $rc -eq 0 ]; }; then
    echo "FAILED: $name: expected the check to $want, it said:"; echo "$out"; failed=1
  else
    echo "ok: $name: $(tail -n 1 <<<"$out")"
  fi
}

expect pass sound_tree 'core/a.h=#include <cstdint>'
expect fail core_includes_windows 'core/a.h=#include <windows.h>'
expect fail core_includes_driver 'core/a.h=#include "driver/axb400.h"'
expect fail core_includes_board 'core/a.h=#include "board/b.h"'
expect fail board_includes_feature 'board/b.h=#include "params/p.h"'
expect fail board_includes_app 'board/b.h=#include "app/m.h"'
expect fail ui_includes_feature 'ui/u.h=#include "status/s.h"'
expect fail feature_includes_app 'params/p.h=#include "app/m.h"'
expect fail features_in_a_loop 'status/s.h=#include "params/p.h"' 'params/p.h=#include "status/s.h"'
expect pass feature_uses_feature 'status/s.h=#include "params/p.h"'
expect fail unplaced_folder 'newthing/n.h=#include "board/b.h"'
expect fail unplaced_folder_deep 'newthing/sub/n.cpp=#include "core/a.h"'
exit $failed
