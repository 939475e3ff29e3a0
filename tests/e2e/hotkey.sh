#!/usr/bin/env bash
# The bare ` key hides the window and shows it again in the same place; with
# Shift it is not the hot key. A second reader finds the key taken and runs on.
# A hidden reader ends on SIGTERM and saves its place. A key config.ini
# names, or the one chosen under 设置 → 热键…, is the key at once, and
# remembered; with none (无) the reader holds no key. In the reader's own
# text fields the bare key types its character, and hides the window again
# once the focus has left them; a key with modifiers hides it there too.
source "$(dirname "$0")/lib.sh"

# A second reader, from its own folder with its own settings (the default
# key), gets ` while the reader in FIRST_WINDOW runs: ` hides and shows the
# second one alone. The second one then exits; the caller names its own
# reader again.
grave_goes_to_a_second_reader() { # FIRST_WINDOW
  rm -f "$E2E_DIR/second/config.ini"
  start_program "$E2E_DIR/second/folivar"
  xdotool key grave
  wait_visible "$WINDOW_ID" no
  xdotool search --onlyvisible --name '^Folivar$' | grep -qx "$1" || fail "\` hid the first reader"
  xdotool key grave
  wait_visible "$WINDOW_ID" yes
  exit_through_menu
  expect_exit_code 0
}

# 设置 → 热键… (above 同步…, the menu's last item) with the mouse and the keyboard; the
# keys are pressed in its dialog, and the dialog is gone when this returns.
choose_hot_key() { # KEYS...
  local X Y WIDTH HEIGHT SCREEN dialog
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  xdotool mousemove $((X + 15)) $((Y + 10)) click 1
  wait_for_menu
  xdotool key --delay 30 Right Up Up Return
  dialog=$(wait_for_window '^热键$')
  xdotool key --delay 30 "$@"
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^热键$' | grep -qx "$dialog" || return 0
    sleep 0.1
  done
  fail "the dialog 热键 stayed open"
}

# 设置 → 同步… (the menu's last item) with the mouse and the keyboard; a click
# puts the focus into its third field, 密码, and Shift+Tab into 用户.
focus_sync_user_field() {
  local X Y WIDTH HEIGHT SCREEN dialog
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  xdotool mousemove $((X + 15)) $((Y + 10)) click 1
  wait_for_menu
  xdotool key --delay 30 Right Up Return
  dialog=$(wait_for_window '^同步$')
  xdotool mousemove --window "$dialog" 200 100 click 1
  wait_for_still_screen
  xdotool key --delay 50 shift+Tab ctrl+a BackSpace
}
start_display
install_program
make_library
write_settings "Config|路径|$E2E_DIR/books/" "Config|书|0" "Config|章|3" "Config|行|5"
start_program
first_window=$WINDOW_ID
first_pid=$PROGRAM_PID

before=$(xdotool getwindowgeometry "$first_window")
xdotool key grave
wait_visible "$first_window" no
xdotool key grave
wait_visible "$first_window" yes
[ "$(xdotool getwindowgeometry "$first_window")" = "$before" ] || fail "the window moved"

# Shift+` must not toggle: after it, one bare press hides the window.
xdotool key shift+grave grave
wait_visible "$first_window" no
xdotool key grave
wait_visible "$first_window" yes

# A second reader cannot have the key; it starts anyway and the key stays ours.
mkdir -p "$E2E_DIR/second"
cp "$E2E_DIR/app/folivar" "$E2E_DIR/second/folivar"
"$E2E_DIR/second/folivar" &
second_pid=$!
E2E_PIDS+=($second_pid)
for _ in $(seq 100); do
  [ "$(xdotool search --onlyvisible --name '^Folivar$' | wc -l)" -ge 2 ] && break
  sleep 0.1
