#!/usr/bin/env bash
# The bills of vantrel-design as a user runs them: the circuit bill and the
# summary bill of a design file as JSON, their printouts read back from the
# PDF, the workbook read back from its XML, and the summary of a line list.
# Arguments: the program, the folder of example line lists.
set -u
prog=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
check() {  # description, expected status, actual status
  if [ "$2" != "$3" ]; then echo "FAIL: $1 (status $3, expected $2)"; cat "$work/err" 2>/dev/null; fail=1; else echo "ok: $1"; fi
}

"$prog" design "$examples/line_list.csv" --save "$work/set.mdb" --summary "$work/list.json" -o "$work/out.json" 2> "$work/err"
check "design the list with its summary" 0 $?
"$prog" design "$examples/line_list.csv" --summary "$work/list.csv" -o "$work/out.json" 2> "$work/err"
check "line list summary as CSV" 0 $?
"$prog" design "$examples/line_list.csv" --summary "$work/list.txt" -o "$work/out.json" 2> "$work/err"
check "an unknown summary file type is a usage error" 2 $?
"$prog" show "$work/set.mdb" --bill 4 --pdf "$work/bill4.pdf" -o "$work/bill4.json" 2> "$work/err"
check "show --bill 4 --pdf" 0 $?
"$prog" show "$work/set.mdb" --summary --pdf "$work/sum.pdf" --xlsx "$work/sum.xlsx" -o "$work/sum.json" 2> "$work/err"
check "show --summary --pdf --xlsx" 0 $?
"$prog" show "$work/set.mdb" --summary --format csv -o "$work/sum.csv" 2> "$work/err"
check "show --summary as CSV" 0 $?
"$prog" show "$work/set.mdb" --bill 5 > /dev/null 2> "$work/err"
check "a record without a design has no bill" 1 $?
"$prog" show "$work/set.mdb" --bill 11 > /dev/null 2> "$work/err"
check "--bill 11 is a usage error" 2 $?
"$prog" show "$work/set.mdb" --bill 4 --xlsx "$work/bill4.xlsx" > /dev/null 2> "$work/err"
check "show --bill 4 --xlsx" 0 $?
# Without a loadable PDF module beside it the program refuses a printout,
# naming the module and the loader's reason, and still designs.
mkdir "$work/alone" && cp "$prog" "$work/alone/"
alone="$work/alone/$(basename "$prog")" module="$work/alone/vantrel-design-pdf.so"
other_library=$(ldd "$prog" | awk '/libstdc\+\+/ {print $3}')
for case in "missing|could not be loaded: .*No such file" "not a library|could not be loaded: ." \
            "another library|has no renderer: .*undefined symbol"; do
  what=${case%%|*}; rm -f "$module"
  [ "$what" = "not a library" ] && echo junk > "$module"
  [ "$what" = "another library" ] && cp "$other_library" "$module"
  "$alone" show "$work/set.mdb" --bill 4 --pdf "$work/alone.pdf" -o "$work/alone.json" 2> "$work/err"
  check "--pdf, module $what: a file error" 1 $?
  grep -q "vantrel-design-pdf.so, which ${case#*|}" "$work/err" && [ ! -e "$work/alone.pdf" ]
  check "module $what: the message names the module and the reason, no PDF is written" 0 $?
done
"$alone" design "$examples/line_list.csv" -o "$work/alone.json" 2> "$work/err"
check "design without the module" 0 $?

pdftotext -layout "$work/bill4.pdf" "$work/bill4.txt" && pdftotext -layout "$work/sum.pdf" "$work/sum.txt"
check "pdftotext reads both printouts" 0 $?

python3 - "$work" <<'PY' || fail=1
import csv, json, re, sys, zipfile
import xml.dom.minidom as minidom
work = sys.argv[1]

def in_order(text, pieces, what):
    # pdftotext turns a run of blanks into one; so do the expected texts.
    text = re.sub(r"[ \t]+", " ", text)
    at = 0
    for piece in pieces:
        piece = re.sub(r"[ \t]+", " ", piece.strip())
        if not piece:
            continue
        found = text.find(piece, at)
        assert found >= 0, f"{what}: {piece!r} missing or out of order after {text[at:at+80]!r}"
        at = found + len(piece)

