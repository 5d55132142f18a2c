#!/usr/bin/env bash
# kavlo end to end: golden JSON of a sample, exit codes and error texts.
set -u
kavlo=$1 make_samples=$2 here=$3 version=$4
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

# Comparing the two samples: sample2 changes two objects, drops a Report and adds an XMLport.
s1=$tmp/sample1.fob s2=$tmp/sample2.fob
rows() {  # the File, Type and ID of each line of the saved-list text
  "$kavlo" list "$@" "${opts[@]}" --format text | tr -d '\r' | cut -d, -f1-3 | tr -d '"' | tr '\n' ' '
}
check "added then deleted, whatever the order given" "2,XMLport,5 1,Report,6 " "$(rows "$s1" "$s2" --mode deleted --mode added)"
check "different pairs both rows in type order" \
  "1,Table,23 2,Table,23 1,Form,9 2,Form,9 1,Report,6 2,XMLport,5 " "$(rows "$s1" "$s2" --mode different)"
check "different, only both" "1,Table,23 2,Table,23 1,Form,9 2,Form,9 " "$(rows "$s1" "$s2" --mode different --only-both)"
check "different, sorted by file" \
  "1,Table,23 1,Form,9 1,Report,6 2,Table,23 2,Form,9 2,XMLport,5 " "$(rows "$s1" "$s2" --mode different --sort-by-file)"
check "different by type and ID only" "1,Report,6 2,XMLport,5 " "$(rows "$s1" "$s2" --mode different --compare none)"
check "different by BLOB size" "1,Form,9 2,Form,9 1,Report,6 2,XMLport,5 " "$(rows "$s1" "$s2" --mode different --compare blobsize)"
check "filters: File, case-free name, type switch" "1,Table,18 1,XMLport,8 1,XMLport,13 " \
  "$(rows "$s1" "$s2" --filter File=1 --filter 'name=@cust*' --types table,xmlport)"
check "type filter is normalised" "4" "$(rows "$s1" --filter type=cod | wc -w)"
check "flag filter is normalised" "5 5 0" \
  "$(rows "$s1" --filter modified=1 | wc -w) $(rows "$s1" --filter Modified=t | wc -w) $(rows "$s1" --filter 8=yes | wc -w)"
check "equal lists each pair" "74" "$(rows "$s1" "$s2" --mode equal | wc -w)"
check "no types, no rows" "" "$(rows "$s1" "$s2" --types '')"

out=$("$kavlo" list "$s1" "$s2" --mode added --format json "${opts[@]}")
case "$out" in '{"file1":{"name":"'"$s1"'","count":40},"file2":{"name":"'"$s2"'","count":40},"count":1,"rows":[{"file":2,"type":"XMLport","id":5,"name":"Kavlo Setup",'*'"modified":true,"compiled":true}]}') echo "ok json of a comparison";;
  *) echo "FAIL json of a comparison: $out"; fail=1;; esac
out=$("$kavlo" list "$s1" "$s1" --mode different --format json "${opts[@]}")
check "json of an empty list" '{"file1":{"name":"'"$s1"'","count":40},"file2":{"name":"'"$s1"'","count":40},"count":0,"rows":[]}' "$out"

# The saved-list file: quoted cells, the date as yyyy-mm-dd here, CR LF on every line.
"$kavlo" list "$s1" "$s2" --mode added "${opts[@]}" --format text > "$tmp/added.txt"
check "text line" "$(printf '"2","XMLport","5","Kavlo Setup","NAVW112.00,NAVG36,NAVL84","2017-11-06","20:33:25","176223","1","1"\r')" "$(cat "$tmp/added.txt")"
check "text ends in CR LF" "0d0a" "$(tail -c 2 "$tmp/added.txt" | od -An -tx1 | tr -d ' \n')"
"$kavlo" list "$s1" "$s2" --mode added "${opts[@]}" --format text --output "$tmp/saved.txt"
cmp -s "$tmp/added.txt" "$tmp/saved.txt"; check "text --output is the same file" 0 "$?"
"$kavlo" list "$s1" "$s1" --mode added "${opts[@]}" --format text --output "$tmp/empty.txt"
check "an empty list saves 0 bytes" 0 "$(wc -c < "$tmp/empty.txt")"

