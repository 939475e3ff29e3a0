#!/usr/bin/env bash
# Cold starts on a folder of hostile entries, each in turn the book start-up
# reopens: a symbolic link to itself, one that leads nowhere, a 20 MB book of
# one line, a file of a byte-order mark alone, an empty one, a FIFO, a folder
# named like a book, a sparse 3 GB file. Each start shows the window within
# 10 s; a close request sent within 2 s of the window appearing ends the
# program within 10 s, exit code 0, with config.ini written. A stuck run
# shows every thread's stack and the program's log.
# FOLIVAR_STRESS_RUNS sets the starts per entry (default 2),
# FOLIVAR_CLOSE_WITHIN_MS how soon the close request comes (default 2000).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh" # request_close

runs=${FOLIVAR_STRESS_RUNS:-2}
E2E_WINDOW_SECONDS=10
install_program
books="$E2E_DIR/books"
mkdir -p "$books"
cp "$(dirname "$0")/../../samples/book/山城旧事.txt" "$books/a normal book.txt"
ln -s "o15 loop.txt" "$books/o15 loop.txt"
ln -s "$E2E_DIR/nowhere.txt" "$books/dangling.txt"
python3 -c 'import sys; sys.stdout.buffer.write("第一章 长".encode("gb18030") + "长".encode("gb18030") * (10 * 1024 * 1024))' >"$books/one line.txt"
printf '\xef\xbb\xbf' >"$books/mark only.txt"
: >"$books/empty.txt"
mkfifo "$books/pipe.txt"
mkdir "$books/folder.txt"
truncate -s 3G "$books/sparse.txt"
unset DBUS_SESSION_BUS_ADDRESS

# The book list sorts by name, ignoring case.
mapfile -t entries < <(cd "$books" && ls -1 | LC_ALL=C sort -f)
started=$SECONDS
for entry in "${entries[@]}"; do
  for run in $(seq "$runs"); do
    start_display
    export HOME="$E2E_DIR/home" XDG_RUNTIME_DIR="$E2E_DIR/home/run"
    mkdir -p -m 700 "$HOME" "$XDG_RUNTIME_DIR"
    rm -f "$E2E_DIR"/app/books.db* "$E2E_DIR/app/config.ini"
    write_settings "Config|路径|$books/" "Config|书|0" "Config|章|0" "Config|书名|$entry"
    run_program
    WINDOW_ID=$(wait_for_window '^Folivar$' --all --pid "$PROGRAM_PID") || {
      show_stuck_program
      fail "$entry, run $run: no window within 10 s"
    }
    delay=$((RANDOM % (${FOLIVAR_CLOSE_WITHIN_MS:-2000} + 1)))
    sleep "$((delay / 1000)).$(printf '%03d' $((delay % 1000)))"
    request_close "$WINDOW_ID"
    program_ends_within 10 || {
      show_stuck_program
      fail "$entry, run $run: still running 10 s after the close request, sent ${delay} ms after the window appeared"
    }
    code=0
    wait "$PROGRAM_PID" || code=$?
    forget_process "$PROGRAM_PID"
    [ "$code" -eq 0 ] || fail "$entry, run $run: exit code $code"
    grep -q '^字体' <(iconv -f GB18030 -t UTF-8 "$E2E_DIR/app/config.ini" | tr -d '\r') ||
      fail "$entry, run $run: config.ini was not written at the close"
    stop_display
    rm -rf "$HOME"
  done
done
echo "PASS: hostile_starts (${#entries[@]} entries, $runs starts each, in $((SECONDS - started)) s)"
