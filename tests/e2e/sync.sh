#!/usr/bin/env bash
# Two computers, here two reader folders (each its own HOME, config.ini and
# books.db) on two displays, sharing a WebDAV folder served by rclone on
# 127.0.0.1: a place read on one is where the other opens the book; both
# computers' bookmarks are kept and a deletion reaches the other; the one
# left open does not overwrite the newer place; with the server gone the
# reader reads on and syncs once it is back; a damaged shared file is
# replaced, not taken; a wrong password is refused and the right one, given
# in 设置 → 同步… (no keyring runs here, so it is kept for the session), works;
# a server that never answers times out and does not hold up closing.
# Skipped (77) where rclone is missing or cannot serve.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
command -v rclone >/dev/null || { echo "SKIP: rclone is not installed"; exit 77; }

DAV="$E2E_DIR/dav"
mkdir -p "$DAV/共享"
PORT=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
ADDRESS="http://127.0.0.1:$PORT/共享/"
SHARED="$DAV/共享/folivar/books/b.txt.json"
export QT_LOGGING_RULES="folivar.sync.info=true"

# Serves $DAV, with the sign-in given (--user U --pass P) if any.
serve() {
  rclone serve webdav "$DAV" --addr "127.0.0.1:$PORT" "$@" >>"$E2E_DIR/rclone.log" 2>&1 &
  SERVER_PID=$!
  E2E_PIDS+=($SERVER_PID)
  for _ in $(seq 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$PORT") 2>/dev/null && return 0
    kill -0 "$SERVER_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "SKIP: rclone cannot serve WebDAV here: $(tail -n 3 "$E2E_DIR/rclone.log")"
  exit 77
}
stop_serving() {
  kill "$SERVER_PID"
  wait "$SERVER_PID" 2>/dev/null || true
  forget_process "$SERVER_PID"
}

# The reader the helpers of lib.sh work on: A or B, each on its own display.
as_reader() { # A|B
  eval "E2E_APP=\$APP_$1 DISPLAY=\$DISPLAY_$1 PROGRAM_PID=\${PID_$1:-} WINDOW_ID=\${WINDOW_$1:-} E2E_LOG=\${LOG_$1:-}"
  export HOME="$E2E_APP/home" DISPLAY
  CURRENT=$1
}
start_reader() { # A|B
  as_reader "$1"
  start_program
  eval "PID_$1=$PROGRAM_PID WINDOW_$1=$WINDOW_ID LOG_$1=$E2E_LOG"
}
stop_reader() {
  exit_through_menu
  expect_exit_code 0
}
# A reader's folder, HOME and display.
set_up_reader() { # A|B
  eval "APP_$1=\$E2E_DIR/reader$1"
  start_display
  eval "DISPLAY_$1=\$DISPLAY"
  as_reader "$1"
  install_program
  mkdir -p "$HOME"
}
# The reader's settings: b.txt of the library at chapter 1, syncing through
# the shared folder as USER (none by default).
write_reader_settings() { # [USER]
  write_settings "Config|路径|$books/" "Config|书|1" "Config|章|1" \
    "同步|地址|$ADDRESS" "同步|用户|${1:-}" "同步|启用|1"
}

# A field of the shared file (python's expression on the parsed JSON `f`).
shared() { # EXPRESSION
  python3 -c "import json, sys; f = json.load(open(sys.argv[1], encoding='utf-8')); print($1)" "$SHARED"
}
# Waits up to 20 s until COMMAND... prints VALUE; fails naming WHAT.
wait_for_answer() { # WHAT VALUE COMMAND...
  local what=$1 value=$2
  shift 2
  for _ in $(seq 200); do
    [ "$("$@" 2>/dev/null)" = "$value" ] && return 0
    sleep 0.1
  done
  fail "$what is '$("$@" 2>&1)', not $value"
}
wait_for_shared() { wait_for_answer "the shared file's $1" "$2" shared "$1"; } # EXPRESSION VALUE
wait_for_store() { wait_for_answer "reader $CURRENT's answer to $1" "$2" book_store "$1"; } # SQL VALUE
stored_bookmarks() {
  book_record "json_array_length(bookmarks)" "b.txt"
}
stored_chapter() {
  book_record "chapter" "b.txt"
}
expect_pane_at() { # CHAPTER
  [ "$(pane_text)" = "$(chapter_text "$books/b.txt" "$1")" ] ||
    fail "reader $CURRENT does not show chapter $1 of b.txt"
}
# Menu keys from the window's first menu (文件).
menu_keys() { # KEY...
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  xdotool mousemove "$((X + 15))" "$((Y + 10))" click 1
  wait_for_menu
  xdotool key --delay 50 "$@"
}
# 设置 → 同步… (the menu's last item): the password typed into its field,
# the third, clicked at 100 pixels below the dialog's top; keys sent before
# the click has been taken in may be lost.
give_password() { # PASSWORD
  menu_keys Right Up Return
  local dialog
  dialog=$(wait_for_window '^同步$')
  xdotool mousemove --window "$dialog" 200 100 click 1
  wait_for_still_screen
  xdotool key --delay 50 ctrl+a BackSpace
  xdotool type --delay 50 "$1"
  xdotool key Return
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^同步$' >/dev/null || return 0
    sleep 0.05
  done
  fail "the 同步 dialog did not close"
}

serve
make_library
set_up_reader A
write_reader_settings
set_up_reader B
write_reader_settings

echo "case: read on one computer, the other opens at that place"
start_reader A
select_chapter_row 5
wait_for_shared 'f["chapter"]' 5
start_reader B
wait_for_log 'following another computer to its place in ".*/b.txt"'
expect_pane_at 5
[ "$(stored_chapter)" = 5 ] || fail "B keeps chapter $(stored_chapter)"

echo "case: bookmarks made on both computers are kept on both"
as_reader A
pane_keys ctrl+d
wait_for_shared 'len(f["bookmarks"])' 1
as_reader B
pane_keys ctrl+d
wait_for_shared 'len(f["bookmarks"])' 2
[ "$(stored_bookmarks)" = 2 ] || fail "B holds $(stored_bookmarks) bookmarks"
as_reader A
pane_keys ctrl+shift+s
wait_for_store "SELECT json_array_length(bookmarks) FROM books WHERE name LIKE '%/b.txt'" 2

echo "case: the computer left open does not overwrite the newer place"
select_chapter_row 8
wait_for_shared 'f["chapter"]' 8
as_reader B
# A change of B's own, at its old place: B's write must keep A's place.
pane_keys ctrl+d
wait_for_log 'following another computer to its place in ".*/b.txt"' 30 2
wait_for_shared 'len(f["bookmarks"])' 3
[ "$(shared 'f["chapter"]')" = 8 ] || fail "B's write moved the shared place to $(shared 'f["chapter"]')"
expect_pane_at 8

# The computer behind reached its place first; the other moved on later. A
# sync on the computer behind, after its lines wrapped anew (another window
# size), must not make its old place look new: it follows the other one.
behind_syncs_after_a_rewrap() { # BEHIND AHEAD CHAPTER_BEHIND CHAPTER_AHEAD
  as_reader "$1"
  select_chapter_row "$3"
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  # Two turns of the wheel (six lines) leave a paragraph's second line on top.
  xdotool mousemove $((X + 400)) $((Y + 200)) click --repeat 2 --delay 50 5
  wait_for_shared 'f["chapter"]' "$3"
  as_reader "$2"
  select_chapter_row "$4"
  wait_for_shared 'f["chapter"]' "$4"
  as_reader "$1"
  local followed
  followed=$(grep -c 'following another computer to its place' "$E2E_LOG" || true)
  xdotool windowsize "$WINDOW_ID" 700 480
  pane_keys ctrl+shift+s
  wait_for_log 'following another computer to its place in ".*/b.txt"' 30 $((followed + 1))
  [ "$(shared 'f["chapter"]')" = "$4" ] || fail "$1's sync put its older place $(shared 'f["chapter"]') over $4"
  expect_pane_at "$4"
  xdotool windowsize "$WINDOW_ID" 884 560
}

echo "case: a sync on the computer behind keeps the newer place, either way round"
behind_syncs_after_a_rewrap B A 3 6
behind_syncs_after_a_rewrap A B 2 8
as_reader B

echo "case: a bookmark deleted on one computer is gone on the other"
pane_keys ctrl+b
keys_in 书签 Down Delete
close_window 书签
wait_for_shared 'len(f["bookmarks"])' 2
[ "$(shared 'len(f["changes"]["deletedBookmarks"])')" = 1 ] || fail "the deletion is not remembered"
as_reader A
pane_keys ctrl+shift+s
wait_for_store "SELECT json_array_length(changes, '$.deletedBookmarks') FROM books WHERE name LIKE '%/b.txt'" 1
[ "$(stored_bookmarks)" = 2 ] || fail "A holds $(stored_bookmarks) bookmarks"

echo "case: a highlight made on one computer is on the other"
# Two characters of the chapter on screen, selected through 查找… (pasted:
# xdotool types Chinese unreliably), then 阅读 → 高亮 (Ctrl+H).
term=$(pane_text | python3 -c "import sys; print([l.strip() for l in sys.stdin if len(l.strip()) > 6][1][2:4])")
pane_keys ctrl+f
printf '%s' "$term" | xclip -selection clipboard >/dev/null 2>&1
keys_in 查找 ctrl+a ctrl+v Return Tab Return
close_window 查找
# Not pane_keys: its click would end the selection. A click on the menu
# bar's empty end gives the window back the keys.
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
xdotool mousemove $((X + WIDTH - 20)) $((Y + 10)) click 1
xdotool key --window "$WINDOW_ID" ctrl+h
wait_for_shared '[h["text"] for h in f["highlights"]]' "['$term']"
as_reader B
pane_keys ctrl+shift+s
wait_for_store "SELECT text FROM highlights WHERE deleted = 0" "$term"
as_reader A

echo "case: the server stops mid-session, and sync resumes when it is back"
stop_serving
select_chapter_row 3
wait_for_log 'cannot sync .*/b.txt'
expect_pane_at 3
[ "$(stored_chapter)" = 3 ] || fail "A keeps chapter $(stored_chapter) without the server"
serve
wait_for_log 'syncing works again' 90
wait_for_shared 'f["chapter"]' 3
stop_reader
as_reader B
stop_reader

echo "case: a damaged shared file is replaced, the local record kept"
printf '{"version":1,"chapter":"乱' >"$SHARED"
start_reader B
wait_for_log 'cannot be read: this computer.s record replaces it'
wait_for_shared 'f["chapter"]' 8
[ "$(stored_chapter)" = 8 ] || fail "B took chapter $(stored_chapter) from a damaged file"
stop_reader

echo "case: a server with sign-in, a wrong password and the right one"
stop_serving
serve --user reader --pass 'secret42'
as_reader B
write_reader_settings reader
start_reader B
wait_for_log 'no sync password in the keyring'
give_password wrong
wait_for_log 'cannot sync .*/b.txt - 同步服务器拒绝登录'
give_password 'secret42'
wait_for_log 'synced ".*/b.txt"'
stop_reader
! grep -q 'secret42' "$E2E_APP/config.ini" "$LOG_B" || fail "the password is in config.ini or the log"
[ "$(setting 用户)" = reader ] && [ "$(setting 启用)" = 1 ] || fail "the account was not kept in config.ini"

echo "case: a server that takes connections and never answers"
stop_serving
python3 -c '
import socket, sys
server = socket.create_server(("127.0.0.1", int(sys.argv[1])))
held = []
while True:
    held.append(server.accept())' "$PORT" &
E2E_PIDS+=($!)
write_reader_settings
start_reader B
wait_for_log 'cannot sync .*/b.txt - 同步服务器 10 秒内没有回应'
select_chapter_row 2
expect_pane_at 2
# Closing waits a few seconds at most for the write that cannot happen.
exit_through_menu
program_ends_within 8 || fail "the reader did not close within 8 s with the server silent"
echo "PASS: sync"
