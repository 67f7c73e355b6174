# Shared by the scripts that drive the real program on a virtual X display
# with xdotool (the end-to-end test, the README's screenshots). Sourced, not
# run. The caller defines `tmp` (its temporary folder), the array `pids` (the
# processes its clean-up kills) and `fail MESSAGE` (which does not return).
# KEY_DELAY (milliseconds between keys) and WINDOW_SETTLE (seconds a window is
# given to draw after it takes the keyboard) may be set before sourcing.
KEY_DELAY=${KEY_DELAY:-40}
WINDOW_SETTLE=${WINDOW_SETTLE:-0.3}

# Starts Xvfb on the first free display number from FIRST, SIZE (WxHxDEPTH),
# and gives the program a home of its own with a Documents folder.
start_virtual_display() {
  local display=$1 size=$2
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  # -noreset: without it the server resets when its last client leaves (the
  # program quitting between two starts), and a client connecting then fails.
  Xvfb ":$display" -screen 0 "$size" -nolisten tcp -noreset >"$tmp/xvfb.log" 2>&1 &
  pids+=($!)
  export DISPLAY=":$display"
  # Xvfb can take seconds to accept clients on a busy machine: the program
  # started before that aborts ("could not load the Qt platform plugin").
  local up=""
  for _ in $(seq 300); do
    xdotool getmouselocation >/dev/null 2>&1 && up=1 && break
    sleep 0.1
  done
  [ -n "$up" ] || fail "the virtual display :$display did not start: $(tail -3 "$tmp/xvfb.log")"
  export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" QT_QPA_PLATFORM=xcb
  mkdir -p "$HOME/Documents"
}

# Waits for a window whose title matches, gives it the keyboard, prints its id.
# A window that closes while xdotool walks the window tree (a tooltip, a
# dialog going away) ends that search with BadWindow: it is searched again.
window() {
  local id="" deadline=$((SECONDS + 20))
  while :; do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
    [ -n "$id" ] && break
    [ "$SECONDS" -lt "$deadline" ] || fail "no window \"$1\""
    sleep 0.1
  done
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  sleep "$WINDOW_SETTLE"
  echo "$id"
}
keys() { xdotool key --delay "$KEY_DELAY" "$@"; }
type_text() { xdotool type --delay 30 -- "$1"; }
# Replaces a field's text: its mnemonic, select all, type.
field() {
  keys "$1" ctrl+a
  type_text "$2"
  keys Tab
}

# The screen cut to the window `id` (its frame is drawn by no window manager),
# written to FILE.
shot() {
  local id=$1 file=$2 x y w h
  sleep 0.8
  eval "$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {print "x=" $4} /Absolute upper-left Y/ {print "y=" $4}
                                    /Width:/ {print "w=" $2} /Height:/ {print "h=" $2}')"
  import -window root "$tmp/screen.png"
  convert "$tmp/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$file"
  echo "$(basename "$0" .sh): $file (${w}x${h})"
}
