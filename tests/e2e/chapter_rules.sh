#!/usr/bin/env bash
# 阅读 > 章节规则: a book whose prose the designed pattern cuts into false
# chapters (他第一次回家) is read whole under the strict rule, a heading
# removed under one rule is removed again when the book returns to it, and a
# book with "Chapter N" headings is cut by an expression of the reader's own; each
# book keeps its rule after a restart, and 默认 brings the designed cut back.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
start_display
install_program
books="$E2E_DIR/books"
expected="$E2E_DIR/expected"
mkdir -p "$books" "$expected"
python3 - "$books" "$expected" <<'PY'
import sys
books, expected = sys.argv[1], sys.argv[2]
rain = ["雨城",
        "第一章 归来",
        "天色已晚，城门外的灯火一盏一盏亮起来，他第一次回家，站在门口很久很久，不知道该说些什么才好。",
        "屋里的人都睡了，只有窗外的雨还在下，一直下到天亮。",
        "第二章 宗门",
        "第二天回到宗门，长老们早已在大殿里等着他，谁也没有说话，只是看着他一步一步走上台阶。",
        "大殿外的松树还是从前的样子。",
        "第三章 功法",
        "师父把一本旧书交给他，说这第三部功法要等他长大以后才能修炼，现在只能先背下来。",
        "他点了点头。"]
english = ["Rain City", "Chapter 1 Rain", "雨从早上一直下到晚上。", "Chapter 2 Wind", "风把窗户吹开了。",
           "Chapter 3 Snow", "雪落满了长街。"]
for name, lines in (("r.txt", rain), ("e.txt", english)):
    with open(f"{books}/{name}", "wb") as f:
        f.write("\r\n".join(lines).encode("gb18030") + b"\r\n")
def expect(name, lines):
    with open(f"{expected}/{name}", "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
# A table of contents of six entries before the chapters, and a line after
# it; a chapter's text is longer than such a line.
titles = ["第一章 启程", "第二章 渡河", "第三章 入山", "第四章 问路", "第五章 夜宿", "第六章 归途"]
contents = ["行路记", "目录"] + titles + ["", "以下是正文", ""]
for n, title in enumerate(titles, 1):
    contents += [title, f"这是{title[4:]}的正文，第{n}段。一路上走走停停，天黑以前总算到了。"]
with open(f"{books}/t.txt", "wb") as f:
    f.write("\r\n".join(contents).encode("gb18030") + b"\r\n")
expect("contents", ["目录"] + titles + ["", "以下是正文", ""])
expect("first", [titles[0], "这是启程的正文，第1段。一路上走走停停，天黑以前总算到了。"])
expect("strict1", rain[1:4])
expect("strict2", rain[4:7])
expect("default3", rain[4:5])
expect("custom1", english[1:3])
PY
# The book list: e.txt, r.txt, t.txt.
write_settings "Config|路径|$books/" "Config|书|1" "Config|章|1"

expect_pane() { # EXPECTED_NAME WHAT
  [ "$(pane_text)" = "$(cat "$expected/$1")" ] || fail "$2: the pane shows '$(pane_text)'"
}
# 阅读 is two menus to the right of 文件; 章节规则 its ninth item, whose
# items are 默认, 严格 and 自定义….
choose_rule() { # DOWNS_IN_SUBMENU
  local X Y WIDTH HEIGHT SCREEN downs=()
  for _ in $(seq "$1"); do downs+=(Down); done
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  xdotool mousemove $((X + 15)) $((Y + 10)) click 1
  wait_for_menu
  xdotool key --delay 30 Right Right Down Down Down Down Down Down Down Down Right "${downs[@]}" Return
}

echo "case: the strict rule reads through false headings, and keeps the shown chapter"
start_program
[[ "$(pane_text)" == *他 ]] || fail "the designed pattern did not cut at 第一次回家: '$(pane_text)'"
select_chapter_row 2
xdotool key --window "$WINDOW_ID" Delete
choose_rule 1
wait_for_log 'chapter rule "strict" for "r.txt" finds 3 headings'
expect_pane strict1 "strict, chapter 1"
pane_keys Right
expect_pane strict2 "strict, chapter 2"
exit_through_menu
expect_exit_code 0

echo "case: after a restart, still strict; then back to the default"
start_program
expect_pane strict2 "strict after a restart"
choose_rule 0
wait_for_log 'chapter rule "" for "r.txt" finds 6 headings'
expect_pane default3 "back to the default, the same chapter by title"
pane_keys Left
expect_pane strict1 "back to the default, 第一次回家 is still removed"
pane_keys Right

echo "case: the strict rule chosen on a false heading keeps the place"
# Chapter 3 is now 第二天回到宗门, a heading only to the default rule: the strict
# rule shows 第二章, which holds it, and saves that.
pane_keys Right
choose_rule 1
wait_for_log 'chapter rule "strict" for "r.txt" finds 3 headings'
expect_pane strict2 "strict chosen on 第二天回到宗门"
exit_through_menu
expect_exit_code 0
[ "$(setting 章)" = 2 ] || fail "saved chapter $(setting 章), not 2 (第二章 under the strict rule)"

echo "case: a table of contents is one item, 目录, and → leads to the first chapter"
# Chapter 7 of the old listing (head, six entries, then 第一章) is found by its
# title in the new one.
write_settings "Config|路径|$books/" "Config|书|2" "Config|章|7" "Config|章名|第一章 启程"
start_program
expect_pane first "the remembered 第一章, found by its title"
pane_keys Left
expect_pane contents "the table, one chapter"
pane_keys Right
expect_pane first "→ from the table"
exit_through_menu
expect_exit_code 0
[ "$(setting 章)" = 2 ] && [ "$(setting 章名)" = "第一章 启程" ] || fail "saved $(setting 章) $(setting 章名)"

echo "case: an expression of the reader's own"
write_settings "Config|路径|$books/" "Config|书|0" "Config|章|0"
start_program
choose_rule 2
dialog=$(wait_for_window '^自定义章节规则$') || fail "no dialog"
xdotool mousemove --window "$dialog" 60 20 click 1 key ctrl+a
xdotool type --delay 30 '^Chapter \d+'
# OK is enabled once the preview has checked the expression.
wait_for_log 'own chapter rule "\^Chapter \\\\d\+" checked: finds 3 headings'
xdotool key Return
wait_for_log 'chapter rule "custom:.* finds 3 headings'
pane_keys Right
expect_pane custom1 "own rule, chapter 1"
exit_through_menu
expect_exit_code 0
start_program
expect_pane custom1 "own rule after a restart"
exit_through_menu
expect_exit_code 0
[ "$(book_store "SELECT chapter_rule FROM books WHERE chapter_rule LIKE 'custom:%'")" = 'custom:^Chapter \d+' ] ||
  fail "books.db lacks the expression"
echo "PASS: chapter_rules"
