#!/usr/bin/env bash
# Start-up cost of vantrel-st: the time from process start to the main window
# first shown (the start-up window's unit choice pressed by the program
# itself), and the peak resident memory of the run. Runs on Qt's offscreen
# platform unless QT_QPA_PLATFORM says otherwise.
#
#   bench/startup.sh [path/to/vantrel-st]     RUNS=9 UNITS=metric bench/startup.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/bin/vantrel-st}
runs=${RUNS:-9}
units=${UNITS:-english}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

if [ ! -x "$bin" ]; then
  echo "startup.sh: $bin not found; build the vantrel-st target first" >&2
  exit 1
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

times=()
rss=()
for i in $(seq "$runs"); do
  start=$(date +%s%N)
  # A run that does not end by itself (a window waiting for an answer) fails
  # the benchmark instead of hanging it.
  if ! timeout 30 /usr/bin/time -v -o "$tmp/time" "$bin" --select-units "$units" --quit-after-shown \
      >"$tmp/out" 2>"$tmp/err"; then
    echo "startup.sh: run $i failed or did not end within 30 s" >&2
    cat "$tmp/err" >&2
    exit 1
  fi
  shown=$(sed -n 's/.*shown_epoch_ns=\([0-9]*\).*/\1/p' "$tmp/out")
  if [ -z "$shown" ]; then
    echo "startup.sh: run $i did not report the main window shown" >&2
    cat "$tmp/err" >&2
    exit 1
  fi
  times+=("$(( (shown - start) / 1000 ))")  # microseconds
  rss+=("$(sed -n 's/.*Maximum resident set size (kbytes): \([0-9]*\).*/\1/p' "$tmp/time")")
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
max() { printf '%s\n' "$@" | sort -n | tail -1; }

t_med=$(median "${times[@]}")
t_min=$(printf '%s\n' "${times[@]}" | sort -n | head -1)
t_max=$(max "${times[@]}")
r_med=$(median "${rss[@]}")
r_max=$(max "${rss[@]}")
awk -v m="$t_med" -v lo="$t_min" -v hi="$t_max" -v n="$runs" -v u="$units" -v p="$QT_QPA_PLATFORM" \
  'BEGIN {printf "start to main window shown (%s units, %s, %d runs): median %.1f ms (min %.1f, max %.1f)\n", u, p, n, m/1000, lo/1000, hi/1000}'
awk -v m="$r_med" -v hi="$r_max" 'BEGIN {printf "peak RSS: median %.1f MiB (max %.1f MiB)\n", m/1024, hi/1024}'
