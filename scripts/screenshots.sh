#!/usr/bin/env bash
# Takes the screenshots of docs/ that show the look on a light and a dark
# desktop and at a large font: the program under Xvfb with openbox, once
# with Qt's own light look, once with GTK's Adwaita-dark (qt6-gtk-platformtheme),
# once with a dark scheme of qt6ct, and once with a GTK font of 13 points.
#   scripts/screenshots.sh [BUILD_DIR]      (default build/)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=docs
work=$(mktemp -d)
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
pids=()
source tests/e2e/x11_helpers.sh
failx() { echo "FAIL: $*" >&2; exit 1; }

export DISPLAY=:93
Xvfb "$DISPLAY" -screen 0 1280x900x24 > /dev/null 2>&1 & pids+=($!)
wait_for 10 xdpyinfo > /dev/null 2>&1 || wait_for 10 sh -c 'xdpyinfo > /dev/null 2>&1' || failx "no X server"
openbox > /dev/null 2>&1 & pids+=($!)
wait_for 10 wm_running || failx "no window manager"

# The settings of each look, each in a config folder of its own.
mkdir -p "$work/gtk13/gtk-3.0" "$work/qt6ct/qt6ct" "$work/plain"
printf '[Settings]\ngtk-font-name=DejaVu Sans 13\n' > "$work/gtk13/gtk-3.0/settings.ini"
cat > "$work/qt6ct/qt6ct/qt6ct.conf" <<'CONF'
[Appearance]
color_scheme_path=/usr/share/qt6ct/colors/darker.conf
custom_palette=true
style=Fusion

[Fonts]
general="DejaVu Sans,10,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"
CONF

# shoot NAME KEYS -- ENV...: starts the program with ENV, presses KEYS (one
# by one, "-" for none), and saves the active window as docs/NAME.png.
shoot() {
  local name=$1 keys=$2
  shift 3
  rm -rf "$work/prog"
  cp -r "$build/bin" "$work/prog"
  env "$@" "$work/prog/Velmar32" > "$work/$name.log" 2>&1 &
  local program=$!
  local w
  wait_for 20 has_visible_window '^Днесловник' || failx "$name: no window"
  w=$(visible_window '^Днесловник')
  activate "$w"
  sleep 1
  if [ "$keys" != "-" ]; then
    for key in $keys; do xdotool key "$key"; sleep 1; done
  fi
  import -window "$(xdotool getactivewindow)" -frame "$out/$name.png"
  kill "$program"
  wait "$program" 2>/dev/null || true
  echo "$out/$name.png"
}

shoot screenshot-today - -- XDG_CONFIG_HOME="$work/plain"
shoot screenshot-dark-today - -- XDG_CONFIG_HOME="$work/plain" QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
shoot screenshot-dark-calendar F3 -- XDG_CONFIG_HOME="$work/qt6ct" QT_QPA_PLATFORMTHEME=qt6ct
shoot screenshot-large-font-paschalion "F4 Tab Tab space" -- XDG_CONFIG_HOME="$work/gtk13" QT_QPA_PLATFORMTHEME=gtk3
shoot screenshot-large-font-period ctrl+k -- XDG_CONFIG_HOME="$work/gtk13" QT_QPA_PLATFORMTHEME=gtk3
