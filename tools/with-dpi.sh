#!/usr/bin/env bash
# Runs a Windows program under Wine (tools/wine-run.sh) with the screen at the given DPI, Wine's
# LogPixels, and sets 96 again afterwards, whatever the program's outcome.
#   tools/with-dpi.sh DPI PROGRAM [ARGS...]
here=$(cd "$(dirname "$0")/.." && pwd)
dpi=$1; shift
set_dpi() {
  local key
  for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
    "$here/tools/wine-run.sh" reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 </dev/null
  done
}
set_dpi "$dpi"
trap 'set_dpi 96' EXIT
"$here/tools/wine-run.sh" "$@"
