#!/usr/bin/env bash
# Times `vantrel-design design` on generated line lists: CPU time (user +
# system) and wall time, median over several runs, the CPU cost per row, and
# the peak resident memory.
#
# Two kinds of list:
#   mixed  every row draws each input at random from a wide choice (three
#          minimum ambients, four pressures, five insulations, eight pipe
#          sizes...): few rows share their heat balances.
#   plant  one site (one pair of ambients) with four services, each with its
#          own maintenance temperature, steam main, insulation and tracing;
#          pipe sizes, lengths, passes and fittings vary from line to line.
#
# Usage: bench/batch_design.sh [build-folder | program] [runs] [rows...]
#   bench/batch_design.sh build            # 10,000 and 100,000 rows, 3 runs each
#   bench/batch_design.sh build 5 1000     # 1,000 rows, 5 runs
#   BEFORE=../old/build bench/batch_design.sh build   # also times an older build, line by line
set -euo pipefail
target=${1:-build}
runs=${2:-3}
shift $(($# < 2 ? $# : 2))
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(10000 100000)
program() {
  if [ -x "$1" ] && [ ! -d "$1" ]; then echo "$1"; else echo "$1/bin/vantrel-design"; fi
}
progs=("$(program "$target")")
names=("after")
if [ -n "${BEFORE:-}" ]; then
  progs=("$(program "$BEFORE")" "${progs[0]}")
  names=("before" "after")
fi
for p in "${progs[@]}"; do [ -x "$p" ] || { echo "build $p first" >&2; exit 1; }; done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for rows in "${sizes[@]}"; do
  python3 - "$work" "$rows" <<'PY'
import csv, random, sys
folder, rows = sys.argv[1], int(sys.argv[2])
header = ["CIRTXT", "PIPETXT", "MAXAMB", "MINAMB", "MAINTEMP", "MAXEXP", "INSTYPE", "INSTHK", "PIPESIZE",
          "PIPELN", "PASSES", "STEAMPRS", "TRACEINS", "TRACETUB", "TUBEMAT", "ALLOWANCE", "VALN", "FLNO",
          "NOPX", "WCTB", "SHOES"]

random.seed(7)
sizes = ["2.0", "2.5", "3.0", "4.0", "6.0", "8.0", "10.0", "12.0"]
insul = ["Calcium Silicate", "Fiberglass", "Mineral Fiber", "Cellular Glass", "Expanded Perlite"]
with open(f"{folder}/mixed{rows}.csv", "w", newline="") as f:
    w = csv.writer(f)
    w.writerow(header)
    for i in range(rows):
        w.writerow([f"ST-{i:05d}", f"L-{i}", 100, random.choice([-20, 0, 20]), random.choice([50, 100, 150, 200]),
                    375, random.choice(insul), random.choice(["1.0", "1.5", "2.0"]), random.choice(sizes),
                    random.choice([50, 100, 200, 400]), random.choice([1, 2]), random.choice([25, 50, 100, 150]),
                    random.choice(["Troughline", "Fillet Trace", "YJ-1", "YJ-2"]), "3/8", "Stainless Wld", "No",
                    random.randint(0, 4), random.randint(0, 6), random.randint(0, 1), 0, "12x4"])

random.seed(11)
services = [(50, 50, "Fiberglass", "1.0", "Troughline"), (100, 50, "Mineral Fiber", "1.5", "Troughline"),
            (150, 150, "Calcium Silicate", "2.0", "Fillet Trace"), (200, 150, "Calcium Silicate", "2.0", "YJ-2")]
plant_sizes = ["1.0", "1.5", "2.0", "3.0", "4.0", "6.0", "8.0", "10.0", "12.0"]
with open(f"{folder}/plant{rows}.csv", "w", newline="") as f:
    w = csv.writer(f)
    w.writerow(header)
    for i in range(rows):
        maint, steam, insulation, thickness, tracing = random.choice(services)
        size = random.choice(plant_sizes)
        passes = random.choice([1, 2]) if float(size) >= 6 else 1  # two tracers on the larger lines
        w.writerow([f"ST-{i:05d}", f"L-{i}", 95, 5, maint, 375, insulation, thickness, size,
                    random.randint(20, 400), passes, steam,
                    tracing, "3/8", "Stainless Wld", "No", random.randint(0, 4), random.randint(0, 6), 0, 0,
                    "12x4"])
PY
done

echo "runs: $runs; ${names[*]}: ${progs[*]}"
for rows in "${sizes[@]}"; do
  for kind in mixed plant; do
    for format in json csv; do
      for i in "${!progs[@]}"; do
        : > "$work/times"
        for _ in $(seq "$runs"); do
          status=0
          /usr/bin/time -f "%U %S %e %M" -o "$work/time" \
            "${progs[$i]}" design "$work/$kind$rows.csv" --format "$format" -o "$work/out.$format" \
            2> "$work/stderr" || status=$?
          # 0: every row designed; 3: some rows were not designed (still a full run).
          if [ "$status" -ne 0 ] && [ "$status" -ne 3 ]; then
            cat "$work/stderr" >&2
            echo "run failed with status $status" >&2
            exit 1
          fi
          tail -1 "$work/time" >> "$work/times"
        done
        # Columns: user s, system s, wall s, peak KB; the median by CPU time.
        awk '{ printf "%.3f %s %s\n", $1 + $2, $3, $4 }' "$work/times" | sort -n > "$work/sorted"
        mem=$(sort -n -k3 "$work/sorted" | tail -1 | cut -d' ' -f3)
        sed -n "$(( (runs + 1) / 2 ))p" "$work/sorted" | awk -v rows="$rows" -v kind="$kind" -v fmt="$format" \
          -v who="${names[$i]}" -v mem="$mem" '
          { printf "%7d rows %-5s %-4s %-6s: CPU %.3f s (%.1f us/row), wall %.3f s; peak memory %.1f MB\n",
                   rows, kind, fmt, who, $1, $1 / rows * 1e6, $2, mem / 1024 }'
      done
    done
  done
done
