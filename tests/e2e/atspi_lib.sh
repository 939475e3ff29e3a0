# Reading the program's accessibility tree as a screen reader does, on a
# session bus and AT-SPI bus of the test's own. Sourced after lib.sh.

E2E_ATSPI_TOOLS="$(dirname "${BASH_SOURCE[0]}")"

# A session bus of the test's own; it starts the AT-SPI bus launcher when
# first asked, and the launcher's sockets go to a runtime folder of the
# test's own too, so that no other session's accessibility bus is reached.
# Skips the test (77) where no AT-SPI bus can be started.
start_accessibility_bus() {
  local error
  export XDG_RUNTIME_DIR="$E2E_DIR/run"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  dbus-daemon --session --nofork --print-address=3 3>"$E2E_DIR/bus" >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  for _ in $(seq 100); do
    grep -q . "$E2E_DIR/bus" 2>/dev/null && break
    sleep 0.05
  done
  DBUS_SESSION_BUS_ADDRESS="$(head -n 1 "$E2E_DIR/bus" 2>/dev/null || true)"
  [ -n "$DBUS_SESSION_BUS_ADDRESS" ] || fail "no session bus could be started"
  export DBUS_SESSION_BUS_ADDRESS
  if ! error=$(dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress 2>&1 >/dev/null); then
    echo "SKIP: no AT-SPI bus can be started here: $error"
    exit 77
  fi
  # Debian's PyGObject and Atspi typelib belong to its own Python, not to any
  # other python3 on the PATH.
  /usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' ||
    fail "python3-gi with gir1.2-atspi-2.0 is missing (scripts/setup installs them)"
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

# Waits until the program's accessibility tree (below the first accessible of
# ROLE and NAME, when given) has a line "role<TAB>name" matching PATTERN
# (grep -E, whole line), and leaves the tree in $TREE.
wait_for_accessible() { # PATTERN [ROLE NAME]
  wait_for_tree "$1" '' "${@:2}"
}

# Waits until what the screen shows of the program's accessibility tree has a
# line matching PRESENT and none matching ABSENT (grep -E, whole lines).
wait_for_shown() { # PRESENT ABSENT
  wait_for_tree "$1" "$2" --showing
}

wait_for_tree() { # PRESENT ABSENT [atspi_tree.py options and arguments]
  for _ in $(seq 150); do
    TREE=$(/usr/bin/python3 "$E2E_ATSPI_TOOLS/atspi_tree.py" "$PROGRAM_PID" "${@:3}" 2>"$E2E_DIR/atspi.err") ||
      TREE=""
    if grep -qxE -- "$1" <<<"$TREE" && { [ -z "$2" ] || ! grep -qxE -- "$2" <<<"$TREE"; }; then
      return 0
    fi
    grep -qs '^State:.*zombie' "/proc/$PROGRAM_PID/status" && break
    sleep 0.1
  done
  printf '%s\n' "$TREE" >&2
  cat "$E2E_DIR/atspi.err" >&2
  if grep -qs '^State:.*zombie' "/proc/$PROGRAM_PID/status"; then
    tail -n 20 "$E2E_LOG" >&2
    fail "the program ended"
  fi
  fail "a screen reader finds no '$1'${2:+ without '$2'}${4:+ in the $3 '$4'}"
}
