#!/usr/bin/env bash
# Installs what is missing, builds the Windows and the native build, runs every test.
# The Windows tests under Wine spend most of their time waiting for windows and keys: while they
# run, the native build, the native tests, the fuzz smoke and the Linux release build of kavlo
# run beside them at the lowest priority, so that Wine still gets a processor the moment it
# needs one. Each phase prints the seconds since the start; the logs are in build/.
set -uo pipefail
cd "$(dirname "$0")"
. tools/setup-env.sh
install_missing || exit 1
start=$SECONDS
phase() { echo "== $1 (at $((SECONDS - start)) s)"; }

ensure_display || exit 1
trap 'stop_wine; stop_print_queue; stop_display' EXIT
start_print_queue || exit 1  # before the first Wine process: Wine takes its printers from it
# The Wine prefix is made (or its server started) while the Windows build runs.
wine_env
prepare_wine > build/wine-prepare.log 2>&1 &
wine_boot=$!

phase "Windows build"
build_windows || exit 1
wait "$wine_boot"

status=0
phase "Windows tests (under Wine) start; their output follows when they end"
(cd build/mingw && ctest --output-on-failure > ../win-tests.log 2>&1) &
win_tests=$!

(
  renice -n 19 "$BASHPID" >/dev/null
  side=0
  # The Linux release build of kavlo (for the package tests) fills the native build's pauses
  # (its links and single steps) from the start.
  build_linux_release > build/release-linux.log 2>&1 &
  release=$!
  phase "native build, and the Linux release build of kavlo beside it"
  if build_native; then
    phase "native tests"
    rm -f build/native/tests/kavlo_tests_shard_*.xml
    (cd build/native && ctest --output-on-failure -j3) > build/native-tests.log 2>&1 || side=1
    grep -E "tests passed|tests failed|\*\*\*Failed|Total Test time" build/native-tests.log
  else
    side=1
  fi
  phase "fuzz smoke (each fuzz target for 8 s)"
  tools/fuzz.sh --smoke -j2 > build/fuzz-smoke.log 2>&1 || { tail -30 build/fuzz-smoke.log; side=1; }
  tail -2 build/fuzz-smoke.log
  wait "$release" || { tail -30 build/release-linux.log; side=1; }
  phase "native side done"
  exit $side
) || status=1

wait "$win_tests" || status=1
phase "Windows tests ended"
cat build/win-tests.log
if [ -f build/mingw/win_core_tests.xml ]; then
  echo "the slowest Windows test cases (seconds):"
  sed -nE 's/.*<testcase name="([^"]+)".* time="([0-9.]+)".* classname="([^"]+)".*/\2 \3.\1/p' \
    build/mingw/win_core_tests.xml | sort -rn | head -5
fi
phase "packages (tools/package-test.sh: release.sh --from-test-builds, then the ZIP under Wine, the .deb, the tar.gz)"
tools/package-test.sh > build/package-test.log 2>&1 || { grep -v '^ok ' build/package-test.log; status=1; }
tail -1 build/package-test.log
grep -q "tests passed" build/native-tests.log 2>/dev/null || status=1
grep -q "tests passed" build/win-tests.log || status=1

# Field 1 (failed) or 6 (total) of CTest's "N tests failed out of M"; 0 without a log.
count() { grep -oE "[0-9]+ tests failed out of [0-9]+" "$1" 2>/dev/null | tail -1 | awk -v f="$2" '{print $f}' | grep . || echo 0; }
# The native test cases run in a few gtest shards, each a CTest entry: the cases and their
# failures come from the shards' reports. A shard that ended without a report counts as one
# failed test.
shard_entries=$(grep -cE "Test +#[0-9]+: kavlo_tests_shard_" build/native-tests.log 2>/dev/null)
shard_failed=$(grep -cE "^[[:space:]]*[0-9]+ - kavlo_tests_shard_" build/native-tests.log 2>/dev/null)
read -r cases case_failures <<< "$(sed -nE 's/^<testsuites tests="([0-9]+)" failures="([0-9]+)" disabled="[0-9]+" errors="([0-9]+)".*/\1 \2 \3/p' \
  build/native/tests/kavlo_tests_shard_*.xml 2>/dev/null | awk '{t += $1; f += $2 + $3} END {print t + 0, f + 0}')"
reports=$(ls build/native/tests/kavlo_tests_shard_*.xml 2>/dev/null | wc -l)
n_total=$(( $(count build/native-tests.log 6) - shard_entries + cases + (shard_entries - reports) + $(count build/win-tests.log 6) ))
n_failed=$(( $(count build/native-tests.log 1) - shard_failed + case_failures + (shard_entries - reports) + $(count build/win-tests.log 1) ))
echo "native test cases: $cases in $shard_entries shards"
echo "tests: $((n_total - n_failed)) passed, $n_failed failed"
[ "$n_failed" -eq 0 ] || status=1
phase "done"
exit $status
