# The reader as a native Wayland client: a headless weston of the test's own
# with the weston_input module, which gives it a keyboard and a pointer to
# drive and lists the windows it shows. Sourced after lib.sh.

E2E_WESTON_INPUT="${FOLIVAR_WESTON_INPUT:-}"
WESTON_PID=""

# The program and then weston are ended and waited for before the scratch
# folder goes: both still write into it as they end (the program its
# settings, weston its socket and log), and removing it would fail.
wayland_cleanup() {
  local status=$? pid
  [ "$BASHPID" = "$E2E_SHELL" ] || return 0
  # What weston said helps to tell a failure of the reader from one of weston's.
  [ "$status" -eq 0 ] || [ "$status" -eq 77 ] || tail -n 20 "$E2E_DIR/weston.log" >&2 2>/dev/null || true
  for pid in ${PROGRAM_PID:-} $WESTON_PID; do
    { kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; } || true
  done
  e2e_cleanup "$status"
}
trap wayland_cleanup EXIT

# Evdev codes (linux/input-event-codes.h) of the keys the tests press.
declare -A WAYLAND_KEYS=([Escape]=1 [Tab]=15 [Return]=28 [F11]=87 [Up]=103 [Left]=105 [Right]=106 [Down]=108)

# Starts weston on the headless backend in a runtime folder of the test's own
# and points Qt's Wayland platform at it; exits 77 (skipped) where weston or
# the module is not there to run.
start_weston() {
  command -v weston >/dev/null || { echo "SKIP: weston is not installed"; exit 77; }
  [ -n "$E2E_WESTON_INPUT" ] || { echo "SKIP: weston_input was not built (no libweston-10 development files)"; exit 77; }
  [ -f "$E2E_WESTON_INPUT" ] || fail "the weston_input module $E2E_WESTON_INPUT is missing"
  export XDG_RUNTIME_DIR="$E2E_DIR/run"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  export WESTON_INPUT_FIFO="$E2E_DIR/weston-input"
  mkfifo "$WESTON_INPUT_FIFO"
  # No weston.ini of the user's: the same desktop everywhere.
  weston --no-config --backend=headless-backend.so --use-pixman --socket=wayland-e2e --width=1280 --height=800 \
    --idle-time=0 --modules="$E2E_WESTON_INPUT" --log="$E2E_DIR/weston.log" >/dev/null 2>&1 &
  WESTON_PID=$!
  for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/wayland-e2e" ] && grep -q "Loading module '$E2E_WESTON_INPUT'" "$E2E_DIR/weston.log" 2>/dev/null &&
      break
    kill -0 "$WESTON_PID" 2>/dev/null || fail "weston ended at start: $(tail -n 5 "$E2E_DIR/weston.log")"
    sleep 0.05
  done
  [ -S "$XDG_RUNTIME_DIR/wayland-e2e" ] || fail "weston did not start"
  export WAYLAND_DISPLAY=wayland-e2e QT_QPA_PLATFORM=wayland
  # Nothing may reach an X server, nor the desktop portal of a session bus
  # the test was started from.
  unset DISPLAY DBUS_SESSION_BUS_ADDRESS
}

# Sends lines to the module. Opening the FIFO would block for good if weston
# had ended, hence the check and the time limit.
weston_input() { # COMMAND...
  kill -0 "$WESTON_PID" 2>/dev/null || fail "weston has ended"
  printf '%s\n' "$@" | timeout 5 tee "$WESTON_INPUT_FIFO" >/dev/null || fail "weston took no input: $*"
}

# Presses and releases the named keys one after the other.
wayland_keys() { # KEY...
  local key
  for key in "$@"; do
    [ -n "${WAYLAND_KEYS[$key]:-}" ] || fail "no evdev code known for key $key"
    weston_input "key ${WAYLAND_KEYS[$key]}"
  done
}

# What weston shows: a line "toplevel WIDTHxHEIGHT+X+Y TITLE" per window
# (its outer size, decorations drawn by the client included) and "popup
# WIDTHxHEIGHT+X+Y" per open menu.
wayland_windows() {
  local reply="$E2E_DIR/windows.$RANDOM"
  weston_input "windows $reply"
  for _ in $(seq 100); do
    [ -f "$reply" ] && cat "$reply" && rm "$reply" && return 0
    sleep 0.02
  done
  fail "weston_input did not answer"
}

