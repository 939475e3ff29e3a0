#!/usr/bin/env bash
# Space reads on: at the end of a chapter it shows the next one from its
# top, and Page Up at the top of a chapter shows the previous one with its
# last page in view. 自动滚动 reads on the same way, and its speed keys are
# remembered. A first start without books shows the guide, until the first
# book opens.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
start_display
install_program
make_library
write_remembered_place "$books/"

echo "case: Space at the end of chapter 5, Page Up at the top of chapter 6"
start_program
pane_keys End space
[ "$(pane_text)" = "$(chapter_text "$books/b.txt" 6)" ] || fail "Space at the end did not show chapter 6"
pane_keys Prior
[ "$(pane_text)" = "$(chapter_text "$books/b.txt" 5)" ] || fail "Page Up at the top did not show chapter 5"
exit_through_menu
expect_exit_code 0
[ "$(setting 章)" = 5 ] || fail "章 is $(setting 章)"
last_page=$(setting 行)
[ "$last_page" -gt 7 ] || fail "chapter 5 came back at line $last_page, not at its last page"
start_program
pane_keys Home End
exit_through_menu
expect_exit_code 0
[ "$(setting 行)" = "$last_page" ] || fail "the last page is at line $(setting 行), Page Up showed line $last_page"

echo "case: 自动滚动 from the end of chapter 5 into chapter 6, slowed once"
write_remembered_place "$books/"
start_program
pane_keys End ctrl+shift+a
for _ in $(seq 100); do
  [ "$(setting 章)" = 6 ] && [ "$(setting 行)" -gt 0 ] && break
  sleep 0.1
done
[ "$(setting 章) $(setting 行)" != "6 0" ] && [ "$(setting 章)" = 6 ] || fail "auto-scroll did not read on into chapter 6"
xdotool key --window "$WINDOW_ID" ctrl+shift+Down
exit_through_menu
expect_exit_code 0
[ "$(setting 自动滚动速度)" = 16 ] || fail "自动滚动速度 is $(setting 自动滚动速度), not 20 slowed once"

echo "case: a first start without books"
# No settings, and a home without the folder a first run suggests (~/book).
rm -f "$E2E_DIR/app/config.ini"
export HOME="$E2E_DIR/home"
mkdir -p "$HOME"
start_program
[[ "$(pane_text)" == *'文件 → 打开文件'* ]] || fail "the first start does not show the guide"
exit_through_menu
expect_exit_code 0
[ "$(setting 书) $(setting 章) $(setting 行)" = "-1 -1 0" ] || fail "the guide was saved as a place"

echo "case: the guide goes when the first book opens"
start_program
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
xdotool mousemove $((X + 15)) $((Y + 10)) click 1
wait_for_menu
xdotool key Down Return
# Keys go to the window under the pointer: over the folder chooser, the
# folder's path and Enter.
chooser=$(wait_for_window '^选择目录$') || fail "the folder chooser did not open"
xdotool mousemove --window "$chooser" 100 100
xdotool type --delay 10 "$books"
xdotool key Return
wait_for_log 'listed 3 books'
click_book_row 0
wait_for_log 'read ".*/a.txt" to its end'
[ "$(pane_text)" = "$(iconv -f GB18030 -t UTF-8 "$books/a.txt" | tr -d '\r' | head -n 1)" ] || fail "the first book did not replace the guide"
exit_through_menu
expect_exit_code 0
echo "PASS: read_on"
