#!/usr/bin/env bash
# As a native Wayland client the reader opens its window titled Folivar at
# the designed outer size, takes the keyboard without a click, opens books and
# steps through chapters from the keyboard, goes full screen and back, and 退出 leaves the place in
# config.ini as on X11. The hide key comes from the desktop portal's global
# shortcut: each activation hides or shows the window, at its size; 设置 →
# 热键… opens the portal's own dialog for it; a portal that refuses leaves the
# reader running without one. 简洁模式 comes back at its own size. Skipped
# (77) where weston or Qt's Wayland platform plugin is missing.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
source "$(dirname "$0")/wayland_lib.sh"
start_weston
install_program
make_library
write_settings "Config|路径|$books/"

echo "case: the window, books and chapters from the keyboard, 退出"
launch_wayland_program
wait_for_log 'start-up finished'
wait_for_wayland_window 'toplevel 884x560\+-?[0-9]+\+-?[0-9]+ Folivar' >/dev/null
# Tab from the pane reaches the book list's filter, then the book list, which
# opens its first book; Down the next. The chapter list and the pane follow;
# there the arrows step.
wayland_keys Tab Tab
wait_for_log 'read ".*/a.txt" to its end'
wayland_keys Down
wait_for_log 'read ".*/b.txt" to its end'
wayland_keys Tab Tab Right Right Right Left
# Full screen is the compositor's to grant; Esc gives the designed size back.
wayland_keys F11
wait_for_wayland_window 'toplevel 1280x800\+0\+0 Folivar' >/dev/null
wayland_keys Escape
wait_for_wayland_window 'toplevel 884x560\+-?[0-9]+\+-?[0-9]+ Folivar' >/dev/null
wayland_exit_through_menu
expect_exit_code 0
expect_complete_settings >/dev/null
[ "$(setting 路径)" = "$books/" ] || fail "路径 is $(setting 路径)"
[ "$(setting 书) $(setting 书名)" = "1 b.txt" ] || fail "书 and 书名 are $(setting 书) $(setting 书名)"
[ "$(setting 章) $(setting 章名)" = "2 第2章 b之2" ] || fail "章 and 章名 are $(setting 章) $(setting 章名)"
[ "$(setting 行)" = 0 ] || fail "行 is $(setting 行), the chapter was not shown from its top"

echo "case: the portal's shortcut hides the window and shows it again"
start_mock_portal bind
QT_LOGGING_RULES="folivar.platform.info=true" launch_wayland_program
wait_for_log 'start-up finished'
wait_for_log 'hot key: "toggle-reader" bound to'
grep -qx 'BindShortcuts toggle-reader 隐藏/显示阅读器 grave' "$PORTAL_RECORD" || fail "bound: $(cat "$PORTAL_RECORD")"
grep -qx 'Register example.folivar.Folivar' "$PORTAL_RECORD" || fail "the portal never learnt the desktop file's id"
activate_shortcut
wait_for_wayland_window 'toplevel .* Folivar' no
activate_shortcut
wait_for_wayland_window 'toplevel 884x560\+-?[0-9]+\+-?[0-9]+ Folivar' >/dev/null
wayland_exit_through_menu
expect_exit_code 0
grep -qx Close "$PORTAL_RECORD" || fail "the portal session was not closed"
[ "$(setting 章) $(setting 章名)" = "2 第2章 b之2" ] || fail "章 and 章名 are $(setting 章) $(setting 章名)"
stop_mock_portal

echo "case: 设置 → 热键… asks the portal for its own dialog"
start_mock_portal configure
QT_LOGGING_RULES="folivar.platform.info=true" launch_wayland_program
wait_for_log 'hot key: "toggle-reader" bound to'
geometry=$(wayland_windows | awk '$1 == "toplevel" && $3 == "Folivar" { print $2; exit }')
[[ "$geometry" =~ \+(-?[0-9]+)\+(-?[0-9]+)$ ]] || fail "no Folivar window: '$geometry'"
# 设置, the menu bar's second title; 热键… is just above its last item, 同步….
weston_input "move $((BASH_REMATCH[1] + 55)) $((BASH_REMATCH[2] + 41))" click
wayland_window_within 3 'popup .*' || fail "the menu did not open"
wayland_keys Up Up Return
for _ in $(seq 100); do
  grep -qx 'ConfigureShortcuts True' "$PORTAL_RECORD" && break
  sleep 0.1
done
grep -qx 'ConfigureShortcuts True' "$PORTAL_RECORD" || fail "the portal was asked: $(cat "$PORTAL_RECORD")"
wayland_exit_through_menu
expect_exit_code 0
stop_mock_portal

echo "case: a portal that refuses the session leaves the reader running"
start_mock_portal error
QT_LOGGING_RULES="folivar.platform.info=true" launch_wayland_program
wait_for_log 'start-up finished'
wait_for_log 'hot key: the portal refused a session'
wayland_exit_through_menu
expect_exit_code 0
[ "$(setting 书名)" = b.txt ] || fail "书名 is $(setting 书名)"
stop_mock_portal

echo "case: 简洁模式 comes back at its size, without the plugin's frame, and is kept"
write_settings "Config|路径|$books/" "窗口|简洁模式|1" "窗口|简洁左|40" "窗口|简洁上|40" "窗口|简洁宽|420" \
  "窗口|简洁高|120"
launch_wayland_program
wait_for_log 'start-up finished'
wait_for_wayland_window 'toplevel 420x120\+-?[0-9]+\+-?[0-9]+ Folivar' >/dev/null
# No menu bar to leave through: a signal ends it as a logout does.
kill -TERM "$PROGRAM_PID"
expect_exit_code 0
[ "$(setting 简洁模式) $(setting 简洁宽) $(setting 简洁高)" = "1 420 120" ] ||
  fail "简洁模式 was saved as $(setting 简洁模式) $(setting 简洁宽) x $(setting 简洁高)"
echo "PASS: wayland"
