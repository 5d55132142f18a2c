#!/usr/bin/env bash
# Installs what is missing, builds the native and the Windows build, runs every test.
set -uo pipefail
cd "$(dirname "$0")"
. tools/setup-env.sh
install_missing || exit 1

echo "== native build"
build_native || exit 1
echo "== Windows build"
build_windows || exit 1

ensure_display || exit 1
trap 'stop_wine; stop_print_queue; stop_display' EXIT
start_print_queue || exit 1  # before the first Wine process: Wine takes its printers from it
prepare_wine

status=0
echo "== native tests"
(cd build/native && ctest --output-on-failure -j2) | tee build/native-tests.log || status=1
echo "== fuzz smoke (each reader's fuzz target for 15 s)"
tools/fuzz.sh --smoke > build/fuzz-smoke.log 2>&1 || { tail -30 build/fuzz-smoke.log; status=1; }
tail -5 build/fuzz-smoke.log
echo "== Windows tests (under Wine)"
(cd build/mingw && ctest --output-on-failure) | tee build/win-tests.log || status=1
echo "== packages (tools/package-test.sh: release.sh --from-test-builds, then the ZIP under Wine, the .deb, the tar.gz)"
tools/package-test.sh > build/package-test.log 2>&1 || { grep -v '^ok ' build/package-test.log; status=1; }
tail -1 build/package-test.log
grep -q "tests passed" build/native-tests.log || status=1
grep -q "tests passed" build/win-tests.log || status=1

sum() { grep -oE "[0-9]+ tests failed out of [0-9]+" "$1" | tail -1; }
n_total=$(( $(sum build/native-tests.log | awk '{print $6}') + $(sum build/win-tests.log | awk '{print $6}') ))
n_failed=$(( $(sum build/native-tests.log | awk '{print $1}') + $(sum build/win-tests.log | awk '{print $1}') ))
echo "tests: $((n_total - n_failed)) passed, $n_failed failed"
[ "$n_failed" -eq 0 ] || status=1
exit $status
