#!/usr/bin/env bash
# Times `vantrel-design design` on generated line lists of 10,000 and 100,000
# rows: CPU time (user + system) and wall time, median over several runs, the
# CPU cost per row, and the peak resident memory of the largest run.
# Usage: bench/batch_design.sh [build-folder | program] [runs] [rows...]
#   bench/batch_design.sh build            # 10,000 and 100,000 rows, 3 runs each
#   bench/batch_design.sh build 5 1000     # 1,000 rows, 5 runs
set -euo pipefail
target=${1:-build}
runs=${2:-3}
shift $(($# < 2 ? $# : 2))
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(10000 100000)
if [ -x "$target" ] && [ ! -d "$target" ]; then prog=$target; else prog="$target/bin/vantrel-design"; fi
[ -x "$prog" ] || { echo "build $prog first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for rows in "${sizes[@]}"; do
  python3 - "$work/list$rows.csv" "$rows" <<'PY'
import csv, random, sys
random.seed(7)
sizes = ["2.0", "2.5", "3.0", "4.0", "6.0", "8.0", "10.0", "12.0"]
insul = ["Calcium Silicate", "Fiberglass", "Mineral Fiber", "Cellular Glass", "Expanded Perlite"]
with open(sys.argv[1], "w", newline="") as f:
    w = csv.writer(f)
    w.writerow(["CIRTXT", "PIPETXT", "MAXAMB", "MINAMB", "MAINTEMP", "MAXEXP", "INSTYPE", "INSTHK", "PIPESIZE",
                "PIPELN", "PASSES", "STEAMPRS", "TRACEINS", "TRACETUB", "TUBEMAT", "ALLOWANCE", "VALN", "FLNO",
                "NOPX", "WCTB", "SHOES"])
    for i in range(int(sys.argv[2])):
        w.writerow([f"ST-{i:05d}", f"L-{i}", 100, random.choice([-20, 0, 20]), random.choice([50, 100, 150, 200]),
                    375, random.choice(insul), random.choice(["1.0", "1.5", "2.0"]), random.choice(sizes),
                    random.choice([50, 100, 200, 400]), random.choice([1, 2]), random.choice([25, 50, 100, 150]),
                    random.choice(["Troughline", "Fillet Trace", "YJ-1", "YJ-2"]), "3/8", "Stainless Wld", "No",
                    random.randint(0, 4), random.randint(0, 6), random.randint(0, 1), 0, "12x4"])
PY
done

echo "program: $prog"
for rows in "${sizes[@]}"; do
  for format in json csv; do
    : > "$work/times"
    for _ in $(seq "$runs"); do
      status=0
      /usr/bin/time -f "%U %S %e %M" -o "$work/time" \
        "$prog" design "$work/list$rows.csv" --format "$format" -o "$work/out.$format" || status=$?
      # 0: every row designed; 3: some rows were not designed (still a full run).
      [ "$status" -eq 0 ] || [ "$status" -eq 3 ] || { echo "run failed with status $status" >&2; exit 1; }
      tail -1 "$work/time" >> "$work/times"
    done
    # Columns: user s, system s, wall s, peak KB; the median by CPU time.
    awk '{ printf "%.3f %s %s\n", $1 + $2, $3, $4 }' "$work/times" | sort -n > "$work/sorted"
    mem=$(sort -n -k3 "$work/sorted" | tail -1 | cut -d' ' -f3)
    sed -n "$(( (runs + 1) / 2 ))p" "$work/sorted" | awk -v rows="$rows" -v fmt="$format" -v n="$runs" -v mem="$mem" '
      { printf "%7d rows, %-4s: CPU %.3f s (%.1f us/row), wall %.3f s, median of %d; peak memory %.1f MB\n",
               rows, fmt, $1, $1 / rows * 1e6, $2, n, mem / 1024 }'
  done
done
