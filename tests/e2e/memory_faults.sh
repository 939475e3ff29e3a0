#!/usr/bin/env bash
# The list and the pane stay in step: after Delete the right arrow goes on to
# the chapter that follows the text on screen, a right-click only opens the
# chapter list's menu, the removed headings come back through that menu, an
# empty book empties the pane, and the book highlighted after a quick change of books is the one shown.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
start_display
install_program
make_library --big 64
: >"$books/empty.txt"
# The book list: a.txt, b.txt, big.txt, c.txt, empty.txt.
write_settings "Config|路径|$books/" "Config|书|1" "Config|章|0"

click_book() { # ROW
  click_book_row "$1"
}

echo "case: Delete, then the right arrow"
start_program
select_chapter_row 3
xdotool key --window "$WINDOW_ID" Delete
pane_keys Right
[ "$(pane_text)" = "$(chapter_text "$books/b.txt" 4)" ] || fail "the right arrow after Delete skipped chapter 4"

echo "case: a right-click on another row, then Escape, changes nothing"
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
xdotool mousemove $((X + 20)) $((Y + 305)) click 3
wait_for_menu
xdotool key Escape
[ "$(pane_text)" = "$(chapter_text "$books/b.txt" 4)" ] || fail "a cancelled right-click moved the reader"

echo "case: the removed heading comes back"
xdotool mousemove $((X + 20)) $((Y + 305)) click 3
wait_for_menu
xdotool key Down Return
select_chapter_row 3
[ "$(pane_text)" = "$(chapter_text "$books/b.txt" 3)" ] || fail "chapter 3 is not back in the list"

echo "case: an empty book"
click_book 4
wait_for_log 'read ".*/empty.txt" to its end'
[ "$(pane_text)" = "" ] || fail "the empty book shows the previous book's text"

echo "case: another book chosen while a large one loads"
click_book 2
wait_for_log 'reading ".*/big.txt"'
click_book 3
wait_for_log 'read ".*/c.txt" to its end'
exit_through_menu
expect_exit_code 0
[ "$(setting 书) $(setting 书名)" = "3 c.txt" ] || fail "the highlighted book is $(setting 书) $(setting 书名), not c.txt"
echo "PASS: memory_faults"
