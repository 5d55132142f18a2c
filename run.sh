#!/usr/bin/env bash
# Builds what is missing and runs the main job: lists the files through kavlo, and opens them
# in kavlodex.exe under Wine when a display is there. Without files: the two bundled samples.
#   ./run.sh [FILE1 [FILE2]]
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup-env.sh
install_missing
[ -x build/bin/kavlo ] || build_native >/dev/null
[ -f build/win/kavlodex.exe ] || build_windows >/dev/null
cmake --build build/native >/dev/null
cmake --build build/mingw >/dev/null

files=("$@")
[ ${#files[@]} -eq 0 ] && files=(samples/sample1.fob samples/sample2.fob)
for f in "${files[@]}"; do
  echo "== $f"
  build/bin/kavlo list "$f" || true
done

if [ -n "${DISPLAY:-}" ]; then
  prepare_wine
  winfiles=()
  for f in "${files[@]}"; do winfiles+=("$(tools/wine-run.sh winepath -w "$(realpath "$f")" 2>/dev/null)"); done
  echo "== opening kavlodex.exe on display $DISPLAY"
  tools/wine-run.sh build/win/kavlodex.exe "${winfiles[@]}"
else
  echo "(no display: set DISPLAY, or use tools/screenshot.sh, to see the window)"
fi
