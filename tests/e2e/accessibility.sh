#!/usr/bin/env bash
# What a screen reader finds through AT-SPI: the book list, the chapter list
# and the reading pane by their Chinese names, chapter titles without the
# line end the book keeps with them, the 章节规则 check mark of the open book
# (read with the menu closed), and a folder chooser whose buttons speak
# Chinese.
source "$(dirname "$0")/lib.sh"
here="$(dirname "$0")"
start_display

source "$here/atspi_lib.sh"
start_accessibility_bus

install_program
make_library
write_settings "Config|路径|$books/" "Config|书|1" "Config|章|3"
start_program

echo "case: the lists and the pane by name"
wait_for_accessible $'list\t书籍'
wait_for_accessible $'list\t章节'
wait_for_accessible $'(text|document [a-z ]+)\t正文'

echo "case: chapter titles are read without their line ends"
wait_for_accessible $'list item\t第3章 b之3' list 章节
if grep -E '\\[rn]' <<<"$TREE" >&2; then
  fail "chapter list items are read with line ends"
fi

echo "case: the 章节规则 check mark shows the open book's rule, across books and a restart"
strict=$'menu item\t严格（仅独立标题行）\tchecked'
default=$'menu item\t默认\tchecked'
wait_for_accessible "$default" menu\ item 章节规则
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
xdotool mousemove $((X + 15)) $((Y + 10)) click 1
wait_for_menu
# 阅读 is two menus to the right of 文件; 章节规则 its ninth item.
xdotool key --delay 30 Right Right Down Down Down Down Down Down Down Down Right Down Return
wait_for_accessible "$strict" menu\ item 章节规则
# The book list: a.txt, b.txt, ... below its filter field.
click_book_row 0
wait_for_log 'read ".*/a.txt" to its end'
wait_for_accessible "$default" menu\ item 章节规则
click_book_row 1
wait_for_accessible "$strict" menu\ item 章节规则
exit_through_menu
expect_exit_code 0
start_program
wait_for_accessible "$strict" menu\ item 章节规则

echo "case: the folder chooser speaks Chinese"
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
xdotool mousemove $((X + 15)) $((Y + 10)) click 1
wait_for_menu
xdotool key Down Return
# A search can fail while windows come and go (the menu closing): it is
# asked again.
chooser=""
for _ in $(seq 300); do
  chooser=$(xdotool search --onlyvisible --name '^选择目录$' 2>/dev/null | head -n 1 || true)
  [ -n "$chooser" ] && break
  sleep 0.1
done
[ -n "$chooser" ] || fail "the folder chooser did not open"
wait_for_accessible $'push button\t取消' dialog 选择目录
grep -qE $'^push button\t[^\t]*选择' <<<"$TREE" || fail "no push button of the folder chooser is named 选择"
# Keys go to the window under the pointer.
xdotool mousemove --window "$chooser" 100 100
xdotool key Escape
# Its own window is watched: a search failing mid-way is no proof of a close.
closed=no
for _ in $(seq 100); do
  xwininfo -id "$chooser" 2>/dev/null | grep -q IsViewable || { closed=yes && break; }
  sleep 0.1
done
[ "$closed" = yes ] || fail "Escape did not close the folder chooser"
exit_through_menu
expect_exit_code 0
echo "PASS: accessibility"
