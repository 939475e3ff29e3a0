#!/usr/bin/env bash
# A restart continues at the remembered book, chapter and line with the
# remembered font and colours, and "退出" writes the same place back. With
# the typography changed between two starts, the same text is on top.
source "$(dirname "$0")/lib.sh"
start_display
install_program
make_library
write_remembered_place "$E2E_DIR/books/"
start_program

# Exactly chapter 5 of b.txt: from its heading up to the next heading.
expected=$(iconv -f GB18030 -t UTF-8 "$E2E_DIR/books/b.txt" | tr -d '\r' |
  awk '/^第5章/ { on = 1 } /^第6章/ { on = 0 } on')
shown=$(pane_text)
[ "$shown" = "$expected" ] || fail "the pane does not hold chapter 5 of b.txt"

exit_through_menu
expect_exit_code 0
[ "$(setting 书)" = 1 ] || fail "书 is $(setting 书)"
[ "$(setting 章)" = 5 ] || fail "章 is $(setting 章)"
[ "$(setting 行)" = 7 ] || fail "行 is $(setting 行), the remembered line was not on top"
[ "$(setting 字体)" = "Noto Serif CJK SC" ] || fail "字体 is $(setting 字体)"
[ "$(setting 字体大小)" = 17 ] || fail "字体大小 is $(setting 字体大小)"
[ "$(setting 背景颜色)" = 15794175 ] || fail "背景颜色 is $(setting 背景颜色)"
position=$(book_record "position" "b.txt")
[ "$position" -gt 0 ] || fail "the place in b.txt is stored at position '$position'"

# Lines of twelve characters, twice as far apart, indented anew: line 7 is
# other text now, the stored position the same.
write_settings "Config|路径|$E2E_DIR/books/" "Config|书|1" "Config|章|5" "Config|行|7" \
  "字体|字体|Noto Serif CJK SC" "字体|字体大小|17" \
  "排版|行距|2.0" "排版|正文宽度|12" "排版|首行缩进|两个全角空格" "排版|空行|删除"
start_program
wait_for_log "start-up finished"
exit_through_menu
expect_exit_code 0
[ "$(setting 正文宽度)" = 12 ] || fail "正文宽度 is $(setting 正文宽度)"
[ "$(setting 行)" != 7 ] || fail "line 7 is still on top: the typography did not change the lines"
[ "$(book_record "position" "b.txt")" = "$position" ] ||
  fail "another text is on top after the typography changed: $(book_record "line, position" "b.txt") was $position"

echo "case: a place reached by keys is kept within seconds, through a kill"
start_program
wait_for_log "start-up finished"
before=$(book_record "position" "b.txt")
# End lets Qt bring the end of the chapter into view by itself, which moves
# the first visible line without a word from the scroll bar.
pane_keys End
paged=$before
for _ in $(seq 50); do
  paged=$(book_record "position" "b.txt")
  [ "$paged" != "$before" ] && break
  sleep 0.1
done
[ "$paged" != "$before" ] || fail "the place reached by the keys was not saved within 5 s"
kill -9 "$PROGRAM_PID"
forget_process "$PROGRAM_PID"
start_program
wait_for_log "start-up finished"
exit_through_menu
expect_exit_code 0
[ "$(book_record "position" "b.txt")" = "$paged" ] ||
  fail "after the kill the reader opened at $(book_record "position" "b.txt"), not at $paged"
echo "PASS: restore_place"
