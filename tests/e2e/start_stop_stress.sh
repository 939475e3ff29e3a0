#!/usr/bin/env bash
# Cold starts, one after another: each on a display of its own and with a new
# home, as after a login, in a book folder that also holds entries that are
# no books. Every start shows the window within 10 s, and every close request,
# sent at a random moment of the first 3 s, ends the program within 10 s with
# exit code 0 and the remembered place saved. A stuck run shows every thread's
# stack, the display's clients and the program's log.
# FOLIVAR_STRESS_RUNS sets the number of starts (default 50).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh" # request_close

runs=${FOLIVAR_STRESS_RUNS:-50}
E2E_WINDOW_SECONDS=10
install_program
make_library
mkfifo "$books/pipe.txt"
mkdir "$books/x.txt"
truncate -s 3G "$books/sparse.txt"
cp "$books/a.txt" "$books/locked.txt"
chmod 000 "$books/locked.txt"
# Root reads a file whatever its mode says. Run as root, the program gets no
# capability to override file permissions, so that locked.txt is as
# unreadable to it as to a user; where that cannot be arranged, the folder
# goes without it.
if [ "$(id -u)" -eq 0 ] && setpriv --bounding-set=-dac_override,-dac_read_search true 2>/dev/null; then
  E2E_LAUNCHER=(setpriv --bounding-set=-dac_override,-dac_read_search)
fi
if ${E2E_LAUNCHER[@]+"${E2E_LAUNCHER[@]}"} head -c 1 "$books/locked.txt" >/dev/null 2>&1; then
  echo "note: locked.txt stays readable here (root); the folder goes without it"
  rm "$books/locked.txt"
fi
# A bare X session: no session bus is named, so whatever in the program uses
# D-Bus starts one for the display itself (dbus-launch), or does without.
unset DBUS_SESSION_BUS_ADDRESS

started=$SECONDS
for run in $(seq "$runs"); do
  start_display
  export HOME="$E2E_DIR/home" XDG_RUNTIME_DIR="$E2E_DIR/home/run"
  mkdir -p -m 700 "$HOME" "$XDG_RUNTIME_DIR"
  rm -f "$E2E_DIR"/app/books.db*
  write_settings "Config|路径|$books/" "Config|书|1" "Config|章|5" "Config|行|7" "Config|书名|b.txt"
  run_program
  WINDOW_ID=$(wait_for_window '^Folivar$' --all --pid "$PROGRAM_PID") || {
    show_stuck_program
    fail "run $run: no window within 10 s"
  }
  delay=$((RANDOM % 3001))
  sleep "$((delay / 1000)).$(printf '%03d' $((delay % 1000)))"
  request_close "$WINDOW_ID"
  program_ends_within 10 || {
    show_stuck_program
    # Whether the request waits inside the program for something to wake it,
    # or never got there: any other event on the window wakes a waiting one.
    xprop -id "$WINDOW_ID" -f _FOLIVAR_NUDGE 8s -set _FOLIVAR_NUDGE 1 2>/dev/null || true
    program_ends_within 5 && echo "it ended after an unrelated event on its window" >&2 ||
      echo "an unrelated event on its window did not end it either" >&2
    fail "run $run: still running 10 s after the close request, sent ${delay} ms after the window appeared"
  }
  code=0
  wait "$PROGRAM_PID" || code=$?
  forget_process "$PROGRAM_PID"
  [ "$code" -eq 0 ] || fail "run $run: exit code $code"
  # 章名 was not in the file before: the close saved it.
  saved=$(iconv -f GB18030 -t UTF-8 "$E2E_DIR/app/config.ini" | tr -d '\r')
  grep -qx '书名=b.txt' <<<"$saved" && grep -qx '章=5' <<<"$saved" && grep -q '^章名=.' <<<"$saved" ||
    fail "run $run: the place saved is not chapter 5 of b.txt:"$'\n'"$saved"
  stop_display
  rm -rf "$HOME"
done
echo "PASS: start_stop_stress ($runs starts in $((SECONDS - started)) s)"
