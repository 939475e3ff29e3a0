#!/usr/bin/env bash
# One reader per settings file: starting the program again while it runs
# (its window hidden with the hot key, say) hands over to the running reader,
# whose window shows and comes to the front, and the second process ends with
# exit code 0 at once; the running reader's place is the one saved. A reader
# killed outright leaves nothing that stops the next start.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
start_display
install_program
make_library
write_remembered_place "$books/"
chapter=$(chapter_text "$books/b.txt" 5)
next=$(chapter_text "$books/b.txt" 7)

start_program
first_window=$WINDOW_ID first_pid=$PROGRAM_PID
[ "$(pane_text)" = "$chapter" ] || fail "the first reader does not show chapter 5 of b.txt"
pane_keys Right Right
xdotool key grave
wait_visible "$first_window" no

echo "case: a second start while the window is hidden"
run_program
second_pid=$PROGRAM_PID
expect_exit_code 0
wait_visible "$first_window" yes
[ "$(xdotool search --onlyvisible --name '^Folivar$' | wc -l)" -eq 1 ] || fail "more than one reader window"
WINDOW_ID=$first_window PROGRAM_PID=$first_pid
[ "$(pane_text)" = "$next" ] || fail "the running reader does not still show chapter 7"

echo "case: a start after the reader was killed"
# The place is saved about a second after it changed: the kill comes later.
for _ in $(seq 50); do
  [ "$(setting 章)" = 7 ] && break
  sleep 0.1
done
kill -9 "$first_pid"
wait "$first_pid" 2>/dev/null || true
start_program
[ "$(pane_text)" = "$next" ] || fail "the reader after the kill does not open at chapter 7"
exit_through_menu
expect_exit_code 0
[ "$(setting 章)" = 7 ] || fail "章 is $(setting 章), not the running reader's 7"
echo "PASS: second_start"
