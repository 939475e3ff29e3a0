#!/usr/bin/env bash
# Every book keeps its own place: switching between three books and back
# returns each to its chapter and first visible line, also after a restart,
# and after a kill -9 that follows a chapter change.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
start_display
install_program
make_library
write_settings "Config|路径|$books/"

open_book() { # ROW: a click on that row of the book list, then its load
  click_book_row "$1"
  wait_for_log "read \".*/$(printf '%s' abc | cut -c$(($1 + 1))).txt\" to its end"
}
scroll_down() { # NOTCHES of the mouse wheel over the pane
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  xdotool mousemove $((X + 400)) $((Y + 200)) click --repeat "$1" --delay 50 5
}
expect_chapter() { # BOOK N
  [ "$(pane_text)" = "$(chapter_text "$books/$1.txt" "$2")" ] || fail "$1.txt chapter $2 is not shown"
}

echo "case: three books read, then back to the first"
start_program
open_book 0
pane_keys Right Right
scroll_down 3
open_book 1
pane_keys Right
scroll_down 2
open_book 2
pane_keys Right Right Right
open_book 0
expect_chapter a 2
exit_through_menu
expect_exit_code 0
[ "$(setting 书) $(setting 章) $(setting 书名)" = "0 2 a.txt" ] || fail "saved $(setting 书) $(setting 章) $(setting 书名)"
line_a=$(setting 行)
[ "$line_a" -gt 0 ] || fail "a.txt is back at its top, not at its line"

echo "case: after a restart"
start_program
expect_chapter a 2
open_book 2
expect_chapter c 3
open_book 1
expect_chapter b 1
exit_through_menu
expect_exit_code 0
[ "$(setting 行)" -gt 0 ] || fail "b.txt is back at its top, not at its line"
start_program
open_book 0
exit_through_menu
expect_exit_code 0
[ "$(setting 行)" = "$line_a" ] || fail "a.txt is at line $(setting 行), not $line_a"

echo "case: killed after a chapter change"
start_program
pane_keys Right
saved_chapter() { book_record "chapter" "a.txt"; }
for _ in $(seq 100); do
  [ "$(saved_chapter)" = 3 ] && break
  sleep 0.05
done
[ "$(saved_chapter)" = 3 ] || fail "the chapter change was not saved"
kill -9 "$PROGRAM_PID"
wait "$PROGRAM_PID" 2>/dev/null || true
start_program
expect_chapter a 3
exit_through_menu
expect_exit_code 0
echo "PASS: memory_books"
