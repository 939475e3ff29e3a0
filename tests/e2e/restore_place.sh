#!/usr/bin/env bash
# A restart continues at the remembered book, chapter and line with the
# remembered font and colours, and "退出" writes the same place back.
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
echo "PASS: restore_place"
