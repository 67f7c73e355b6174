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
contains "--help names the verbs" "$work/help" "vantrel-design design LIST.csv"
"$prog" > /dev/null 2> "$work/err"; check "no command is a usage error" 2 $?
"$prog" design "$examples/line_list.csv" --units imperial > /dev/null 2> "$work/err"; check "bad --units" 2 $?
contains "bad --units says why" "$work/err" "--units must be english or metric"
"$prog" design "$examples/line_list.csv" --pressure-unit kpa > /dev/null 2>&1; check "kPa with English units" 2 $?
"$prog" design "$examples/line_list.csv" --frobnicate > /dev/null 2>&1; check "unknown option" 2 $?
for jobs in 0 1.5 65 many; do
  "$prog" design "$examples/line_list.csv" --jobs "$jobs" > /dev/null 2>&1; check "--jobs $jobs is a usage error" 2 $?
done
"$prog" show "$examples/line_list.csv" --jobs 2 > /dev/null 2>&1; check "show takes no --jobs" 2 $?

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
rows = list(csv.DictReader(open(sys.argv[1], newline="", encoding="utf-8-sig")))
head = list(rows[0])
assert len(head) == len(set(head)), "duplicate headers"
assert len(rows) == 4 and rows[0]["Designed"] == "Yes" and rows[0]["Tube"] == "3/8'' O.D.", rows[0]
assert rows[0]["MAXAMB (\u00b0F)"] == "100" and rows[0]["INSTYPE"] == "Fiberglass", rows[0]
assert rows[1]["Messages"].startswith("YJ-2 could not maintain"), rows[1]["Messages"]  # untitled: just the text
assert "Warning: NOTE:" in rows[1]["Messages"]
print("ok: CSV output parses, one header per column, units in the headers")
PY
[ $? -eq 0 ] || fail=1

# Whether each designed circuit holds its temperature: a row that cannot hold
# 300 °F with 50 psig steam is designed but falls short; a row that is not
# designed says neither (JSON null, CSV empty); the exit status ignores it.
hdr=$(head -1 "$examples/line_list.csv")
{
  echo "$hdr"
  echo 'HOLDS,,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,,No,0,0,0,0,'
  echo 'SHORT,,100,0,300,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,,No,0,0,0,0,'
  echo 'NONE,,100,0,100,375,Fiberglass,1.0,7.3,100,1,50,Troughline,3/8,Copper,,No,0,0,0,0,'
} > "$work/target.csv"
"$prog" design "$work/target.csv" --format json -o "$work/target.json" 2> /dev/null
check "a row below its target still counts as designed" 3 $?
"$prog" design "$work/target.csv" --format csv -o "$work/target.out.csv" 2> /dev/null
python3 - "$work/target.json" "$work/target.out.csv" <<'PY'
import csv, json, sys
c = json.load(open(sys.argv[1], encoding="utf-8"))["circuits"]
assert [x["meets_maintain_temperature"] for x in c] == [True, False, None], c
assert [x["ok"] for x in c] == [True, True, False]
rows = list(csv.DictReader(open(sys.argv[2], newline="", encoding="utf-8-sig")))
assert [r["Meets Maint. Temp."] for r in rows] == ["Yes", "No", ""], rows
print("ok: JSON and CSV say whether each circuit meets its maintain temperature")
PY
[ $? -eq 0 ] || fail=1
contains "--help names the meets column" "$work/help" "Meets Maint. Temp."

"$prog" --version > "$work/version"; check "--version" 0 $?
contains "--version names the version" "$work/version" "3.0.1"
contains "--help lists the columns with defaults" "$work/help" "ALLOWANCE  fittings allowance included in the pipe length: Yes or No (default No)"
"$prog" design "$examples/line_list.csv" --UNITS metric > /dev/null 2>&1; check "option names keep their case" 2 $?
"$prog" design "$examples/line_list.csv" --units English --mode STANDARD --pressure-unit PSIG --format JSON > /dev/null 2>&1
check "option values in any case" 0 $?

