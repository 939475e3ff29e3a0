#!/usr/bin/env bash
# A reader killed outright never leaves a broken config.ini. Killed while it
# loads a book, it has written nothing. Killed while it saves, the file is the
# old one or one the key-by-key save passes through, always whole; killed a
# while after a change of book, chapter or font, it has kept them; a lock it
# left behind does not hold up the next reader's save.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
start_display
install_program
make_library --big 64
ini="$E2E_DIR/app/config.ini"

echo "case: killed while loading a large book"
write_settings "Config|路径|$E2E_DIR/books/" "Config|书|2" "Config|章|3" "Config|行|4" \
  "字体|字体|Noto Serif CJK SC" "字体|字体大小|15" "字体|文本颜色|128" "字体|背景颜色|15794175"
cp "$ini" "$E2E_DIR/before.ini"
launch_program
wait_for_log 'reading ".*big.txt"'
# 64 MB take seconds to load: the kill comes in the middle.
kill -9 "$PROGRAM_PID"
wait "$PROGRAM_PID" 2>/dev/null || true
cmp -s "$E2E_DIR/before.ini" "$ini" || fail "config.ini changed although the reader was killed"

# b.txt, chapter 5 at line 7, with a book folder that lacks its final "/":
# moving on a chapter and saving changes four of the eight values and adds
# the book's and the chapter's names and the hide key.
write_remembered_place "$E2E_DIR/books"
cp "$ini" "$E2E_DIR/before.ini"
chapter=$(chapter_text "$E2E_DIR/books/b.txt" 5)
next_chapter_then_exit() {
  start_program
  [ "$(pane_text)" = "$chapter" ] || fail "the pane does not hold chapter 5 of b.txt"
  xdotool key --window "$WINDOW_ID" Right
  exit_through_menu
}

echo "case: a whole save, for comparison"
next_chapter_then_exit
expect_exit_code 0
cp "$ini" "$E2E_DIR/after.ini"
[ "$(setting 章)" = 6 ] || fail "章 is $(setting 章) after a whole save"

echo "case: killed while saving"
for round in $(seq 20); do
  cp "$E2E_DIR/before.ini" "$ini"
  next_chapter_then_exit
  sleep "0.$(printf '%03d' $((RANDOM % 200)))"
  kill -9 "$PROGRAM_PID" 2>/dev/null || true
  wait "$PROGRAM_PID" 2>/dev/null || true
  written=$(python3 "$E2E_TOOLS/settings_file.py" between "$E2E_DIR/before.ini" "$E2E_DIR/after.ini" "$ini") ||
    fail "round $round left a broken config.ini"
  echo "round $round: $written of 20 values saved"
done

echo "case: killed a while after a book, a chapter and a font change"
# The settings follow the reader as it goes, not only at the close.
cp "$E2E_DIR/before.ini" "$ini"
start_program
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
# The book list: a.txt, b.txt, big.txt, c.txt.
click_book_row 3
wait_for_log 'read ".*/c.txt" to its end'
pane_keys Right Right
# 设置 > 字体: the size field (its label's Alt+S), 23 points, Enter.
xdotool mousemove $((X + 15)) $((Y + 10)) click 1
wait_for_menu
xdotool key --delay 30 Right Return
wait_for_window '^选择字体$' >/dev/null
xdotool key --delay 30 alt+s ctrl+a
xdotool type --delay 30 23
xdotool key Return
for _ in $(seq 50); do
  [ "$(setting 书) $(setting 章) $(setting 字体大小)" = "3 2 23" ] && break
  sleep 0.1
done
kill -9 "$PROGRAM_PID"
wait "$PROGRAM_PID" 2>/dev/null || true
[ "$(setting 书) $(setting 章) $(setting 书名) $(setting 字体大小)" = "3 2 c.txt 23" ] ||
  fail "after the kill config.ini holds 书 章 书名 字体大小 = $(setting 书) $(setting 章) $(setting 书名) $(setting 字体大小), not 3 2 c.txt 23"

echo "case: the next reader saves in full"
cp "$E2E_DIR/before.ini" "$ini"
next_chapter_then_exit
expect_exit_code 0
cmp -s "$E2E_DIR/after.ini" "$ini" || fail "the save after the kills is not whole"
grep 'without its lock' "$E2E_LOG" && fail "a killed reader's lock held up the save"
echo "PASS: settings_killed"
