#!/usr/bin/env bash
# Designs the same line lists with two builds of vantrel-design and compares
# their outputs byte for byte: the example line list, and random lists that
# reach every path of a row (list rules, corrections, fallbacks, input errors,
# refused dialog answers, rows the list cannot take) in both unit systems,
# both program modes, every pressure unit, both insulation sizings, with and
# without --strict, as JSON and as CSV; then the records, circuit bills,
# summary bills and circuit lists of the design files the old build saves
# from those lists. Exit status 0 when every output agrees.
#
#   scripts/compare_builds.sh OLD_BUILD NEW_BUILD [ROWS]   (default 3000 rows per list)
set -euo pipefail
old=$1
new=$2
rows=${3:-3000}
prog() { if [ -x "$1" ] && [ ! -d "$1" ]; then echo "$1"; else echo "$1/bin/vantrel-design"; fi; }
old=$(prog "$old")
new=$(prog "$new")
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" "$rows" <<'PY'
import csv, random, sys
folder, rows = sys.argv[1], int(sys.argv[2])
header = ["CIRTXT", "PIPETXT", "MAXAMB", "MINAMB", "MAINTEMP", "MAXEXP", "INTEXP", "INSTYPE", "INSTHK",
          "PIPESIZE", "PIPELN", "PASSES", "STEAMPRS", "TRACEINS", "TRACETUB", "TUBEMAT", "TUBEWALL",
          "ALLOWANCE", "VALN", "FLNO", "NOPX", "WCTB", "SHOES"]

def row(r, metric, i):
    # A sound row, then now and then one value the row gets wrong.
    install = r.choice(["Troughline", "Fillet Trace", "YJ-0", "YJ-1", "YJ-2", "troughline", "Coverlyn  YJ-1",
                        "fillet", "trough line", "Coverlyn YJ-2", "YJ-2", "YJ-1"])
    jacketed = "YJ" in install.upper()
    if metric:
        tube = r.choice(["10", "12"] if "YJ-0" in install else ["10"] if jacketed else ["10", "12", "16", "20", "10.0"])
        wall = r.choice(["", "", "1", "1.5", "1.0"])
        pipe = r.choice(["15", "20", "25", "40", "50", "65", "80", "100", "150", "200", "250", "300", "600", "900", "50.0"])
        thick = r.choice(["25", "50", "100", "25.0"])
        mina, maxa = r.choice([-30, -18, 0, 5]), r.choice([30, 38, 40])
        maint = r.choice([10, 38, 65, 93, 121, 150, 200])
        maxexp = r.choice([150, 190, 204, 205, 230, 260, 371])
        press = r.choice(["3.45", "1", "7", "10", "17.5", "20", "0.5", "35", "4"])
        length = r.choice(["30", "100", "5", "12.5", "300", "1000"])
        shoes = r.choice(["", "300x4", "300x4;150x2", "450x2.5", "300x3"])
        wct = r.choice(["0", "0", "6", "2.5"])
        intexp = r.choice(["", "", "190", "204", "260"])
    else:
        tube = r.choice(["3/8", "1/2"] if "YJ-0" in install else ["3/8"] if jacketed else ["3/8", "1/2", "5/8", "3/4"])
        wall = r.choice(["", "", "0.032", "0.035", "0.049", "0.065", "0.042", ".049"])
        pipe = r.choice([".5", ".75", "0.75", "1", "1.5", "2", "2.0", "2.5", "3.0", "4.0", "6.0", "8.0", "10.0",
                         "12.0", "14.0", "18.0", "24.0", "30.0", "36.0"])
        thick = r.choice(["1.0", "1.5", "2.0", "2.5", "3.0", "4.0", "1"])
        mina, maxa = r.choice([-20, 0, 20, 40]), r.choice([90, 100, 110])
        maint = r.choice([50, 100, 150, 200, 250, 300, 350])
        maxexp = r.choice([300, 375, 400, 401, 450, 500, 700])
        press = r.choice(["25", "50", "100", "150", "200", "250", "251", "300", "15", "5", "600", "50.5"])
        length = r.choice(["100", "250", "10", "33.3", "1000", "5000"])
        shoes = r.choice(["", "12x4", "12x4;18x2", "12x4.5", "6*3", "12X2"])
        wct = r.choice(["0", "0", "20", "7.5"])
        intexp = r.choice(["", "", "375", "450", "300"])
    insulation = r.choice(["Calcium Silicate", "Foamed Elastomer", "Fiberglass", "Mineral Fiber", "Cellular Glass",
                           "Polyisocyanurate", "Expanded Perlite", "fiberglass"])
    material = r.choice(["Copper", "Stainless Wld", "Stainless Smls", "copper", "Stainless Wld"])
    f = [f"ST-{i}", r.choice([f"L-{i}", "", '2"-P-1, A', "=1+2"]), str(maxa), str(mina), str(maint), str(maxexp),
         intexp, insulation, thick, pipe, length, r.choice(["1", "1", "2", "3", "4", "8"]), press, install, tube,
         material, wall, r.choice(["No", "Yes", "", "yes"]), str(r.randint(0, 5)), str(r.randint(0, 8)),
         str(r.randint(0, 2)), wct, shoes]
    if r.random() < 0.25:
        strange = {2: ["", "abc", "1e40", "-5"], 3: ["", "x", "2.5e1"], 4: ["", "100,5", " 120 ", "-40"],
                   5: ["", "n/a", "9999"], 6: ["abc", "1e30"], 7: ["Glass Wool", ""], 8: ["0.5", "13", "7"],
                   9: ["5", "33", ""], 10: ["", "-3", "long", "0", "100001", "30481", "1e9"],
                   11: ["9", "0", "two", ""], 12: ["", "lots", "-10", "5000"],
                   13: ["YJ-3", "", "YJ-0"], 14: ["0.5", "1", "3/4", "25", "16"], 15: ["Steel", ""],
                   16: ["0.1", "2", "0.065"], 17: ["maybe"], 18: ["", "-1", "2000000", "1.5", "x"],
                   19: ["", "1e6", "1000001"], 20: ["", "3.7"], 21: ["-1", "y", "2e6"],
                   22: ["1e7x2", "x3", "12", "12x1e7", "12x-1"]}
        c = r.choice(list(strange))
        f[c] = r.choice(strange[c])
    if r.random() < 0.005:
        f = f[:-2] if r.random() < 0.5 else f + ["extra"]
    return f

