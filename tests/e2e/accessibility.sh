#!/usr/bin/env bash
# What a screen reader finds through AT-SPI: the book list, the chapter list
# and the reading pane by their Chinese names, chapter titles without the
# line end the book keeps with them, the 章节规则 check mark of the open book
# (read with the menu closed), and a folder chooser whose buttons speak
# Chinese.
source "$(dirname "$0")/lib.sh"
here="$(dirname "$0")"
start_display

# A session bus of the test's own; it starts the AT-SPI bus launcher when
# first asked, and the launcher's sockets go to a runtime folder of the
# test's own too, so that no other session's accessibility bus is reached.
export XDG_RUNTIME_DIR="$E2E_DIR/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
dbus-daemon --session --nofork --print-address=3 3>"$E2E_DIR/bus" >/dev/null 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 100); do
  grep -q . "$E2E_DIR/bus" 2>/dev/null && break
  sleep 0.05
done
DBUS_SESSION_BUS_ADDRESS="$(head -n 1 "$E2E_DIR/bus" 2>/dev/null || true)"
[ -n "$DBUS_SESSION_BUS_ADDRESS" ] || fail "no session bus could be started"
export DBUS_SESSION_BUS_ADDRESS
if ! error=$(dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress 2>&1 >/dev/null); then
  echo "SKIP: no AT-SPI bus can be started here: $error"
  exit 77
fi
# Debian's PyGObject and Atspi typelib belong to its own Python, not to any
# other python3 on the PATH.
/usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' ||
  fail "python3-gi with gir1.2-atspi-2.0 is missing (scripts/setup installs them)"

# Waits until the program's accessibility tree (below the first accessible of
# ROLE and NAME, when given) has a line "role<TAB>name" matching PATTERN
# (grep -E, whole line), and leaves the tree in $TREE.
wait_for_accessible() { # PATTERN [ROLE NAME]
  for _ in $(seq 150); do
    TREE=$(/usr/bin/python3 "$here/atspi_tree.py" "$PROGRAM_PID" "${@:2}" 2>"$E2E_DIR/atspi.err") || TREE=""
    grep -qxE -- "$1" <<<"$TREE" && return 0
    grep -qs '^State:.*zombie' "/proc/$PROGRAM_PID/status" && break
    sleep 0.1
  done
  printf '%s\n' "$TREE" >&2
  cat "$E2E_DIR/atspi.err" >&2
  if grep -qs '^State:.*zombie' "/proc/$PROGRAM_PID/status"; then
    tail -n 20 "$E2E_LOG" >&2
    fail "the program ended"
  fi
  fail "a screen reader finds no '$1'${2:+ in the $2 '$3'}"
}

install_program
make_library
write_settings "Config|路径|$books/" "Config|书|1" "Config|章|3"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
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
# The book list: a.txt, b.txt, ...
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
