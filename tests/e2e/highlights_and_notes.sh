#!/usr/bin/env bash
# 高亮 and 笔记: a word found in the pane highlighted in green through the
# pane's context menu and given a note through the menu on the highlight;
# kept in books.db, drawn behind the same words after a restart, listed in
# 阅读 → 笔记…, exported there as Markdown (and refused, with a message, for a
# folder that cannot be written) and deleted there.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
start_display
install_program
# The file chooser keeps its history in the home folder, and a name it
# suggests goes to the current folder: both the test's own.
export HOME="$E2E_DIR/home"
mkdir -p "$HOME"
cd "$E2E_DIR"
books="$E2E_DIR/books"
mkdir -p "$books"
python3 - "$books/雨夜.txt" <<'PY'
import sys
lines = ["雨夜", "第一章 归来", "　　天色已晚，城门外的灯火一盏一盏亮起来。", "　　他站在桥上，看了很久。",
         "第二章 雨夜", "　　雨下得很大，他打开了窗户。"]
open(sys.argv[1], "wb").write(("\r\n".join(lines) + "\r\n").encode("gbk"))
PY
write_settings "Config|路径|$books/" "Config|书|0" "Config|章|1"

# Selects the term in the pane through 查找… (pasted: xdotool types Chinese
# unreliably) and opens the pane's context menu.
select_and_open_menu() { # TERM
  # A menu just closed may still hold the keys.
  wait_for_still_screen
  pane_keys ctrl+f
  printf '%s' "$1" | xclip -selection clipboard >/dev/null 2>&1
  keys_in 查找 ctrl+a ctrl+v Return Tab Return
  close_window 查找
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  # A right click keeps the selection, wherever it falls in the pane.
  xdotool mousemove $((X + 700)) $((Y + HEIGHT - 60)) click 3
  wait_for_menu
}

# Where the pane shows that colour, as "width height x y" of the box around
# it; the highlights are drawn half seen through over the white page.
box_of_colour() { # COLOUR
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  wait_for_still_screen
  import -window root "$E2E_DIR/shot.png"
  convert "$E2E_DIR/shot.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -fuzz 3% -fill '#FF00FF' -opaque "$1" \
    -fill black +opaque '#FF00FF' -fill white -opaque '#FF00FF' -trim -format '%w %h %X %Y' info:
}

# Waits until the book store answers the query with that.
wait_for_store() { # SQL EXPECTED
  for _ in $(seq 100); do
    [ "$(book_store "$1")" = "$2" ] && return 0
    sleep 0.05
  done
  fail "the book store answers '$(book_store "$1")' to $1, not '$2'"
}

# 阅读 → 笔记… by its keys, pressed for real: a Shift sent to the window
# (pane_keys) stays held for Qt, and the file chooser would take Ctrl+V for
# Ctrl+Shift+V.
open_notes() {
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  xdotool mousemove $((X + 400)) $((Y + 200)) click 1 key --delay 20 ctrl+shift+n
  wait_for_window '^笔记$' >/dev/null || fail "no notes window"
}

# The strip below the pane as the screen shows it, into FILE (raw pixels).
strip_pixels() { # FILE
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  wait_for_still_screen
  import -window root "$E2E_DIR/shot.png"
  convert "$E2E_DIR/shot.png" -crop "${WIDTH}x30+${X}+$((Y + HEIGHT - 30))" +repage "rgb:$1"
}

# 导出 Markdown… in the notes window, the path given in the file chooser
# (pasted: xdotool types Chinese unreliably); waits until the chooser is gone.
export_notes() { # PATH
  local X Y WIDTH HEIGHT SCREEN notes chooser
  notes=$(wait_for_window '^笔记$')
  eval "$(xdotool getwindowgeometry --shell "$notes")"
  # The button spans the window's foot.
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 16)) click 1
  chooser=$(wait_for_window '^导出 Markdown$') || fail "导出 Markdown… opened no file chooser"
  # xclip takes the selection in the background: the path is pasted once it holds it.
  printf '%s' "$1" | xclip -selection clipboard >/dev/null 2>&1
  for _ in $(seq 40); do
    [ "$(xclip -selection clipboard -o 2>/dev/null)" = "$1" ] && break
    sleep 0.05
  done
  # Keys go to the window under the pointer, into its name field.
  xdotool mousemove --window "$chooser" 100 100 key --delay 20 ctrl+a ctrl+v
  xdotool key Return
  # Its own window is watched: a search failing mid-way is no proof of a close.
  for _ in $(seq 100); do
    xwininfo -id "$chooser" 2>/dev/null | grep -q IsViewable || return 0
    sleep 0.05
  done
  fail "the file chooser did not take $1"
}