"$kavlo" list "$s1" "$s2" --mode different --exit-code "${opts[@]}" >/dev/null; check "--exit-code with differences" 3 "$?"
"$kavlo" list "$s1" "$s1" --mode different --exit-code "${opts[@]}" >/dev/null; check "--exit-code without" 0 "$?"
"$kavlo" list "$s1" "$s2" --mode different "${opts[@]}" >/dev/null; check "differences without --exit-code" 0 "$?"
"$kavlo" list "$tmp/cut.fob" "$s2" --mode added --exit-code "${opts[@]}" >/dev/null 2>&1; check "an error wins over --exit-code" 1 "$?"

"$kavlo" list a.fob --mode changed 2>/dev/null; check "bad mode is a usage error" 2 "$?"
"$kavlo" list a.fob --types Table,Tables 2>/dev/null; check "bad type is a usage error" 2 "$?"
"$kavlo" list a.fob --filter Colour=red 2>/dev/null; check "bad filter column is a usage error" 2 "$?"
"$kavlo" list a.fob --filter Name 2>/dev/null; check "filter without = is a usage error" 2 "$?"
"$kavlo" list a.fob --compare size 2>/dev/null; check "bad compare field is a usage error" 2 "$?"

# The same objects in every format list the same: a backup adds its table data and keeps every
# field; text and XML exports carry no BLOB size and no compiled flag (columns 8 and 10), and an
# XML export holds only forms, reports and pages.
cells() { "$kavlo" list "$1" "${opts[@]}" --format text "${@:2}" | tr -d '\r'; }
exported() { awk -F'","' -v OFS='","' '{ print $1, $2, $3, $4, $5, $6, $7, $9 }'; }  # not columns 8, 10
check "backup: the objects as in the object file" "$(cells "$s1")" "$(cells "$tmp/sample1.fbk" | grep -av '^"1","TableData"')"
check "backup: its table data" '"1","TableData","18","Customer","Demo Company","","","0"," "," "
"1","TableData","23","Vendor","Demo Company","","","0"," "," "' "$(cells "$tmp/sample1.fbk" --types tabledata)"
check "text export: the objects as in the object file" "$(cells "$s1" | exported)" \
  "$(cells "$tmp/sample1.txt" | exported)"
check "XML export: its forms, reports and pages as in the object file" \
  "$(cells "$s1" --types form,report,page | exported)" "$(cells "$tmp/sample1.xml" | exported)"
check "XML export: 12 of them" 12 "$(cells "$tmp/sample1.xml" | wc -l)"

# A text export saved in UTF-8 with the byte-order mark lists as the OEM one: its first object
# too, and "Item \x84ndring" (OEM 850) read from UTF-8.
{ printf '\xEF\xBB\xBF'; iconv -f CP850 -t UTF-8 "$tmp/sample1.txt"; } > "$tmp/utf8.txt"
check "text export in UTF-8 with the mark" "$(cells "$tmp/sample1.txt")" "$(cells "$tmp/utf8.txt")"

# Filter patterns come in the terminal's UTF-8 and are matched against the ANSI texts: Danish
# names (Vendor renamed "\x92ble\x9bl" in OEM 850, the length kept).
LC_ALL=C sed 's/Vendor/\x92ble\x9bl/g' "$s1" > "$tmp/danish.fob"
check "a Danish filter pattern" "1,Table,23 1,Form,9 1,MenuSuite,12 " "$(rows "$tmp/danish.fob" --filter 'Name=Æbleøl*')"

# In pipelines: no waiting on a FIFO, no silent loss of the output, and which file is damaged.
mkfifo "$tmp/fifo.txt"
err=$(timeout 10 "$kavlo" list "$tmp/fifo.txt" 2>&1 >/dev/null); rc=$?
check "a FIFO is refused at once" "1 Cannot open file \"$tmp/fifo.txt\". Not a regular file" "$rc $err"
err=$("$kavlo" list "$s1" 2>&1 >/dev/full); rc=$?
check "a full standard output" "1 Cannot write to standard output. No space left on device" "$rc $err"
"$kavlo" list "$s1" 2>/dev/null >&-; check "a closed standard output" 1 "$?"
err=$("$kavlo" list "$s1" "$tmp/cut.fob" 2>&1 >/dev/null)
case "$err" in "$tmp/cut.fob: Assertion failure (FobFileUnit, line "*) echo "ok an error names the file of two";;
  *) echo "FAIL an error names the file of two: $err"; fail=1;; esac

