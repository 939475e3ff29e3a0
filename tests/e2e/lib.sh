# Shared pieces of the end-to-end tests: a private X display, a copy of the
# built program in a scratch folder (it keeps config.ini beside itself), and
# ways to drive and read it.
set -euo pipefail

E2E_PROGRAM="${FOLIVAR_PROGRAM:?FOLIVAR_PROGRAM must name the built folivar}"
E2E_LIB_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
E2E_DIR="$(mktemp -d /tmp/folivar-e2e.XXXXXX)"
E2E_PIDS=()
# The folder of the program the helpers work on: its copy, config.ini and
# books.db. A test with two readers points it at one or the other.
E2E_APP="$E2E_DIR/app"
# A command the program runs under, such as setpriv with its options; none by default.
E2E_LAUNCHER=()

E2E_SHELL=$BASHPID

# Bash may run the EXIT trap in a command substitution's subshell as well;
# only the test's own shell cleans up.
e2e_cleanup() { # [STATUS the test ended with]
  local status=${1:-$?}
  [ "$BASHPID" = "$E2E_SHELL" ] || return 0
  # What the program said last tells a failure of the test from one of the program's.
  if [ "$status" -ne 0 ] && [ "$status" -ne 77 ] && [ -s "${E2E_LOG:-}" ]; then
    echo "the program's log ended with:" >&2
    tail -n 15 "$E2E_LOG" >&2
  fi
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  # A program that was just killed may still be writing its files: once more
  # after a moment, and a scratch folder left behind never fails a test.
  rm -rf "$E2E_DIR" 2>/dev/null || { sleep 1 && rm -rf "$E2E_DIR"; } || true
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# What the book store beside the program answers, read while the program may
# be writing it.
book_store() { # SQL
  sqlite3 -cmd '.timeout 5000' "$E2E_APP/books.db" "$1"
}
# The columns of the record of the book of that file name, in whatever
# folder (a record is keyed by the folder's path and the name).
book_record() { # COLUMNS NAME
  book_store "SELECT $1 FROM books WHERE substr(name, length(name) - length('$2')) = '/$2'"
}

# Starts Xvfb on a display number it picks itself (no race with other
# servers starting at the same time) and exports DISPLAY. Without -noreset the
# server resets whenever its last client leaves, and a reader connecting
# during the reset is refused and aborts.
start_display() {
  rm -f "$E2E_DIR/display"
  Xvfb -displayfd 3 -noreset -screen 0 1280x800x24 -nolisten tcp 3>"$E2E_DIR/display" >/dev/null 2>&1 &
  E2E_DISPLAY_PID=$!
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

# Ends the display start_display started last, for a test that needs a fresh
# one; clients still connected to it lose their connection.
stop_display() {
  kill "$E2E_DISPLAY_PID" 2>/dev/null || true
  wait "$E2E_DISPLAY_PID" 2>/dev/null || true
  forget_process "$E2E_DISPLAY_PID"
}

# Takes an ended process off the list cleanup kills: its number may be
# another process's by then.
forget_process() { # PID
  local pid kept=()
  for pid in "${E2E_PIDS[@]}"; do
    [ "$pid" = "$1" ] || kept+=("$pid")
  done
  E2E_PIDS=(${kept[@]+"${kept[@]}"})
}

# Copies the program into its own folder: $E2E_APP/folivar.
install_program() {
  mkdir -p "$E2E_APP"
  cp "$E2E_PROGRAM" "$E2E_APP/folivar"
}

# Writes the generated library (make_library.py, given its options) to
# $E2E_DIR/books and names that folder $books.
make_library() { # [--big MB]
  books="$E2E_DIR/books"
  python3 "$E2E_LIB_DIR/make_library.py" "$books" "$@"
}

# Writes config.ini from "section|key|value" lines, GBK with CR LF.
write_settings() {
  local line section last=""
  : >"$E2E_APP/config.utf8"
  for line in "$@"; do
    IFS='|' read -r section key value <<<"$line"
    [ "$section" = "$last" ] || printf '[%s]\r\n' "$section" >>"$E2E_APP/config.utf8"
    last="$section"
    printf '%s=%s\r\n' "$key" "$value" >>"$E2E_APP/config.utf8"
  done
  iconv -f UTF-8 -t GB18030 "$E2E_APP/config.utf8" >"$E2E_APP/config.ini"
  rm "$E2E_APP/config.utf8"
}

# The place most tests remember: b.txt of the generated library, chapter 5
# at line 7, in a font and colours other than the designed ones. The book
# folder is written as given, with or without its final "/".
write_remembered_place() { # FOLDER
  write_settings "Config|路径|$1" "Config|书|1" "Config|章|5" "Config|行|7" \
    "字体|字体|Noto Serif CJK SC" "字体|字体大小|17" "字体|文本颜色|128" "字体|背景颜色|15794175"
}

# Value of a key in the program's config.ini (or another file), as UTF-8. Reads to the end, so that
# a long file does not end the pipe early (SIGPIPE under pipefail).
setting() { # KEY [FILE]
  iconv -f GB18030 -t UTF-8 "${2:-$E2E_APP/config.ini}" | tr -d '\r' |
    awk -F= -v key="$1" '$1 == key && !found { sub(/^[^=]*=/, ""); print; found = 1 }'
}

# Starts the program (the copy install_program made, unless another is named),
# with the arguments given after it, in the background as $PROGRAM_PID. What it logs goes to a new file,
# $E2E_LOG; its start-up and shelf messages are always there, plus whatever
# QT_LOGGING_RULES asks for.
run_program() {
  E2E_RUNS=$((${E2E_RUNS:-0} + 1))
  E2E_LOG="$E2E_DIR/log.$E2E_RUNS"
  QT_LOGGING_RULES="folivar.app.info=true;folivar.shelf.info=true;folivar.session.info=true${QT_LOGGING_RULES:+;$QT_LOGGING_RULES}" \
    "${E2E_LAUNCHER[@]}" "${1:-$E2E_APP/folivar}" "${@:2}" 2>"$E2E_LOG" &
  PROGRAM_PID=$!
  E2E_PIDS+=($PROGRAM_PID)
}

# Runs the program as run_program does and waits for its window.
launch_program() {
  run_program "$@"
  WINDOW_ID=$(wait_for_window '^Folivar$' --all --pid "$PROGRAM_PID") || fail "the window did not appear"
}

# Waits until a visible window's name matches NAME (a regular expression)
# and prints its id. xdotool's own --sync can fail with an X error when
# another window (a closing menu) goes away during the search: polled here.
wait_for_window() { # NAME [xdotool search options...]
  local name=$1 window
  shift
  for _ in $(seq $((${E2E_WINDOW_SECONDS:-30} * 10))); do
    window=$(xdotool search --onlyvisible "$@" --name "$name" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && echo "$window" && return 0
    sleep 0.1
  done
  fail "no window named $name appeared"
}

# Starts the program as launch_program does and waits until its start-up has
# put it back where it was (the remembered book reopened and shown).
start_program() {
  launch_program "$@"
  wait_for_log 'start-up finished'
}

# Waits until the program's log holds COUNT lines (default 1) matching
# PATTERN (grep -E).
wait_for_log() { # PATTERN [SECONDS] [COUNT]
  local count=${3:-1}
  for _ in $(seq $((${2:-60} * 20))); do
    [ "$(grep -cE -- "$1" "$E2E_LOG")" -ge "$count" ] && return 0
    kill -0 "$PROGRAM_PID" 2>/dev/null || break
    sleep 0.05
  done
  [ "$(grep -cE -- "$1" "$E2E_LOG")" -ge "$count" ] || fail "the program never logged '$1' $count times"
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

# True once the program has ended, false if it still runs after SECONDS.
program_ends_within() { # SECONDS
  timeout "$1" tail --pid="$PROGRAM_PID" -s 0.1 -f /dev/null
}

# What a program that stopped responding is doing: every thread's stack, its
# system calls for 3 s, the X clients and windows on its display, its
# processes, and its whole log.
show_stuck_program() {
  echo "--- threads of $PROGRAM_PID" >&2
  gdb -batch -p "$PROGRAM_PID" -ex 'thread apply all bt' 2>&1 | grep -vE '^\[New LWP|^$' >&2 || true
  echo "--- system calls of $PROGRAM_PID for 3 s" >&2
  timeout 3 strace -f -tt -p "$PROGRAM_PID" 2>&1 | tail -n 40 >&2 || true
  echo "--- X clients and windows on $DISPLAY" >&2
  xlsclients -l >&2 2>&1 || true
  xwininfo -root -tree >&2 2>&1 || true
  echo "--- processes" >&2
  ps -eo pid,ppid,stat,etime,args | grep -E '/app/folivar|dbus-launch|dbus-daemon|Xvfb' | grep -v grep >&2 || true
  echo "--- the program's log" >&2
  cat "$E2E_LOG" >&2 || true
}

# Waits for the program to end and checks its exit code.
expect_exit_code() {
  local code=0
  program_ends_within 60 || fail "the program did not end"
  wait "$PROGRAM_PID" || code=$?
  [ "$code" -eq "$1" ] || fail "exit code $code, expected $1"
}

# Keys pressed in the reading pane: a click there gives it the focus first.
pane_keys() { # KEY...
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  xdotool mousemove $((X + 400)) $((Y + 200)) click 1
  xdotool key --delay 20 --window "$WINDOW_ID" "$@"
}

# A click on row N of the book list: its rows lie 14 pixels apart below the
# filter field.
click_book_row() { # N
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  xdotool mousemove $((X + 20)) $((Y + 54 + 14 * $1)) click 1
}

# Selects row N of the chapter list as a user does: a click on its first row,
# then the down arrow N times (each one shows the chapter it reaches).
select_chapter_row() { # N
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  xdotool mousemove $((X + 20)) $((Y + 305)) click 1
  [ "$1" -eq 0 ] || xdotool key --delay 20 --window "$WINDOW_ID" $(printf 'Down %.0s' $(seq "$1"))
}

# Waits until a menu has opened: a window of the program on screen that is
# named after the program, as Qt names its popups (they are top-level windows
# of their own, which xdotool does not always find).
wait_for_menu() {
  local window
  for _ in $(seq 200); do
    for window in $(xwininfo -root -children | awk '$2 == "\"folivar\":" { print $1 }'); do
      xwininfo -id "$window" | grep -q IsViewable && return 0
    done
    sleep 0.05
  done
  fail "the menu did not open"
}

# Chooses 文件 > 退出 with the mouse and the keyboard, as a user would.
exit_through_menu() {
  local x y
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  xdotool mousemove "$((X + 15))" "$((Y + 10))" click 1
  wait_for_menu
  xdotool key Up Return
}

# The pane's whole text, through a click into it, select-all and copy; empty when the pane
# holds none (a copy of nothing leaves the clipboard as it was). The keys are
# sent again now and then: a window that has only just appeared may not take
# them yet.
pane_text() {
  local marker="folivar-e2e: nothing copied" text
  # xclip stays behind to hold the selection: it must not hold our output too.
  printf '%s' "$marker" | xclip -selection clipboard >/dev/null 2>&1
  for _ in $(seq 40); do
    [ "$(xclip -selection clipboard -o 2>/dev/null)" = "$marker" ] && break
    sleep 0.05
  done
  for _ in 1 2 3 4; do
    pane_keys ctrl+a ctrl+c
    for _ in $(seq 10); do
      text=$(xclip -selection clipboard -o 2>/dev/null || true)
      [ "$text" != "$marker" ] && printf '%s\n' "$text" && return 0
      sleep 0.05
    done
  done
}

# Waits until two dumps of the screen taken a moment apart are the same, so
# that the window has painted what it shows. xwd rather than ImageMagick:
# scripts/run uses this too, without the test tools.
wait_for_still_screen() {
  xwd -root -silent >"$E2E_DIR/still.xwd"
  for _ in $(seq 50); do
    sleep 0.1
    xwd -root -silent >"$E2E_DIR/still2.xwd"
    cmp -s "$E2E_DIR/still.xwd" "$E2E_DIR/still2.xwd" && return 0
    mv "$E2E_DIR/still2.xwd" "$E2E_DIR/still.xwd"
  done
  fail "the screen did not settle"
}