# Corrections, --strict and the exit statuses: one table of runs.
hdr=$(head -1 "$examples/line_list.csv")
{
  echo "$hdr"
  echo 'C1,,100,0,100,375,Fiberglass,1.0,2.0,100,1,400,Troughline,3/8,Copper,,No,0,0,0,0,'
  echo 'C2,,100,0,100,375,Fiberglass,1.0,2.0,100,1,50'
  echo 'C3,,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Stainless Wld,,No,0,0,0,0,'
} > "$work/mixed.csv"
sed '3d' "$work/mixed.csv" > "$work/corrected.csv"
sed -n '1p;4p' "$work/mixed.csv" > "$work/good.csv"
tr ',' ';' < "$work/good.csv" > "$work/semicolon.csv"
tr ',' '\t' < "$work/good.csv" > "$work/tab.csv"
for f in semicolon tab; do sed 's/\([0-9]\)\.\([0-9]\)/\1,\2/g' "$work/$f.csv" > "$work/$f-commas.csv"; done
while read -r name file opts status; do
  [ "$opts" = - ] && opts=
  # shellcheck disable=SC2086
  "$prog" design "$work/$file" $opts -o "$work/$name.json" 2> "$work/$name.err"; check "$name" "$status" $?
done <<'RUNS'
all-designed good.csv - 0
corrected-designed corrected.csv - 0
corrected-strict corrected.csv --strict 3
short-row-in-the-middle mixed.csv - 3
semicolons semicolon.csv - 0
tabs tab.csv - 0
semicolons-decimal-commas semicolon-commas.csv - 0
tabs-decimal-commas tab-commas.csv - 0
RUNS
python3 - "$work" <<'PY'
import json, sys
w = sys.argv[1]
def circuits(name): return json.load(open(f"{w}/{name}.json"))["circuits"]
c = circuits("corrected-designed")[0]
assert c["ok"] and c["corrections"] == [{"column": "STEAMPRS", "entered": "400", "used": "50",
    "message": "A Tracer Tubing Material of Copper should not be used with steam pressures greater than 250 psig"}], c
assert c["record"]["STEAMPRS"] == 50
s = circuits("corrected-strict")
assert not s[0]["ok"] and s[0]["corrections"] and s[0]["record"]["TSIZ"] == "", s[0]
assert "--strict" in s[0]["messages"][-1]["text"] and s[1]["ok"], s
m = circuits("short-row-in-the-middle")
assert [x["ok"] for x in m] == [True, False, True], [x["messages"] for x in m]
assert m[1]["messages"][-1]["text"].startswith("Line 3 has 12 fields"), m[1]["messages"]
for name in ("semicolons", "tabs"):
    assert circuits(name)[0]["ok"] and circuits(name)[0]["record"]["CIRTXT"] == "C3", name
    assert circuits(name + "-decimal-commas") == circuits(name), name
print("ok: corrections reported, --strict refuses them, a short row is its own error, delimiters found")
PY
[ $? -eq 0 ] || fail=1
contains "exit 3 says how many rows" "$work/short-row-in-the-middle.err" "1 of 3 rows were not designed"

# Nothing lost: a run that fails or is killed leaves the previous output as it was.
echo "previous" > "$work/keep.json"
(cat "$work/good.csv"; printf 'C9,"open\n') > "$work/broken.csv"
"$prog" design "$work/broken.csv" -o "$work/keep.json" 2> "$work/err"; check "a list that breaks off" 1 $?
[ "$(cat "$work/keep.json")" = previous ] && echo "ok: failed run left the output" || { echo "FAIL: output changed"; fail=1; }
python3 - "$work/big.csv" "$hdr" <<'PY'
import sys
with open(sys.argv[1], "w") as f:
    f.write(sys.argv[2] + "\n")
    for i in range(200000):
        f.write(f"B{i},,100,0,100,375,Fiberglass,1.0,2.0,100,1,50,YJ-2,3/8,Stainless Wld,,No,0,0,0,0,\n")
PY
for sig in KILL TERM; do
  "$prog" design "$work/big.csv" -o "$work/keep.json" 2> /dev/null &
  pid=$!
  sleep 0.5
  kill -s "$sig" "$pid"
  wait "$pid" 2> /dev/null
  [ "$(cat "$work/keep.json")" = previous ] && echo "ok: SIG$sig left the output" || { echo "FAIL: SIG$sig changed the output"; fail=1; }
done
leftover=$(find "$work" -name '.keep.json.*.tmp' | wc -l)
[ "$leftover" -le 1 ] && echo "ok: SIGTERM removed its temporary file" || { echo "FAIL: $leftover temporary files"; fail=1; }

