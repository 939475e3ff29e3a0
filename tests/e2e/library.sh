#!/usr/bin/env bash
# A library in subfolders: the book list groups the books under a row per
# folder, a book copied into a folder appears while the reader runs, the
# filter narrows the list, the order chosen comes back after a restart, and
# a search across the library opens the right book at the right place.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
source "$(dirname "$0")/atspi_lib.sh"
start_display
start_accessibility_bus
install_program
make_library
# A book per folder, larger than the top folder's; the phrase searched for
# stands in chapter 3 of 玄幻/Zeta.txt only.
mkdir -p "$books/玄幻" "$books/都市"
python3 - "$books" <<'PY'
import sys
folder = sys.argv[1]
def book(name, chapters, marked=None, paragraphs=200):
    text = f"{name}\r\n"
    for c in range(1, chapters + 1):
        text += f"第{c}章 {name}之{c}\r\n"
        text += "".join(f"\u3000\u3000{name}书{c}之{n}段，山水风雨。\r\n" for n in range(paragraphs))
        if c == marked:
            text += "\u3000\u3000他在这里写下QXSEVEN这个记号。\r\n"
    return text.encode("gb18030")
open(f"{folder}/玄幻/Zeta.txt", "wb").write(book("Zeta", 6, marked=3))
open(f"{folder}/都市/Omega.txt", "wb").write(book("Omega", 9, paragraphs=400))
PY
write_remembered_place "$books/"

# The book list's rows, top to bottom, as a screen reader reads them.
book_rows() {
  /usr/bin/python3 "$E2E_LIB_DIR/atspi_tree.py" "$PROGRAM_PID" list 书籍 | awk -F'\t' '$1 == "list item" { print $2 }' |
    paste -sd' '
}
wait_for_rows() { # ROWS
  for _ in $(seq 100); do
    [ "$(book_rows)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "the book list shows '$(book_rows)', not '$1'"
}

echo "case: subfolders grouped under their rows"
start_program
wait_for_rows "a.txt b.txt c.txt 玄幻 Zeta.txt 都市 Omega.txt"

echo "case: a book copied in appears without a restart"
cp "$books/a.txt" "$books/都市/Alpha.txt"
wait_for_rows "a.txt b.txt c.txt 玄幻 Zeta.txt 都市 Alpha.txt Omega.txt"

echo "case: the filter narrows the list, Esc clears it, the open book stays"
pane_keys ctrl+l
xdotool type --delay 50 "zeta"
wait_for_rows "玄幻 Zeta.txt"
xdotool key Escape
wait_for_rows "a.txt b.txt c.txt 玄幻 Zeta.txt 都市 Alpha.txt Omega.txt"
[ "$(pane_text)" = "$(chapter_text "$books/b.txt" 5)" ] || fail "filtering changed the book on screen"

echo "case: 按文件大小 from the list's menu, remembered after a restart"
click_book_row 0
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
xdotool mousemove $((X + 20)) $((Y + 54)) click 3
wait_for_menu
xdotool key Down Down Down Return
wait_for_rows "a.txt b.txt c.txt 玄幻 Zeta.txt 都市 Omega.txt Alpha.txt"
exit_through_menu
expect_exit_code 0
[ "$(setting 排序)" = 2 ] || fail "排序 is '$(setting 排序)', not 2"
start_program
wait_for_rows "a.txt b.txt c.txt 玄幻 Zeta.txt 都市 Omega.txt Alpha.txt"

echo "case: a search across the library opens the book at the phrase (saved as the place)"
pane_keys ctrl+shift+f
keys_in 在书库中查找 ctrl+a
xdotool type --delay 50 "qxseven"
xdotool key --delay 100 Return
wait_for_hits() {
  for _ in $(seq 100); do
    /usr/bin/python3 "$E2E_LIB_DIR/atspi_tree.py" "$PROGRAM_PID" | grep -q "QXSEVEN" && return 0
    sleep 0.1
  done
  fail "the search found nothing"
}
wait_for_hits
xdotool key --delay 100 Tab Down Down Return
wait_for_log 'read ".*/玄幻/Zeta.txt" to its end'
close_window 在书库中查找
exit_through_menu
expect_exit_code 0
[ "$(setting 书名)" = "玄幻/Zeta.txt" ] || fail "书名 is '$(setting 书名)'"
[ "$(setting 章)" = 3 ] || fail "章 is '$(setting 章)'"

echo "case: a book of a subfolder comes back after a restart"
start_program
exit_through_menu
expect_exit_code 0
[ "$(setting 书名) $(setting 章)" = "玄幻/Zeta.txt 3" ] || fail "the restart left $(setting 书名) at chapter $(setting 章)"
echo "PASS"