done
second_window=$(xdotool search --onlyvisible --name '^Folivar$' | grep -vx "$first_window" | head -n 1)
[ -n "$second_window" ] || fail "the second reader did not open"
xdotool key grave
wait_visible "$first_window" no
wait_visible "$second_window" yes
xdotool key grave
wait_visible "$first_window" yes

WINDOW_ID=$second_window PROGRAM_PID=$second_pid
xdotool windowraise "$second_window"
exit_through_menu
expect_exit_code 0
# Hidden with the key, the reader still ends the normal way on SIGTERM, as a
# logout sends it, and saves its place.
WINDOW_ID=$first_window PROGRAM_PID=$first_pid
rm -f "$E2E_DIR/app/config.ini"
xdotool key grave
wait_visible "$first_window" no
kill -TERM "$first_pid"
expect_exit_code 0
[ "$(setting 章)" = 3 ] || fail "章 is $(setting 章)"
[ "$(setting 行)" = 5 ] || fail "行 is $(setting 行)"

echo "case: the key config.ini names"
write_settings "Config|路径|$E2E_DIR/books/" "热键|热键|Ctrl+Alt+H"
start_program
first_window=$WINDOW_ID first_pid=$PROGRAM_PID first_log=$E2E_LOG
xdotool key ctrl+alt+h
wait_visible "$first_window" no
xdotool key ctrl+alt+h
wait_visible "$first_window" yes
grave_goes_to_a_second_reader "$first_window"
WINDOW_ID=$first_window PROGRAM_PID=$first_pid E2E_LOG=$first_log

echo "case: 设置 → 热键… takes the key pressed in its dialog at once"
choose_hot_key ctrl+alt+j Return
xdotool key ctrl+alt+j
wait_visible "$WINDOW_ID" no
xdotool key ctrl+alt+j
wait_visible "$WINDOW_ID" yes
for _ in $(seq 50); do
  [ "$(setting 热键)" = Ctrl+Alt+J ] && break
  sleep 0.1
done
[ "$(setting 热键)" = Ctrl+Alt+J ] || fail "热键 is $(setting 热键) while the reader runs"
exit_through_menu
expect_exit_code 0
[ "$(setting 热键)" = Ctrl+Alt+J ] || fail "热键 is $(setting 热键) after the exit"

echo "case: no key"
write_settings "Config|路径|$E2E_DIR/books/" "热键|热键|无"
start_program
first_window=$WINDOW_ID first_pid=$PROGRAM_PID first_log=$E2E_LOG
grave_goes_to_a_second_reader "$first_window"
WINDOW_ID=$first_window PROGRAM_PID=$first_pid E2E_LOG=$first_log
exit_through_menu
expect_exit_code 0
[ "$(setting 热键)" = 无 ] || fail "热键 is $(setting 热键)"

echo "case: the bare key types itself into a text field of the reader"
write_settings "Config|路径|$E2E_DIR/books/"
start_program
focus_sync_user_field
xdotool type --delay 50 'x`y'
xdotool key Return
for _ in $(seq 50); do
  [ "$(setting 用户)" = 'x`y' ] && break
  sleep 0.1
done
[ "$(setting 用户)" = 'x`y' ] || fail "用户 is $(setting 用户), not what was typed"
wait_visible "$WINDOW_ID" yes
# Outside the fields the key is the reader's again.
xdotool key grave
wait_visible "$WINDOW_ID" no
xdotool key grave
wait_visible "$WINDOW_ID" yes
exit_through_menu
expect_exit_code 0

echo "case: a key with modifiers hides the window from a text field too"
write_settings "Config|路径|$E2E_DIR/books/" "热键|热键|Ctrl+Alt+H"
start_program
focus_sync_user_field
xdotool key ctrl+alt+h
wait_visible "$WINDOW_ID" no
xdotool key ctrl+alt+h
wait_visible "$WINDOW_ID" yes
# Ended from outside, the open dialog closes with the window.
kill -TERM "$PROGRAM_PID"
expect_exit_code 0
echo "PASS: hotkey"
