#!/usr/bin/env bash
# Books whose file names the locale cannot show, one with a line break and one
# in GBK (as a zip archive leaves it), are listed and open, each at its own
# place; config.ini names them escaped and a restart goes back to them, also
# after a book was added that moves them down the list, and neither that nor
# a 书名 that names no book gives one book's place to another. The GBK book
# opens from the command line too.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
start_display
install_program
make_library
newline=$'d\ne.txt'
gbk=$'\xca\xe9.txt' # 书.txt
fffd=$'\xef\xbf\xbd'
python3 - "$E2E_LIB_DIR" "$books" <<'PY'
import os, sys
sys.path.insert(0, sys.argv[1])
from make_library import chapter_text
for name, book in ((b"d\ne.txt", "行"), (b"\xca\xe9.txt", "国")):
    text = f"{book}书\r\n" + "".join(chapter_text(book, c) for c in range(1, 9))
    with open(os.path.join(os.fsencode(sys.argv[2]), name), "wb") as f:
        f.write(text.encode("gb18030"))
PY
write_settings "Config|路径|$books/"

open_book() { # ROW: a click on that row of the book list
  click_book_row "$1"
}
expect_chapter() { # BOOK_FILE N
  local expected
  expected=$(chapter_text "$books/$1" "$2")
  for _ in $(seq 20); do
    [ "$(pane_text)" = "$expected" ] && return 0
    sleep 0.2
  done
  fail "chapter $2 of $(printf '%q' "$1") is not shown"
}
stored_chapter() { # NAME
  book_record "chapter" "$1"
}

echo "case: listed and opened, each at its own place"
start_program
wait_for_log 'listed 5 books'
open_book 2
pane_keys Right
expect_chapter c.txt 1
open_book 3
pane_keys Right Right Right
expect_chapter "$newline" 3
open_book 4
pane_keys Right Right
expect_chapter "$gbk" 2
exit_through_menu
expect_exit_code 0
[ "$(setting 书) $(setting 章) $(setting 书名)" = "4 2 $fffd%CA%E9.txt" ] ||
  fail "config.ini holds 书 章 书名 = $(setting 书) $(setting 章) $(setting 书名)"
[ "$(stored_chapter "$newline") $(stored_chapter "$fffd%CA%E9.txt")" = "3 2" ] ||
  fail "books.db holds $(book_store 'SELECT name, chapter FROM books')"

echo "case: a restart goes back to the GBK book, and the other keeps its place"
start_program
expect_chapter "$gbk" 2
open_book 3
expect_chapter "$newline" 3
exit_through_menu
expect_exit_code 0
[ "$(setting 书) $(setting 书名)" = "3 ${fffd}d%0Ae.txt" ] || fail "书 书名 are $(setting 书) $(setting 书名)"

echo "case: a book added before them"
python3 -c 'import sys; open(sys.argv[1], "wb").write("新书\r\n第1章 新\r\n新的正文\r\n".encode("gb18030"))' "$books/0new.txt"
start_program
expect_chapter "$newline" 3
exit_through_menu
expect_exit_code 0
[ "$(setting 书) $(stored_chapter c.txt)" = "4 1" ] || fail "书 is $(setting 书), c.txt's stored chapter $(stored_chapter c.txt)"

echo "case: a 书名 that names no book leaves the book at 书 its own place"
write_settings "Config|路径|$books/" "Config|书|3" "Config|章|6" "Config|行|2" "Config|书名|gone.txt"
start_program
expect_chapter c.txt 1
exit_through_menu
expect_exit_code 0

echo "case: the GBK book from the command line"
start_program "$E2E_APP/folivar" "$books/$gbk"
expect_chapter "$gbk" 2
exit_through_menu
expect_exit_code 0
echo "PASS: file_names"
