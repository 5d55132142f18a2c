#!/usr/bin/env bash
# Regenerates src/platform/code_page_tables.cpp from Windows' own conversions, under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
x86_64-w64-mingw32-g++-posix -O1 -static -o "$tmp/gen_codepages.exe" tools/gen_codepages.cpp
tools/wine-run.sh "$tmp/gen_codepages.exe" | tr -d '\r' > src/platform/code_page_tables.cpp
echo "wrote src/platform/code_page_tables.cpp"
