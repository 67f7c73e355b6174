#!/usr/bin/env bash
# vantrel-design's report commands: `ratings` and `show FILE.mdb
# --circuit-list`, their exit codes and output that parses into the pages the
# windows show. Arguments: the program, the folder of example line lists.
set -u
prog=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() {  # description, expected status, actual status
  if [ "$2" != "$3" ]; then echo "FAIL: $1 (status $3, expected $2)"; fail=1; else echo "ok: $1"; fi
}

"$prog" ratings --units metric --mode internal > "$work/r.json"; check "ratings as JSON" 0 $?
"$prog" ratings --format csv > "$work/r.csv"; check "ratings as CSV" 0 $?
python3 - "$work/r.json" "$work/r.csv" <<'PY' || fail=1
import csv, json, sys
pages = json.load(open(sys.argv[1], encoding="utf-8"))["pages"]
assert [len(p) for p in pages] == [14, 14], [len(p) for p in pages]
assert pages[0][6][1] == " 1832\u00b0F   (1000\u00b0C)", pages[0][6]
assert pages[1][1] == ["Clipstrip", " 1.2 Meter Strip (Includes MCX)", " 1 year", " 10, 12, 20 ", ""], pages[1][1]
rows = list(csv.reader(open(sys.argv[2], newline="", encoding="utf-8")))
assert len(rows) == 26 and not any(r[0] == "YJ-0" for r in rows), len(rows)  # standard mode: 13 rows a page
assert rows[13][3] == "Sizes Available (Inch)" and rows[18][1] == " 1 and 5 gallon pails ", rows[18]
print("ok: ratings pages parse with their blanks")
PY
"$prog" ratings --units imperial > /dev/null 2>&1; check "ratings with bad --units" 2 $?
"$prog" ratings some.mdb > /dev/null 2>&1; check "ratings takes no file" 2 $?
"$prog" design "$examples/line_list.csv" --circuit-list > /dev/null 2>&1; check "--circuit-list belongs to show" 2 $?

if [ -e "$(dirname "$prog")/stdata.mdb" ]; then
  "$prog" design "$examples/line_list.csv" --save "$work/set.mdb" > /dev/null 2>&1; check "design --save" 0 $?
  "$prog" show "$work/set.mdb" --circuit-list > "$work/c.json"; check "circuit list as JSON" 0 $?
  "$prog" show "$work/set.mdb" --circuit-list --format csv > "$work/c.csv"
  check "circuit list as CSV" 0 $?
  "$prog" show "$work/set.mdb" --circuit-list --units metric > /dev/null 2> "$work/err"
  check "circuit list of an English file in Metric units refused" 1 $?
  grep -qF -- "--units english" "$work/err" && echo "ok: the refusal names the units" || { echo "FAIL: $(cat "$work/err")"; fail=1; }
  python3 - "$work/c.json" "$work/c.csv" <<'PY' || fail=1
import csv, json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
assert d["more"] is False and len(d["pages"]) == 2, d["more"]
assert all(len(p) == 28 and all(len(r) == 6 for r in p) for p in d["pages"])
p1, p2 = d["pages"]
assert p1[0] == ["Record No.", "1", "2", "3", "4", ""], p1[0]
assert p1[15][1] == " 2''" and p1[27] == [""] * 6, (p1[15], p1[27])
assert all(c == "" for r in p2 for c in r[1:]), "records 6 to 10 are empty"
rows = list(csv.reader(open(sys.argv[2], newline="", encoding="utf-8")))
assert len(rows) == 56 and rows[15][1] == " 2''" and rows[5][1] == " 100\u00b0F", (rows[15], rows[5])
print("ok: circuit list pages parse")
PY
  "$prog" show "$work/nosuch.mdb" --circuit-list > /dev/null 2>&1; check "circuit list of a missing file" 1 $?
fi
exit $fail