# Contents. sample2.txt changes the code of Table 23 (re-stamped too) and of Codeunit 2 (date
# and version kept), drops a Report and adds an XMLport.
t1=$tmp/sample1.txt t2=$tmp/sample2.txt
check "by fields, the code-only change is equal" "1,Table,23 2,Table,23 1,Report,6 2,XMLport,5 " \
  "$(rows "$t1" "$t2" --mode different)"
check "--compare content: code changes differ, re-stamps alone do not" \
  "1,Table,23 2,Table,23 1,Report,6 1,Codeunit,2 2,Codeunit,2 2,XMLport,5 " "$(rows "$t1" "$t2" --mode different --compare content)"
sed 's/^    Date=[^;]*;/    Date=01-01-20;/' "$t1" > "$tmp/restamped.txt"
check "the re-stamped copy differs by date" 80 "$(rows "$t1" "$tmp/restamped.txt" --mode different | wc -w)"
check "re-stamped objects are equal by content" "" "$(rows "$t1" "$tmp/restamped.txt" --mode different --compare content)"
tr -d '\r' < "$t1" > "$tmp/lf.txt"
check "an LF copy of a CR LF export has equal contents" "" "$(rows "$t1" "$tmp/lf.txt" --mode different --compare content)"
err=$("$kavlo" list "$t1" "$tmp/sample1.xml" --mode different --compare content 2>&1 >/dev/null)
check "text against XML says contents were not compared" \
  "kavlo: Contents not compared: file 1 is a text export, file 2 an XML export; objects are compared by their fields alone." "$err"

diffout() { "$kavlo" diff "$@" "${opts[@]}" | sed "s#$tmp/##g"; }
check "diff golden" "$(cat "$here/diff.txt")" "$(diffout "$t1" "$t2")"
check "diff --stat golden" "$(cat "$here/diff_stat.txt")" "$(diffout "$t1" "$t2" --stat)"
"$kavlo" diff "$t1" "$t2" "${opts[@]}" >/dev/null; check "diff exit code with differences" 3 "$?"
"$kavlo" diff "$t1" "$tmp/restamped.txt" "${opts[@]}" >/dev/null; check "diff exit code without" 0 "$?"
check "diff --with-properties sees the re-stamp" 40 "$(diffout "$t1" "$tmp/restamped.txt" --with-properties --stat | grep -c '+1 -1')"
check "diff --object and --context 0" "$(printf '%s\n' '--- sample1.txt	Codeunit 2 Setup' '+++ sample2.txt	Codeunit 2 Setup' \
  '@@ -11,0 +12,3 @@' '+      PostingDate := WORKDATE;' '+      IF PostingDate = 0D THEN' '+        ERROR(Text001);')" \
  "$(diffout "$t1" "$t2" --object codeunit:2 --context 0)"
check "diff --full shows an added object whole" "+++ sample2.txt	XMLport 5 Kavlo Setup|@@ -0,0 +1,14 @@|+OBJECT XMLport 5 Kavlo Setup" \
  "$(diffout "$t1" "$t2" --full --types xmlport | sed -n 2,4p | tr '\n' '|' | sed 's/|$//')"
check "diff --filter and --types" "Table 23 Vendor | +1 -0" "$(diffout "$t1" "$t2" --stat --types table --filter name=V* | head -1)"
# Object files do not divide their objects' definitions per object: the fields decide, and
# kavlo says so.
check "object files: compared by their fields" \
  "$(printf '%s\n' 'Form 9 Vendor Contract Journal Sales | fields differ' '1 changed, 0 added, 0 deleted; 0 lines added, 0 removed')" \
  "$(diffout "$s1" "$s2" --stat --types form 2>/dev/null)"
err=$("$kavlo" diff "$s1" "$s2" --stat "${opts[@]}" 2>&1 >/dev/null)
check "object files: contents not compared" \
  "kavlo: Contents not compared: object files do not keep each object's definition apart; objects are compared by their fields alone." "$err"
