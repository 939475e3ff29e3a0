#!/usr/bin/env bash
# Whatever a settings file holds, the reader starts, shows what it can, ends
# normally and writes back values it can use: a font size of 1 to 512 points,
# colours of 0 to 16777215, a book of the list and a chapter of that book
# (or -1 for none), a line of 0 or more.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/settings_checks.sh"
start_display
install_program
make_library
long=$(python3 -c 'print("长" * 10000)')

# run_with NAME PANE BOOKS CHAPTERS SETTING...: starts the reader on those
# settings, expects PANE in the reading pane ("guide": the first-start guide
# of a reader without books; "missing": the notice of a book folder that is
# not there), and after the exit expects 书
# within the BOOKS listed and 章 within the CHAPTERS of the open book. With
# BOOKS "kept" the remembered book could not be reopened (its folder is not
# there): then 路径, 书, 章 and 行 must come back exactly as they were.
run_with() {
  local name=$1 pane=$2 book_count=$3 chapter_count=$4
  shift 4
  echo "case: $name"
  write_settings "$@"
  local remembered
  remembered=$(for key in 路径 书 章 行; do echo "$key=$(setting "$key")"; done)
  start_program
  if [ "$pane" = guide ]; then
    [[ "$(pane_text)" == *'文件 → 打开文件'* ]] || fail "the pane does not show the guide"
  elif [ "$pane" = missing ]; then
    [[ "$(pane_text)" == *'找不到书籍文件夹'* ]] || fail "the pane does not say that the folder is missing"
  else
    [ "$(pane_text)" = "$pane" ] || fail "the pane shows '$(pane_text | head -c 80)'"
  fi
  expect_no_other_windows
  exit_through_menu
  expect_exit_code 0
  expect_complete_settings >/dev/null
  expect_setting_within 字体大小 1 512
  expect_setting_within 文本颜色 0 16777215
  expect_setting_within 背景颜色 0 16777215
  if [ "$book_count" = kept ]; then
    [ "$(for key in 路径 书 章 行; do echo "$key=$(setting "$key")"; done)" = "$remembered" ] ||
      fail "the place that could not be reopened was not kept"
    return
  fi
  expect_setting_within 书 -1 $((book_count - 1))
  expect_setting_within 章 -1 $((chapter_count - 1))
  expect_setting_within 行 0 2147483647
}

# Text that is no number reads as 0: the first book at its start.
run_with "no numbers" "a书" 3 9 \
  "Config|路径|$books/" "Config|书|abc" "Config|章|第三" "Config|行|--7" \
  "字体|字体|没有这种字体" "字体|字体大小|big" "字体|文本颜色|red" "字体|背景颜色|#ffffff"
# A size or colour that is no number is not applied: the designed look stays,
# not black text on a black page.
[ "$(setting 字体大小)" = 12 ] || fail "字体大小 is $(setting 字体大小), not the designed 12"
[ "$(setting 背景颜色)" = 16777215 ] || fail "背景颜色 is $(setting 背景颜色), not the designed white"

# So does a number too big for 32 bits; a font size that is one gets capped.
run_with "huge numbers" "a书" 3 9 \
  "Config|路径|$books/" "Config|书|99999999999999999999" "Config|章|99999999999999999999" \
  "Config|行|99999999999999999999" "字体|字体|Noto Serif CJK SC" "字体|字体大小|100000" \
  "字体|文本颜色|4294967296" "字体|背景颜色|-5"
[ "$(setting 字体大小)" = 512 ] || fail "字体大小 is $(setting 字体大小), not capped at 512"

run_with "numbers beyond the lists" "b书" 3 9 \
  "Config|路径|$books/" "Config|书|1" "Config|章|1000" "Config|行|2147483647" \
  "字体|字体|Noto Serif CJK SC" "字体|字体大小|0" "字体|文本颜色|16777216" "字体|背景颜色|2147483647"
[ "$(setting 书)" = 1 ] || fail "书 is $(setting 书): b.txt was not opened"

run_with "negative numbers" "" 3 0 \
  "Config|路径|$books/" "Config|书|-7" "Config|章|-3" "Config|行|-100" \
  "字体|字体|Noto Serif CJK SC" "字体|字体大小|-2147483648" "字体|文本颜色|-1" "字体|背景颜色|-2147483648"

run_with "a book folder that is a file" missing kept 0 \
  "Config|路径|$books/a.txt" "Config|书|0" "Config|章|1" "Config|行|0" \
  "字体|字体|Noto Serif CJK SC" "字体|字体大小|15" "字体|文本颜色|0" "字体|背景颜色|16777215"

run_with "a book folder that does not exist" missing kept 0 \
  "Config|路径|$E2E_DIR/nowhere/" "Config|书|0" "Config|章|1" "Config|行|0" \
  "字体|字体|Noto Serif CJK SC" "字体|字体大小|15" "字体|文本颜色|0" "字体|背景颜色|16777215"

run_with "very long texts" missing kept 0 \
  "Config|路径|$long" "Config|书|0" "Config|章|1" "Config|行|$long" \
  "字体|字体|$long" "字体|字体大小|$long" "字体|文本颜色|$long" "字体|背景颜色|$long"
[ "$(setting 背景颜色)" = 16777215 ] || fail "背景颜色 is $(setting 背景颜色), not the designed white"
echo "PASS: settings_garbage"
