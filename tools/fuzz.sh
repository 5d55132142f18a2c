#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan and UBSan) in build/fuzz, writes their seeds
# and runs each target in turn, one process at a time.
#   tools/fuzz.sh [SECONDS]    each target for SECONDS (default 30)
#   tools/fuzz.sh --smoke      each target for 8 seconds, for the test suite
#   -jN                        build with N jobs and run N targets at a time (default 1)
# The corpus of each target is kept in build/fuzz/corpus/<target> from run to run; a crash, a
# hang or a leak leaves its input in build/fuzz/artifacts/<target>/ and makes the script fail.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=30
jobs=1
for arg in "$@"; do
  case "$arg" in
    --smoke) seconds=8 ;;
    -j[0-9]*) jobs=${arg#-j} ;;
    ''|*[!0-9]*) echo "usage: tools/fuzz.sh [--smoke | SECONDS] [-jN]" >&2; exit 2 ;;
    *) seconds=$arg ;;
  esac
done

targets=(fob_fuzz fbk_fuzz txt_fuzz xml_fuzz content_fuzz merge_fuzz)
build=build/fuzz

echo "== fuzz build"
cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" -DKAVLO_FUZZ=ON -DKAVLO_TESTS=OFF >/dev/null || exit 1
cmake --build "$build" -j "$jobs" --target "${targets[@]}" make_seeds || exit 1

rm -rf "$build/seeds"
"$build/bin/make_seeds" "$build/seeds" || exit 1

# One target: its corpus cut down and topped up with the seeds, then the run.
fuzz_target() {
  local t=$1
  local corpus="$build/corpus/$t"
  local artifacts="$build/artifacts/$t"
  mkdir -p "$corpus" "$artifacts"
  # The corpus of the last runs, cut down to the inputs that add coverage, so that it does
  # not grow from run to run; then the seeds, all of them, again.
  if [ -n "$(ls -A "$corpus")" ]; then
    rm -rf "$corpus.merged" && mkdir "$corpus.merged"
    if "$build/bin/$t" -merge=1 -timeout=10 -rss_limit_mb=2048 "$corpus.merged" "$corpus" \
         >"$build/$t.merge.log" 2>&1; then
      rm -rf "$corpus" && mv "$corpus.merged" "$corpus"
    else
      rm -rf "$corpus.merged"  # an input of the old corpus fails: the run below finds it
    fi
  fi
  cp "$build/seeds/$t"/* "$corpus"/
  local dict=()
  [ -f "fuzz/$t.dict" ] && dict=(-dict="fuzz/$t.dict")
  echo "== $t: ${seconds}s"
  # New inputs go to the corpus directory (the first one given); findings to artifacts/.
  if ! "$build/bin/$t" "$corpus" "${dict[@]}" -max_total_time="$seconds" -timeout=10 \
       -rss_limit_mb=2048 -artifact_prefix="$artifacts/" -print_final_stats=1 \
       >"$build/$t.log" 2>&1; then
    echo "$t FAILED; see $build/$t.log and $artifacts/"
    grep -E "SUMMARY:|runtime error|fuzz invariant|terminate called|Test unit written" "$build/$t.log" | head -5
    return 1
  fi
  grep -E "^stat::number_of_executed_units|^#[0-9]+.*DONE" "$build/$t.log" | tail -2
}

# Targets run -jN at a time (each on one processor); their output is printed as each ends.
status=0
pending=()
finish_oldest() {
  wait "${pending[0]}" || status=1
  cat "$build/${pending_names[0]}.out"
  pending=("${pending[@]:1}") pending_names=("${pending_names[@]:1}")
}
pending_names=()
for t in "${targets[@]}"; do
  fuzz_target "$t" > "$build/$t.out" 2>&1 &
  pending+=($!) pending_names+=("$t")
  [ ${#pending[@]} -ge "$jobs" ] && finish_oldest
done
while [ ${#pending[@]} -gt 0 ]; do finish_oldest; done
[ $status -eq 0 ] && echo "fuzz: no findings" || echo "fuzz: findings, see above"
exit $status
