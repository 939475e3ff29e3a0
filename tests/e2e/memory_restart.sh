#!/usr/bin/env bash
# The place survives what happens to the library between runs: a book added
# that sorts first, a heading removed above the chapter being read, a book
# folder that is missing for a while (named in the pane, and opened again
# once it is back), and an end by a signal.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
start_display
install_program
make_library
write_remembered_place "$books/"
chapter5=$(chapter_text "$books/b.txt" 5)
chapter6=$(chapter_text "$books/b.txt" 6)

echo "case: the names are saved beside the numbers"
start_program
[ "$(pane_text)" = "$chapter5" ] || fail "b.txt chapter 5 is not shown"
exit_through_menu
expect_exit_code 0
[ "$(setting 书名)" = b.txt ] && [ "$(setting 章名)" = "第5章 b之5" ] || fail "书名/章名 are $(setting 书名)/$(setting 章名)"

echo "case: a book that sorts first is added"
python3 - "$books/0new.txt" <<'PY'
import sys
open(sys.argv[1], "wb").write("新书\r\n第1章 新\r\n新的正文\r\n".encode("gb18030"))
PY
start_program
[ "$(pane_text)" = "$chapter5" ] || fail "b.txt chapter 5 is not shown after a book was added"
echo "case: a heading above the chapter is removed"
# 第3章 is the fourth row of the chapter list: select it, remove it, and go
# down to chapter 5, now the fifth row.
select_chapter_row 3
xdotool key --window "$WINDOW_ID" Delete Down Down
[ "$(pane_text)" = "$chapter5" ] || fail "the fifth row is not chapter 5 after the removal"
exit_through_menu
expect_exit_code 0
[ "$(setting 书)" = 2 ] && [ "$(setting 章)" = 4 ] || fail "书 章 are $(setting 书) $(setting 章)"
start_program
[ "$(pane_text)" = "$chapter5" ] || fail "chapter 5 is not shown after the restart"
xdotool key --window "$WINDOW_ID" Right
[ "$(pane_text)" = "$chapter6" ] || fail "the right arrow does not lead to chapter 6"

echo "case: ended by SIGTERM"
kill -TERM "$PROGRAM_PID"
expect_exit_code 0
[ "$(setting 章)" = 5 ] && [ "$(setting 章名)" = "第6章 b之6" ] || fail "章 is $(setting 章) after SIGTERM"

echo "case: the book folder is missing for a run"
cp "$E2E_DIR/app/config.ini" "$E2E_DIR/before.ini"
mv "$books" "$books.away"
start_program
notice=$(pane_text)
[[ "$notice" == *"找不到书籍文件夹"* && "$notice" == *"$books"* ]] || fail "the pane does not name the missing folder: $notice"
exit_through_menu
expect_exit_code 0
for key in 路径 书 章 行 书名 章名; do
  [ "$(setting "$key")" = "$(setting "$key" "$E2E_DIR/before.ini")" ] || fail "$key changed: $(setting "$key")"
done

echo "case: the book folder comes back while the reader runs"
start_program
mv "$books.away" "$books"
wait_for_log 'the book folder .* is back'
wait_for_log 'read ".*/b.txt" to its end'
[ "$(pane_text)" = "$chapter6" ] || fail "chapter 6 is not shown once the folder is back"
exit_through_menu
expect_exit_code 0
[ "$(setting 章)" = 5 ] || fail "章 is $(setting 章) once the folder was back"
echo "PASS: memory_restart"
