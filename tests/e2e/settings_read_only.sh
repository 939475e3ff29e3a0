#!/usr/bin/env bash
# A read-only config.ini still puts the reader back in its place and stays as
# it was. A read-only program folder cannot take settings: the reader keeps
# them in the user's configuration folder instead and leaves the file beside
# it alone (it does not read that one either).
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
start_display
install_program
make_library
# Without its trailing "/" the folder would be written back with one.
write_remembered_place "$E2E_DIR/books"
cp "$E2E_DIR/app/config.ini" "$E2E_DIR/before.ini"
# The user's configuration folder, where an installed reader keeps settings.
home="$E2E_DIR/home"
mkdir "$home"
export HOME="$home"
unset XDG_CONFIG_HOME

echo "case: config.ini is read-only"
chmod 0444 "$E2E_DIR/app/config.ini"
start_program
[ "$(pane_text)" = "$(chapter_text "$E2E_DIR/books/b.txt" 5)" ] || fail "the pane does not hold chapter 5 of b.txt"
# Another chapter, so that the reader has something new to save.
xdotool key --window "$WINDOW_ID" Right
expect_no_other_windows
exit_through_menu
expect_exit_code 0
cmp -s "$E2E_DIR/before.ini" "$E2E_DIR/app/config.ini" || fail "the read-only config.ini changed"
[ "$(stat -c %a "$E2E_DIR/app/config.ini")" = 444 ] || fail "config.ini lost its read-only mode"
[ ! -e "$home/.config/folivar/config.ini" ] || fail "settings went to the user's folder although the program's could take them"

# The book store beside the settings took the new chapter.
[ "$(book_record "chapter" "b.txt")" = 6 ] ||
  fail "the book store beside config.ini does not hold chapter 6 of b.txt"
rm "$E2E_DIR"/app/books.db*

echo "case: the program folder is read-only"
chmod 0644 "$E2E_DIR/app/config.ini"
chmod 0555 "$E2E_DIR/app"
mkdir "$home/book"
cp "$E2E_DIR/books/a.txt" "$E2E_DIR/books/c.txt" "$home/book/"
start_program
# The file beside the program names b.txt, chapter 5; it must not be read, so
# the reader lists the default folder and opens nothing.
[ "$(pane_text 2>/dev/null)" = "" ] || fail "the pane shows text: the settings beside the read-only program were read"
expect_no_other_windows
exit_through_menu
expect_exit_code 0
chmod 0755 "$E2E_DIR/app"
cmp -s "$E2E_DIR/before.ini" "$E2E_DIR/app/config.ini" || fail "config.ini beside the read-only program changed"
[ "$(ls "$E2E_DIR/app")" = "$(printf 'config.ini\nfolivar')" ] || fail "files appeared in the read-only folder: $(ls "$E2E_DIR/app")"
saved=$(expect_complete_settings "$home/.config/folivar/config.ini")
echo "$saved"
grep -qx "路径=$home/book/" <<<"$saved" || fail "the user's settings do not hold the default book folder"
grep -qx "书=-1" <<<"$saved" || fail "the user's settings name a book although none was opened"
echo "PASS: settings_read_only"
