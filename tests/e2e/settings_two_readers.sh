#!/usr/bin/env bash
# Two readers in one folder share its config.ini. When both are asked to
# close at the same moment, the file ends up as the one or the other saved
# it, never a mix of the two and never cut short.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
start_display
install_program
cp "$E2E_DIR/app/folivar" "$E2E_DIR/app/folivar2"
make_library

# Starts the program and waits until it shows the remembered chapter. Both
# windows have the same title: the new one is found by its process.
start_reader() { # PROGRAM
  start_program "$1"
  [ "$(pane_text)" = "$chapter" ] || fail "$1 did not show chapter 5 of b.txt"
}

chapter=$(chapter_text "$E2E_DIR/books/b.txt" 5)
for round in $(seq 8); do
  write_remembered_place "$E2E_DIR/books/"
  start_reader "$E2E_DIR/app/folivar"
  first_window=$WINDOW_ID first_pid=$PROGRAM_PID
  # Both started before either reads on: the second would otherwise find the
  # first one's newer place in the book store they share.
  start_reader "$E2E_DIR/app/folivar2"
  second_window=$WINDOW_ID second_pid=$PROGRAM_PID
  # Two chapters on: b.txt, chapter 7, top line.
  xdotool key --window "$first_window" Right Right
  # Another book: c.txt, the third row of the book list of the newer window,
  # which lies on top; it opens at its start.
  eval "$(xdotool getwindowgeometry --shell "$second_window")"
  xdotool mousemove "$((X + 20))" "$((Y + 58))" click 1
  wait_for_log 'read ".*/c.txt" to its end'
  request_close "$first_window" "$second_window"
  PROGRAM_PID=$first_pid
  expect_exit_code 0
  PROGRAM_PID=$second_pid
  expect_exit_code 0
  expect_complete_settings >/dev/null
  place="$(setting 书) $(setting 章) $(setting 行)"
  echo "round $round: 书 章 行 = $place"
  [ "$place" = "1 7 0" ] || [ "$place" = "2 0 0" ] || fail "the place $place is neither reader's"
done
echo "PASS: settings_two_readers"
