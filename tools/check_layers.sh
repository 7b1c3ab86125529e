#!/usr/bin/env bash
# Checks that every #include "..." under src/ points down the layers: a file
# may include a file of its own folder or of a folder in a lower layer, never
# one of the same layer or above. Also fails on any pair (or longer loop) of
# folders or files that include each other (a header and its source file
# count as one). HACKING.md draws the layers.
#
# Usage: tools/check_layers.sh [source-root]   (default: src/ beside tools/)
set -u
src="${1:-$(cd "$(dirname "$0")/.." && pwd)/src}"

# Lowest first; folders on one line are peers and must not include each other.
layers=(
  "formats sound"
  "platform"
  "state"
  "render"
  "core world entities hud"
  "view"
  "game"
)

declare -A level
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do level[$folder]=$i; done
done

failures=0
fail() { echo "layers: $*"; failures=$((failures + 1)); }

edges=0
file_pairs=$(mktemp)
folder_pairs=$(mktemp)
trap 'rm -f "$file_pairs" "$folder_pairs"' EXIT

while IFS= read -r file; do
  rel="${file#"$src"/}"
  from="${rel%%/*}"
  if [ -z "${level[$from]+set}" ]; then
    fail "$rel: folder '$from' has no layer"
    continue
  fi
  while IFS= read -r target; do
    [ -n "$target" ] || continue
    to="${target%%/*}"
    edges=$((edges + 1))
    # A header and its source file are one unit for the loop test.
    [ "${rel%.*}" = "${target%.*}" ] || echo "${rel%.*} ${target%.*}" >>"$file_pairs"
    [ "$from" = "$to" ] && continue
    echo "$from $to" >>"$folder_pairs"
    if [ -z "${level[$to]+set}" ]; then
      fail "$rel includes $target: folder '$to' has no layer"
    elif [ "${level[$to]}" -ge "${level[$from]}" ]; then
      if [ "${level[$to]}" -eq "${level[$from]}" ]; then
        fail "$rel includes $target: $from and $to are peers"
      else
        fail "$rel includes $target: $to is above $from"
      fi
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

# Loops among folders or files (tsort names the members of each loop).
for pairs in "$folder_pairs" "$file_pairs"; do
  # tsort reports each loop it breaks as a header line and then its members.
  while IFS= read -r loop; do
    [ -n "$loop" ] && fail "a loop of includes:$loop"
  done < <(tsort "$pairs" 2>&1 >/dev/null |
    awk '/input contains a loop/ { if (l != "") print l; l = ""; next }
         { sub(/^tsort: /, ""); l = l " " $0 }
         END { if (l != "") print l }' | sort -u)
done

folders=$(cut -d' ' -f1,2 "$folder_pairs" | sort -u | wc -l)
if [ "$failures" -gt 0 ]; then
  echo "layers: $failures problem(s) in $edges includes"
  exit 1
fi
echo "layers: ok ($edges includes, $folders folder-to-folder pairs, all pointing down)"
