#!/usr/bin/env bash
# End-to-end test of the installed program.
#
#   tests/e2e/run.sh BUILD_DIR
#
# Installs the build into a temporary prefix (cmake --install), checks the
# layout, the menu entry and the AppStream file, then starts the program
# through the entry's Exec line under Xvfb, with a window manager (openbox),
# a tray host (trayer) and a private HOME, and drives it as a user would:
# checks the window title and the docked tray icon, opens the three reports
# through Ctrl+K, Ctrl+P and Ctrl+S, saves one from the viewer through its
# file dialog, and closes the main window with Alt+F4. Then it checks
# Position.ini in the program folder and the saved RTF file.
#
# Exit status: 0 passed, 1 failed, 77 skipped (no Xvfb or X tools).
# Every wait polls with a deadline; the whole X session has a time limit.
# On failure the temporary folder is kept, with a screenshot and the logs.
set -u  # no pipefail: "producer | grep -q" would fail when grep stops reading early

export LC_ALL=C.UTF-8

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# ---------------------------------------------------------------------------
# Inside the X session: $0 --inside WORK
if [ "${1:-}" = "--inside" ]; then
  work=$2
  prefix=$work/opt/velmar32
  pids=()
  cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  }
  trap cleanup EXIT
  failx() {
    echo "FAIL: $*" >&2
    import -window root "$work/failure.png" 2>/dev/null \
      && echo "screenshot: $work/failure.png" >&2
    xwininfo -root -tree > "$work/windows.txt" 2>&1
    exit 1
  }

  . "$(dirname "$0")/x11_helpers.sh"
  tray_host() { xdotool search --classname '^panel$' 2>/dev/null | head -1; }
  tray_running() { [ -n "$(tray_host)" ]; }
  # The program's tray icon is a window of class Velmar32 inside the tray.
  icon_docked() {
    local host
    for host in $(xdotool search --classname '^panel$' 2>/dev/null); do
      xwininfo -id "$host" -tree 2>/dev/null | grep -q '("Velmar32" "Velmar32")' && return 0
    done
    return 1
  }
  # A menu popped up by the program.
  dropdown_menu() {
    local w
    for w in $(xdotool search --onlyvisible --classname '^Velmar32$' 2>/dev/null); do
      xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q '_NET_WM_WINDOW_TYPE_\(DROPDOWN_\|POPUP_\)\?MENU' \
        && return 0
    done
    return 1
  }
  file_exists() { [ -s "$1" ]; }

  start_openbox
  trayer --edge top --align right --widthtype pixel --width 120 --height 24 \
    > "$work/trayer.log" 2>&1 &
  pids+=($!)
  wait_for 15 tray_running || failx "trayer did not start"

  # Start the program as the menu would: the entry's Exec line.
  entry=$(echo "$prefix"/share/applications/*.desktop)
  exec_line=$(sed -n 's/^Exec=//p' "$entry")
  eval "set -- $exec_line"
  "$@" > "$work/velmar32.log" 2>&1 &
  app=$!
  pids+=("$app")

  main=$(wait_for 20 visible_window '^Днесловник') || failx "the main window did not appear"
  title=$(xdotool getwindowname "$main")
  echo "main window: $title"
  # The Today view names the day: "Днесловник - Вторник, 8 Декабря".
  echo "$title" | grep -Eq '^Днесловник - [[:alpha:]]+, [0-9]{1,2} [[:alpha:]]+$' \
    || failx "unexpected title: $title"
  wm_class=$(xprop -id "$main" WM_CLASS)
  grep -q "^StartupWMClass=Velmar32$" "$entry" && echo "$wm_class" | grep -q '"Velmar32", "Velmar32"' \
    || failx "the window's class ($wm_class) is not the entry's StartupWMClass"
  xprop -id "$main" _NET_WM_ICON 2>/dev/null | grep -q 'Icon' \
    || failx "the main window has no icon"
  wait_for 15 icon_docked || failx "no tray icon docked in trayer"
  echo "tray icon docked"

  # The three reports, each through its shortcut in the main window and its
  # dialog's default button; the viewer shows the report file.
  report=$prefix/velmar32.tmp
  viewer_title='^Просмотр - Днесловник$'
  save_to=$work/saved/paschalion.rtf
  mkdir -p "$work/saved"
  previous=""
  for shortcut in ctrl+k ctrl+p ctrl+s; do
    activate "$main"
    xdotool key --clearmodifiers "$shortcut"
    dialog=$(wait_for 10 visible_window '^Сервис$') || failx "$shortcut: no dialog"
    activate "$dialog"
    xdotool key Return
    viewer=$(wait_for 60 visible_window "$viewer_title") || failx "$shortcut: no viewer"
    wait_for 10 no_visible_window '^Сервис$' || failx "$shortcut: the dialog stayed open"
    head -c 6 "$report" | grep -q '^{\\rtf1' || failx "$shortcut: the report file is no RTF document"
    digest=$(md5sum < "$report")
    [ "$digest" != "$previous" ] || failx "$shortcut: the report file did not change"
    previous=$digest
    echo "$shortcut: report shown ($(stat -c %s "$report") bytes)"

    if [ "$shortcut" = ctrl+p ]; then
      # Файл > Сохранить как...: the menu bar's first menu, its first item.
      # The click comes once the pointer is on the menu bar with nothing
      # over it; a menu that doesn't open is clicked again, three times at most.
      opened=
      for attempt in 1 2 3; do
        activate "$viewer"
        click_in "$viewer" 15 10 click 1
        wait_for 10 dropdown_menu && { opened=1; break; }
        echo "the viewer's file menu did not open (attempt $attempt of 3)"
        xdotool key Escape
      done
      [ -n "$opened" ] || failx "the viewer's file menu did not open"
      xdotool key Down Return
      # Qt's own file dialog, in Russian.
      saver=$(wait_for 10 visible_window '^Сохранить как$') \
        || failx "no save dialog titled \"Сохранить как\""
      activate "$saver"
      xdotool type --delay 10 "$save_to"
      xdotool key Return
      wait_for 10 file_exists "$save_to" || failx "the report was not saved to $save_to"
      wait_for 10 no_visible_window '^Сохранить как$' || failx "the save dialog stayed open"
      echo "saved $save_to"
    fi

    # Alt+F4 goes to the window manager, which asks the viewer to close; a
    # viewer still busy with the save may miss it: asked three times at most.
    closed=
    for attempt in 1 2 3; do
      has_visible_window "$viewer_title" || { closed=1; break; }
      activate "$viewer"
      xdotool key alt+F4
      wait_for 10 no_visible_window "$viewer_title" && { closed=1; break; }
      echo "$shortcut: Alt+F4 did not close the viewer (attempt $attempt of 3)"
    done
    [ -n "$closed" ] || failx "$shortcut: the viewer did not close"
  done

  # Close the main window as a user would; the program ends.
  activate "$main"
  xdotool key alt+F4
  wait_for 15 not_running "$app" || failx "the program did not end after Alt+F4"
  wait "$app"
  status=$?
  [ "$status" -eq 0 ] || failx "the program ended with status $status"
  exit 0
fi

# ---------------------------------------------------------------------------
# Outside: install, check the files, run the X session, check the results.
. "$(dirname "$0")/sanitizer_options.sh"
. "$(dirname "$0")/x11_helpers.sh"
build=${1:?usage: run.sh BUILD_DIR}
build=$(cd "$build" && pwd) || fail "no build folder $1"

for tool in Xvfb openbox trayer xdotool xprop xwininfo; do
  if ! command -v "$tool" > /dev/null; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/velmar32-e2e.XXXXXX") || fail "no temporary folder"
prefix=$work/opt/velmar32
finish() {
  if [ "$1" -eq 0 ]; then
    rm -rf "$work"
  else
    echo "kept $work (logs, screenshot)" >&2
    for log in "$work"/*.log; do
      [ -s "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
    done
  fi
}

cmake --install "$build" --prefix "$prefix" > "$work/install.log" 2>&1 \
  || { finish 1; fail "cmake --install failed"; }

(
  set -e
  for f in Velmar32 velmar32-cli libLumora.so.2 Velmar32.ini dbase/January.db dbase/Easter.db; do
    [ -e "$prefix/$f" ] || fail "not installed: $f"
  done
  ls "$prefix"/docs/*.html > /dev/null 2>&1 || fail "no documents installed"
  # The executables find libLumora beside them, not in the build tree.
  readelf -d "$prefix/Velmar32" | grep -q 'R.*PATH.*\[\$ORIGIN\]' || fail "Velmar32 has no \$ORIGIN RPATH"
  lib=$(env -u LD_LIBRARY_PATH ldd "$prefix/Velmar32" | sed -n 's/^\s*libLumora\.so\.[0-9]* => \(\S*\) .*/\1/p')
  [ "$lib" = "$prefix/libLumora.so.2" ] || fail "libLumora resolves to '$lib'"
  env -u LD_LIBRARY_PATH "$prefix/velmar32-cli" today --date 2024-05-06 | grep -q . \
    || fail "the installed velmar32-cli prints nothing"

  # A prefix other than /opt/NAME or ~/.local/opt/NAME keeps its share folder.
  share=$prefix/share
  entry=$share/applications/org.example.velmar32.desktop
  [ -f "$entry" ] || fail "no menu entry in $share/applications"
  grep -qx "Exec=$prefix/Velmar32" "$entry" || fail "Exec is not $prefix/Velmar32"
  grep -qx "Icon=velmar32" "$entry" || fail "Icon is not velmar32"
  for size in 16 22 24 32 48 64 128 256; do
    [ -f "$share/icons/hicolor/${size}x${size}/apps/velmar32.png" ] || fail "no ${size}x${size} icon"
  done
  [ -f "$share/icons/hicolor/scalable/apps/velmar32.svg" ] || fail "no scalable icon"
  metainfo=$share/metainfo/org.example.velmar32.metainfo.xml
  [ -f "$metainfo" ] || fail "no AppStream file"
  if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$entry" || fail "desktop-file-validate"
  fi
  if command -v appstreamcli > /dev/null; then
    appstreamcli validate --no-net "$metainfo" > "$work/appstream.log" 2>&1 \
      || { cat "$work/appstream.log"; fail "appstreamcli validate"; }
  fi
) || { finish 1; exit 1; }
echo "installed into $prefix"

