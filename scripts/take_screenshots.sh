#!/usr/bin/env bash
# Takes the README's screenshots from the real program on a virtual display,
# driven with the keyboard as a user would: the main window after a design,
# the circuit bill, the circuit list, the help page of the line-list
# command, and a plant's workbook opened as a line list: the column mapping
# dialog and the designed list. Each picture is cropped to its window.
# Usage: scripts/take_screenshots.sh BIN_DIR [OUT_DIR]   (default docs/screenshots)
# Needs Xvfb, xdotool, xwininfo and ImageMagick (import, convert).
set -euo pipefail
bin=$(cd "$1" && pwd)
out=${2:-docs/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
for tool in Xvfb xdotool xwininfo import convert; do
  command -v "$tool" >/dev/null || { echo "take_screenshots: $tool is not installed" >&2; exit 1; }
done
tmp=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT

fail() {
  echo "take_screenshots: $*" >&2
  exit 1
}
# Slower keys and more time to draw than the test: the pictures must be whole.
KEY_DELAY=60 WINDOW_SETTLE=0.5
# shellcheck source=virtual_desktop.sh
. "$(dirname "$0")/virtual_desktop.sh"
start_virtual_display 60 1400x1050x24

"$bin/vantrel-st" >"$tmp/st.log" 2>&1 &
pids+=($!)
window "Steam Tracing" >/dev/null
keys alt+i
main=$(window "Vantrel-ST Version")
field alt+x 90
field alt+b -10
field alt+t 150
field alt+g 120
field alt+e 100
field alt+period ST-101
field alt+backslash '2"-P-1001'
keys alt+i
type_text "Fillet"
keys Tab
keys alt+d
window "Pipe Length = 120" >/dev/null
keys alt+d
type_text "No"
keys Tab
type_text "4"
keys Tab
type_text "6"
keys alt+n
window "Tubing Allowances for Shoes" >/dev/null
keys alt+d
for _ in $(seq 50); do xdotool search --onlyvisible --name "Tubing Allowances" >/dev/null || break; sleep 0.1; done
main=$(window "Vantrel-ST Version")
shot "$main" "$out/main.png"

keys alt+c
bill=$(window "Report #1")
shot "$bill" "$out/bill.png"
keys Escape
main=$(window "Vantrel-ST Version")

keys alt+r Down Down Return
list=$(window "Circuit List")
shot "$list" "$out/list.png"
keys Escape
main=$(window "Vantrel-ST Version")

# The help: F1 in a field, then the line-list command's page from the
# contents tree (its last topic), scrolled to the options of design.
keys alt+x F1
help=$(window "Vantrel ST Help")
eval "$(xwininfo -id "$help" | awk '/Absolute upper-left X/ {print "hx=" $4} /Absolute upper-left Y/ {print "hy=" $4}')"
xdotool mousemove $((hx + 120)) $((hy + 120)) click 1
keys End Return
sleep 0.5
xdotool mousemove $((hx + 600)) $((hy + 300)) click --repeat 38 --delay 30 5
shot "$help" "$out/help.png"
keys Escape

# A plant's workbook with headings of its own: the column mapping dialog
# with its guesses, then the list designed in its window.
python3 "$(dirname "$0")/csv_to_xlsx.py" "$HOME/Documents/plant.xlsx" "$(dirname "$0")/../data/examples/line_list.csv" \
  --captions --rename "MAXAMB=Max Ambient Temp" --rename "PIPELN=Pipe Run Length" --rename "SHOES=Remarks"
main=$(window "Vantrel-ST Version")
keys ctrl+l
window "Open Line List" >/dev/null
type_text "$HOME/Documents/plant.xlsx"
keys Return
mapping=$(window "Column Mapping")
shot "$mapping" "$out/column_mapping.png"
keys Return
workbook=$(window "Line List - plant.xlsx")
keys F5
sleep 1.5
shot "$workbook" "$out/line_list_workbook.png"
keys End
shot "$workbook" "$out/line_list_captions.png"
