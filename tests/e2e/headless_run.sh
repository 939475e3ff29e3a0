#!/usr/bin/env bash
# Used by scripts/run on a machine without a display: starts the reader under
# Xvfb with the given settings, takes a screenshot, exits through the menu and
# keeps the settings the reader wrote.
source "$(dirname "$0")/lib.sh"
start_display
install_program
cp "$FOLIVAR_SETTINGS" "$E2E_DIR/app/config.ini"
start_program
wait_for_still_screen
import -window root -crop 884x560+50+50 "$FOLIVAR_SCREENSHOT"
exit_through_menu
expect_exit_code 0
cp "$E2E_DIR/app/config.ini" "$FOLIVAR_SETTINGS"