(head -1 "$examples/line_list.csv"; printf '"open,1\n') > "$work/bad.csv"
"$prog" design "$work/bad.csv" > /dev/null 2> "$work/err"; check "unterminated quote" 1 $?
contains "unterminated quote names the line" "$work/err" "line 2: unterminated quoted field"
printf 'CIRTXT,MAXAMB\nA,1\n' > "$work/short.csv"
"$prog" design "$work/short.csv" > /dev/null 2> "$work/err"; check "missing column" 1 $?
contains "missing column named" "$work/err" "required column MINAMB is missing"
"$prog" design "$work/nosuch.csv" > /dev/null 2> "$work/err"; check "missing file" 1 $?

# Columns it does not know: named with the column meant; --strict refuses them.
sed '1s/VALN,FLNO/VALVES,FLANGES/' "$examples/line_list.csv" > "$work/misspelt.csv"
"$prog" design "$work/misspelt.csv" -o "$work/misspelt.json" 2> "$work/err"; check "unknown columns are ignored" 0 $?
contains "stderr names an unknown column and the one meant" "$work/err" "line 1: ignored column VALVES: did you mean VALN?"
contains "... each of them" "$work/err" "ignored column FLANGES: did you mean FLNO?"
contains "the JSON lists them" "$work/misspelt.json" '"ignored_columns":[{"column":"VALVES","position":18,"suggestion":"VALN"}'
"$prog" design "$work/misspelt.csv" --strict -o "$work/misspelt.json" 2> "$work/err"; check "--strict refuses an unknown column" 2 $?
contains "--strict names it" "$work/err" "columns not known (--strict): VALVES: did you mean VALN?"
sed '1s/PIPELN/PIPELENGHT/' "$examples/line_list.csv" > "$work/nolength.csv"
"$prog" design "$work/nolength.csv" > /dev/null 2> "$work/err"; check "a misspelt required column" 1 $?
contains "the missing column names the one it did not know" "$work/err" "the required column PIPELN is missing; PIPELENGHT: did you mean PIPELN?"

# A usage error: the command's usage lines and where to read more, not the whole help.
"$prog" show x.mdb --frobnicate > /dev/null 2> "$work/err"; check "usage error of show" 2 $?
contains "usage error names the problem" "$work/err" "vantrel-design: unknown option --frobnicate"
contains "... shows the usage of show" "$work/err" "usage: vantrel-design show FILE.mdb"
contains "... and points to --help" "$work/err" "Run 'vantrel-design --help' for the options."
if grep -qE "Exit status|Line list columns|vantrel-design design LIST" "$work/err"; then
  echo "FAIL: a usage error printed the help"; cat "$work/err"; fail=1
else echo "ok: a usage error is short"; fi
contains "--help states the shoe units" "$work/help" "SHOES      pipe shoes, length x count per size: 12x4;6x2 (default none; in x count / mm x count)"
"$prog" design "$examples/line_list.csv" --format csv -o "$work/shoes.csv" 2> "$work/err"; check "CSV for the shoe header" 0 $?
contains "the CSV heads shoes in inches" "$work/shoes.csv" ",SHOES (in x count),"

# lists: the entries a row may name, and nothing a row may not.
"$prog" lists --units metric --mode standard --format json -o "$work/lists.json" 2> "$work/err"; check "lists as JSON" 0 $?
"$prog" lists > "$work/lists.txt" 2> "$work/err"; check "lists as text" 0 $?
contains "text lists name the installations with their short names" "$work/lists.txt" "Coverlyn  YJ-2 (or YJ-2)"
python3 - "$work" "$examples/line_list.csv" "$prog" <<'PY'
import json, subprocess, sys
work, example, prog = sys.argv[1:]
lists = json.load(open(f"{work}/lists.json"))["lists"]
assert [(l["units"], l["mode"]) for l in lists] == [("metric", "standard")], lists
l = lists[0]
assert [i["short"] for i in l["TRACEINS"]] == ["", "", "YJ-1", "YJ-2"], l["TRACEINS"]
assert l["TRACEINS"][2]["TRACETUB"][0]["tube"] == "10" and len(l["TRACEINS"][2]["TRACETUB"]) == 1
# A 12 mm tube takes no pipe below 40 mm; each offered size names the most passes it takes.
assert [t["PIPESIZE"][0] for t in l["TRACEINS"][1]["TRACETUB"]] == ["15", "40", "50", "80"], l["TRACEINS"][1]
assert all(len(t["MOSTPASSES"]) == len(t["PIPESIZE"]) for i in l["TRACEINS"] for t in i["TRACETUB"])
# Every combination the listing offers designs in a metric run; one it leaves out is refused.
header = open(example).readline().strip()
rows = []
for inst in l["TRACEINS"]:
    for tube in inst["TRACETUB"]:
        for mat, walls in tube["TUBEWALL"].items():
            for wall in walls:
                rows.append(f"R,,38,-18,38,190,{l['INSTYPE'][2]},{l['INSTHK'][-1]},{tube['PIPESIZE'][-1]},30,1,3.45,"
                            f"{inst['name']},{tube['tube']},{mat},{wall},No,0,0,0,0,")
