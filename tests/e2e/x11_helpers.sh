# Helpers of the end-to-end tests that drive the program in an X session;
# sourced by run.sh and tray.sh. The caller defines failx MESSAGE (report
# and exit).

# wait_for SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds;
# false when the time runs out.
wait_for() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.1
  done
}
# elapsed_ms START_NS: milliseconds since START_NS (date +%s%N).
elapsed_ms() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }
# visible_window REGEX: prints the first visible window whose title matches;
# false when there is none.
visible_window() {
  local w
  w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
  [ -n "$w" ] && echo "$w"
}
has_visible_window() { visible_window "$1" > /dev/null; }
no_visible_window() { ! has_visible_window "$1"; }
focused_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
# activate WINDOW: gives it the keyboard focus through the window manager.
activate() {
  wait_for 5 xdotool windowactivate --sync "$1" 2>/dev/null || failx "cannot activate window $1"
  wait_for 5 focused_is "$1" || failx "window $1 did not get the focus"
}
# keymap_with KEYSYM...: binds each keysym to a keycode of its own that the
# server's map leaves empty, before the program reads the map. xdotool then
# presses that keycode as it is: it doesn't remap a spare key for the moment,
# which a program still reading the old map may take for another key.
keymap_with() {
  local keysym keycode
  for keysym in "$@"; do
    keycode=$(xmodmap -pke | awk 'NF == 3 && $2 > 8 { print $2; exit }')
    [ -n "$keycode" ] || failx "no free keycode for $keysym"
    xmodmap -e "keycode $keycode = $keysym" || failx "xmodmap could not bind $keysym"
  done
}
# start_openbox: the window manager, running once the root window names it;
# one that ends at once is started again, three times at most (logged). The
# caller has $work (for openbox.log) and the array pids.
start_openbox() {
  local attempt wm
  for attempt in 1 2 3; do
    openbox > "$work/openbox.log" 2>&1 &
    wm=$!
    pids+=("$wm")
    wait_for 15 wm_running && return 0
    echo "openbox did not start (attempt $attempt of 3): $(tail -n 2 "$work/openbox.log")"
    kill "$wm" 2>/dev/null
  done
  failx "openbox did not start"
}
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
running() { kill -0 "$1" 2>/dev/null; }
not_running() { ! running "$1"; }
# frame_of WINDOW: the top-level window that holds WINDOW (its frame, or the
# panel it is docked in), the child of the root window above it.
frame_of() {
  local w=$1 info parent
  while info=$(xwininfo -children -id "$w" 2>/dev/null); do
    echo "$info" | grep -q '^ *Parent window id: .*(the root window)' && { echo $((w)); return 0; }
    parent=$(echo "$info" | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p')
    [ -n "$parent" ] || return 1
    w=$parent
  done
  return 1
}
# pointer_in WINDOW: the pointer is inside WINDOW, and the top-level window
# the X server finds under it is the one that holds WINDOW: nothing covers
# WINDOW there.
pointer_in() {
  local X Y SCREEN WINDOW x y w h
  eval "$(xwininfo -id "$1" 2>/dev/null | sed -n \
    -e 's/^ *Absolute upper-left X: *\(-\{0,1\}[0-9]*\)$/x=\1/p' \
    -e 's/^ *Absolute upper-left Y: *\(-\{0,1\}[0-9]*\)$/y=\1/p' \
    -e 's/^ *Width: *\([0-9]*\)$/w=\1/p' -e 's/^ *Height: *\([0-9]*\)$/h=\1/p')"
  eval "$(xdotool getmouselocation --shell 2>/dev/null)"
  [ -n "${x:-}" ] && [ -n "${X:-}" ] || return 1
  [ "$X" -ge "$x" ] && [ "$X" -lt $((x + w)) ] && [ "$Y" -ge "$y" ] && [ "$Y" -lt $((y + h)) ] \
    && [ "${WINDOW:-}" = "$(frame_of "$1")" ]
}
# click_in WINDOW X Y XDOTOOL-CLICK...: puts the pointer at X,Y of WINDOW,
# waits until the server has it there with nothing over WINDOW, and only
# then clicks (click_in W 8 8 click --repeat 2 1).
click_in() {
  local window=$1 x=$2 y=$3
  shift 3
  xdotool mousemove --window "$window" "$x" "$y" 2>/dev/null
  wait_for 5 pointer_in "$window" \
    || failx "the pointer is not on window $window at $x,$y: $(xdotool getmouselocation 2>&1)"
  xdotool "$@"
}
# in_x_session WxHxDEPTH COMMAND...: runs COMMAND in an X server of its own
# (Xvfb), which picks a free display itself (-displayfd): sessions that start
# at the same moment, of this run or of another, never take the same one.
# COMMAND starts once a client has been served on that display; a server
# that reported its display but serves nobody is started again, three times
# at most, and the log says so. The server ends with COMMAND; the status is
# COMMAND's.
in_x_session() {
  local screen=$1 dir xvfb status attempt display=
  shift
  dir=$(mktemp -d "${TMPDIR:-/tmp}/velmar32-x.XXXXXX") || return 1
  x_ready() { grep -q '^[0-9][0-9]*$' "$dir/display"; }
  x_serves() { DISPLAY=:$(head -1 "$dir/display") XAUTHORITY=/dev/null xprop -root _NET_NONE > /dev/null 2>&1; }
  for attempt in 1 2 3; do
    : > "$dir/display"
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3> "$dir/display" > "$dir/xvfb.log" 2>&1 &
    xvfb=$!
    if wait_for 30 x_ready && wait_for 10 x_serves; then
      display=:$(head -1 "$dir/display")
      break
    fi
    echo "Xvfb (display '$(head -1 "$dir/display")') serves no client (attempt $attempt of 3): $(tail -n 5 "$dir/xvfb.log")" >&2
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
  done
  if [ -z "$display" ]; then
    rm -rf "$dir"
    return 1
  fi
  DISPLAY=$display XAUTHORITY=/dev/null "$@"
  status=$?
  [ "$status" -eq 0 ] || echo "Xvfb on $display: $(tail -n 5 "$dir/xvfb.log")" >&2
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -rf "$dir"
  return "$status"
}