bill = json.load(open(f"{work}/bill4.json", encoding="utf-8"))
assert bill["record"] == 4 and bill["caption"] == "Report #4", bill
assert bill["labels"][2] == "Vaporix     Circuit Report #4     Bill of Materials", bill["labels"]
assert bill["bill"][0] == ["QUANTITY", "CATALOG NO.", "DESCRIPTION"]
assert bill["summary"][0] == ["DESIGN INPUT DATA", "DESIGN OUTPUT DATA"] and len(bill["summary"]) == 10
text = open(f"{work}/bill4.txt", encoding="utf-8").read()
header = ["Vantrel\u00ae", "Quorvex", "Date: ", "Time: ", "Vaporix", "CIRCUIT REPORT #4", "DESIGN INPUT DATA",
          bill["labels"][0], bill["labels"][1]]
values = [re.split(r":\s+", row[0], maxsplit=1)[1] for row in bill["summary"][1:]]
outputs = [re.split(r":\s+", row[1], maxsplit=1)[1] for row in bill["summary"][1:] if row[1]]
in_order(text, header + values + ["DESIGN OUTPUT DATA"] + outputs + ["BILL OF MATERIALS"] +
         [cell for row in bill["bill"] for cell in row], "circuit printout")
print("ok: the circuit printout holds the header, the summary and every bill line in order")

rows = json.load(open(f"{work}/sum.json", encoding="utf-8"))["rows"]
assert rows[0] == ["QUANTITY", "CATALOG NO.", "DESCRIPTION"] and all(len(r) == 3 for r in rows)
assert list(csv.reader(open(f"{work}/sum.csv", encoding="utf-8"))) == rows
text = open(f"{work}/sum.txt", encoding="utf-8").read()
in_order(text, ["Vantrel\u00ae", "Date: ", "Time: ", "Vaporix", "SUMMARY BILL OF MATERIALS"] +
         [cell for row in rows for cell in row], "summary printout")
print("ok: the summary printout holds the header and every row in order")

# The line list's own summary is the summary of the file its rows were saved in.
assert json.load(open(f"{work}/list.json", encoding="utf-8"))["rows"] == rows
assert list(csv.reader(open(f"{work}/list.csv", encoding="utf-8"))) == rows
print("ok: the line list summary equals the design file's summary")

def check_workbook(path, sheet_name, rows):
    z = zipfile.ZipFile(path)
    for name in z.namelist():
        if name.endswith(".xml") or name.endswith(".rels"):
            minidom.parseString(z.read(name))
    book = minidom.parseString(z.read("xl/workbook.xml"))
    assert [s.getAttribute("name") for s in book.getElementsByTagName("sheet")] == [sheet_name]
    strings = [("".join(t.firstChild.data if t.firstChild else "" for t in si.getElementsByTagName("t")))
               for si in minidom.parseString(z.read("xl/sharedStrings.xml")).getElementsByTagName("si")]
    sheet = minidom.parseString(z.read("xl/worksheets/sheet1.xml"))
    cells = {}
    for c in sheet.getElementsByTagName("c"):
        assert c.getAttribute("t") == "s", "every cell is text: " + c.toxml()
        assert not c.getElementsByTagName("f"), "no formulas"
        cells[c.getAttribute("r")] = strings[int(c.getElementsByTagName("v")[0].firstChild.data)]
    for r, row in enumerate(rows, start=1):
        for col, text in zip("ABC", row):
            assert cells[f"{col}{r}"] == text + " ", (col, r, cells.get(f"{col}{r}"), text)
    assert len(cells) == 3 * len(rows)
    widths = [float(c.getAttribute("width")) for c in sheet.getElementsByTagName("col")]
    longest = [max(len(row[i]) + 1 for row in rows) for i in range(3)]
    assert all(w >= l for w, l in zip(widths, longest)) and all(w < l + 3 for w, l in zip(widths, longest)), (widths, longest)
    table = minidom.parseString(z.read("xl/tables/table1.xml")).documentElement
    assert table.getAttribute("ref") == f"A1:C{len(rows)}", table.getAttribute("ref")
    assert table.getElementsByTagName("tableStyleInfo")[0].getAttribute("name") == "TableStyleLight1"

check_workbook(f"{work}/sum.xlsx", "Summary BOM", rows)
print("ok: the workbook holds one sheet of text cells with trailing spaces, fitted columns and a table")
# The circuit bill's workbook: its bill lines, as the summary's, on a sheet named as its window.
check_workbook(f"{work}/bill4.xlsx", bill["caption"], bill["bill"])
print("ok: the circuit bill's workbook holds every bill line as the summary's workbook does")
PY
exit $fail
