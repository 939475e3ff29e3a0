#!/usr/bin/env bash
# Resizing the window stretches the pane and lengthens the chapter list; the
# reader's place survives a resize and its undoing.
source "$(dirname "$0")/lib.sh"
start_display
install_program
make_library
# A pure green pane is easy to find in a screenshot.
write_settings "Config|路径|$E2E_DIR/books/" "Config|书|2" "Config|章|4" "Config|行|9" "字体|背景颜色|65280"
start_program
wait_for_still_screen

pane_box() { # width x height of the green area
  import -window root "$E2E_DIR/shot.png"
  convert "$E2E_DIR/shot.png" -fill black +opaque '#00FF00' -trim -format '%w %h' info:
}
read -r w0 h0 <<<"$(pane_box)"
[ "$w0" -gt 600 ] || fail "no pane in the screenshot ($w0 x $h0)"

eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
xdotool windowsize --sync "$WINDOW_ID" $((WIDTH + 100)) $((HEIGHT + 50))
wait_for_still_screen
read -r w1 h1 <<<"$(pane_box)"
[ "$w1" -eq $((w0 + 100)) ] && [ "$h1" -eq $((h0 + 50)) ] ||
  fail "pane went from $w0 x $h0 to $w1 x $h1, expected +100 x +50"

xdotool windowsize --sync "$WINDOW_ID" "$WIDTH" "$HEIGHT"
wait_for_still_screen
read -r w2 h2 <<<"$(pane_box)"
[ "$w2" -eq "$w0" ] && [ "$h2" -eq "$h0" ] || fail "pane is $w2 x $h2 after resizing back"

echo "case: the window is not made too small to use"
# No window manager here enforces the size hints: the reader keeps its least
# size itself.
for size in "400 300" "200 150"; do
  xdotool windowsize "$WINDOW_ID" $size
  wait_for_still_screen
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  [ "$WIDTH" -ge 560 ] && [ "$HEIGHT" -ge 440 ] || fail "the window was made $WIDTH x $HEIGHT"
  read -r w3 h3 <<<"$(pane_box)"
  [ "$w3" -ge 300 ] && [ "$h3" -ge 300 ] || fail "at $size the pane is only $w3 x $h3"
done
xdotool windowsize --sync "$WINDOW_ID" 884 560

exit_through_menu
expect_exit_code 0
[ "$(setting 行)" = 9 ] || fail "行 is $(setting 行): the place was lost in the resize"
echo "PASS: resize"
