#!/usr/bin/env bash
# On a full disk the settings cannot be saved: config.ini stays complete and
# unchanged, no half-written file is left beside it, and the reader still
# ends normally. Once there is room again the same exit saves.
# Needs a small filesystem of its own; exits 77 (skipped) where none can be
# mounted.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
mkdir -p "$E2E_DIR/app"
# Room for the program and a little more: the program keeps config.ini
# beside itself, so both live on the small filesystem.
size_kb=$(($(stat -c %s "$E2E_PROGRAM") / 1024 + 256))
if ! mount -t tmpfs -o "size=${size_kb}k,mode=0755" folivar-full "$E2E_DIR/app" 2>"$E2E_DIR/mount-error"; then
  echo "SKIP: cannot mount a small filesystem here: $(cat "$E2E_DIR/mount-error")"
  exit 77
fi
unmount_and_clean_up() {
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  umount -l "$E2E_DIR/app"
  e2e_cleanup
}
trap unmount_and_clean_up EXIT

start_display
install_program
make_library
# Without its trailing "/" the folder would be written back with one.
write_remembered_place "$E2E_DIR/books"
cp "$E2E_DIR/app/config.ini" "$E2E_DIR/before.ini"
cat /dev/zero >"$E2E_DIR/app/filler" 2>/dev/null || true
[ "$(df --output=avail -k "$E2E_DIR/app" | tail -n 1)" -eq 0 ] || fail "the filesystem could not be filled"

read_chapter_and_exit() {
  start_program
  [ "$(pane_text)" = "$(chapter_text "$E2E_DIR/books/b.txt" 5)" ] || fail "the pane does not hold chapter 5 of b.txt"
  xdotool key --window "$WINDOW_ID" Right
  expect_no_other_windows
  exit_through_menu
  expect_exit_code 0
}

echo "case: the disk is full"
read_chapter_and_exit
cmp -s "$E2E_DIR/before.ini" "$E2E_DIR/app/config.ini" || fail "config.ini changed on the full disk"
[ "$(ls "$E2E_DIR/app")" = "$(printf 'config.ini\nfiller\nfolivar')" ] ||
  fail "files were left beside config.ini: $(ls "$E2E_DIR/app")"

echo "case: there is room again"
rm "$E2E_DIR/app/filler"
read_chapter_and_exit
expect_complete_settings
[ "$(setting 路径)" = "$E2E_DIR/books/" ] || fail "路径 is $(setting 路径)"
[ "$(setting 章)" = 6 ] || fail "章 is $(setting 章): the exit did not save"
echo "PASS: settings_disk_full"
