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
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
running() { kill -0 "$1" 2>/dev/null; }
not_running() { ! running "$1"; }
