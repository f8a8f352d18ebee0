#!/usr/bin/env bash
# Checks that includes only go down the layers of src/: a folder may include
# its own files and those of folders of a lower rank, never one beside or
# above it. Prints every include that breaks this and fails if there is one.
set -euo pipefail
cd "$(dirname "$0")/../src"
declare -A rank=(
  [platform]=0
  [data]=1 [history]=1 [platform/qt]=1 [ui]=2
  [practice]=2 [lookup]=2
  [drills]=3 [textpractice]=3
  [kinds]=4 [path]=3
  [lookup/windows]=5 [textpractice/windows]=5 [history/windows]=5 [path/windows]=5
  [practice/windows]=6
  [app]=7
)
folder_of() {  # src-relative path -> its layer folder
  local dir=${1%/*}
  [[ -n ${rank[$dir]+x} ]] && { echo "$dir"; return; }
  echo "${dir%%/*}"
}
bad=0
while IFS= read -r file; do
  from=$(folder_of "$file")
  [[ -n ${rank[$from]+x} ]] || { echo "unknown layer: $file"; bad=1; continue; }
  while IFS= read -r target; do
    to=$(folder_of "$target")
    [[ $to == "$from" ]] && continue
    if [[ -z ${rank[$to]+x} || ${rank[$to]} -ge ${rank[$from]} ]]; then
      echo "$file includes $target ($from may not use $to)"
      bad=1
    fi
  done < <(sed -n 's/^#include "\([a-z]*\/[^"]*\)".*/\1/p' "$file")
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's#^\./##' | sort)
exit $bad
