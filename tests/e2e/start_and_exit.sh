#!/usr/bin/env bash
# The built program opens its window with the four menus in a Chinese font,
# and "退出" ends it with exit code 0.
source "$(dirname "$0")/lib.sh"
start_display
install_program
start_program
wait_for_still_screen
import -window root "$E2E_DIR/shot.png"
# The menu bar, left of the window: text pixels must be there.
dark=$(convert "$E2E_DIR/shot.png" -crop 220x20+50+52 -threshold 50% -format '%[fx:int(w*h*(1-mean))]' info:)
[ "$dark" -gt 40 ] || fail "no menu text in the screenshot ($dark dark pixels)"
fc-match 'Noto Sans CJK SC' | grep -q 'Noto Sans CJK' || fail "the CJK font is missing"
[ -n "${FOLIVAR_SCREENSHOT:-}" ] && cp "$E2E_DIR/shot.png" "$FOLIVAR_SCREENSHOT"
exit_through_menu
expect_exit_code 0
[ -f "$E2E_DIR/app/config.ini" ] || fail "no config.ini written at exit"
echo "PASS: start_and_exit"
