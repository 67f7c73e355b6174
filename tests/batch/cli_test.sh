#!/usr/bin/env bash
# vantrel-design as a user runs it: exit codes, where messages go, and output
# that parses. Arguments: the program, the folder of example line lists.
set -u
prog=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() {  # description, expected status, actual status
  if [ "$2" != "$3" ]; then echo "FAIL: $1 (status $3, expected $2)"; fail=1; else echo "ok: $1"; fi
}
contains() {  # description, file, text
  if grep -qF -- "$3" "$2"; then echo "ok: $1"; else echo "FAIL: $1: '$3' not in $2"; cat "$2"; fail=1; fi
}

"$prog" --help > "$work/help" 2>&1; check "--help" 0 $?
contains "--help names the verbs" "$work/help" "vantrel-design design INPUT.csv"
"$prog" > /dev/null 2> "$work/err"; check "no command is a usage error" 2 $?
"$prog" design "$examples/line_list.csv" --units imperial > /dev/null 2> "$work/err"; check "bad --units" 2 $?
contains "bad --units says why" "$work/err" "--units must be english or metric"
"$prog" design "$examples/line_list.csv" --pressure-unit kpa > /dev/null 2>&1; check "kPa with English units" 2 $?
"$prog" design "$examples/line_list.csv" --frobnicate > /dev/null 2>&1; check "unknown option" 2 $?

"$prog" design "$examples/line_list.csv" --format json -o "$work/out.json" 2> "$work/err"
check "design the example list" 0 $?
python3 - "$work/out.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1], encoding="utf-8"))
assert d["units"] == "english" and d["mode"] == "standard", d
c = d["circuits"]
assert [x["row"] for x in c] == [1, 2, 3, 4], c
assert all(x["ok"] for x in c), [x["messages"] for x in c]
assert c[1]["installation"] == "Troughline", c[1]["installation"]  # YJ-2 and YJ-1 fell back
assert any("YJ-2 could not maintain" in m["text"] for m in c[1]["messages"])
for x in c:
    assert isinstance(x["record"]["TP1"], (int, float)) and x["record"]["TSIZ"]
    assert set(x["display"]) >= {"Max_Maint_Temp", "Tot_Cab_Out", "TraceTp"}
print("ok: JSON output parses and carries the designs")
PY
[ $? -eq 0 ] || fail=1

"$prog" design - --format csv < "$examples/line_list.csv" > "$work/out.csv" 2> "$work/err"
check "design from standard input as CSV" 0 $?
python3 - "$work/out.csv" <<'PY'
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1], newline="", encoding="utf-8")))
assert len(rows) == 4 and rows[0]["OK"] == "true" and rows[0]["TSIZ"] == "3/8'' O.D.", rows[0]
assert "MESSAGES" in rows[0]
print("ok: CSV output parses")
PY
[ $? -eq 0 ] || fail=1

printf 'CIRTXT,MAXAMB\n"open,1\n' > "$work/bad.csv"
"$prog" design "$work/bad.csv" > /dev/null 2> "$work/err"; check "unterminated quote" 1 $?
contains "unterminated quote names the line" "$work/err" "line 2: unterminated quoted field"
printf 'CIRTXT,MAXAMB\nA,1\n' > "$work/short.csv"
"$prog" design "$work/short.csv" > /dev/null 2> "$work/err"; check "missing column" 1 $?
contains "missing column named" "$work/err" "required column MINAMB is missing"
"$prog" design "$work/nosuch.csv" > /dev/null 2> "$work/err"; check "missing file" 1 $?

head -1 "$examples/line_list.csv" > "$work/text.csv"
echo 'X,,hot,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,,,,,,,' >> "$work/text.csv"
"$prog" design "$work/text.csv" -o "$work/text.json" 2> "$work/err"; check "text in a numeric column" 0 $?
contains "the row's message names column and value" "$work/text.json" 'Column MAXAMB: \"hot\" is not a number'

if [ -n "${VST_TEMPLATE_AVAILABLE:-1}" ] && [ -f "$(dirname "$prog")/stdata.mdb" ]; then
  "$prog" design "$examples/line_list.csv" --save "$work/set.mdb" > /dev/null 2> "$work/err"
  check "design --save" 0 $?
  "$prog" show "$work/set.mdb" --format json > "$work/show.json" 2> "$work/err"; check "show the saved file" 0 $?
  python3 - "$work/show.json" "$work/out.json" <<'PY'
import json, sys
shown = json.load(open(sys.argv[1]))["records"]
designed = json.load(open(sys.argv[2]))["circuits"]
assert len(shown) == 10
for s, d in zip(shown, designed):
    for k in ("TP1", "TP2", "TLEN", "STEAMPRS", "CIRTXT", "TSIZ", "COND"):
        assert abs(s["fields"][k] - d["record"][k]) < 5e-4 if isinstance(d["record"][k], float) else s["fields"][k] == d["record"][k], (k, s["fields"][k], d["record"][k])
assert shown[5]["fields"]["TSIZ"] == ""
print("ok: a saved set shows the designed records")
PY
  [ $? -eq 0 ] || fail=1
  (head -1 "$examples/line_list.csv"; for i in $(seq 11); do sed -n 2p "$examples/line_list.csv"; done) > "$work/eleven.csv"
  "$prog" design "$work/eleven.csv" --save "$work/eleven.mdb" > /dev/null 2> "$work/err"; check "eleven rows refused" 1 $?
  [ ! -e "$work/eleven.mdb" ] && echo "ok: nothing written for eleven rows" || { echo "FAIL: eleven rows wrote a file"; fail=1; }
  "$prog" show "$work/bad.csv" > /dev/null 2> "$work/err"; check "show a file that is no design file" 1 $?
  "$prog" show "$work/set.mdb" --units metric > /dev/null 2> "$work/err"; check "show in the other units" 1 $?
  contains "the refusal names the file's units" "$work/err" "it was saved in Inch Pound units; start the program in Inch Pound units to open it (--units english)"
  "$prog" show "$work/set.mdb" --units english > /dev/null 2> "$work/err"; check "show in the file's units" 0 $?
  head -c 6000 "$work/set.mdb" > "$work/cut.mdb"
  "$prog" show "$work/cut.mdb" > /dev/null 2> "$work/err"; check "show a truncated file" 1 $?
  contains "a truncated file is damaged" "$work/err" "the file is damaged ("
fi
exit $fail
