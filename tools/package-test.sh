#!/usr/bin/env bash
# The release packages as a user gets them: release.sh --from-test-builds makes them into
# build/package-test/dist from the test run's Windows programs, then
#  - the ZIP unpacked into an empty folder holds what it should, its programs need no DLL beyond
#    Windows' own, and under Wine that folder's kavlo.exe lists a sample and its kavlodex.exe
#    opens its window on it and closes again;
#  - the .deb, unpacked into an empty root, runs `kavlo --version` and holds the man page, and
#    its control data names maintainer, section and architecture;
#  - the tar.gz's kavlo is static and its man page reads;
#  - SHA256SUMS matches.
# Run by test.sh after the Windows tests, with their Wine prefix (WINEPREFIX) and display
# (DISPLAY); builds build/release-linux (kavlo only) when it is not up to date.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
work=$root/build/package-test
rm -rf "$work" && mkdir -p "$work"
fail=0
check() {  # name, expected, actual
  if [ "$2" != "$3" ]; then echo "FAIL $1"; diff <(echo "$2") <(echo "$3") | head -20; fail=1; else echo "ok $1"; fi
}

. tools/setup-env.sh
install_missing file man-db

./release.sh --from-test-builds --out "$work/dist" > "$work/release.log" 2>&1 ||
  { tail -30 "$work/release.log"; echo "FAIL release.sh"; exit 1; }
version=$(sed -nE 's/^project\(kavlodex VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
dist=$work/dist
check "dist holds the three packages and the sums" \
  "Kavlodex-$version-win64.zip SHA256SUMS kavlo-$version-linux-x86_64.tar.gz kavlo_${version}_amd64.deb" \
  "$(cd "$dist" && LC_ALL=C ls | tr '\n' ' ' | sed 's/ $//')"
check "SHA256SUMS" "0" "$(cd "$dist" && sha256sum --quiet -c SHA256SUMS >/dev/null 2>&1; echo $?)"

# The ZIP.
z=$work/zip
mkdir -p "$z"
(cd "$z" && cmake -E tar xf "$dist/Kavlodex-$version-win64.zip")
files() { (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' '); }
check "zip contents" "LICENSE.txt README.txt kavlo.exe kavlodex.exe $(cd samples && ls | LC_ALL=C sort | sed 's|^|samples/|' | tr '\n' ' ')" \
  "$(files "$z")"
check "README and LICENSE have CR LF line ends" "0 0" \
  "$(grep -c -v $'\r$' "$z/README.txt") $(grep -c -v $'\r$' "$z/LICENSE.txt")"
# Windows' own DLLs: what the programs import must be among them (no libstdc++, libgcc or
# libwinpthread from the toolchain).
allowed=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll version.dll wininet.dll winspool.drv ws2_32.dll "
for exe in kavlodex.exe kavlo.exe; do
  dlls=$(x86_64-w64-mingw32-objdump -p "$z/$exe" | sed -nE 's/^\s*DLL Name: (.*)$/\1/p' | tr 'A-Z' 'a-z' | sort -u)
  other=""
  for d in $dlls; do [[ $allowed == *" $d "* ]] || other+=" $d"; done
  check "$exe imports only Windows' DLLs" "" "$other"
done

export WINEDEBUG=-all
sample="Z:${z//\//\\}\\samples\\sample1.fob"
out=$(tools/wine-run.sh "$z/kavlo.exe" list "$sample" --format text 2>&1 | tr -d '\r')
check "kavlo.exe lists the sample" "40 1,Table,18" "$(echo "$out" | grep -c '^"1",') $(echo "$out" | head -1 | cut -d, -f1-3 | tr -d '"')"
check "kavlo.exe --version" "kavlo $version" "$(tools/wine-run.sh "$z/kavlo.exe" --version | tr -d '\r')"

# kavlodex.exe to its window and closed again. The window saves its settings when it closes:
# the prefix's settings key is kept aside and put back, so the tests find it as they left it.
key='HKCU\Software\Brenvik\Kavlo'
saved=$work/settings.reg
tools/wine-run.sh reg export "$key" "Z:${saved//\//\\}" /y >/dev/null 2>&1 || saved=""
tools/wine-run.sh "$z/kavlodex.exe" "$sample" >/dev/null 2>&1 &
app=$!
wid=""
for _ in $(seq 100); do
  wid=$(xdotool search --onlyvisible --name "Kavlodex" 2>/dev/null | head -1) && [ -n "$wid" ] && break
  sleep 0.2
done
check "kavlodex.exe shows its window" "yes" "$([ -n "$wid" ] && echo yes)"
closed=no
if [ -n "$wid" ]; then
  xdotool windowactivate --sync "$wid" key --clearmodifiers alt+F4 2>/dev/null
  for _ in $(seq 50); do kill -0 $app 2>/dev/null || { closed=yes; break; }; sleep 0.2; done
fi
check "kavlodex.exe closes with its window" "yes" "$closed"
[ $closed = yes ] || kill $app 2>/dev/null
tools/wine-run.sh reg delete "$key" /f >/dev/null 2>&1
[ -n "$saved" ] && tools/wine-run.sh reg import "Z:${saved//\//\\}" >/dev/null 2>&1

# The .deb.
deb=$dist/kavlo_${version}_amd64.deb
d=$work/deb
dpkg-deb -x "$deb" "$d"
check "deb: kavlo --version" "kavlo $version" "$("$d/usr/bin/kavlo" --version)"
check "deb: the man page" "yes" "$(gzip -dc "$d/usr/share/man/man1/kavlo.1.gz" | grep -q '^\.TH KAVLO 1 .*"kavlo '"$version"'"' && echo yes)"
check "deb: its files" "usr/bin/kavlo usr/share/man/man1/kavlo.1.gz " "$(files "$d")"
check "deb: control" "kavlo $version amd64 devel yes" \
  "$(dpkg-deb -f "$deb" Package Version Architecture Section | cut -d' ' -f2 | tr '\n' ' ')$([ -n "$(dpkg-deb -f "$deb" Maintainer)" ] && echo yes)"

# The tar.gz.
t=$work/tar
mkdir -p "$t"
tar -xzf "$dist/kavlo-$version-linux-x86_64.tar.gz" -C "$t"
k=$t/kavlo-$version-linux-x86_64
check "tar.gz: kavlo is static" "yes" "$(file -L "$k/kavlo" | grep -q 'statically linked' && ! ldd "$k/kavlo" >/dev/null 2>&1 && echo yes)"
check "tar.gz: kavlo lists a sample" "40" "$("$k/kavlo" list samples/sample1.fob --format text | grep -c '^"1",')"
check "tar.gz: the man page has the help's text" "yes" \
  "$(man -l "$k/kavlo.1" 2>/dev/null | grep -q 'kavlo join FOLDER --output FILE.txt' && echo yes)"

[ $fail = 0 ] && echo "packages: all checks passed"
exit $fail
