#!/usr/bin/env bash
# Closing the window right after it appears, while start-up is reopening a
# large book, ends the program with exit code 0 and leaves a complete
# settings file that keeps the place.
source "$(dirname "$0")/lib.sh"
start_display
install_program
make_library --big 150
write_settings "Config|路径|$E2E_DIR/books/" "Config|书|2" "Config|章|3" "Config|行|4" "字体|字体大小|15"
launch_program
exit_through_menu
expect_exit_code 0
# Whether the close beat the load depends on the machine; the widget tests
# close at a chosen piece. Say which case this run saw.
grep -q 'stopped reading' "$E2E_LOG" && echo "closed during the load" || echo "closed after the load"
for key in 路径 书 章 行 字体 字体大小 文本颜色 背景颜色; do
  [ "$(setting "$key")" != "" ] || [ "$key" = 字体 ] || fail "$key missing after the close"
done
[ "$(setting 书)" = 2 ] || fail "书 is $(setting 书)"
[ "$(setting 章)" = 3 ] || fail "章 is $(setting 章)"
[ "$(setting 行)" = 4 ] || fail "行 is $(setting 行)"
[ "$(setting 字体大小)" = 15 ] || fail "字体大小 is $(setting 字体大小)"
echo "PASS: close_during_load"
