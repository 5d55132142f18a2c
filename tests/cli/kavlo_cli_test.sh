#!/usr/bin/env bash
# kavlo end to end: golden JSON of a sample, exit codes and error texts.
set -u
kavlo=$1 make_samples=$2 here=$3
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
"$make_samples" "$tmp" >/dev/null || { echo "make_samples failed"; exit 1; }
fail=0
check() {  # name, expected, actual
  if [ "$2" != "$3" ]; then echo "FAIL $1"; diff <(echo "$2") <(echo "$3") | head -20; fail=1; else echo "ok $1"; fi
}
opts=(--date-format dd-MM-yy --time-format HH:mm:ss --oem-codepage 850 --tz-bias 0)

out=$("$kavlo" list "$tmp/sample1.fob" --format json "${opts[@]}"); rc=$?
check "json exit code" 0 "$rc"
check "json golden" "$(sed "s#@DIR@#$tmp#" "$here/sample1.json")" "$out"

"$kavlo" list "$tmp/sample1.fob" "${opts[@]}" > "$tmp/grid.txt"; rc=$?
check "grid exit code" 0 "$rc"
check "grid header" "File  Type" "$(head -1 "$tmp/grid.txt" | cut -c1-10)"

"$kavlo" list "$tmp/sample1.fob" --format json "${opts[@]}" --output "$tmp/o.json"
check "--output writes the file" "$out" "$(cat "$tmp/o.json")"

err=$("$kavlo" list "$tmp/x.doc" 2>&1 >/dev/null); rc=$?
check "unsupported type exit" 1 "$rc"
check "unsupported type text" "Unsupported file type: .doc" "$err"

err=$("$kavlo" list "$tmp/none.fob" 2>&1 >/dev/null); rc=$?
check "missing file exit" 1 "$rc"
check "missing file text" "Cannot open file \"$tmp/none.fob\". No such file or directory" "$err"

# A reader failure prints the rows read before it, then exactly the error's text.
head -c 161 "$tmp/sample1.fob" > "$tmp/cut.fob"
out=$("$kavlo" list "$tmp/cut.fob" --format json "${opts[@]}" 2>"$tmp/err"); rc=$?
check "truncated exit" 1 "$rc"
case "$(cat "$tmp/err")" in "Assertion failure (FobFileUnit, line "*) echo "ok truncated text";; *) echo "FAIL truncated text: $(cat "$tmp/err")"; fail=1;; esac
case "$out" in *'"count":1'*'"id":18'*) echo "ok truncated rows";; *) echo "FAIL truncated rows: $out"; fail=1;; esac

"$kavlo" list 2>/dev/null; check "no file is a usage error" 2 "$?"
"$kavlo" list a.fob --format xml 2>/dev/null; check "bad format is a usage error" 2 "$?"
"$kavlo" list a.fob --oem-codepage 1252 2>/dev/null; check "bad code page is a usage error" 2 "$?"
"$kavlo" --help | grep -q "kavlo list FILE"; check "help" 0 "$?"
[ $fail = 0 ] && echo "kavlo command line: all checks passed"
exit $fail
