#!/bin/bash
# Keeps the dependencies of the program's folders pointing one way:
#   app -> feature folders -> board -> core -> driver and infra; ui beside infra.
# Fails, naming every offending line, when a folder includes one it must not
# or when two folders include each other (directly or around a loop).
# Usage: check-layers.sh [source root]
set -uo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root" || exit 2

features="params status motion homing zoom setup lamp probe"
program_folders="app $features board core ui infra driver"

# What each layer may include besides itself.
allowed_for() {
  case $1 in
    core)   echo "" ;;
    infra)  echo "" ;;
    driver) echo "" ;;
    ui)     echo "infra res" ;;
    board)  echo "core driver infra ui res" ;;
    app)    echo "$features board core driver infra ui res" ;;
    *)      echo "$features board core driver infra ui res" ;;   # a feature folder
  esac
}

# Windows headers have no place in core/: it builds with any compiler.
windows_headers='<(windows|win[a-z0-9]*|commctrl|commdlg|shlobj|shellapi|objbase|tchar|mmsystem|process|io|direct)\.h>'

failures=0
edges=""
fail() { echo "layering: $1"; failures=$((failures + 1)); }

for folder in $program_folders; do
  [ -d "$folder" ] || continue
  allowed=" $folder $(allowed_for "${folder%%/*}") "
  while IFS= read -r hit; do
    [ -n "$hit" ] || continue
    file=${hit%%:*}; rest=${hit#*:}; line=${rest%%:*}; text=${rest#*:}
    target=$(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^/"]+)\/.*/\1/p' <<<"$text")
    [ -n "$target" ] || continue
    # Headers beside the file (no folder) and test or tool code are not layers.
    case " $program_folders res " in *" $target "*) ;; *) continue ;; esac
    if [[ "$allowed" != *" $target "* ]]; then
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
echo "layering: folders include only the layers below them"
