#!/bin/bash
# Keeps the dependencies of the program's folders pointing one way, as
# cmake/layers.txt places them:
#   app -> feature folders -> board -> ui -> core, infra, driver (and res).
# Fails, naming every offending line, when a folder includes one it must not,
# when folders include each other (directly or around a loop), or when a
# folder of the tree that holds C++ sources is placed in no layer.
# Usage: check-layers.sh [source root]
set -uo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root" || exit 2

failures=0
edges=""
fail() { echo "layering: $1"; failures=$((failures + 1)); }

if [ ! -f cmake/layers.txt ]; then
  echo "layering: cmake/layers.txt is missing"
  exit 1
fi
declare -A layer_of rank_of
rank=0
while read -r layer folders; do
  [[ -z "$layer" || "$layer" == \#* ]] && continue
  for folder in $folders; do
    layer_of[$folder]=$layer
    rank_of[$folder]=$rank
  done
  rank=$((rank + 1))
done < cmake/layers.txt

# Whether a file of folder may include a header of target.
may_include() {
  local folder=$1 target=$2
  [ "$folder" = "$target" ] && return 0
  [ -z "${layer_of[$target]:-}" ] && return 1
  [ "${layer_of[$target]}" = outside ] && return 1
  case ${layer_of[$folder]} in
    base|resources) return 1 ;;
    feature) [ "${layer_of[$target]}" = feature ] && return 0 ;;
  esac
  [ "${rank_of[$target]}" -lt "${rank_of[$folder]}" ]
}

# Windows headers have no place in core/: it builds with any compiler.
windows_headers='<(windows|win[a-z0-9]*|commctrl|commdlg|shlobj|shellapi|objbase|tchar|mmsystem|process|io|direct)\.h>'

# The top folders that hold sources: in a work tree those git does not
# ignore (build folders hold generated ones), committed or not.
source_folders() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' '*.rc' | sed -n 's|/.*||p' | sort -u
  else
    find . -mindepth 2 \( -name '*.cpp' -o -name '*.h' -o -name '*.rc' \) | sed 's|^\./||; s|/.*||' | sort -u
  fi
}

program_folders=()
for folder in $(source_folders); do
  if [ -z "${layer_of[$folder]:-}" ]; then
    fail "$folder/ holds sources but is placed in no layer of cmake/layers.txt"
    continue
  fi
  [ "${layer_of[$folder]}" = outside ] || program_folders+=("$folder")
done

for folder in "${program_folders[@]}"; do
  while IFS= read -r hit; do
    [ -n "$hit" ] || continue
    file=${hit%%:*}; rest=${hit#*:}; line=${rest%%:*}; text=${rest#*:}
    target=$(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^/"]+)\/.*/\1/p' <<<"$text")
    # Headers beside the file (no folder) are the folder's own.
    [ -n "$target" ] || continue
    if ! may_include "$folder" "$target"; then
      fail "$file:$line: $folder/ must not include $target/ ($text)"
    fi
    [ "$target" != "$folder" ] && edges+="$folder $target"$'\n'
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' --include='*.h' --include='*.cpp' "$folder")
done

if [ -d core ]; then
  while IFS= read -r hit; do
    [ -n "$hit" ] && fail "$hit: core/ must stay free of Windows headers"
  done < <(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*$windows_headers" --include='*.h' --include='*.cpp' core)
fi

# A loop between folders, however long, shows as a cycle of the folder graph.
if [ -n "$edges" ]; then
  loop=$(sort -u <<<"$edges" | tsort 2>&1 >/dev/null)
  loop=$(sed -e '/input contains a loop/d' -e 's/^tsort: //' <<<"$loop" | tr '\n' ' ')
  [ -n "${loop// /}" ] && fail "folders include each other: $loop"
fi

if [ "$failures" -ne 0 ]; then
  echo "layering: $failures problem(s)"
  exit 1
fi
echo "layering: every folder is placed, and includes only the layers below it"
