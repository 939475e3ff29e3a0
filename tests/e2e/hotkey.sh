#!/usr/bin/env bash
# The bare ` key hides the window and shows it again in the same place; with
# Shift it is not the hot key. A second reader finds the key taken and runs on.
# A hidden reader ends on SIGTERM and saves its place.
source "$(dirname "$0")/lib.sh"
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
echo "PASS: hotkey"
