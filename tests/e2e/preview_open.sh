#!/usr/bin/env bash
# A big book reopened at a chapter in its middle shows that chapter, read
# from its own bytes, before the whole book is read: a screen reader asking
# from the launch on finds that chapter as the pane's first text, never
# another, with the chapter list holding its title alone or the whole list,
# and the pane keeps it, at the remembered line, when the book takes over.
# A book changed since shows no such chapter first: it opens at the
# remembered chapter found by its title.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
source "$(dirname "$0")/atspi_lib.sh"
start_display
start_accessibility_bus
install_program
# Some 50 MB in about 3500 chapters.
make_library --big 48 --paragraphs 100
big="$books/big.txt"
headings=$(iconv -f GB18030 -t UTF-8 "$big" | grep -c '^第[0-9]*章')
# The book's first lines, before its first heading, are an item of their own.
items=$((headings + 1))
middle=$((headings / 2))
title="第${middle}章 big之${middle}"
chapter=$(chapter_text "$big" "$middle")
preview_line="start-up shows the remembered chapter from its bytes"

# Waits until the pane holds TEXT.
wait_for_pane_text() { # TEXT
  for _ in $(seq 50); do
    [ "$(pane_text)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "the pane does not show the chapter asked for"
}

# Starts the program and leaves in $first_list and $first_text what a screen
# reader polling from the launch on found first in the pane: the chapter
# list's item count and selected title (looked for in ROW of a whole list),
# a tab between them, and the pane's text.
start_watched() { # ROW
  local seen
  run_program
  seen=$(/usr/bin/python3 "$E2E_LIB_DIR/watch_pane.py" "$PROGRAM_PID" "$1") || fail "no text came into the pane"
  first_list=${seen%%$'\n'*}
  first_text=${seen#*$'\n'}
  WINDOW_ID=$(wait_for_window '^Folivar$' --all --pid "$PROGRAM_PID")
}

echo "case: the place is taken in the middle of a big book, a few lines below a chapter's top"
write_remembered_place "$books/"
start_program
click_book_row 2
wait_for_log 'read ".*/big.txt" to its end'
pane_keys ctrl+g
keys_in 跳转到章节 ctrl+a
xdotool type --delay 50 "$middle"
xdotool key Return
wait_for_pane_text "$chapter"
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
xdotool mousemove $((X + 400)) $((Y + 200)) click --repeat 2 5
# The line the wheel reached is in the book's record before the exit.
for _ in $(seq 100); do
  [ "$(book_record line big.txt)" -gt 0 ] && break
  sleep 0.1
done
exit_through_menu
expect_exit_code 0
[ "$(setting 书名)" = big.txt ] && [ "$(setting 章)" = "$middle" ] ||
  fail "书名 章 are $(setting 书名) $(setting 章), not big.txt $middle"
remembered_line=$(setting 行)
[ "$remembered_line" -gt 0 ] || fail "行 is $remembered_line: the wheel did not move the chapter up"

echo "case: a restart shows that chapter first, then fills the chapter list around it"
start_watched "$middle"
[ "$first_text" = "$chapter" ] || fail "the first text in the pane was not chapter $middle: ${first_text:0:60}"
[ "$first_list" = $'1\t'"$title" ] || [ "$first_list" = "$items"$'\t'"$title" ] ||
  fail "with the first text the chapter list held '$first_list', not its title alone or all $items items"
echo "the first text came with ${first_list%%$'\t'*} item(s) in the chapter list"
wait_for_log "start-up finished, chapter $middle shown"
grep -qF "$preview_line" "$E2E_LOG" || fail "the chapter was not shown from its bytes"
seen=$(/usr/bin/python3 "$E2E_LIB_DIR/watch_pane.py" "$PROGRAM_PID" "$middle" --items "$items") ||
  fail "the chapter list did not fill"
[ "${seen%%$'\n'*}" = "$items"$'\t'"$title" ] || fail "the whole list does not select $title: ${seen%%$'\n'*}"
[ "${seen#*$'\n'}" = "$chapter" ] || fail "the pane no longer shows chapter $middle once the book is read"
exit_through_menu
expect_exit_code 0
[ "$(setting 章)" = "$middle" ] && [ "$(setting 行)" = "$remembered_line" ] ||
  fail "章 行 are $(setting 章) $(setting 行) after the restart, not $middle $remembered_line"

echo "case: a heading inserted before the remembered chapter: nothing shown from the old bytes"
python3 - "$big" "$title" <<'PY'
import sys
path, title = sys.argv[1], sys.argv[2].encode("gb18030")
book = open(path, "rb").read()
at = book.index(b"\r\n" + title + b"\r\n") + 2
inserted = "第二卷 新的一卷\r\n\u3000\u3000新写的一卷从这里开始。\r\n".encode("gb18030")
open(path, "wb").write(book[:at] + inserted + book[at:])
PY
start_watched $((middle + 1))
[ "$first_text" = "$chapter" ] || fail "the first text in the pane was not $title: ${first_text:0:60}"
[ "$first_list" = "$((items + 1))"$'\t'"$title" ] ||
  fail "with the first text the chapter list held '$first_list', not all $((items + 1)) items with $title selected"
wait_for_log "start-up finished, chapter $((middle + 1)) shown"
! grep -qF "$preview_line" "$E2E_LOG" || fail "a chapter was shown from the bytes of a changed file"
exit_through_menu
expect_exit_code 0
[ "$(setting 章)" = $((middle + 1)) ] && [ "$(setting 章名)" = "$title" ] ||
  fail "章 章名 are $(setting 章) $(setting 章名), not $((middle + 1)) $title"
echo "PASS: preview_open"