err=$("$kavlo" diff "$t1" "$tmp/sample1.xml" --stat 2>&1 >/dev/null); rc=$?
check "diff of a text and an XML export" "3 kavlo: Contents not compared: file 1 is a text export, file 2 an XML export; objects are compared by their fields alone." "$rc $err"
"$kavlo" diff "$t1" "$tmp/none.txt" >/dev/null 2>&1; check "diff of a missing file" 1 "$?"
err=$("$kavlo" diff "$t1" "$t2" --object Codeunit:999999 --object Table:23 "${opts[@]}" 2>&1 >/dev/null); rc=$?
check "diff of an object in neither file" "1 Codeunit 999999 is in neither file" "$rc $err"

# Contents keep every character: Cyrillic code in UTF-8 exports differs and is shown as it is.
{ printf '\xEF\xBB\xBF'; iconv -f CP850 -t UTF-8 "$t1"; } > "$tmp/u1.txt"
sed 's/^    BEGIN\r$/    BEGIN\r\n      \xD0\x94\xD0\xB0;\r/' "$tmp/u1.txt" > "$tmp/u2.txt"
sed 's/^    BEGIN\r$/    BEGIN\r\n      \xD0\x9D\xD0\xB5;\r/' "$tmp/u1.txt" > "$tmp/u3.txt"
out=$("$kavlo" diff "$tmp/u2.txt" "$tmp/u3.txt" --object table:23 --context 0 "${opts[@]}"); rc=$?
check "Cyrillic code that differs" "3 -      Да;|+      Не;" "$rc $(echo "$out" | grep '^[-+] ' | tr '\n' '|' | sed 's/|$//')"
LC_ALL=C sed 's/^    BEGIN\r$/    BEGIN\r\n      \xE9;\r/' "$tmp/u1.txt" > "$tmp/u4.txt"
check "a byte that is no UTF-8, piped as it is" "2be93b" \
  "$("$kavlo" diff "$tmp/u1.txt" "$tmp/u4.txt" --object table:23 --context 0 "${opts[@]}" | grep -a '^+ ' | tr -d ' ' | od -An -tx1 | tr -d ' \n' | sed 's/0a$//')"

# Control characters reach a terminal escaped, a pipe as they are.
LC_ALL=C sed 's/Vendor/Ven\x1bdor/; s/^    BEGIN\r$/    BEGIN\r\n      x := '"'"'\x07'"'"';\r/' "$t1" > "$tmp/ctl.txt"
onterminal() { script -qec "$(printf '%q ' "$@")" /dev/null | tr -d '\r'; }
check "grid: a name's ESC on a terminal" "Ven\\x1bdor" "$(onterminal "$kavlo" list "$tmp/ctl.txt" "${opts[@]}" --types table | grep -o 'Ven.*dor' | head -1)"
check "diff: ESC and BEL on a terminal" "+++ ctl.txt	Table 23 Ven\\x1bdor|+      x := '\\x07';" \
  "$(onterminal "$kavlo" diff "$t1" "$tmp/ctl.txt" --object table:23 --context 0 "${opts[@]}" | sed "s#$tmp/##g" | grep -a '^+++\|^+  ' | tr '\n' '|' | sed 's/|$//')"
check "diff: ESC piped as it is" "1b" "$("$kavlo" diff "$t1" "$tmp/ctl.txt" --object table:23 "${opts[@]}" | sed -n 2p | grep -ao 'Ven.dor' | cut -c4 | head -c1 | od -An -tx1 | tr -d ' \n')"
"$kavlo" diff "$t1" 2>/dev/null; check "diff of one file is a usage error" 2 "$?"
"$kavlo" diff "$t1" "$t2" --context -1 2>/dev/null; check "a negative context is a usage error" 2 "$?"
"$kavlo" diff "$t1" "$t2" --object Table 2>/dev/null; check "--object without an ID is a usage error" 2 "$?"
"$kavlo" diff "$t1" "$t2" --mode equal 2>/dev/null; check "a list option is a usage error of diff" 2 "$?"
"$kavlo" list "$t1" --stat 2>/dev/null; check "a diff option is a usage error of list" 2 "$?"

