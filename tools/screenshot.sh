#!/usr/bin/env bash
# Starts Kavlodex under Wine on a virtual display and saves a PNG of its window.
#   tools/screenshot.sh [FILE1 [FILE2]] [-- OPTIONS]
# Options: --out FILE.png (default build/screenshot.png), --mode equal|different|added|deleted
# (clicks that toolbar button, and OK in the comparison dialog), --small (small buttons),
# --dialog settings|about|compare (opens it from its toolbar button, with small buttons, and
# saves the dialog instead), --page N (the settings dialog's page, 0 to 2), --dpi N (the
# screen's DPI, 96 by default; 144 is 150 %), --diff (builds the Different list, opens the first
# row's "Object Differences" window by Enter, steps to its first change with F8 and saves that
# window instead; without files, on a pair made from sample1.txt), --merge dialog|window (Ctrl+Shift+M
# on three exports made from the samples as README's upgrade example makes them, the dialog
# filled by keyboard; saves the dialog, or presses Enter and saves the "Merge" window),
# --merge-object TYPE ID (opens the merge window of that object of three files, ORIGINAL
# MODIFIED TARGET, with build/win/merge_object_view.exe and saves it; without files, Table 23
# of three made from sample1.txt).
set -euo pipefail
cd "$(dirname "$0")/.."
files=() out=build/screenshot.png mode="" small=0 dialog="" page=0 dpi=96 diff=0 merge="" mobj=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do files+=("$1"); shift; done
[ "${1:-}" = "--" ] && shift
while [ $# -gt 0 ]; do
  case "$1" in
    --out) out=$2; shift 2;;
    --mode) mode=$2; shift 2;;
    --small) small=1; shift;;
    --dialog) dialog=$2; small=1; shift 2;;
    --page) page=$2; shift 2;;
    --dpi) dpi=$2; shift 2;;
    --diff) diff=1 mode=different; shift;;
    --merge-object) mobj=("$2" "$3"); shift 3;;
    --merge) merge=$2; small=1; shift 2;;
    *) echo "unknown option $1" >&2; exit 2;;
  esac
done
if [ $diff = 1 ] && [ ${#files[@]} -eq 0 ]; then
  # A pair made from the first sample's text export: Table 18 dated anew (so that it is listed as
  # Different), one line changed, one removed and one added.
  mkdir -p build
  cp samples/sample1.txt build/diff-1.txt
  sed -e '1,21{s/Date=22-01-04/Date=05-03-24/;s/;Code20 /;Code30 /;/IF "No." <> xRec/d}' \
      -e '1,21s/^    BEGIN\r$/&\n      CheckCreditLimit(Rec);\r/' samples/sample1.txt > build/diff-2.txt
  files=(build/diff-1.txt build/diff-2.txt)
fi
if [ ${#mobj[@]} -gt 0 ] && [ ${#files[@]} -eq 0 ]; then
  # Table 23 Vendor: both sides change the first field's type (a conflict), MODIFIED adds a code
  # line and its own version tag, TARGET a documentation line and newer versions.
  mkdir -p build
  cp samples/sample1.txt build/merge-original.txt
  sed -e '22,41{s/;Code20 /;Code30 /;s/Date=09-06-17/Date=05-03-24/;s/NAVDK11.00;/NAVDK11.00,CUST1.00;/}' \
      -e '34s/^.*\r$/&\n                   TESTFIELD(Blocked,FALSE);\r/' samples/sample1.txt > build/merge-modified.txt
  sed -e '22,41{s/;Code20 /;Code50 /;s/NAVW111.00,NAVDK11.00;/NAVW111.10,NAVDK11.10;/;s/^    BEGIN\r$/&\n      Vendor numbers of 50 characters.\r/}' \
      samples/sample1.txt > build/merge-target.txt
  files=(build/merge-original.txt build/merge-modified.txt build/merge-target.txt)
  mobj=(1 23)
fi
[ ${#files[@]} -eq 0 ] && files=(samples/sample1.fob samples/sample2.fob)
. tools/setup-env.sh
install_missing xdotool imagemagick
[ -f build/win/kavlodex.exe ] || { echo "build the Windows program first (./test.sh or ./run.sh)" >&2; exit 1; }

n=$(for i in $(seq 130 160); do [ -e /tmp/.X11-unix/X$i ] || { echo $i; break; }; done)
# Design pixels at this DPI, and the screen grown with it.
px() { echo $(( ($1 * dpi + 48) / 96 )); }
Xvfb ":$n" -screen 0 "$(px 1024)x$(px 700)x24" -nolisten tcp >/dev/null 2>&1 &
xpid=$!
trap 'kill $xpid 2>/dev/null; [ -n "${wpid:-}" ] && kill $wpid 2>/dev/null; stop_display; set_dpi 96; true' EXIT
export DISPLAY=":$n"
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
start_window_manager "$DISPLAY"
export WINEPREFIX="$PWD/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
set_dpi() {
  local key
  for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  done
}
[ "$dpi" != 96 ] && set_dpi "$dpi"
# A stored small-button setting, for pictures of the small toolbar.
if [ $small = 1 ]; then
  wine reg add 'HKCU\Software\Brenvik\Kavlo' /v ToolButtonSize /t REG_DWORD /d 0 /f >/dev/null 2>&1
fi
# The first window whose name matches $1, once it has come (at most 20 s); empty when it has not.
wait_window() {
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --name "$1" 2>/dev/null | head -1) && [ -n "$id" ] && break
    sleep 0.2
  done
  echo "$id"
}
winfiles=()
for f in "${files[@]}"; do winfiles+=("$(wine winepath -w "$(realpath "$f")" 2>/dev/null)"); done
if [ ${#mobj[@]} -gt 0 ]; then
  [ -f build/win/merge_object_view.exe ] || { echo "build merge_object_view first (build_windows)" >&2; exit 1; }
  wine build/win/merge_object_view.exe "${winfiles[@]}" "${mobj[@]}" &
  wpid=$!
  wid=$(wait_window '^Merge - ')
  [ -n "$wid" ] || { import -window root /tmp/screen-debug.png; echo "the merge window did not appear" >&2; exit 1; }
  sleep 2  # at the size it opens with: the default, within the work area
  xdotool mousemove "$(px 1010)" "$(px 690)"; sleep 1
  import -window "$wid" "$out"
  echo "saved $out"
  exit 0
fi
wine build/win/kavlodex.exe "${winfiles[@]}" &
wpid=$!
wid=$(wait_window "Ostra's Kavlodex")
[ -n "$wid" ] || { echo "the window did not appear" >&2; exit 1; }
sleep 2
# A toolbar button is its image and 7 pixels wide; the images are 16 or 32 pixels at 96 DPI
# (24 and 48 at 144).
img() { local want; want=$(px "$1"); for s in 16 24 32 48; do [ $(( s - want )) -ge -4 ] && { echo $s; return; }; done; echo 48; }
if [ -n "$mode" ]; then
  # The comparison buttons follow 15 buttons and two separators (8 pixels).
  case "$mode" in equal) k=0;; different) k=1;; added) k=3;; deleted) k=4;; *) echo "bad mode" >&2; exit 2;; esac
  w=$(( $(img 32) + $(px 7) )); [ $small = 1 ] && w=$(( $(img 16) + $(px 7) ))
  x=$(( w * (15 + k) + $(px 8) * 3 + w / 2 )); y=$(( w / 2 ))
  xdotool mousemove --window "$wid" $x $y click 1
  sleep 2
  if [ "$mode" = equal ] || [ "$mode" = different ]; then
    dlg=$(xdotool search --name '^Compare$' 2>/dev/null | head -1 || true)
    if [ -n "$dlg" ]; then xdotool windowfocus "$dlg" 2>/dev/null || true; fi; sleep 0.5
    xdotool key --window "${dlg:-$wid}" Return; sleep 2
  fi
fi
if [ -n "$dialog" ]; then
  # Settings and About are the last two small buttons, after seven separators (6 pixels); the
  # comparison dialog comes from the Different button (after 15 buttons and two 8-pixel
  # separators), as --mode different finds it.
  case "$dialog" in settings) b=28 caption='^Settings$';; about) b=29 caption='^About ';;
    compare) b=0 caption='^Compare$';; *) echo "bad dialog" >&2; exit 2;; esac
  w=$(( $(img 16) + $(px 7) ))
  x=$(( b * w + (b - 20) * $(px 6) + w / 2 )); [ "$dialog" = compare ] && x=$(( w * 16 + $(px 8) * 3 + w / 2 ))
  xdotool mousemove --window "$wid" $x $(( w / 2 )) click 1
  sleep 2
  wid=$(xdotool search --name "$caption" 2>/dev/null | head -1 || true)
  [ -n "$wid" ] || { import -window root /tmp/screen-debug.png; echo "the dialog did not appear" >&2; exit 1; }
  # The page's tab: Startup, Updates and Object Marking from the left.
  [ "$page" -gt 0 ] && xdotool mousemove --window "$wid" "$(px $(( page == 1 ? 90 : 160 )))" "$(px 18)" click 1 && sleep 1
