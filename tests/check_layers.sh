#!/usr/bin/env bash
# Checks how src/ is layered.
#   check_layers.sh SRC portable  the portable core includes no <windows.h>: only *_win.* files
#                                 and the program's start (src/app/win/) may
#   check_layers.sh SRC layers    each folder includes only from its own layer and those below
# The layers, bottom up; cli and app are both at the top and include neither the other.
set -u
src=$1 mode=$2
cd "$src" || exit 1
layers=(base platform objfile listing output marking settings gui app cli)
rank() {  # the layer's index, or -1
  local i
  for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }; done
  echo -1
}

case $mode in
portable)
  bad=$(grep -rlE '#\s*include\s*[<"]windows\.h[>"]' --include='*.cpp' --include='*.h' . |
        grep -vE '_win\.(cpp|h)$|^\./app/win/' || true)
  if [ -n "$bad" ]; then
    echo "Win32 includes in portable files:"; echo "$bad"; exit 1
  fi
  n=$(grep -rlE '#\s*include\s*[<"]windows\.h[>"]' --include='*_win.cpp' . | wc -l)
  echo "portable core clean; $n Win32 files"
  ;;
layers)
  fail=0 checked=0
  for dir in */; do
    dir=${dir%/}
    [ "$(rank "$dir")" -ge 0 ] || { echo "src/$dir is in no layer"; fail=1; }
  done
  while IFS= read -r file; do
    layer=${file#./}; layer=${layer%%/*}
    own=$(rank "$layer")
    while IFS= read -r inc; do
      checked=$((checked + 1))
      target=${inc%%/*}
      if [ "$target" = res ]; then  # the resource ids: for the windows of the program
        [ "$layer" = app ] || [ "$layer" = gui ] && continue
        echo "$file includes \"$inc\": resources belong to app"; fail=1; continue
      fi
      other=$(rank "$target")
      if [ "$other" -lt 0 ]; then
        echo "$file includes \"$inc\": not in a layer"; fail=1
      elif [ "$target" != "$layer" ] && [ "$other" -ge "$own" ]; then
        echo "$file includes \"$inc\": $target is not below $layer"; fail=1
      fi
    done < <(sed -nE 's/^\s*#\s*include\s*"([^"]+)".*/\1/p' "$file")
  done < <(find . -name '*.cpp' -o -name '*.h' | sort)
  [ "$fail" -eq 0 ] || exit 1
  echo "layers hold: $checked includes checked, each from its own layer or one below (${layers[*]})"
  ;;
*) echo "usage: $0 SRC portable|layers" >&2; exit 2 ;;
esac
