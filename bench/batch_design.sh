#!/usr/bin/env bash
# Times `vantrel-design design` on a generated 10,000-row line list: median
# wall time over several runs and the peak resident memory.
# Usage: bench/batch_design.sh [build-folder] [rows] [runs]
set -euo pipefail
build=${1:-build}
rows=${2:-10000}
runs=${3:-5}
prog="$build/bin/vantrel-design"
[ -x "$prog" ] || { echo "build $prog first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work/list.csv" "$rows" <<'PY'
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

times=()
for i in $(seq "$runs"); do
  /usr/bin/time -f "%e %M" -o "$work/time" "$prog" design "$work/list.csv" --format json -o "$work/out.json"
  times+=("$(cat "$work/time")")
done
printf '%s\n' "${times[@]}" | sort -n | awk -v rows="$rows" '
  { t[NR] = $1; if ($2 > m) m = $2 }
  END { printf "vantrel-design, %d rows: median %.2f s over %d runs, peak memory %.1f MB\n", rows, t[int((NR + 1) / 2)], NR, m / 1024 }'
