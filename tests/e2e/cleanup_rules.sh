#!/usr/bin/env bash
# 阅读 > 净化规则…: a file of rules as readers share them, imported through
# the window's 导入… and Qt's file chooser, takes the site's ad lines out of
# a GBK book with CR LF line ends and an inline watermark out of its prose.
# The place read to is kept in the book's own text: with 显示原文 on, after
# a restart, the book shows its ad lines again from the same place, and off
# again it still holds that place.
source "$(dirname "$0")/lib.sh"
start_display
install_program
books="$E2E_DIR/books"
expected="$E2E_DIR/expected"
mkdir -p "$books" "$expected"
python3 - "$books" "$expected" "$E2E_DIR/rules.json" <<'PY'
import json, sys
books, expected, rules = sys.argv[1:]
ads = ["天才一秒记住本站地址：www.xxxx.com", "本章未完，请点击下一页继续阅读"]
book, cleaned, original = ["山路"], {}, {}
for n in range(1, 4):
    lines = [f"第{n}章 山路之{n}"]
    # Paragraphs short enough for one line of the pane, of varied lengths,
    # an ad line after every few: the ads shift every later line.
    for p in range(90):
        lines.append(f"　　行路{n}之{p}，" + "山路弯弯，" * (p % 4) + "天色渐晚。")
        if p % 9 == 4:
            lines[-1] = lines[-1].replace("山路", "山【顶点】路", 1)
        if p % 7 == 3:
            lines.append(ads[p % 2])
    lines.append("（本章完）")
    book += lines
    original[n] = lines
    cleaned[n] = [line.replace("【顶点】", "") for line in lines if line not in ads + ["（本章完）"]]
with open(f"{books}/s.txt", "wb") as f:
    f.write("\r\n".join(book).encode("gbk") + b"\r\n")
for n in original:
    for name, lines in (("original", original[n]), ("cleaned", cleaned[n])):
        with open(f"{expected}/{name}{n}", "w", encoding="utf-8") as f:
            f.write("\n".join(lines))
    with open(f"{expected}/text{n}", "w", encoding="utf-8", newline="") as f:
        f.write("\r\n".join(original[n]) + "\r\n")
# Members and ordering as another reader writes them.
json.dump([{"id": 31, "name": "去水印", "group": "正文", "pattern": "【顶点】", "replacement": "",
            "isRegex": False, "scope": "", "isEnabled": True, "order": 2, "scopeTitle": False,
            "scopeContent": True},
           {"id": 30, "name": "去广告", "group": "正文",
            "pattern": r"^(天才一秒记住本站地址：.*|本章未完，请点击下一页继续阅读|（本章完）)\r?\n",
            "replacement": "", "isRegex": True, "scope": "", "isEnabled": True, "order": 1,
            "scopeTitle": False, "scopeContent": True, "timeoutMillisecond": 3000}],
          open(rules, "w", encoding="utf-8"), ensure_ascii=False, indent=2)
PY
# Chapter 1 of the only book: item 0 is its first line.
write_settings "Config|路径|$books/" "Config|书|0" "Config|章|1"

expect_pane() { # EXPECTED_NAME WHAT
  local shown
  shown=$(pane_text)
  [ "$shown" = "$(cat "$expected/$1")" ] && return 0
  diff <(printf '%s\n' "$shown") "$expected/$1" | head -n 20 >&2 || true
  fail "$2: the pane differs from $1 as shown above"
}
# The line of chapter N's own text (CR LF kept) that starts at POSITION, in
# UTF-16 units as the reader counts them; nothing when no line starts there.
line_at() { # N POSITION
  python3 -c '
import sys
text = open(sys.argv[1], encoding="utf-8", newline="").read()
at = int(sys.argv[2])
if 0 < at < len(text) and text[at - 1] == "\n":
    print(text[at:].split("\r\n", 1)[0])' "$expected/text$1" "$2"
}
# Waits until books.db holds a chapter and position for the book other than
# PLACE ("chapter|position"), and prints them.
wait_for_other_place() { # PLACE
  local place
  for _ in $(seq 100); do
    place=$(book_record "chapter, position" s.txt)
    [ -n "$place" ] && [ "$place" != "$1" ] && echo "$place" && return 0
    sleep 0.1
  done
  fail "books.db still holds the place '$1'"
}
# Chooses 阅读 > 显示原文, the eleventh item of the menu two to the right of 文件.
toggle_original() {
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$WINDOW_ID")"
  xdotool mousemove $((X + 15)) $((Y + 10)) click 1
  wait_for_menu
  xdotool key --delay 30 Right Right Down Down Down Down Down Down Down Down Down Down Return
}
wait_for_original_stored() { # 1|0
  for _ in $(seq 100); do
    [ "$(book_store "SELECT count(*) FROM shown_original")" = "$1" ] && return 0
    sleep 0.1
  done
  fail "books.db's shown_original does not hold $1 book"
}

