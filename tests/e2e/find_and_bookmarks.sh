#!/usr/bin/env bash
# The 阅读 menu: a term found through 查找… and its third occurrence shown
# selected in its chapter; a bookmark that brings the reader back after a
# restart; and a UTF-16 book without a byte-order mark, unreadable until
# 编码 → UTF-16 LE is chosen, and readable after a restart too.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
start_display
install_program
make_library
python3 - "$books/u16.txt" <<'PY'
import sys
text = "雨夜\r\n第一章 开端\r\n" + "小城的夜里下着雨。\r\n" * 30 + "第二章 结尾\r\n" + "天亮了，雨停了。\r\n" * 30
open(sys.argv[1], "wb").write(text.encode("utf-16-le"))
PY
# The book list: a.txt, b.txt, c.txt, u16.txt.
write_settings "Config|路径|$books/" "Config|书|1" "Config|章|1"

# The text selected in the pane, through a copy to the clipboard; a click
# below the pane brings its window to the front, the pane keeping the keys.
pane_selection() {
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  printf '%s' "nothing selected" | xclip -selection clipboard >/dev/null 2>&1
  xdotool mousemove $((X + 400)) $((Y + HEIGHT - 10)) click 1 key ctrl+c
  for _ in $(seq 40); do
    [ "$(xclip -selection clipboard -o)" != "nothing selected" ] && break
    sleep 0.05
  done
  xclip -selection clipboard -o
}

echo "case: the third occurrence of a term"
start_program
pane_keys ctrl+f
# 之1段 opens the second paragraph of every chapter of b.txt. It is pasted
# (xdotool types Chinese characters unreliably); Tab makes the first hit the
# current one, two steps down is the third.
printf '%s' "之1段" | xclip -selection clipboard >/dev/null 2>&1
keys_in 查找 ctrl+v Return Tab Down Down Return
[ "$(pane_selection)" = "之1段" ] || fail "the pane's selection is '$(pane_selection)', not the term"
close_window 查找
[ "$(pane_text)" = "$(chapter_text "$books/b.txt" 3)" ] || fail "the third occurrence is not in chapter 3"

echo "case: a bookmark, and back to it after a restart"
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
xdotool mousemove $((X + 400)) $((Y + 200)) click --repeat 4 --delay 50 5
pane_keys ctrl+d
exit_through_menu
expect_exit_code 0
marked_line=$(setting 行)
[ "$marked_line" -gt 0 ] || fail "the wheel did not scroll chapter 3"
start_program
pane_keys Right
[ "$(pane_text)" = "$(chapter_text "$books/b.txt" 4)" ] || fail "the right arrow did not leave chapter 3"
pane_keys ctrl+b
keys_in 书签 Down Return
close_window 书签
[ "$(pane_text)" = "$(chapter_text "$books/b.txt" 3)" ] || fail "the bookmark did not lead to chapter 3"
exit_through_menu
expect_exit_code 0
[ "$(setting 章) $(setting 行)" = "3 $marked_line" ] || fail "the bookmark shows line $(setting 行), not $marked_line"

echo "case: a UTF-16 book without a byte-order mark"
write_settings "Config|路径|$books/" "Config|书|3" "Config|章|1"
start_program
[[ "$(pane_text)" != 雨夜* ]] || fail "the book reads without a choice: nothing to show here"
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
xdotool mousemove $((X + 15)) $((Y + 10)) click 1
wait_for_menu
# 阅读 is two menus to the right; 编码 its eighth item, UTF-16 LE the fourth of that.
xdotool key Right Right Down Down Down Down Down Down Down Right Down Down Down Return
wait_for_log 'read ".*/u16.txt" to its end' 60 2
[ "$(pane_text)" = 雨夜 ] || fail "chosen as UTF-16 LE, the book does not read"
exit_through_menu
expect_exit_code 0
start_program
pane_keys Right
[[ "$(pane_text)" == 第一章\ 开端* ]] || fail "after a restart the book does not read"
exit_through_menu
expect_exit_code 0
echo "PASS: find_and_bookmarks"
