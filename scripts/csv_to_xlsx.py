#!/usr/bin/env python3
"""Writes a line list workbook (.xlsx) from a CSV list, as a spreadsheet
program saves one: text as inline strings, numbers as number cells.

  csv_to_xlsx.py OUT.xlsx LIST.csv [--captions] [--rename CODE=HEADING ...]
                 [--cell REF=date|error|formula ...] [--bomb MB] [--first-row N]

--captions heads it with the main window's captions, --rename gives a column
a heading of its own, --cell puts a date, an error value or a formula without
a stored value at REF, --bomb makes its sheet unpack to MB more megabytes of
blanks, --first-row starts the list lower on the sheet. Used by the tests and
the screenshots.
"""
import csv, sys, zipfile, argparse
p = argparse.ArgumentParser()
p.add_argument("out"); p.add_argument("csv")
p.add_argument("--captions", action="store_true")
p.add_argument("--cell", action="append", default=[])
p.add_argument("--rename", action="append", default=[])
p.add_argument("--bomb", type=int, default=0)
p.add_argument("--first-row", type=int, default=1)
a = p.parse_args()
captions = {"CIRTXT": "Circuit No.", "PIPETXT": "Line\\Pipe No.", "MAXAMB": "Max. Ambient (\u00b0F)",
            "MINAMB": "Min. Ambient", "MAINTEMP": "Maint. Temp.", "MAXEXP": "Steam Out / Max. Process Temp.",
            "INSTYPE": "Insulation", "INSTHK": "Insulation Thickness", "PIPESIZE": "Pipe Size",
            "PIPELN": "Pipe Length (ft)", "PASSES": "Number of Passes", "STEAMPRS": "Steam Pressure",
            "TRACEINS": "Tracer Installation", "TRACETUB": "Tracer Tubing", "TUBEMAT": "Tracer Tubing Material",
            "TUBEWALL": "Tracer Wall Thickness"}
rows = list(csv.reader(open(a.csv, encoding="utf-8")))
renamed = dict(r.split("=", 1) for r in a.rename)
rows[0] = [renamed.get(h, captions.get(h, h) if a.captions else h) for h in rows[0]]
special = dict(c.split("=") for c in a.cell)
def col(i):
    s = ""
    i += 1
    while i: i, r = divmod(i - 1, 26); s = chr(65 + r) + s
    return s
def esc(t): return t.replace("&", "&amp;").replace("<", "&lt;").replace('"', "&quot;")
def cell(ref, text):
    kind = special.get(ref)
    if kind == "date": return f'<c r="{ref}" s="1"><v>45000</v></c>'
    if kind == "error": return f'<c r="{ref}" t="e"><v>#N/A</v></c>'
    if kind == "formula": return f'<c r="{ref}"><f>1+1</f></c>'
    if text == "": return ""
    try:
        float(text)
        if text.strip() == text: return f'<c r="{ref}"><v>{text}</v></c>'
    except ValueError: pass
    return f'<c r="{ref}" t="inlineStr"><is><t xml:space="preserve">{esc(text)}</t></is></c>'
ns = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
with zipfile.ZipFile(a.out, "w", zipfile.ZIP_DEFLATED, compresslevel=1) as z:
    z.writestr("[Content_Types].xml", '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>')
    z.writestr("_rels/.rels", f'<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="{rel}officeDocument" Target="xl/workbook.xml"/></Relationships>')
    z.writestr("xl/workbook.xml", f'<workbook {ns}><sheets><sheet name="Lines" sheetId="1" r:id="rId1"/></sheets></workbook>')
    z.writestr("xl/_rels/workbook.xml.rels", f'<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="{rel}worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="{rel}styles" Target="styles.xml"/></Relationships>')
    z.writestr("xl/styles.xml", f'<styleSheet {ns}><cellXfs><xf numFmtId="0"/><xf numFmtId="14"/></cellXfs></styleSheet>')
    with z.open("xl/worksheets/sheet1.xml", "w", force_zip64=True) as f:
        f.write(f"<worksheet {ns}><sheetData>".encode())
        for r, fields in enumerate(rows):
            n = r + a.first_row
            f.write((f'<row r="{n}">' + "".join(cell(f"{col(i)}{n}", t) for i, t in enumerate(fields)) + "</row>").encode())
        for _ in range(a.bomb): f.write(b" " * (1 << 20))
        f.write(b"</sheetData></worksheet>")
