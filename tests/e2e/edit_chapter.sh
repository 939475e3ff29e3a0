#!/usr/bin/env bash
# 阅读 > 编辑本章 (F2): a doubled character in a GBK book with CR LF line ends
# is deleted in the pane and saved with Ctrl+S. The file then differs from
# the original only by that character's bytes, keeps its encoding and line
# ends, the original stays beside it as e.txt.bak, and the pane shows the
# chapter read again. A second edit is refused once another program changed
# the file: the file keeps the other program's bytes and the edit stays open,
# and Esc asks before it would drop the changes.
source "$(dirname "$0")/lib.sh"
start_display
install_program
books="$E2E_DIR/books"
expected="$E2E_DIR/expected"
mkdir -p "$books" "$expected"
python3 - "$books" "$expected" <<'PY'
import sys
books, expected = sys.argv[1], sys.argv[2]
lines = ["雨夜书",
         "第一章 归来", "　　天色已晚，城门外的灯火一盏一盏亮起来。",
         "第二章 雨夜", "　　雨下得很大，他打开了窗户户。", "　　风很冷。",
         "第三章 天明", "　　天亮了。"]
def write(path, lines):
    with open(path, "wb") as f:
        f.write("\r\n".join(lines).encode("gb18030") + b"\r\n")
write(f"{books}/e.txt", lines)
write(f"{expected}/e.txt", [line.replace("窗户户", "窗户") for line in lines])
PY
cp "$books/e.txt" "$expected/original.txt"
# Chapter 2 of the only book: item 0 is the book's first line.
write_settings "Config|路径|$books/" "Config|书|0" "Config|章|2"
start_program

# Esc without changes leaves at once, and the arrows step chapters again.
pane_keys F2
wait_for_log 'editing chapter 2 of'
xdotool key --window "$WINDOW_ID" Escape Right
shown=$(pane_text)
grep -q '第三章 天明' <<<"$shown" || fail "Esc did not leave the edit: $shown"
xdotool key --window "$WINDOW_ID" Left

# The caret to the end of the chapter's second line, and the doubled 户
# (before the full stop) deleted; the arrows are the editor's now.
pane_keys F2
wait_for_log 'editing chapter 2 of' 60 2
xdotool key --delay 20 --window "$WINDOW_ID" ctrl+Home Down End Left BackSpace ctrl+s
wait_for_log 'saved the edit of'
cmp -s "$books/e.txt" "$expected/e.txt" || fail "the saved file is not the original less one 户: $(xxd "$books/e.txt")"
cmp -s "$books/e.txt.bak" "$expected/original.txt" || fail "e.txt.bak is not the original file"
# The book read again, and the chapter shown as a reader's pane.
wait_for_log 'read .*e\.txt.* to its end' 60 2
shown=$(pane_text)
grep -q '他打开了窗户。' <<<"$shown" || fail "the pane does not show the saved chapter: $shown"

# Another edit, and meanwhile another program appends to the file.
pane_keys F2
wait_for_log 'editing chapter 2 of' 60 3
xdotool key --delay 20 --window "$WINDOW_ID" ctrl+Home Down End BackSpace
printf '\r\n' >>"$books/e.txt"
cp "$books/e.txt" "$expected/changed.txt"
xdotool key --window "$WINDOW_ID" ctrl+s
wait_for_log 'was not saved'
cmp -s "$books/e.txt" "$expected/changed.txt" || fail "a refused save changed the file"
cmp -s "$books/e.txt.bak" "$expected/original.txt" || fail "a refused save changed e.txt.bak"
# The edit is still open, with the change in it (select-all copies what is edited).
edited=$(pane_text)
grep -q '他打开了窗户$' <<<"$edited" || fail "the refused edit did not stay open: $edited"
# Esc with changes asks first; its own Esc answers 继续编辑.
xdotool key --window "$WINDOW_ID" Escape
question=$(wait_for_window '^编辑本章$') || fail "Esc asked nothing"
xdotool mousemove --window "$question" 10 10 click 1 key Escape
edited=$(pane_text)
grep -q '他打开了窗户$' <<<"$edited" || fail "继续编辑 did not keep the edit: $edited"

exit_through_menu
expect_exit_code 0
