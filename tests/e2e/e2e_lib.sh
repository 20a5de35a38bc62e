# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Helpers for the end-to-end tests: a private Xvfb with a window manager, the
# real tarvex window driven by xdotool, the clipboard read and written with
# xclip. Every wait has a deadline and polls for an event; everything started
# here is killed on exit.
set -euo pipefail

E2E_TIMEOUT=${E2E_TIMEOUT:-15} # seconds for any one step
E2E_TOTAL=${E2E_TOTAL:-90}     # seconds for the whole test, below CTest's limit, so clean-up still runs
e2e_pids=()
e2e_step="starting"

die() {
  echo "FAIL ($e2e_step): $*" >&2
  exit 1
}

step() {
  e2e_step=$*
  echo "--- $*"
}

# A missing tool is a failure, never a skip: scripts/lib.sh installs them all.
need() {
  local tool=$1 package=$2
  command -v "$tool" >/dev/null 2>&1 || die "$tool is not installed (Debian package $package; scripts/lib.sh installs it)"
}

e2e_cleanup() {
  local status=$?
  if [ "$status" -ne 0 ] && [ -n "${DISPLAY:-}" ] && [ -n "${E2E_DIR:-}" ]; then
    import -window root "$E2E_DIR/failure.png" 2>/dev/null && echo "screen at failure: $E2E_DIR/failure.png" >&2
  fi
  local i
  for ((i = ${#e2e_pids[@]} - 1; i >= 0; i--)); do
    kill "${e2e_pids[i]}" 2>/dev/null || true
  done
  for ((i = ${#e2e_pids[@]} - 1; i >= 0; i--)); do
    wait "${e2e_pids[i]}" 2>/dev/null || true
  done
  if [ "$status" -ne 0 ] && [ -n "${E2E_DIR:-}" ]; then
    local log
    for log in "$E2E_DIR"/*.log; do
      [ -s "$log" ] && { echo "=== $log"; tail -n 20 "$log"; } >&2
    done
  fi
  exit "$status"
}

# wait_for DESCRIPTION COMMAND...: polls COMMAND until it succeeds or the step's time is up.
wait_for() {
  local what=$1
  shift
  local deadline=$((SECONDS + E2E_TIMEOUT))
  [ "$deadline" -le "$E2E_TOTAL" ] || deadline=$E2E_TOTAL
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || die "timed out after ${E2E_TIMEOUT}s waiting for $what"
    sleep 0.05
  done
}

# e2e_init TEST_DIR: an empty work folder, tools checked, clean-up armed.
e2e_init() {
  E2E_DIR=$1
  rm -rf "$E2E_DIR"
  mkdir -p "$E2E_DIR"
  trap e2e_cleanup EXIT
  trap 'exit 130' INT TERM
  need Xvfb xvfb
  need openbox openbox
  need xdotool xdotool
  need xclip xclip
  need xprop x11-utils
  need import imagemagick
  need timeout coreutils
  need iconv libc-bin
  # The window manager and Qt read no user settings of the machine.
  export HOME=$E2E_DIR/home XDG_CONFIG_HOME=$E2E_DIR/home/.config XDG_RUNTIME_DIR=$E2E_DIR/runtime
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  unset SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
  export LC_ALL=C.UTF-8
}

# Starts Xvfb on a display number it picks itself, then openbox, which gives
# focus to the window being activated and to new dialogs.
e2e_start_display() {
  step "start Xvfb and openbox"
  local fdfile=$E2E_DIR/display
  : >"$fdfile"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fdfile" >"$E2E_DIR/xvfb.log" 2>&1 &
  e2e_pids+=($!)
  wait_for "Xvfb to report its display" grep -q '^[0-9]' "$fdfile"
  DISPLAY=:$(head -n1 "$fdfile")
  export DISPLAY
  echo "display $DISPLAY"
  openbox --sm-disable >"$E2E_DIR/openbox.log" 2>&1 &
  e2e_pids+=($!)
  wait_for "openbox to manage the screen" e2e_wm_running
}

e2e_wm_running() {
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# e2e_start_accessibility_bus PYTHON: a D-Bus session of the test's own with
# the accessibility bus, which the windows started after it join, and PYTHON
# able to read them (pyatspi).
e2e_start_accessibility_bus() {
  local python=$1
  need dbus-daemon dbus-daemon
  need /usr/libexec/at-spi-bus-launcher at-spi2-core
  "$python" -c 'import pyatspi' 2>"$E2E_DIR/pyatspi.log" ||
    die "pyatspi does not load (Debian package python3-pyatspi): $(cat "$E2E_DIR/pyatspi.log")"
  step "a D-Bus session with the accessibility bus"
  dbus-daemon --session --nofork --print-address=3 3>"$E2E_DIR/bus" >"$E2E_DIR/dbus.log" 2>&1 &
  e2e_pids+=($!)
  wait_for "the session bus address" grep -q '^unix:' "$E2E_DIR/bus"
  DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$E2E_DIR/bus")
  export DBUS_SESSION_BUS_ADDRESS
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_DIR/at-spi.log" 2>&1 &
  e2e_pids+=($!)
  # Qt joins the bus only when told that assistive technology is running.
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

# start_tarvex NAME PROGRAM: starts the window in its own folder (the scratch
# file lands there) and sets WINDOW to its main window.
# The common start of every test: the programs it is given (each must run),
# its folder last, then a display of its own. Sets $tarvex, and $cli when given.
# Usage: e2e_setup TARVEX [TARVEX_CLI] TEST_DIR
e2e_setup() {
  tarvex=$(realpath -m "$1")
  cli=
  if [ $# -eq 3 ]; then cli=$(realpath -m "$2"); fi
  e2e_init "${!#}"
  local program
  for program in "$tarvex" ${cli:+"$cli"}; do
    [ -x "$program" ] || die "$program is not a program"
  done
  e2e_start_display
}

# Arguments after PROGRAM are passed to it.
start_tarvex() {
  local name=$1 program=$2
  shift 2
  step "start $name"
  mkdir -p "$E2E_DIR/$name"
  (cd "$E2E_DIR/$name" && exec env QT_QPA_PLATFORM=xcb "$program" "$@") >"$E2E_DIR/$name.log" 2>&1 &
  local pid=$!
  e2e_pids+=("$pid")
  wait_for "the main window of $name" find_window "$pid" '^Text Tarvex - v1.1$'
  # shellcheck disable=SC2034 # read by the test scripts
  WINDOW=$found_window WINDOW_PID=$pid
}

# find_window PID TITLE_REGEX: sets found_window to the visible window of PID so titled.
find_window() {
  kill -0 "$1" 2>/dev/null || die "the program (pid $1) has ended"
  found_window=$(xdotool search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -n1) || true
  [ -n "$found_window" ]
}

window_gone() {
  kill -0 "$1" 2>/dev/null || die "the program (pid $1) has ended"
  ! xdotool search --all --onlyvisible --pid "$1" --name "$2" >/dev/null 2>&1
}

is_active() {
  [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]
}

# activate WINDOW: brings it to the front with the keyboard focus.
activate() {
  xdotool windowactivate "$1" 2>/dev/null || true
  wait_for "window $1 to take the focus" is_active "$1"
}

# keys WINDOW KEY...: presses keys while WINDOW has the focus.
keys() {
  local window=$1
  shift
  activate "$window"
  xdotool key --clearmodifiers "$@"
}

# type_text WINDOW TEXT: types TEXT (no line breaks) on the real keyboard.
type_text() {
  activate "$1"
  xdotool type --clearmodifiers --delay 8 -- "$2"
}

# type_lines WINDOW LINE...: types the lines with Return between them.
type_lines() {
  local window=$1 first=1 line
  shift
  for line in "$@"; do
    [ "$first" -eq 1 ] || keys "$window" Return
    first=0
    [ -z "$line" ] || type_text "$window" "$line"
  done
}

# click_message_area WINDOW: puts the focus into the message text area (the
# large box in the lower half of the window).
click_message_area() {
  activate "$1"
  eval "$(xdotool getwindowgeometry --shell "$1")"
  # The area spans about x 16..457 and y 230..390 of the 470x450 client area.
  xdotool mousemove --window "$1" $((WIDTH / 2)) $((HEIGHT * 7 / 10)) click 1
}

# file_dialog PID TITLE PATH: in the open Qt file dialog of that title, types
# PATH into the file-name field and presses Return until the dialog closes.
file_dialog() {
  local pid=$1 title=$2 path=$3
  wait_for "the dialog '$title'" find_window "$pid" "^$title\$"
  local dialog=$found_window
  activate "$dialog"
  # The file-name field has the focus; replace whatever it holds.
  xdotool key --clearmodifiers ctrl+a BackSpace
  xdotool type --clearmodifiers --delay 8 -- "$path"
  xdotool key --clearmodifiers Return
  # Return may first only close the field's completion list.
  local deadline=$((SECONDS + 2))
  while ! window_gone "$pid" "^$title\$"; do
    if [ "$SECONDS" -ge "$deadline" ]; then
      if is_active "$dialog"; then
        echo "the dialog is still open; Return again"
        xdotool key --clearmodifiers Return
      fi
      break
    fi
    sleep 0.05
  done
  wait_for "the dialog '$title' to close" window_gone "$pid" "^$title\$"
}

# No message box may be open: a failure report would show one.
no_message_box() {
  local pid=$1
  if find_window "$pid" '^Text Tarvex V1.1$'; then
    screenshot "$E2E_DIR/message-box.png" >/dev/null
    die "the program shows a message box (screenshot $E2E_DIR/message-box.png)"
  fi
}

# Clipboard as raw bytes into FILE; fails while nobody offers text.
clipboard_to() {
  timeout 5 xclip -selection clipboard -out -target UTF8_STRING >"$1" 2>/dev/null
}

clipboard_is() {
  local expected=$1
  clipboard_to "$E2E_DIR/clipboard.now" && cmp -s "$E2E_DIR/clipboard.now" "$expected"
}

clipboard_starts_with_marker() {
  clipboard_to "$E2E_DIR/clipboard.now" && [ "$(head -c 2 "$E2E_DIR/clipboard.now" | od -An -tx1 | tr -d ' \n')" = c3b0 ]
}

# set_clipboard FILE: xclip owns the clipboard with FILE's bytes as UTF-8 text.
set_clipboard() {
  xclip -selection clipboard -in -quiet -target UTF8_STRING <"$1" >"$E2E_DIR/xclip.log" 2>&1 &
  e2e_pids+=($!)
  wait_for "xclip to own the clipboard" clipboard_is "$1"
}

# wait_clipboard EXPECTED_FILE DESCRIPTION: until the clipboard holds exactly those bytes.
wait_clipboard() {
  local expected=$1 what=$2
  local deadline=$((SECONDS + E2E_TIMEOUT))
  [ "$deadline" -le "$E2E_TOTAL" ] || deadline=$E2E_TOTAL
  until clipboard_is "$expected"; do
    if [ "$SECONDS" -ge "$deadline" ]; then
      echo "expected ($what):" >&2
      od -c "$expected" | head -n 20 >&2
      echo "clipboard holds:" >&2
      od -c "$E2E_DIR/clipboard.now" | head -n 20 >&2
      die "the clipboard never held $what"
    fi
    sleep 0.05
  done
}

# screenshot FILE: the whole screen.
screenshot() {
  import -window root "$1"
  echo "screenshot: $1"
}

# screenshot_window WINDOW FILE: the window in front, kept as the test's artefact.
screenshot_window() {
  activate "$1"
  import -window "$1" "$2"
  [ -s "$2" ] || die "no screenshot was written to $2"
  echo "screenshot: $2"
}

# message_file FILE LINE...: the lines joined by CR LF, as the window puts them on the clipboard.
message_file() {
  local file=$1 first=1 line
  shift
  for line in "$@"; do
    [ "$first" -eq 1 ] || printf '\r\n'
    first=0
    printf '%s' "$line"
  done >"$file"
}

# fixed_key FILE: a key whose numbers are known, so cipher texts can be
# compared byte for byte with tarvex-cli's. It starts 1, 13, 15, 16, 29: a "€"
# (code 128) stepped by these lands on the five codes Windows-1252 leaves
# undefined; the rest runs through every number from 0 to 30.
fixed_key() {
  local numbers=(1 13 15 16 29) i n line=""
  for ((i = 0; i < 49; i++)); do numbers+=($(((i * 7 + 3) % 31))); done
  : >"$1"
  for ((i = 0; i < ${#numbers[@]}; i++)); do
    n=${numbers[i]}
    if [ "$n" -le 15 ]; then line+=$(printf '0%X' "$n"); else line+=$(printf 'F%X' $((n - 15))); fi
    if [ $(((i + 1) % 27)) -eq 0 ]; then
      printf '%s\r\n' "$line" >>"$1"
      line=""
    fi
  done
}

# cp1252 FROM TO: the UTF-8 text FROM as Windows-1252 bytes.
cp1252() {
  iconv -f UTF-8 -t CP1252 <"$1" >"$2" || die "$1 does not convert to Windows-1252"
}

# The window on a Wayland compositor that runs in an X window of the private
# Xvfb ($compositor_window): keys typed there reach the Wayland client with the
# keyboard. The Wayland messages the window exchanges, logged by libwayland
# (WAYLAND_DEBUG=1), tell which of its surfaces has the keyboard and which
# dialog it shows.
compositor_window='' wl_log='' wl_main='' pid=''
wl_keyboard_events() { grep -oE '\] wl_keyboard@[0-9]+\.(enter\([0-9]+, wl_surface@[0-9]+|leave\()' "$wl_log" || true; }
# wl_keyboard_on [SURFACE]: the keyboard is on that surface of the window (on any, without one).
wl_keyboard_on() { wl_keyboard_events | tail -n1 | grep -qE "enter\\(.*${1:-}\$"; }
wl_dialog_has_keyboard() { wl_keyboard_on && ! wl_keyboard_on "$wl_main"; }
# wl_question TITLE: the dialog so titled is up and has the keyboard.
wl_question() { wl_shows "$1" && wl_dialog_has_keyboard; }
wl_enters() { wl_keyboard_events | grep -c 'enter(' || true; }
wl_shows() { grep -qF "set_title(\"$1\")" "$wl_log"; }
# How often the window has offered the clipboard something (or nothing).
wl_offers() { grep -c '> wl_data_device@[0-9]*\.set_selection(' "$wl_log" || true; }
# wl_offered_since COUNT: it has offered again since wl_offers said COUNT.
wl_offered_since() { [ "$(wl_offers)" -gt "$1" ]; }

# wl_start_window NAME PROGRAM ARGUMENT...: the window on $WAYLAND_DISPLAY, in
# a folder of its own, until its main window has the keyboard; sets pid.
wl_start_window() {
  local name=$1 program=$2
  shift 2
  step "start $name on Wayland"
  wl_log=$E2E_DIR/$name.log
  mkdir -p "$E2E_DIR/$name"
  (cd "$E2E_DIR/$name" && exec env QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 "$program" "$@") >"$wl_log" 2>&1 &
  pid=$!
  e2e_pids+=("$pid")
  wait_for "the main window of $name" wl_shows "Text Tarvex - v1.1"
  wait_for "$name to have the keyboard" wl_keyboard_on
  wl_main=$(wl_keyboard_events | tail -n1 | grep -oE 'wl_surface@[0-9]+$')
}

# wl_press KEY...: keys to the window's surface that has the keyboard.
wl_press() {
  kill -0 "$pid" 2>/dev/null || die "the program (pid $pid) has ended"
  keys "$compositor_window" "$@"
}

# wl_ask TITLE KEY...: the keys open the question so titled, answered with
# Return (Yes) once it has the keyboard; returns when the main window has it back.
wl_ask() {
  local title=$1
  shift
  wl_press "$@"
  wait_for "the question '$title'" wl_question "$title"
  wl_press Return
}

wl_clear_clipboard() {
  wl_ask "Clear Clipboard" ctrl+b
  wait_for "the window to have the keyboard back" wl_keyboard_on "$wl_main"
}

wl_exit_window() {
  wl_ask "Exit Text Tarvex" alt+f x
  wait_for "the program to end" bash -c "! kill -0 $pid 2>/dev/null"
}
