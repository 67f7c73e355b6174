#!/usr/bin/env bash
# Takes the screenshots of a heat-up design from the real program on a
# virtual display, driven with the keyboard as a user would: the main window
# with "Heat Up" chosen and designed, its Heat Up Data tab showing the
# product's properties and the time, in English and in Metric units; the
# message of a final temperature the line cannot reach; and the circuit
# report of the design. With SET_FILE the English set is also saved there,
# for printing its circuit report.
# Usage: scripts/take_heat_up_screenshots.sh BIN_DIR [OUT_DIR] [SET_FILE]
#   (default docs/screenshots; SET_FILE, when given, receives the saved set;
#   SHOT_ON_FAIL=FILE keeps a picture of the screen when a step fails)
# Needs Xvfb, xdotool, xwininfo and ImageMagick (import, convert).
set -euo pipefail
bin=$(cd "$1" && pwd)
out=${2:-docs/screenshots}
set_file=${3:-}
mkdir -p "$out"
out=$(cd "$out" && pwd)
for tool in Xvfb xdotool xwininfo import convert; do
  command -v "$tool" >/dev/null || { echo "take_heat_up_screenshots: $tool is not installed" >&2; exit 1; }
done
tmp=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
  echo "take_heat_up_screenshots: $*" >&2
  [ -z "${SHOT_ON_FAIL:-}" ] || import -window root "$SHOT_ON_FAIL" 2>/dev/null || true
  exit 1
}
KEY_DELAY=60 WINDOW_SETTLE=0.5
# shellcheck source=virtual_desktop.sh
. "$(dirname "$0")/virtual_desktop.sh"
start_virtual_display 70 1400x1050x24
# The design button, answered: the pipe length includes no allowances, no
# fittings, no shoes.
design() {
  keys alt+d
  window "Pipe Length = $1" >/dev/null
  keys alt+d
  type_text "No"
  keys alt+n
  window "Tubing Allowances for Shoes" >/dev/null
  keys alt+d
  for _ in $(seq 50); do xdotool search --onlyvisible --name "Tubing Allowances" >/dev/null || break; sleep 0.1; done
}
# The Heat Up Data tab in front: a click on its tab.
heat_up_tab() {
  local id=$1 x y
  eval "$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {print "x=" $4} /Absolute upper-left Y/ {print "y=" $4}')"
  xdotool mousemove $((x + 250)) $((y + 45)) click 1
}
# The inputs of the heat-up: a Troughline on the default 2 in pipe, the
# application "Heat Up" and a product; the initial and final temperatures
# follow the minimum ambient and the maintenance temperature as typed.
heat_up_inputs() {
  field alt+b "$1"
  field alt+t "$2"
  keys alt+i
  type_text "Troughline"
  keys Tab
  keys alt+l
  type_text "Heat"
  keys Tab
}

# English: toluene from 40 to 150 F.
"$bin/vantrel-st" >"$tmp/st.log" 2>&1 &
pids+=($!)
window "Steam Tracing" >/dev/null
keys alt+i
main=$(window "Vantrel-ST Version")
field alt+period HU-1
heat_up_inputs 40 150
heat_up_tab "$main"
keys alt+o
type_text "Toluene"
keys Tab
design 100
main=$(window "Vantrel-ST Version")
heat_up_tab "$main"
shot "$main" "$out/main_heat_up.png"
keys alt+c
bill=$(window "Report #1")
shot "$bill" "$out/bill_heat_up.png"
keys Escape
main=$(window "Vantrel-ST Version")
if [ -n "$set_file" ]; then
  keys ctrl+s
  window "SAVE FILE" >/dev/null
  type_text "$HOME/Documents/heat_up"
  keys Return
  for _ in $(seq 50); do [ -s "$HOME/Documents/heat_up.mdb" ] && break; sleep 0.1; done
  cp "$HOME/Documents/heat_up.mdb" "$set_file"
  main=$(window "Vantrel-ST Version")
fi

# A final temperature above the one the line settles at: the message, then
# the dash in the output.
heat_up_tab "$main"
field alt+n 400
design 100
warning=$(window "Warning")
shot "$warning" "$out/heat_up_cannot_reach.png"
keys Return
main=$(window "Vantrel-ST Version")
heat_up_tab "$main"
shot "$main" "$out/main_heat_up_cannot_reach.png"
kill "${pids[-1]}"
for _ in $(seq 50); do xdotool search --onlyvisible --name "Vantrel-ST" >/dev/null 2>&1 || break; sleep 0.1; done

# Metric: water from 5 to 65 C.
"$bin/vantrel-st" >"$tmp/st2.log" 2>&1 &
pids+=($!)
window "Steam Tracing" >/dev/null
keys alt+s
main=$(window "Vantrel-ST Version")
field alt+period HU-2
heat_up_inputs 5 65
design 30
main=$(window "Vantrel-ST Version")
heat_up_tab "$main"
shot "$main" "$out/main_heat_up_metric.png"
