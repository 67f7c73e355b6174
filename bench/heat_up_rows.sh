#!/usr/bin/env bash
# What a heat-up row costs in `vantrel-design design` beside the same row as
# a maintenance row: CPU time (user + system, median of the runs, --jobs 1,
# JSON) of the same list twice, once every row "Maintenance" and once every
# row "Heat Up", and the ratio.
#
# Two kinds of list, as bench/batch_design.sh makes them:
#   plant   one site with four services: rows share their heat balances (memo warm)
#   random  every input drawn at random: few rows share anything (memo cold)
# The heat-up rows draw their product from water, three listed liquids and
# "Other", and heat from the minimum ambient to 10 F below the temperature
# to be maintained.
#
# Usage: bench/heat_up_rows.sh [build-folder | program] [runs] [rows]
set -euo pipefail
target=${1:-build}
runs=${2:-5}
rows=${3:-10000}
prog=$target
[ -x "$prog" ] && [ ! -d "$prog" ] || prog="$target/bin/vantrel-design"
[ -x "$prog" ] || { echo "build $prog first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" "$rows" <<'PY'
import csv, random, sys
folder, rows = sys.argv[1], int(sys.argv[2])
header = ["CIRTXT", "PIPETXT", "MAXAMB", "MINAMB", "MAINTEMP", "MAXEXP", "INSTYPE", "INSTHK", "PIPESIZE",
          "PIPELN", "PASSES", "STEAMPRS", "TRACEINS", "TRACETUB", "TUBEMAT", "ALLOWANCE", "VALN", "FLNO",
          "NOPX", "WCTB", "SHOES", "APPTYPE", "PRODUCT", "HUINIT", "HUFINAL", "HUDENS", "HUCP"]
products = [("Water", "", ""), ("Ethylene Glycol", "", ""), ("Toluene", "", ""), ("Oil: #6 Fuel", "", ""),
            ("Other", "55", "0.5")]

def plant(r, i):
    services = [(50, 50, "Fiberglass", "1.0", "Troughline"), (100, 50, "Mineral Fiber", "1.5", "Troughline"),
                (150, 150, "Calcium Silicate", "2.0", "Fillet Trace"), (200, 150, "Calcium Silicate", "2.0", "YJ-2")]
    maint, steam, insulation, thickness, tracing = r.choice(services)
    size = r.choice(["1.0", "1.5", "2.0", "3.0", "4.0", "6.0", "8.0", "10.0", "12.0"])
    passes = r.choice([1, 2]) if float(size) >= 6 else 1
    return [f"ST-{i:05d}", f"L-{i}", 95, 5, maint, 375, insulation, thickness, size, r.randint(20, 400), passes,
            steam, tracing, "3/8", "Stainless Wld", "No", r.randint(0, 4), r.randint(0, 6), 0, 0, "12x4"]

def randomRow(r, i):
    insul = ["Calcium Silicate", "Fiberglass", "Mineral Fiber", "Cellular Glass", "Expanded Perlite"]
    return [f"ST-{i:05d}", f"L-{i}", 100, r.choice([-20, 0, 20]), r.choice([50, 100, 150, 200]), 375,
            r.choice(insul), r.choice(["1.0", "1.5", "2.0"]),
            r.choice(["2.0", "2.5", "3.0", "4.0", "6.0", "8.0", "10.0", "12.0"]), r.choice([50, 100, 200, 400]),
            r.choice([1, 2]), r.choice([25, 50, 100, 150]), r.choice(["Troughline", "Fillet Trace", "YJ-1", "YJ-2"]),
            "3/8", "Stainless Wld", "No", r.randint(0, 4), r.randint(0, 6), r.randint(0, 1), 0, "12x4"]

for kind, make in (("plant", plant), ("random", randomRow)):
    r = random.Random(13)
    lines = []
    for i in range(rows):
        row = make(r, i)
        product, density, cp = r.choice(products)
        lines.append((row, product, row[3], row[4] - 10, density, cp))
    for application in ("Maintenance", "Heat Up"):
        with open(f"{folder}/{kind}-{application.replace(' ', '')}.csv", "w", newline="") as f:
            w = csv.writer(f)
            w.writerow(header)
            for row, product, initial, final, density, cp in lines:
                w.writerow(row + [application, product, initial, final, density, cp])
PY

echo "runs: $runs; $prog; $rows rows, --jobs 1, JSON"
# The CPU time of each run from the kernel's accounting of the finished
# child (getrusage), finer than the 10 ms ticks of /usr/bin/time.
python3 - "$prog" "$work" "$runs" "$rows" <<'PY'
import re, resource, statistics, subprocess, sys
prog, work, runs, rows = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
def cpu(path):
    times = []
    for _ in range(runs):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        done = subprocess.run([prog, "design", path, "--jobs", "1", "--format", "json", "-o", f"{work}/out.json"],
                              stderr=subprocess.PIPE)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        if done.returncode not in (0, 3):
            sys.exit(done.stderr.decode())
        times.append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
    return statistics.median(times)
for kind in ("plant", "random"):
    seconds = {}
    for application in ("Maintenance", "HeatUp"):
        seconds[application] = cpu(f"{work}/{kind}-{application}.csv")
        timed = len(re.findall(r'"heat_up_hours":[0-9]', open(f"{work}/out.json").read()))
        print(f"{kind:6} {application:11}: CPU {seconds[application]:.3f} s "
              f"({seconds[application] / rows * 1e6:.1f} us/row), {timed} rows with a heat-up time")
    print(f"{kind:6} heat-up / maintenance: {seconds['HeatUp'] / seconds['Maintenance']:.2f}x")
PY