fi
if [ $diff = 1 ]; then
  xdotool key --window "$wid" Return; sleep 2
  wid=$(xdotool search --name '^Object Differences' 2>/dev/null | head -1 || true)
  [ -n "$wid" ] || { import -window root /tmp/screen-debug.png; echo "the diff window did not appear" >&2; exit 1; }
  xdotool windowsize "$wid" "$(px 860)" "$(px 420)"; sleep 1
  xdotool key --window "$wid" F8; sleep 1
fi
if [ -n "$merge" ]; then
  mkdir -p build
  cp samples/sample1.txt build/merge-original.txt
  cp samples/sample2.txt build/merge-target.txt
  sed 's/^    BEGIN\r$/    BEGIN\r\n      #CUST1 our change;\r/' samples/sample1.txt > build/merge-modified.txt
  rm -f build/merge-result.txt
  # Its button is the 28th small one, after seven separators (6 pixels).
  w=$(( $(img 16) + $(px 7) ))
  xdotool mousemove --window "$wid" $(( 27 * w + 7 * $(px 6) + w / 2 )) $(( w / 2 )) click 1; sleep 2
  wid=$(xdotool search --name '^Three-Way Merge$' 2>/dev/null | head -1 || true)
  [ -n "$wid" ] || { import -window root /tmp/screen-debug.png; echo "the merge dialog did not appear" >&2; exit 1; }
  for row in o:original m:modified t:target r:result; do
    xdotool key --window "$wid" "alt+${row%%:*}"; sleep 0.3
    xdotool type --window "$wid" "$(wine winepath -w "$PWD/build/merge-${row#*:}.txt" 2>/dev/null)"; sleep 0.3
  done
  if [ "$merge" = window ]; then
    xdotool key --window "$wid" Return; sleep 3
    wid=$(xdotool search --name '^Merge - ' 2>/dev/null | head -1 || true)
    [ -n "$wid" ] || { import -window root /tmp/screen-debug.png; echo "the Merge window did not appear" >&2; exit 1; }
  fi
fi
xdotool mousemove "$(px 1010)" "$(px 690)"; sleep 1  # no hint over the picture
import -window "$wid" "$out"
echo "saved $out"
[ $small = 1 ] && wine reg delete 'HKCU\Software\Brenvik\Kavlo' /v ToolButtonSize /f >/dev/null 2>&1 || true