# True when a line of wayland_windows matches PATTERN (grep -E, whole line)
# within SECONDS.
wayland_window_within() { # SECONDS PATTERN
  local deadline=$((SECONDS + $1))
  until wayland_windows | grep -qxE -- "$2"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# Waits until a line of wayland_windows matches PATTERN (grep -E, whole
# line) and prints it, or with "no" until none does.
wait_for_wayland_window() { # PATTERN [yes|no]
  local want=${2:-yes} windows found
  for _ in $(seq 150); do
    windows=$(wayland_windows)
    found=$(grep -xE -- "$1" <<<"$windows" || true)
    [ "$want" = yes ] && [ -n "$found" ] && printf '%s\n' "$found" && return 0
    [ "$want" = no ] && [ -z "$found" ] && return 0
    sleep 0.1
  done
  [ "$want" = yes ] && fail "no window of weston's matched '$1': $windows"
  fail "a window of weston's still matches '$1': $windows"
}

# Runs the program as run_program does and waits for weston to map its
# window. A Qt without its Wayland platform plugin cannot run the test: skipped.
launch_wayland_program() {
  run_program "$@"
  for _ in $(seq 100); do
    wayland_windows | grep -qE '^toplevel [^ ]+ Folivar$' && return 0
    if ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
      grep -q 'Could not find the Qt platform plugin "wayland"' "$E2E_LOG" &&
        echo "SKIP: Qt's Wayland platform plugin is not installed" && exit 77
      fail "the program ended at start: $(cat "$E2E_LOG")"
    fi
    sleep 0.1
  done
  fail "the window was not mapped"
}

# Chooses 文件 > 退出 as exit_through_menu does on X11: a click on the menu
# (Fusion has no Alt key navigation into the menu bar), then the keyboard.
# The menu bar lies below the 30 pixels high title bar that Qt's Wayland
# plugin draws (its bradient decoration) at the top of the window.
wayland_exit_through_menu() {
  local geometry x y
  for _ in 1 2 3 4 5; do
    geometry=$(wayland_windows | awk '$1 == "toplevel" && $3 == "Folivar" { print $2; exit }')
    [[ "$geometry" =~ ^[0-9]+x[0-9]+\+(-?[0-9]+)\+(-?[0-9]+)$ ]] || fail "no Folivar window to close: '$geometry'"
    x=${BASH_REMATCH[1]} y=${BASH_REMATCH[2]}
    # A click that reaches a window weston has only just mapped again may be
    # lost: the menu is asked for again until it opens.
    weston_input "move $((x + 15)) $((y + 41))" click
    wayland_window_within 3 'popup .*' || continue
    wayland_keys Up Return
    for _ in $(seq 100); do
      kill -0 "$PROGRAM_PID" 2>/dev/null || return 0
      sleep 0.05
    done
  done
  fail "退出 did not end the program"
}

# Starts a session bus of the test's own (once) and on it the stand-in desktop
# portal (tests/support/mock_portal.py) answering in MODE; what the portal is
# asked goes to $PORTAL_RECORD.
start_mock_portal() { # MODE
  if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    dbus-daemon --session --nofork --print-address=3 3>"$E2E_DIR/bus" >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    for _ in $(seq 100); do [ -s "$E2E_DIR/bus" ] && break; sleep 0.05; done
    [ -s "$E2E_DIR/bus" ] || fail "no private session bus could be started"
    export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$E2E_DIR/bus")
  fi
  PORTAL_RECORD="$E2E_DIR/portal.$1"
  # Debian's python3 holds the D-Bus bindings, whatever python3 is on the PATH.
  /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/../support/mock_portal.py" "$1" "$PORTAL_RECORD" &
  PORTAL_PID=$!
  E2E_PIDS+=($PORTAL_PID)
  for _ in $(seq 200); do grep -qx ready "$PORTAL_RECORD" 2>/dev/null && return 0; sleep 0.05; done
  fail "the stand-in portal did not start"
}

stop_mock_portal() {
  kill "$PORTAL_PID" && wait "$PORTAL_PID" 2>/dev/null || true
}

# Fires the shortcut the reader bound, as the desktop does when its key is pressed.
activate_shortcut() {
  dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop /org/freedesktop/portal/desktop \
    test.folivar.MockPortal.Activate >/dev/null
}