rows.append("X,,38,-18,38,190,Fiberglass,100,50,30,1,3.45,YJ-1,12,Copper,,No,0,0,0,0,")
open(f"{work}/every.csv", "w").write(header + "\n" + "\n".join(rows) + "\n")
subprocess.run([prog, "design", f"{work}/every.csv", "--units", "metric", "-o", f"{work}/every.json"])
out = json.load(open(f"{work}/every.json"))["circuits"]
refused = [c["messages"] for c in out[:-1] if any("is not in the" in m["text"] for m in c["messages"])]
assert not refused and len(out) == len(rows), refused
assert 'Column TRACETUB: "12" is not in the tracer tubing list' in out[-1]["messages"][-1]["text"], out[-1]
print(f"ok: all {len(rows) - 1} listed combinations are accepted, an unlisted tube is refused")
PY
[ $? -eq 0 ] || fail=1
"$prog" lists --strict > /dev/null 2> "$work/err"; check "lists takes no design option" 2 $?

head -1 "$examples/line_list.csv" > "$work/text.csv"
echo 'X,,hot,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,,,,,,,' >> "$work/text.csv"
"$prog" design "$work/text.csv" -o "$work/text.json" 2> "$work/err"; check "text in a numeric column" 3 $?
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
  # Twenty-three designed rows and one refused: three files of ten, ten and three.
  (head -1 "$examples/line_list.csv"; for i in $(seq 24); do
     if [ "$i" = 5 ]; then echo 'X,,hot,0,100,375,Fiberglass,1.0,2.0,100,1,50,Troughline,3/8,Copper,,,,,,,'
     else sed -n "$(( i % 4 + 2 ))p" "$examples/line_list.csv" | sed "s/^ST-[0-9]*/R$i/"; fi
   done) > "$work/many.csv"
  "$prog" design "$work/many.csv" --save "$work/many.mdb" > /dev/null 2> "$work/err"; check "design --save of 24 rows" 3 $?
  contains "says which rows went where" "$work/err" "many-1.mdb holds rows 1-4, 6-11 as records 1 to 10"
  contains "the last file" "$work/err" "many-3.mdb holds rows 22-24 as records 1 to 3"
  for n in 1 2 3; do
    "$prog" show "$work/many-$n.mdb" --format json > "$work/many-$n.json" 2> "$work/err"; check "many-$n.mdb opens" 0 $?
  done
  python3 - "$work" <<'PY'
import json, sys
w = sys.argv[1]
names = [[r["fields"]["CIRTXT"] for r in json.load(open(f"{w}/many-{n}.json"))["records"]] for n in (1, 2, 3)]
assert names[0] == ["R1", "R2", "R3", "R4", "R6", "R7", "R8", "R9", "R10", "R11"], names[0]
assert names[2][:3] == ["R22", "R23", "R24"] and names[2][3:] == [""] * 7, names[2]
print("ok: the split design files hold the designed rows in order")
PY
  [ $? -eq 0 ] || fail=1
  [ ! -e "$work/many.mdb" ] && echo "ok: no unsplit file" || { echo "FAIL: many.mdb written"; fail=1; }
  "$prog" show "$work/bad.csv" > /dev/null 2> "$work/err"; check "show a file that is no design file" 1 $?
  "$prog" show "$work/set.mdb" --units metric > /dev/null 2> "$work/err"; check "show in the other units" 1 $?
  contains "the refusal names the file's units" "$work/err" "it was saved in Inch Pound units; start the program in Inch Pound units to open it (--units english)"
  "$prog" show "$work/set.mdb" --units english > /dev/null 2> "$work/err"; check "show in the file's units" 0 $?
  head -c 6000 "$work/set.mdb" > "$work/cut.mdb"
  "$prog" show "$work/cut.mdb" > /dev/null 2> "$work/err"; check "show a truncated file" 1 $?
  contains "a truncated file is damaged" "$work/err" "the file is damaged ("
fi
exit $fail