# A folder of one file per object (split here by the object lines; named as a file would be)
# lists and compares as the export it came from.
splitinto() { mkdir -p "$2"; awk -v d="$2" '/^OBJECT /{ f = d "/" toupper(substr($2, 1, 3)) $3 ".TXT" } { print > f }' "$1"; }
d1=$tmp/dirs/sample1.txt d2=$tmp/dirs/sample2.txt
splitinto "$t1" "$d1"; splitinto "$t2" "$d2"
check "a folder lists as its export" "$(cells "$t1")" "$(cells "$d1")"
check "two folders compare as their exports" "$(rows "$t1" "$t2" --mode different --compare content)" \
  "$(rows "$d1" "$d2" --mode different --compare content)"
"$kavlo" diff "$d1" "$t1" "${opts[@]}" >/dev/null; check "diff of a folder and its export" 0 "$?"
check "diff of two folders" "$(cat "$here/diff.txt")" "$("$kavlo" diff "$d1" "$d2" "${opts[@]}" | sed "s#$tmp/dirs/##g")"
touch "$d1/notes.md"
err=$("$kavlo" list "$d1" 2>&1 >/dev/null); rc=$?
check "a folder with other files" "1 The folder \"$d1\" holds files that are no object files (*.txt): notes.md; --ignore-other-files reads the object files alone" "$rc $err"
check "--ignore-other-files" "$(cells "$t1")" "$(cells "$d1" --ignore-other-files)"

# split: one file per object, a line on stderr, nothing on stdout; a clash writes nothing.
out=$("$kavlo" split "$t1" "$tmp/objs" 2>"$tmp/err"); rc=$?
check "split" "0 |$(ls "$tmp/objs" | wc -l) objects written to $tmp/objs" "$rc $out|$(cat "$tmp/err")"
rm "$tmp/objs/TAB18.TXT" "$tmp/objs/TAB23.TXT"; printf old > "$tmp/objs/tab18.txt"
err=$("$kavlo" split "$t1" "$tmp/objs" 2>&1); rc=$?
check "split onto a file of an object's name" \
  "1 File \"$tmp/objs/tab18.txt\" exists already. Nothing was written; --force replaces existing files.|old|" \
  "$rc $err|$(cat "$tmp/objs/tab18.txt")|$(ls "$tmp/objs" | grep -x TAB23.TXT)"
"$kavlo" split "$t1" "$tmp/objs" --force --types table 2>/dev/null
check "split --force --types" "0 TAB23.TXT tab18.txt" "$? $(ls "$tmp/objs" | grep -ix 'tab18.txt\|tab23.txt' | sort | tr '\n' ' ' | sed 's/ $//')"
err=$("$kavlo" split "$tmp/sample1.xml" "$tmp/x" 2>&1); rc=$?
check "split of an XML export" "1 Only text exports (.txt) split into object files; \"$tmp/sample1.xml\" is an XML export. no folder" \
  "$rc $err $(ls "$tmp/x" 2>/dev/null || echo no folder)"
"$kavlo" split "$t1" 2>/dev/null; check "split without a folder is a usage error" 2 "$?"

# join: the split's files back into the export, byte for byte; never onto one of its files.
"$kavlo" split "$t1" "$tmp/rt" 2>/dev/null
out=$("$kavlo" join "$tmp/rt" --output "$tmp/rt.txt" 2>"$tmp/err"); rc=$?
check "join of a split" "0 |$(ls "$tmp/rt" | wc -l) objects written to $tmp/rt.txt|same" "$rc $out|$(cat "$tmp/err")|$(cmp -s "$t1" "$tmp/rt.txt" && echo same)"
err=$("$kavlo" join "$tmp/rt" --output "$tmp/rt/TAB18.TXT" 2>&1); rc=$?
check "join onto one of its files" "1 Cannot join \"$tmp/rt\": the output \"$tmp/rt/TAB18.TXT\" is one of its files." "$rc $err"
touch "$tmp/rt/notes.md"
err=$("$kavlo" join "$tmp/rt" --output "$tmp/rt2.txt" 2>&1); rc=$?
check "join of a folder with other files" "1 The folder \"$tmp/rt\" holds files that are no object files (*.txt): notes.md; --ignore-other-files reads the object files alone" "$rc $err"
"$kavlo" join "$tmp/rt" --output "$tmp/rt2.txt" --ignore-other-files 2>/dev/null
check "join --ignore-other-files" "0 same" "$? $(cmp -s "$t1" "$tmp/rt2.txt" && echo same)"
"$kavlo" join "$tmp/rt" 2>/dev/null; check "join without --output is a usage error" 2 "$?"