for name, metric, seed in (("english", False, 17), ("metric", True, 23)):
    r = random.Random(seed)
    with open(f"{folder}/{name}.csv", "w", newline="") as out:
        w = csv.writer(out)
        w.writerow(header)
        for i in range(rows):
            w.writerow(row(r, metric, i))
PY

runs=(
  "english.csv --units english"
  "english.csv --units english --mode internal"
  "english.csv --units english --sizing minimal"
  "english.csv --units english --strict"
  "metric.csv --units metric"
  "metric.csv --units metric --mode internal --pressure-unit kpa"
  "metric.csv --units metric --pressure-unit psig --sizing minimal"
  "metric.csv --units metric --strict --pressure-unit barg"
)
differ=0
compared=0
run_both() {  # description, arguments...
  local what=$1
  shift
  for format in json csv; do
    local a="$work/old.$format" b="$work/new.$format"
    local sa=0 sb=0
    "$old" design "$@" --format "$format" -o "$a" 2> "$work/old.err" || sa=$?
    "$new" design "$@" --format "$format" -o "$b" 2> "$work/new.err" || sb=$?
    compared=$((compared + 1))
    if [ "$sa" != "$sb" ] || ! cmp -s "$a" "$b" || ! cmp -s "$work/old.err" "$work/new.err"; then
      differ=$((differ + 1))
      echo "DIFFERS: $what --format $format (exit $sa / $sb)"
      diff <(head -c 200000 "$a") <(head -c 200000 "$b") | head -20 || true
      diff "$work/old.err" "$work/new.err" | head -5 || true
    else
      echo "same: $what --format $format ($(wc -c < "$a") bytes, exit $sa)"
    fi
  done
}
run_show() {  # description, arguments...
  local what=$1
  shift
  for format in json csv; do
    local sa=0 sb=0
    "$old" show "$@" --format "$format" -o "$work/old.$format" 2> "$work/old.err" || sa=$?
    "$new" show "$@" --format "$format" -o "$work/new.$format" 2> "$work/new.err" || sb=$?
    compared=$((compared + 1))
    if [ "$sa" != "$sb" ] || ! cmp -s "$work/old.$format" "$work/new.$format" ||
      ! cmp -s "$work/old.err" "$work/new.err"; then
      differ=$((differ + 1))
      echo "DIFFERS: show $what --format $format (exit $sa / $sb)"
      diff "$work/old.$format" "$work/new.$format" | head -10 || true
    fi
  done
}
run_both "README example" "$here/data/examples/line_list.csv"
for r in "${runs[@]}"; do
  read -r -a args <<< "$r"
  args[0]="$work/${args[0]}"
  run_both "$r" "${args[@]}"
done
# The bills and reports of the design files the old build saves from the lists.
for units in english metric; do
  for mode in standard internal; do
    rm -f "$work"/set-*.mdb "$work"/set.mdb
    "$old" design "$work/$units.csv" --units "$units" --mode "$mode" --save "$work/set.mdb" -o "$work/saved.json" \
      2> "$work/save.err" || true  # rows the list cannot take end the run with status 1
    # No design file saved (a build without its template beside it): say so
    # and fail rather than report agreement on files never compared.
    if [ ! -e "$work/set.mdb" ] && ! compgen -G "$work/set-*.mdb" > /dev/null; then
      echo "compare: the old build saved no design file from the $units $mode list:" >&2
      head -3 "$work/save.err" >&2
      exit 1
    fi
    for file in $(ls "$work"/set-*.mdb 2> /dev/null | head -3); do
      for n in 1 4 10; do
        run_show "$units $mode $(basename "$file") --bill $n" "$file" --units "$units" --bill "$n"
      done
      run_show "$units $mode $(basename "$file") --summary" "$file" --units "$units" --summary
      run_show "$units $mode $(basename "$file") records" "$file" --units "$units"
      run_show "$units $mode $(basename "$file") circuit list" "$file" --units "$units" --circuit-list
    done
  done
done
echo "compare: $compared outputs, $differ differ"
[ "$differ" -eq 0 ]
