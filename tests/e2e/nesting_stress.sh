#!/usr/bin/env bash
# A user who does everything at once while a 64 MB book loads: picks other
# books with the mouse and the keyboard, turns chapters, deletes chapter-list
# items, resizes the window, hides and shows it with the hot key, and closes
# it through the menu while the book is loading again. The reader ends with
# exit code 0, every write of its settings (as they change, and at the close)
# replaces the file whole, and the last one describes what was on screen.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
start_display
install_program
make_library --big 64
# The book list: a.txt, b.txt, big.txt, c.txt.
write_settings "Config|路径|$E2E_DIR/books/" "Config|书|2" "Config|章|3" "Config|行|4"
python3 "$E2E_TOOLS/watch_replacements.py" "$E2E_DIR/app/config.ini" >"$E2E_DIR/writes" &
E2E_PIDS+=($!)
for _ in $(seq 50); do grep -q watching "$E2E_DIR/writes" && break; sleep 0.1; done
# Start-up reopens big.txt as soon as the window is up: only the window is
# waited for, so that the first burst of steps below lands in that load.
launch_program
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
left=$X top=$Y

# Below the menu bar, the book list's rows are 14 pixels apart from 54, the
# chapter list's from 301; the pane lies right of x 170. Each step is a piece
# of one xdotool command line, so that a whole burst of them reaches the
# reader within the few tenths of a second that the large book takes to load
# here. Which steps land in a load depends on the machine; the log tells.
# The helpers print xdotool words: their output is left unquoted on purpose.
book() { echo mousemove $((left + 20)) $((top + 54 + 14 * $1)) click --delay 0 1; }
chapter() { echo mousemove $((left + 20)) $((top + 301 + 14 * $1)) click --delay 0 1; }
pane() { echo mousemove $((left + 400)) $((top + 200)) click --delay 0 1; }
keys() { echo key --delay 0 --window "$WINDOW_ID" "$@"; }
size() { echo windowsize "$WINDOW_ID" "$1" "$2"; }
count_in_log() { grep -c "$1" "$E2E_LOG" || true; }
wait_for_load() { # BOOK N: until BOOK has begun loading N times
  for _ in $(seq 1000); do [ "$(count_in_log "^folivar.shelf: reading \".*/$1\"")" -ge "$2" ] && return 0; sleep 0.01; done
  fail "$1 did not begin loading"
}
wait_for_read() { # BOOK N: until BOOK has been read to its end N times
  for _ in $(seq 1000); do [ "$(count_in_log "^folivar.shelf: read \".*/$1\" to its end")" -ge "$2" ] && return 0; sleep 0.01; done
  fail "$1 was not read to its end"
}
echo "while start-up reopens big.txt: chapters, deletes, resizes, then a.txt"
wait_for_load big.txt 1
xdotool $(pane) $(keys Right Right Left) $(chapter 1) $(keys Delete) $(size 700 450) $(size 884 560) \
  $(book 0) $(pane) $(keys Right Right) $(chapter 3) $(keys Delete Delete)
wait_for_read a.txt 1

echo "big.txt chosen: chapters, deletes, a resize, then c.txt"
xdotool $(book 2) $(pane) $(keys Right Left Left) $(chapter 2) $(keys Delete) $(size 700 450) $(book 3)
wait_for_read c.txt 1

echo "big.txt chosen: the hot key hides and shows the window"
xdotool $(size 884 560) $(book 2) key --delay 0 grave
wait_visible "$WINDOW_ID" no
xdotool $(size 600 400) key --delay 0 grave
# Clicks reach the window only once it is back on screen.
wait_visible "$WINDOW_ID" yes
xdotool windowsize --sync "$WINDOW_ID" 884 560

echo "c.txt and big.txt again from the keyboard, and 文件 > 退出 while big.txt loads"
xdotool $(keys Down)
wait_for_read c.txt 2
expect_no_other_windows

xdotool $(keys Up) mousemove $((left + 15)) $((top + 10)) click --delay 0 1
wait_for_menu
xdotool key --delay 0 Up Return
expect_exit_code 0
# Which steps landed in a load depends on the machine: say which did.
echo "loads begun and cut short, in order:"
sed -n 's#^folivar.shelf: \(reading\|stopped reading\) ".*/\([^/"]*\)".*#  \1 \2#p' "$E2E_LOG"
# Each save is one write of the whole file (the one at the close at least;
# those while the reader runs come a second after a change).
[ "$(grep -c replaced "$E2E_DIR/writes")" -ge 1 ] && [ "$(grep -c written "$E2E_DIR/writes")" -eq 0 ] ||
  fail "config.ini was not always replaced whole: $(sort "$E2E_DIR/writes" | uniq -c | tr '\n' ' ')"
expect_complete_settings
# The user last chose big.txt; the chapter list held c.txt's items with its
# head item shown, or big.txt's own if that had finished loading.
[ "$(setting 书)" = 2 ] || fail "书 is $(setting 书), not big.txt"
[ "$(setting 章)" = 0 ] || fail "章 is $(setting 章), not the head item shown"
[ "$(setting 行)" = 0 ] || fail "行 is $(setting 行), not the top of the head item"
echo "PASS: nesting_stress"
