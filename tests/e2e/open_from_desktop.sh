#!/usr/bin/env bash
# Books from outside the book list. A path on the command line (spaces and
# Chinese characters in it) opens that book at its own place, and its folder
# becomes the book folder; a missing or non-text path leaves the reader as it
# would start without one and says why; a path given to a second start opens
# in the running reader; 最近阅读 lists the books read across folders, newest
# first, after a restart too. A book of the same name in another folder
# keeps a place of its own.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
start_display
install_program
make_library
program="$E2E_DIR/app/folivar"
downloads="$E2E_DIR/下载 目录"
other="$E2E_DIR/其他"
mkdir "$downloads" "$other"
cp "$books/c.txt" "$downloads/新 书.txt"
cp "$books/a.txt" "$other/另一本.txt"
write_remembered_place "$books/"

echo "case: a missing and a non-text path: the reader starts at its place and says why"
for path in "$E2E_DIR/没有这本.txt" "$E2E_DIR/app/config.ini"; do
  start_program "$program" "$path"
  [ "$(pane_text)" = "$(chapter_text "$books/b.txt" 5)" ] || fail "$path: the pane does not hold chapter 5 of b.txt"
  grep -qF "not opening $path - " "$E2E_LOG" || fail "$path: the reader does not say why it was not opened"
  exit_through_menu
  expect_exit_code 0
  [ "$(setting 路径) $(setting 书名) $(setting 章)" = "$books/ b.txt 5" ] || fail "$path: the place changed"
done

echo "case: a book on the command line, its path with spaces and Chinese characters"
start_program "$program" "$downloads/新 书.txt"
[ "$(pane_text)" = "c书" ] || fail "the book named does not open at its head"
pane_keys Right Right
exit_through_menu
expect_exit_code 0
[ "$(setting 路径)|$(setting 书名)|$(setting 章)" = "$downloads/|新 书.txt|2" ] ||
  fail "saved $(setting 路径)|$(setting 书名)|$(setting 章)"

echo "case: a book named opens at its own place"
start_program "$program" "$books/b.txt"
[ "$(pane_text)" = "$(chapter_text "$books/b.txt" 5)" ] || fail "b.txt does not open at its chapter 5"

echo "case: a second start hands its book, named relative to its folder, to the running reader"
first_pid=$PROGRAM_PID first_log=$E2E_LOG
cd "$other"
run_program "$program" 另一本.txt
cd - >/dev/null
expect_exit_code 0
PROGRAM_PID=$first_pid E2E_LOG=$first_log
wait_for_log 'read ".*/其他/另一本.txt" to its end'
[ "$(pane_text)" = "a书" ] || fail "the running reader does not show the book handed over"
exit_through_menu
expect_exit_code 0

echo "case: 最近阅读 after a restart: 另一本.txt, b.txt, then 新 书.txt of the other folder"
start_program
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
xdotool mousemove $((X + 15)) $((Y + 10)) click 1
wait_for_menu
xdotool key --delay 30 Down Down Right Down Down Return
wait_for_log 'read ".*/下载 目录/新 书.txt" to its end'
[ "$(pane_text)" = "$(chapter_text "$downloads/新 书.txt" 2)" ] || fail "新 书.txt does not open at its chapter 2"
exit_through_menu
expect_exit_code 0
[ "$(setting 路径)" = "$downloads/" ] || fail "the book folder is $(setting 路径)"
echo "case: a book of the same name in another folder is another book, and each keeps its own place"
cp "$books/a.txt" "$other/b.txt"
start_program "$program" "$other/b.txt"
[ "$(pane_text)" = "a书" ] || fail "其他/b.txt does not open at its head: $(pane_text)"
pane_keys Right Right
exit_through_menu
expect_exit_code 0
start_program "$program" "$books/b.txt"
[ "$(pane_text)" = "$(chapter_text "$books/b.txt" 5)" ] || fail "b.txt of the library lost its chapter 5"
exit_through_menu
expect_exit_code 0
[ "$(book_store "SELECT chapter FROM books WHERE name = '$other/b.txt'")" = 2 ] ||
  fail "books.db holds $(book_store 'SELECT name, chapter FROM books')"
echo "PASS: open_from_desktop"