green='rgb(161,223,161)'

echo "case: a highlight and its note through the context menu"
start_program
select_and_open_menu 灯火
# 高亮 is the menu's first item, 绿 the second colour.
xdotool key Down Right Down Return
wait_for_store "SELECT text, colour FROM highlights" "灯火|1"
# A click away from the words leaves them unselected, only highlighted.
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
xdotool mousemove $((X + 700)) $((Y + HEIGHT - 60)) click 1
green_box=$(box_of_colour "$green")
read -r width height left top <<<"$green_box"
[ "$width" -ge 20 ] && [ "$height" -ge 10 ] || fail "灯火 is not drawn green: $green_box"
# A right click on the highlight: 修改笔记… is the first item; Ctrl+Return
# keeps the note.
xdotool mousemove $((X + left + width / 2)) $((Y + top + height / 2)) click 3
wait_for_menu
xdotool key Down Return
wait_for_window '^修改笔记$' >/dev/null || fail "no window for the note"
printf '%s' "灯下的人 *是谁*" | xclip -selection clipboard >/dev/null 2>&1
xdotool key --delay 20 ctrl+v ctrl+Return
wait_for_store "SELECT text, colour, note FROM highlights" "灯火|1|灯下的人 *是谁*"
exit_through_menu
expect_exit_code 0

echo "case: after a restart, drawn behind the same words"
start_program
[ "$(box_of_colour "$green")" = "$green_box" ] || fail "after a restart 灯火 is drawn at $(box_of_colour "$green"), not $green_box"

echo "case: 笔记… exports it as Markdown, byte for byte"
strip_pixels "$E2E_DIR/standing.rgb"
open_notes
mkdir "$E2E_DIR/notes"
exported="$E2E_DIR/notes/雨夜 笔记.md"
export_notes "$exported"
for _ in $(seq 100); do
  [ -s "$exported" ] && break
  sleep 0.05
done
# The book's name, the chapter's heading, the highlight quoted, its colour,
# and the note with Markdown's * escaped; UTF-8, LF line ends.
printf '# 雨夜\n\n## 第一章 归来\n\n> 灯火\n\n颜色：绿\n\n笔记：灯下的人 \\*是谁\\*  \n\n' >"$E2E_DIR/expected.md"
cmp "$E2E_DIR/expected.md" "$exported" || fail "the export holds: $(cat -A "$exported" 2>&1)"
strip_pixels "$E2E_DIR/exported.rgb"
cmp -s "$E2E_DIR/standing.rgb" "$E2E_DIR/exported.rgb" && fail "the strip below the pane did not tell of the export"

echo "case: an export to a folder that cannot be written is refused with a message, and leaves nothing there"
locked="$E2E_DIR/locked"
mkdir "$locked"
chmod 0555 "$locked"
export_notes "$locked/雨夜 笔记.md"
wait_for_log "not writing .*locked.*its directory is read-only"
strip_pixels "$E2E_DIR/refused.rgb"
cmp -s "$E2E_DIR/standing.rgb" "$E2E_DIR/refused.rgb" && fail "the strip below the pane says nothing of the refusal"
cmp -s "$E2E_DIR/exported.rgb" "$E2E_DIR/refused.rgb" && fail "the strip below the pane still tells of the earlier export"
[ -z "$(ls -A "$locked")" ] || fail "the refused export left files: $(ls -A "$locked")"
chmod 0755 "$locked"
close_window 笔记

echo "case: 笔记… lists it, and Delete there removes it (kept as deleted, for 同步)"
open_notes
keys_in 笔记 Down Delete
wait_for_store "SELECT count(*), sum(deleted > 0) FROM highlights" "1|1"
close_window 笔记
exit_through_menu
expect_exit_code 0
echo "PASS: highlights_and_notes"
