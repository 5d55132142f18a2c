#!/usr/bin/env bash
# Builds the release and writes it into dist/:
#   Kavlodex-VERSION-win64.zip          kavlodex.exe, kavlo.exe, README.txt, LICENSE.txt, samples\
#   kavlo-VERSION-linux-x86_64.tar.gz   a static kavlo, its man page, README.md, LICENSE
#   kavlo_VERSION_amd64.deb             /usr/bin/kavlo and /usr/share/man/man1/kavlo.1.gz
#   SHA256SUMS                          of those three
# VERSION is project(kavlodex VERSION …) in CMakeLists.txt.
#
#   ./release.sh [--from-test-builds] [--out DIR]
#
# The Windows programs come from a Release tree of their own (build/release-win), or with
# --from-test-builds from the test run's Windows tree (build/mingw, a Release build of the same
# static programs, in build/win), which saves compiling them twice. The Linux kavlo always comes
# from build/release-linux, a Release tree that builds only kavlo and its man page.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD
from_test=0 out=$root/dist
while [ $# -gt 0 ]; do
  case "$1" in
    --from-test-builds) from_test=1; shift;;
    --out) out=$(realpath -m "$2"); shift 2;;
    -h|--help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0;;
    *) echo "release.sh: unknown option $1" >&2; exit 2;;
  esac
done

. tools/setup-env.sh
install_missing
version=$(sed -nE 's/^project\(kavlodex VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "release.sh: no version in CMakeLists.txt" >&2; exit 1; }
# The release date in the programs' version data: the day of the last commit, so that the same
# commit gives the same release.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && git rev-parse --git-dir >/dev/null 2>&1; then
  export SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
fi
stamp=${SOURCE_DATE_EPOCH:-$(date +%s)}

# The Windows programs.
if [ $from_test = 1 ]; then
  win_bin=$root/build/win
  grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' build/mingw/CMakeCache.txt 2>/dev/null ||
    { echo "release.sh: build/mingw is not a Release tree (run build_windows first)" >&2; exit 1; }
else
  win_bin=$root/build/release-win/bin
  echo "== Windows Release build (build/release-win)"
  cmake -S . -B build/release-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake \
        -DCMAKE_BUILD_TYPE=Release -DKAVLO_TESTS=OFF -DKAVLO_OUTPUT_DIR="$win_bin" $(compiler_launcher) >/dev/null
  cmake --build build/release-win --target kavlo kavlodex
fi
for f in kavlodex.exe kavlo.exe; do
  [ -f "$win_bin/$f" ] || { echo "release.sh: $win_bin/$f is missing" >&2; exit 1; }
done

# The Linux kavlo, its man page and its .deb.
echo "== Linux Release build of kavlo (build/release-linux)"
build_linux_release
(cd build/release-linux && cpack -G DEB >/dev/null)

# Everything is put together in a folder beside dist and moved in at the end: a failed run
# leaves dist as it was.
stage=$(mktemp -d "$root/build/release-stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT
crlf() { sed 's/\r*$/\r/' "$1" > "$2"; }
set_times() { find "$1" -exec touch -h -d "@$stamp" {} +; }

zipname=Kavlodex-$version-win64.zip
z=$stage/zip
mkdir -p "$z/samples"
cp "$win_bin/kavlodex.exe" "$win_bin/kavlo.exe" "$z/"
x86_64-w64-mingw32-strip --strip-unneeded "$z/kavlodex.exe" "$z/kavlo.exe"
crlf docs/README-user.md "$z/README.txt"
crlf LICENSE "$z/LICENSE.txt"
cp samples/* "$z/samples/"
set_times "$z"
(cd "$z" && cmake -E tar cf "$stage/$zipname" --format=zip --mtime="$(date -u -d "@$stamp" '+%Y-%m-%d %H:%M:%S UTC')" kavlodex.exe kavlo.exe README.txt LICENSE.txt samples)

tarname=kavlo-$version-linux-x86_64.tar.gz
t=$stage/kavlo-$version-linux-x86_64
mkdir -p "$t"
cp build/release-linux/bin/kavlo "$t/"
strip --strip-unneeded "$t/kavlo"
gzip -dc build/release-linux/man/kavlo.1.gz > "$t/kavlo.1"
cp README.md LICENSE "$t/"
set_times "$t"
(cd "$stage" && tar --sort=name --owner=0 --group=0 --numeric-owner -cf - "$(basename "$t")" | gzip -9n > "$stage/$tarname")

debname=kavlo_${version}_amd64.deb
cp "build/release-linux/packages/$debname" "$stage/"

(cd "$stage" && sha256sum "$zipname" "$tarname" "$debname" > SHA256SUMS)
mkdir -p "$out"
for f in "$zipname" "$tarname" "$debname" SHA256SUMS; do mv -f "$stage/$f" "$out/$f"; done
echo "== $out"
(cd "$out" && ls -l "$zipname" "$tarname" "$debname" SHA256SUMS)
