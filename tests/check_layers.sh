#!/usr/bin/env bash
# Checks how src/ is layered.
#   check_layers.sh SRC portable  the portable core includes no <windows.h>: only *_win.* files
#                                 and the program's start (src/app/win/) may
#   check_layers.sh SRC layers    each folder includes only from itself and the folders that its
#                                 library links, directly or through another layer
# The link graph is the one that SRC/../CMakeLists.txt declares: the kavlo_layer(NAME BELOW…)
# lines (the library kavlo_NAME of src/NAME), and the target_link_libraries of the executables
# whose sources a file(GLOB …) takes from one folder of src (kavlo from src/cli, kavlodex from
# src/app/win). A folder outside src (res/, the resource ids) may be included by the libraries
# that put the source tree itself on their public include path, and by what links them.
set -u
src=$1 mode=$2
cd "$src" || exit 1

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
  cmake_file=../CMakeLists.txt
  [ -r "$cmake_file" ] || { echo "no $cmake_file beside $src"; exit 1; }
  declare -A links=()     # target -> the targets it links directly, blank-separated
  declare -A folder_of=() # target -> its folder below src
  declare -A target_of=() # folder below src -> its target
  declare -A exposes=()   # target -> 1 when it puts the source tree on its public include path

  # kavlo_layer(NAME BELOW… [SYSTEM_LIBS …])
  while read -r name rest; do
    below=${rest%%SYSTEM_LIBS*}
    deps=""
    for b in $below; do deps+=" kavlo_$b"; done
    links[kavlo_$name]=$deps folder_of[kavlo_$name]=$name target_of[$name]=kavlo_$name
  done < <(sed -nE 's/^\s*kavlo_layer\(([^)]*)\).*/\1/p' "$cmake_file")

  # file(GLOB VAR … ${CMAKE_SOURCE_DIR}/src/FOLDER/*.cpp) and add_executable(NAME … ${VAR} …)
  declare -A glob_folder=()
  while read -r var folder; do glob_folder[$var]=$folder; done < <(
    sed -nE 's/^\s*file\(GLOB\s+(\w+)\s.*\$\{CMAKE_SOURCE_DIR\}\/src\/([A-Za-z0-9_/]+)\/\*\.cpp\).*/\1 \2/p' "$cmake_file")
  while read -r exe args; do
    for v in $args; do
      [[ $v == \$\{*\} ]] || continue
      v=${v#\$\{}; v=${v%\}}
      [ -n "${glob_folder[$v]:-}" ] || continue
      folder_of[$exe]=${glob_folder[$v]} target_of[${glob_folder[$v]}]=$exe links[$exe]=${links[$exe]:-}
    done
  done < <(sed -nE 's/^\s*add_executable\((\w+)\s+([^)]*)\).*/\1 \2/p' "$cmake_file")

  # target_link_libraries(TARGET [PRIVATE|PUBLIC|INTERFACE] kavlo_X …) of the targets above
  while read -r target rest; do
    [ -n "${folder_of[$target]:-}" ] || continue
    for d in $rest; do
      [[ $d == kavlo_* ]] && [ -n "${folder_of[$d]:-}" ] && links[$target]+=" $d"
    done
  done < <(sed -nE 's/^\s*target_link_libraries\(([^$)]*)\).*/\1/p' "$cmake_file")

  while read -r target; do exposes[$target]=1; done < <(
    sed -nE 's/^\s*target_include_directories\((\w+)\s+PUBLIC\s+\$\{CMAKE_SOURCE_DIR\}\s*\).*/\1/p' "$cmake_file")

  # The transitive closure: what each target reaches, itself included.
  declare -A reach=()
  closure() {
    local t=$1 d
    [ -n "${reach[$t]:-}" ] && return
    reach[$t]=" $t "
    for d in ${links[$t]:-}; do
      closure "$d"
      reach[$t]+="${reach[$d]} "
    done
  }
  for t in "${!links[@]}"; do closure "$t"; done
  [ "${#links[@]}" -gt 0 ] || { echo "no layers found in $cmake_file"; exit 1; }

  # owner PATH sets `found` to the target of the folder PATH stands in: its own folder's, or
  # its first folder's (empty when neither is a target's). No subshell: it runs per include.
  owner() {
    local dir=${1#./}
    dir=${dir%/*}
    found=${target_of[$dir]:-${target_of[${dir%%/*}]:-}}
  }

  fail=0 checked=0
  while IFS= read -r dir; do
    dir=${dir#./}
    owner "./$dir/x"
    [ -n "$found" ] || { echo "src/$dir is in no layer"; fail=1; }
  done < <(find . -mindepth 1 -maxdepth 1 -type d | sort)
  # Every quoted include of every source file, as FILE<tab>INCLUDE, read in one pass.
  while IFS=$'\t' read -r file inc; do
    owner "$file"
    own=$found
    [ -n "$own" ] || continue
    checked=$((checked + 1))
    first=${inc%%/*}
    if [ "$first" = "$inc" ]; then
      echo "$file includes \"$inc\": not in a layer"; fail=1; continue
    fi
    if [ -d "$first" ]; then
      owner "./$inc"
      wanted=$found
      [ -n "$wanted" ] || { echo "$file includes \"$inc\": not in a layer"; fail=1; continue; }
      [[ ${reach[$own]:-} == *" $wanted "* ]] && continue
      echo "$file includes \"$inc\": $own does not link $wanted"; fail=1
    elif [ -d "../$first" ]; then  # a folder of the source tree outside src
      ok=0
      for t in ${reach[$own]:-}; do [ -n "${exposes[$t]:-}" ] && ok=1; done
      [ "$ok" -eq 1 ] && continue
      echo "$file includes \"$inc\": $own does not link a library that offers $first/"; fail=1
    else
      echo "$file includes \"$inc\": not in a layer"; fail=1
    fi
  done < <(find . \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z | xargs -0 awk '
             /^[ \t]*#[ \t]*include[ \t]*"/ { split($0, q, "\""); print FILENAME "\t" q[2] }')
  [ "$fail" -eq 0 ] || exit 1
  graph=""
  for t in $(printf '%s\n' "${!links[@]}" | sort); do
    deps=""
    for d in ${links[$t]}; do deps+="${deps:+,}${folder_of[$d]}"; done
    graph+=" ${folder_of[$t]}:${deps:--}"
  done
  echo "layers hold: $checked includes checked, each from a folder its library links ($graph )"
  ;;
*) echo "usage: $0 SRC portable|layers" >&2; exit 2 ;;
esac
