#!/usr/bin/env bash
# The hourglass as the user sees it on the X display: Kavlodex loads a large text export given on
# its command line while the pointer rests over its window, never moved. The pointer the X
# server shows must become something other than the desktop's cursor or no cursor at all (which
# is all that showed while the program only set the cursor of its own thread).
#   tests/win/hourglass_shows.sh KAVLODEX.EXE
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
exe=$1
work=$(mktemp -d)
trap 'kill ${app:-} ${probe:-} 2>/dev/null; rm -rf "$work"' EXIT
gcc -O2 -o "$work/probe" "$here/tools/x_cursor_probe.c" -lX11 -lXfixes || exit 1
# About 60 MB: the sample text export, doubled twelve times.
cp "$here/samples/sample1.txt" "$work/big.txt"
for _ in $(seq 12); do cat "$work/big.txt" "$work/big.txt" > "$work/twice.txt" && mv "$work/twice.txt" "$work/big.txt"; done
# The window opens in the middle of the screen; the pointer waits there.
xdotool mousemove 640 512
"$work/probe" 600 > "$work/cursors.txt" &
probe=$!
sleep 0.3
"$here/tools/wine-run.sh" "$exe" "Z:${work//\//\\}\\big.txt" &
app=$!
wait $probe
first=$(head -1 "$work/cursors.txt")
shown=$(grep -v -x -e "$first" -e "1x1 .*" "$work/cursors.txt" | head -1)
if [ -z "$shown" ]; then
  echo "no hourglass: the pointer showed only these:"; sort -u "$work/cursors.txt"
  exit 1
fi
echo "the pointer changed to $shown while the file loaded"
