#!/usr/bin/env bash
# The portable core must not include <windows.h>: only *_win.* files and src/app/win/ may.
cd "$1/src" || exit 1
bad=$(grep -rlE '#\s*include\s*[<"]windows\.h[>"]' --include='*.cpp' --include='*.h' . |
      grep -vE '_win\.(cpp|h)$|^\./app/win/' || true)
if [ -n "$bad" ]; then
  echo "Win32 includes in portable files:"; echo "$bad"; exit 1
fi
n=$(grep -rlE '#\s*include\s*[<"]windows\.h[>"]' --include='*_win.cpp' . | wc -l)
echo "portable core clean; $n Win32 files"
