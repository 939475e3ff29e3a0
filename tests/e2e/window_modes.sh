#!/usr/bin/env bash
# 视图's window modes under X without a window manager, read from what the
# window asks of one: 透明度 80 % is the window's opacity; 简洁模式 (Ctrl+Shift+M)
# shows the pane alone (a screen reader finds no menu bar and no lists) and
# asks for no frame; the hide key hides and shows the simple window; the place
# and size the window system gave each mode come back after a restart, in the
# mode the reader was left in.
source "$(dirname "$0")/lib.sh"
here="$(dirname "$0")"
source "$here/settings_checks.sh"
start_display
source "$here/atspi_lib.sh"
start_accessibility_bus

# The reader's window again: a change of frame may give it a new one.
find_window() {
  WINDOW_ID=$(wait_for_window '^Folivar$' --pid "$PROGRAM_PID")
}

expect_geometry() { # X Y WIDTH HEIGHT
  local X Y WIDTH HEIGHT SCREEN
  for _ in $(seq 50); do
    eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
    [ "$X $Y $WIDTH $HEIGHT" = "$*" ] && return 0
    sleep 0.1
  done
  fail "the window is at $X $Y, $WIDTH x $HEIGHT, expected $*"
}

# The decorations _MOTIF_WM_HINTS asks for (flags, functions, decorations,
# ...): the decorations when the flags say they are given, else "any".
decorations() {
  local hints
  hints=$(xprop -id "$WINDOW_ID" _MOTIF_WM_HINTS)
  if [[ "$hints" =~ =\ (0x[0-9a-f]+),\ (0x[0-9a-f]+),\ (0x[0-9a-f]+) ]] && ((BASH_REMATCH[1] & 2)); then
    echo $((BASH_REMATCH[3]))
  else
    echo any
  fi
}

# Ctrl+Shift+M in the pane, a click into it first giving it the keys.
simple_keys() {
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
  xdotool key ctrl+shift+m
}

shown_pane=$'(text|document [a-z ]+)\t正文'
install_program
make_library
write_settings "Config|路径|$books/" "Config|书|1" "Config|章|3"
start_program
wait_for_still_screen

echo "case: 透明度 80 % is the window's opacity"
eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
xdotool mousemove $((X + 15)) $((Y + 10)) click 1
wait_for_menu
# 视图 is five menus to the right of 文件; 透明度 its third item, 80 % the third of that.
xdotool key --delay 30 Right Right Right Right Right Down Down Right Down Down Return
for _ in $(seq 50); do
  opacity=$(xprop -id "$WINDOW_ID" _NET_WM_WINDOW_OPACITY | awk -F'= ' '/=/ { print $2 }')
  [ -n "$opacity" ] && break
  sleep 0.1
done
# 0.8 of 0xFFFFFFFF
[ -n "$opacity" ] && [ $((opacity - 3435973836)) -ge -2 ] && [ $((opacity - 3435973836)) -le 2 ] ||
  fail "_NET_WM_WINDOW_OPACITY is '$opacity', not 80 %"

echo "case: the full window shows its menu bar and lists, framed"
wait_for_shown $'menu bar\t.*' ''
wait_for_shown $'list\t书籍' ''
[ "$(decorations)" != 0 ] || fail "the full window asks for no decorations"
xdotool windowmove --sync "$WINDOW_ID" 130 90
xdotool windowsize --sync "$WINDOW_ID" 700 480
expect_geometry 130 90 700 480

echo "case: 简洁模式 shows the pane alone, without a frame"
simple_keys
find_window
wait_for_shown "$shown_pane" $'(menu bar\t.*|list\t(书籍|章节))'
for _ in $(seq 50); do
  [ "$(decorations)" = 0 ] && break
  sleep 0.1
done
[ "$(decorations)" = 0 ] || fail "the simple window asks for decorations: $(xprop -id "$WINDOW_ID" _MOTIF_WM_HINTS)"
xdotool windowmove --sync "$WINDOW_ID" 60 500
xdotool windowsize --sync "$WINDOW_ID" 420 120
expect_geometry 60 500 420 120

echo "case: the hide key hides the simple window and shows it again"
xdotool key grave
wait_visible "$WINDOW_ID" no
xdotool key grave
wait_visible "$WINDOW_ID" yes
expect_geometry 60 500 420 120

request_close "$WINDOW_ID"
expect_exit_code 0
expect_complete_settings >/dev/null
for expected in 左=130 上=90 宽=700 高=480 简洁模式=1 简洁左=60 简洁上=500 简洁宽=420 简洁高=120 透明度=80; do
  [ "${expected%%=*}=$(setting "${expected%%=*}")" = "$expected" ] ||
    fail "config.ini holds ${expected%%=*}=$(setting "${expected%%=*}"), expected $expected"
done

echo "case: after a restart the simple window is back where it was"
start_program
find_window
expect_geometry 60 500 420 120
[ "$(decorations)" = 0 ] || fail "the simple window came back with a frame"
wait_for_shown "$shown_pane" $'(menu bar\t.*|list\t(书籍|章节))'
xprop -id "$WINDOW_ID" _NET_WM_WINDOW_OPACITY | grep -q 3435973 || fail "the opacity was not restored"

echo "case: leaving it gives the full window back at its own place"
simple_keys
find_window
expect_geometry 130 90 700 480
wait_for_shown $'list\t章节' ''
[ "$(decorations)" != 0 ] || fail "the full window came back without a frame"
exit_through_menu
expect_exit_code 0
[ "$(setting 简洁模式)" = 0 ] || fail "简洁模式 is $(setting 简洁模式) after leaving it"
echo "PASS: window_modes"
