#!/usr/bin/env bash
# vantrel-design reading line lists kept as .xlsx workbooks: the same circuits
# as the CSV list, the messages and exit statuses of workbooks it cannot
# read, memory bounded on a zip bomb, the sheet, header-row and column map
# options. Arguments: the program, the folder of example line lists.
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

mk() { python3 "$(dirname "$0")/../../scripts/csv_to_xlsx.py" "$@"; }

# The workbook headed with the window's captions designs the CSV's circuits.
mk "$work/list.xlsx" "$examples/line_list.csv" --captions
"$prog" design "$work/list.xlsx" -o "$work/xlsx.json" 2> "$work/err"; check "design a workbook" 0 $?
"$prog" design "$examples/line_list.csv" -o "$work/csv.json" 2> "$work/err"; check "design the CSV" 0 $?
python3 - "$work/xlsx.json" "$work/csv.json" <<'PY'
import json, sys
x, c = (json.load(open(f, encoding="utf-8")) for f in sys.argv[1:])
assert x["circuits"] == c["circuits"], "the workbook designs other circuits"
how = {h["heading"]: (h["column"], h["how"]) for h in x["columns"]}
assert how["Max. Ambient (\u00b0F)"] == ("MAXAMB", "caption"), how
assert how["Insulation"] == ("INSTYPE", "word"), how
assert "columns" not in c, "a list of field codes says nothing new"
PY
check "the workbook's circuits are the CSV's, the JSON says how each heading was read" 0 $?
"$prog" design "$work/list.xlsx" --units metric > /dev/null 2> "$work/err"; check "a heading in the other units" 1 $?
contains "... names the option that reads it" "$work/err" "gives its values in \"°F\", while this run reads MAXAMB in \"°C\"; --units english reads it"

# Cells without a value a row can use: the row is refused naming the cell.
mk "$work/cells.xlsx" "$examples/line_list.csv" --cell J3=date --cell D4=formula --cell E5=error
"$prog" design "$work/cells.xlsx" -o "$work/cells.json" 2> "$work/err"; check "rows with a date, a formula, an error" 3 $?
python3 - "$work/cells.json" <<'PY'
import json, sys
c = json.load(open(sys.argv[1], encoding="utf-8"))["circuits"]
text = lambda i: " | ".join(m["text"] for m in c[i]["messages"])
assert [x["ok"] for x in c] == [True, False, False, False], [x["ok"] for x in c]
assert text(1) == "Sheet1!J3: the cell holds a date or a time (45000 as a number), not a number or a text".replace("Sheet1", "Lines"), text(1)
assert text(2) == "Lines!D4: formula without a stored value; open and save the workbook in the spreadsheet program", text(2)
assert text(3) == 'Lines!E5: the cell shows the error "#N/A"', text(3)
PY
check "... each names its cell" 0 $?

# Workbooks it cannot read: what they are, exit status 1, memory bounded.
# Under the address sanitizer freed memory waits in a quarantine of 256 MB,
# which would count as held; a small one keeps the figures the program's own.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=1"
mk "$work/bomb.xlsx" "$examples/line_list.csv" --bomb 300
/usr/bin/time -f %M -o "$work/rss" "$prog" design "$work/bomb.xlsx" > /dev/null 2> "$work/err"; check "a zip bomb" 1 $?
contains "... is refused by its size" "$work/err" "sheet1.xml unpacks to 314,5"
rss=$(tail -n 1 "$work/rss"); [ "$rss" -lt 100000 ]; check "... never read into memory ($rss kB)" 0 $?
# Under the limit, a sheet of 200 MB is parsed as it is unpacked, never held.
mk "$work/wide.xlsx" "$examples/line_list.csv" --bomb 200
/usr/bin/time -f %M -o "$work/rss" "$prog" design "$work/wide.xlsx" > /dev/null 2> "$work/err"; check "a sheet of 200 MB" 0 $?
rss=$(tail -n 1 "$work/rss"); [ "$rss" -lt 100000 ]; check "... read in pieces ($rss kB)" 0 $?
head -c 700 "$work/list.xlsx" > "$work/cut.xlsx"
"$prog" design "$work/cut.xlsx" > /dev/null 2> "$work/err"; check "a truncated workbook" 1 $?
contains "... is damaged" "$work/err" "the workbook is damaged or incomplete"
printf '\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1' > "$work/old.xlsx"; head -c 4096 /dev/zero >> "$work/old.xlsx"
"$prog" design "$work/old.xlsx" > /dev/null 2> "$work/err"; check "an .xls renamed .xlsx" 1 $?
contains "... is named and what to do said" "$work/err" "Excel 97-2003 workbook (.xls), which is not read; save it as .xlsx or CSV"