echo "case: the rules imported through the window clean the pane"
start_program
expect_pane original1 "before any rule"
pane_keys ctrl+r
dialog=$(wait_for_window '^净化规则$') || fail "Ctrl+R opened no rules window"
# Keys go to the window under the pointer.
xdotool mousemove --window "$dialog" 380 300 key alt+i
chooser=$(wait_for_window '^导入净化规则$') || fail "导入… opened no file chooser"
# The path pasted: a typed one may lose a key to the completion popup.
printf '%s' "$E2E_DIR/rules.json" | xclip -selection clipboard >/dev/null 2>&1
xdotool mousemove --window "$chooser" 100 100 key ctrl+v
xdotool key Return
for _ in $(seq 100); do
  xdotool search --onlyvisible --name '^导入净化规则$' >/dev/null || break
  sleep 0.05
done
xdotool search --onlyvisible --name '^导入净化规则$' >/dev/null && fail "the file chooser did not take the path"
# 确定 is the window's default button.
xdotool mousemove --window "$dialog" 380 300 key Return
for _ in $(seq 100); do
  [ "$(book_store "SELECT count(*) FROM cleanup_rules")" = 2 ] && break
  sleep 0.1
done
[ "$(book_store "SELECT group_concat(name, ' ') FROM (SELECT name FROM cleanup_rules ORDER BY position)")" = "去广告 去水印" ] ||
  fail "the imported rules were not kept: $(book_store "SELECT * FROM cleanup_rules")"
expect_pane cleaned1 "with the imported rules"

echo "case: a place read to is kept in the book's own text"
pane_keys Right
chapter_start=$(wait_for_other_place "$(book_record "chapter, position" s.txt)")
[ "$chapter_start" = "2|0" ] || fail "→ showed chapter 2 at $chapter_start"
pane_keys Page_Down Page_Down Down Down Down
place=$(wait_for_other_place "$chapter_start")
chapter=${place%|*}
position=${place#*|}
[ "$chapter" = 2 ] || fail "read on in chapter $chapter, not 2"
top=$(line_at 2 "$position")
[ -n "$top" ] && grep -qxF -- "${top//【顶点】/}" "$expected/cleaned2" ||
  fail "the place $position is no line the rules keep in chapter 2 ('$top')"
toggle_original
wait_for_original_stored 1
expect_pane original2 "显示原文 on"
exit_through_menu
expect_exit_code 0
[ "$(setting 章)" = 2 ] || fail "config.ini keeps chapter $(setting 章), not 2"
[ "$(book_record "chapter, position" s.txt)" = "$place" ] ||
  fail "with 显示原文 the place became $(book_record "chapter, position" s.txt), not $place"

echo "case: after a restart the original from the same place, and the rules again"
start_program
expect_pane original2 "显示原文 after a restart"
[ "$(book_record "chapter, position" s.txt)" = "$place" ] ||
  fail "after a restart the place is $(book_record "chapter, position" s.txt), not $place"
toggle_original
wait_for_original_stored 0
expect_pane cleaned2 "显示原文 off"
exit_through_menu
expect_exit_code 0
[ "$(setting 章)" = 2 ] || fail "config.ini keeps chapter $(setting 章), not 2"
[ "$(book_record "chapter, position" s.txt)" = "$place" ] ||
  fail "with the rules again the place became $(book_record "chapter, position" s.txt), not $place"
echo "PASS: cleanup_rules"
