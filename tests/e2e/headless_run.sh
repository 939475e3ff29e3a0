#!/usr/bin/env bash
# Used by scripts/run on a machine without a display: starts the reader under
# Xvfb with the given settings, takes a screenshot of its window, ends it with
# SIGTERM (it closes as when the user quits, writing its settings) and keeps
# the settings the reader wrote. It drives nothing, so a first run needs
# neither xdotool nor ImageMagick: xwd and netpbm take the screenshot.
source "$(dirname "$0")/lib.sh"
start_display
install_program
cp "$FOLIVAR_SETTINGS" "$E2E_DIR/app/config.ini"
run_program
wait_for_log 'start-up finished'
for _ in $(seq 100); do
  xwininfo -name Folivar 2>/dev/null | grep -q IsViewable && break
  sleep 0.1
done
xwininfo -name Folivar 2>/dev/null | grep -q IsViewable || fail "the window did not appear"
if [ -n "${FOLIVAR_FILL_SCREEN:-}" ]; then
  # No window manager here to honour F11 (it needs xdotool, a test tool): the
  # window is given the whole screen as F11 gives it.
  window=$(xdotool search --name '^Folivar$' | head -n 1)
  xdotool windowmove --sync "$window" 0 0 windowsize --sync "$window" 1280 800
  wait_for_still_screen
  xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$FOLIVAR_SCREENSHOT"
else
  wait_for_still_screen
  # The window sits at +50+50 in its designed size, with no window manager to frame it.
  xwd -root -silent | xwdtopnm 2>/dev/null | pnmcut -left 50 -top 50 -width 884 -height 560 | pnmtopng >"$FOLIVAR_SCREENSHOT"
fi
kill -TERM "$PROGRAM_PID"
expect_exit_code 0
cp "$E2E_DIR/app/config.ini" "$FOLIVAR_SETTINGS"