# A workbook is known by its content whatever its name; what the headings
# lack or do not give is said at the sheet's row of headings.
mk "$work/plant.dat" "$examples/line_list.csv" --rename "SHOES=Remarks" --first-row 2
"$prog" design "$work/plant.dat" -o "$work/plant.json" 2> "$work/err"; check "a workbook named .dat" 0 $?
contains "an unknown heading is named at its row" "$work/err" 'plant.dat: sheet "Lines", row 2: ignored column Remarks'
mk "$work/short.xlsx" "$examples/line_list.csv" --rename "PIPELN=Run"
"$prog" design "$work/short.xlsx" > /dev/null 2> "$work/err"; check "a workbook without a required column" 1 $?
contains "... says so at the row of headings" "$work/err" 'short.xlsx: sheet "Lines", row 1: the required column PIPELN is missing'

# The sheet's options, which a CSV list refuses; the header row.
"$prog" design "$examples/line_list.csv" --sheet 2 > /dev/null 2> "$work/err"; check "--sheet with a CSV" 2 $?
mk "$work/low.xlsx" "$examples/line_list.csv" --first-row 3
"$prog" design "$work/low.xlsx" --header-row 3 -o "$work/low.json" 2> "$work/err"; check "--header-row" 0 $?
"$prog" design "$work/low.xlsx" --header-row 4 > /dev/null 2> "$work/err"; check "--header-row on a data row" 1 $?
"$prog" design "$work/low.xlsx" --sheet Other > /dev/null 2> "$work/err"; check "--sheet that is not there" 1 $?
contains "... names the sheets there are" "$work/err" 'the workbook has no sheet "Other" (--sheet); its sheets: "Lines"'

# A column map: written from the headings read, completed, read back.
sed '1s/MAXAMB/Hottest Day/' "$examples/line_list.csv" > "$work/own.csv"
"$prog" design "$work/own.csv" --write-columns "$work/map.csv" > /dev/null 2> "$work/err"; check "headings not known" 1 $?
contains "the map lists the heading not read" "$work/map.csv" "Hottest Day,ignore"
sed -i 's/^Hottest Day,ignore$/Hottest Day,MAXAMB/' "$work/map.csv"
"$prog" design "$work/own.csv" --columns "$work/map.csv" -o "$work/own.json" 2> "$work/err"; check "--columns reads it" 0 $?
cp "$work/own.csv" "$work/own.before"
"$prog" design "$work/own.csv" --write-columns "$work/own.csv" > /dev/null 2> "$work/err"; check "--write-columns onto the list" 2 $?
cmp -s "$work/own.csv" "$work/own.before"; check "... leaves the list as it was" 0 $?
"$prog" design "$work/own.csv" --columns "$work/map.csv" -o "$work/map.csv" > /dev/null 2> "$work/err"; check "-o onto the column map" 2 $?
contains "... names the map" "$work/err" "is the column map"
printf 'Hottest Day,MAXIMUM\n' > "$work/bad.csv"
"$prog" design "$work/own.csv" --columns "$work/bad.csv" > /dev/null 2> "$work/err"; check "a bad map" 1 $?
contains "... names its line" "$work/err" 'bad.csv: line 1: "MAXIMUM" is no column of a line list'

exit $fail