# A private user: nothing of the real HOME, desktop session or scale.
export HOME=$work/home
export XDG_CONFIG_HOME=$HOME/.config XDG_STATE_HOME=$HOME/.local/state
export XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER DESKTOP_STARTUP_ID LD_LIBRARY_PATH
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_STYLE_OVERRIDE
export QT_QPA_PLATFORM=xcb

in_x_session 1024x768x24 timeout -k 5 180 bash "$0" --inside "$work"
status=$?
[ "$status" -eq 124 ] && echo "FAIL: the X session ran out of time" >&2
[ "$status" -eq 0 ] || { finish 1; exit 1; }

(
  set -e
  # The program folder is writable here, so the program keeps its own files
  # there and nothing in the user's folders.
  position=$prefix/Position.ini
  [ -f "$position" ] || fail "no Position.ini in the program folder"
  grep -q '^;Position.ini for Velmar32.exe ver.2.0 pre-release 278, [0-9]\{1,2\}-[0-9]\{1,2\}-[0-9]\{4\}$' "$position" \
    || fail "Position.ini has no version line"
  for key in Width Height Left Top; do
    grep -Eq "^$key=-?[0-9]+$" "$position" || fail "Position.ini has no $key"
  done
  [ ! -e "$prefix/velmar32.tmp" ] || fail "the report file was left behind"
  [ ! -e "$XDG_STATE_HOME/velmar32/Position.ini" ] || fail "Position.ini went to the state folder"
  saved=$work/saved/paschalion.rtf
  head -c 6 "$saved" | grep -q '^{\\rtf1' || fail "the saved file is no RTF document"
  echo "Position.ini:"
  sed 's/^/  /' "$position"
  echo "saved report: $(stat -c %s "$saved") bytes"
) || { finish 1; exit 1; }

finish 0
echo "PASS"
