#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's own prefix, with a display: the one that is
# set, or the Xvfb that test.sh started (build/xvfb-display names it).
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ -z "${DISPLAY:-}" ] && [ -f "$here/build/xvfb-display" ]; then
  export DISPLAY="$(cat "$here/build/xvfb-display")"
fi
exec wine "$@"
