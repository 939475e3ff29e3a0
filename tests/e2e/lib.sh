# Shared pieces of the end-to-end tests: a private X display, a copy of the
# built program in a scratch folder (it keeps config.ini beside itself), and
# ways to drive and read it.
set -euo pipefail

E2E_PROGRAM="${FOLIVAR_PROGRAM:?FOLIVAR_PROGRAM must name the built folivar}"
E2E_DIR="$(mktemp -d /tmp/folivar-e2e.XXXXXX)"
E2E_PIDS=()

e2e_cleanup() {
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$E2E_DIR"
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Starts Xvfb on a display number it picks itself (no race with other
# servers starting at the same time) and exports DISPLAY. Without -noreset the
# server resets whenever its last client leaves, and a reader connecting
# during the reset is refused and aborts.
start_display() {
  Xvfb -displayfd 3 -noreset -screen 0 1280x800x24 -nolisten tcp 3>"$E2E_DIR/display" >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  for _ in $(seq 100); do
    if [ -s "$E2E_DIR/display" ]; then
      export DISPLAY=":$(cat "$E2E_DIR/display")"
      xdpyinfo >/dev/null 2>&1 && return 0
    fi
    sleep 0.1
  done
  fail "no X display could be started"
}

# Copies the program into its own folder: $E2E_DIR/app/folivar.
install_program() {
  mkdir -p "$E2E_DIR/app"
  cp "$E2E_PROGRAM" "$E2E_DIR/app/folivar"
}

# Writes config.ini from "section|key|value" lines, GBK with CR LF.
write_settings() {
  local line section last=""
  : >"$E2E_DIR/app/config.utf8"
  for line in "$@"; do
    IFS='|' read -r section key value <<<"$line"
    [ "$section" = "$last" ] || printf '[%s]\r\n' "$section" >>"$E2E_DIR/app/config.utf8"
    last="$section"
    printf '%s=%s\r\n' "$key" "$value" >>"$E2E_DIR/app/config.utf8"
  done
  iconv -f UTF-8 -t GB18030 "$E2E_DIR/app/config.utf8" >"$E2E_DIR/app/config.ini"
  rm "$E2E_DIR/app/config.utf8"
}

# The place most tests remember: b.txt of the generated library, chapter 5
# at line 7, in a font and colours other than the designed ones. The book
# folder is written as given, with or without its final "/".
write_remembered_place() { # FOLDER
  write_settings "Config|路径|$1" "Config|书|1" "Config|章|5" "Config|行|7" \
    "字体|字体|Noto Serif CJK SC" "字体|字体大小|17" "字体|文本颜色|128" "字体|背景颜色|15794175"
}

# Value of a key in the program's config.ini, as UTF-8. Reads to the end, so that
# a long file does not end the pipe early (SIGPIPE under pipefail).
setting() {
  iconv -f GB18030 -t UTF-8 "$E2E_DIR/app/config.ini" | tr -d '\r' |
    awk -F= -v key="$1" '$1 == key && !found { sub(/^[^=]*=/, ""); print; found = 1 }'
}

# Starts the program (the copy install_program made, unless another is named)
# and waits for its window.
start_program() {
  "${1:-$E2E_DIR/app/folivar}" &
  PROGRAM_PID=$!
  E2E_PIDS+=($PROGRAM_PID)
  WINDOW_ID=$(timeout 30 xdotool search --sync --onlyvisible --name '^Folivar$' | head -n 1) ||
    fail "the window did not appear"
}

# Waits until the window is shown (yes) or hidden (no).
wait_visible() { # wait_visible WINDOW yes|no
  for _ in $(seq 100); do
    if xdotool search --onlyvisible --name '^Folivar$' | grep -qx "$1"; then
      [ "$2" = yes ] && return 0
    else
      [ "$2" = no ] && return 0
    fi
    sleep 0.1
  done
  fail "window $1 visible should be $2"
}

# Waits for the program to end and checks its exit code.
expect_exit_code() {
  local code=0
  timeout 60 tail --pid="$PROGRAM_PID" -f /dev/null || fail "the program did not end"
  wait "$PROGRAM_PID" || code=$?
  [ "$code" -eq "$1" ] || fail "exit code $code, expected $1"
}

# Chooses 文件 > 退出 with the mouse and the keyboard, as a user would.
exit_through_menu() {
  local x y
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  xdotool mousemove "$((X + 15))" "$((Y + 10))" click 1
  sleep 0.5
  xdotool key Up Return
}

# The pane's whole text, through select-all and copy.
pane_text() {
  xdotool key --window "$WINDOW_ID" ctrl+a ctrl+c
  sleep 0.3
  xclip -selection clipboard -o
}