# merge: an unchanged side gives the other; both sides adding to the documentation trigger
# conflict unless an order is asked; only text exports merge; RESULT never replaces an input
# and a failed run leaves none.
"$kavlo" merge "$t1" "$t1" "$t2" --output "$tmp/r.txt" >/dev/null; rc=$?
check "merge: MODIFIED unchanged gives TARGET" "0 same" "$rc $(cmp -s "$tmp/r.txt" "$t2" && echo same)"
"$kavlo" merge "$t1" "$t2" "$t1" --output "$tmp/r.txt" >/dev/null; rc=$?
check "merge: TARGET unchanged gives MODIFIED" "0 same" "$rc $(cmp -s "$tmp/r.txt" "$t2" && echo same)"
sed 's/^    BEGIN\r$/    BEGIN\r\n      #1 customer;\r/' "$t1" > "$tmp/mine.txt"
sed 's/^    BEGIN\r$/    BEGIN\r\n      #2 update;\r/' "$t1" > "$tmp/upd.txt"
n=$(grep -c '^OBJECT ' "$t1")
out=$("$kavlo" merge "$t1" "$tmp/mine.txt" "$tmp/upd.txt" --output "$tmp/r.txt" --format json); rc=$?
check "merge: conflicts exit 3, every object reported" "3 $n $n" \
  "$rc $(echo "$out" | grep -o '"status":"conflict"' | wc -l) $(grep -c '^<<<<<<< MODIFIED' "$tmp/r.txt")"
"$kavlo" merge "$t1" "$tmp/mine.txt" "$tmp/upd.txt" --output "$tmp/r.txt" --documentation target-first >/dev/null; rc=$?
check "merge: documentation lines in order" "0 #2 update;|#1 customer;" \
  "$rc $(grep -A2 '^    BEGIN' "$tmp/r.txt" | head -3 | tail -2 | tr -d '\r' | sed 's/^ *//' | tr '\n' '|' | sed 's/|$//')"
"$kavlo" merge "$t1" "$tmp/mine.txt" "$t1" --output-dir "$tmp/rdir" >/dev/null; rc=$?
check "merge: one file per object" "0 $n" "$rc $(ls "$tmp/rdir" | grep -c '^[A-Z]*[0-9]*\.TXT$')"
cp "$t1" "$tmp/keep.txt"
"$kavlo" merge "$tmp/keep.txt" "$t1" "$t2" --output "$tmp/keep.txt" 2>/dev/null; rc=$?
check "merge: --output an input is refused" "1 same" "$rc $(cmp -s "$tmp/keep.txt" "$t1" && echo same)"
err=$("$kavlo" merge "$t1" "$t1" "$tmp/sample1.xml" --output "$tmp/r2.txt" 2>&1 >/dev/null); rc=$?
check "merge: XML refused, no RESULT" "1 $tmp/sample1.xml: an XML export; merge takes text exports (.txt) and folders of object files absent" \
  "$rc $err $([ -e "$tmp/r2.txt" ] || echo absent)"
"$kavlo" merge "$t1" "$tmp/none.txt" "$t2" --output "$tmp/r2.txt" 2>/dev/null; rc=$?
check "merge: a failed run leaves no RESULT" "1 absent" "$rc $([ -e "$tmp/r2.txt" ] || ls "$tmp" | grep -q kavlo- || echo absent)"
"$kavlo" merge "$t1" "$t2" --output "$tmp/r2.txt" 2>/dev/null; check "merge: two files is a usage error" 2 "$?"

"$kavlo" list 2>/dev/null; check "no file is a usage error" 2 "$?"
"$kavlo" list a.fob --format xml 2>/dev/null; check "bad format is a usage error" 2 "$?"
"$kavlo" list a.fob --oem-codepage 1252 2>/dev/null; check "bad code page is a usage error" 2 "$?"
"$kavlo" --help | grep -q "kavlo list FILE"; check "help" 0 "$?"
check "--version prints the build's version" "kavlo $version 0" "$("$kavlo" --version) $?"
[ $fail = 0 ] && echo "kavlo command line: all checks passed"
exit $fail
