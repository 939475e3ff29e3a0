#!/usr/bin/env bash
# 朗读 with the real speech service: F5 reads a book of two short chapters
# aloud from the first visible line, sentence after sentence, on into the
# second chapter, and stops at the book's end; the place is saved there.
# Under a Chinese locale (zh_CN, zh_TW, generated for the test) it reads with
# the Mandarin voice. F5, F5 (暂停, 继续) says the sentence again and reads on,
# and after Esc (停止) F5 reads again. The sound goes to a PulseAudio of the
# test's own with only a null sink, spoken by a speech-dispatcher (espeak-ng)
# of its own, both on a private runtime folder. Where either cannot run here,
# the test says why and is skipped. Without a service to reach, F5 reads
# nothing, the reason is told in Chinese and the reader goes on as before.
source "$(dirname "$0")/lib.sh"

skip() { echo "SKIP: $*"; exit 77; }

export XDG_RUNTIME_DIR="$E2E_DIR/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_display
install_program
books="$E2E_DIR/books"
mkdir -p "$books"
printf '书\r\n第一章 起程\r\n天亮了。他出门了！\r\n第二章 到达\r\n“到了？”她问。\r\n' |
  iconv -f UTF-8 -t GB18030 >"$books/a.txt"
# Its first chapter's second sentence, at 8, takes a few seconds to say.
printf '书\r\n第一章 等待\r\n%s夜深了。\r\n' '山路很长，他走了很久很久，走过了三座桥和七个村子，直到天色完全暗下来，才在一间小店门口停下脚步。' |
  iconv -f UTF-8 -t GB18030 >"$books/b.txt"
write_settings "Config|路径|$books/" "Config|书|0" "Config|章|1"

# Generates a UTF-8 locale from glibc's definitions (Debian's package
# locales) into the test's folder, which LOCPATH names to the reader.
generate_locale() { # NAME
  [ -e "/usr/share/i18n/locales/$1" ] || skip "no definition of the locale $1 (Debian's package locales)"
  localedef -i "$1" -f UTF-8 "$E2E_DIR/locales/$1.UTF-8" >>"$E2E_DIR/localedef.log" 2>&1 ||
    skip "localedef could not generate $1.UTF-8: $(tail -n 1 "$E2E_DIR/localedef.log")"
}
mkdir "$E2E_DIR/locales"
generate_locale zh_CN
generate_locale zh_TW
# Starts the reader under a generated locale (through env: this shell
# itself cannot take it).
start_in_locale() { # NAME
  E2E_LAUNCHER=(env "LC_ALL=$1.UTF-8" "LANG=$1.UTF-8" "LOCPATH=$E2E_DIR/locales")
  start_program
  E2E_LAUNCHER=()
}

echo "case: no speech service to reach, under zh_CN.UTF-8"
SPEECHD_ADDRESS="unix_socket:$E2E_DIR/no-such.sock" start_in_locale zh_CN
pane_keys F5
wait_for_log 'speech unavailable: "朗读不可用：无法连接语音服务 speech-dispatcher"' 60
pane_keys Right
exit_through_menu
expect_exit_code 0
[ "$(setting 章)" = 2 ] || fail "the reader did not go on as before: 章 is $(setting 章)"
grep -q 'reading aloud chapter' "$E2E_LOG" && fail "a sentence was read without a service"
write_settings "Config|路径|$books/" "Config|书|0" "Config|章|1"

for tool in pulseaudio speech-dispatcher spd-say; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
[ -x /usr/lib/speech-dispatcher-modules/sd_espeak-ng ] || skip "speech-dispatcher's espeak-ng module is not installed"

# Waits up to 10 s for a socket to appear.
wait_for_socket() { # PATH
  for _ in $(seq 100); do
    [ -S "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
  -L "module-null-sink sink_name=silence" \
  -L "module-native-protocol-unix auth-anonymous=1 socket=$XDG_RUNTIME_DIR/pulse-native" \
  >"$E2E_DIR/pulseaudio.log" 2>&1 &
E2E_PIDS+=($!)
wait_for_socket "$XDG_RUNTIME_DIR/pulse-native" || skip "PulseAudio did not start: $(tail -n 1 "$E2E_DIR/pulseaudio.log")"
export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse-native"

speech-dispatcher -s -t 0 -c unix_socket -S "$XDG_RUNTIME_DIR/speechd.sock" -L "$E2E_DIR" \
  -P "$E2E_DIR/speechd.pid" >"$E2E_DIR/speechd.out" 2>&1 &
E2E_PIDS+=($!)
wait_for_socket "$XDG_RUNTIME_DIR/speechd.sock" || skip "speech-dispatcher did not start: $(tail -n 1 "$E2E_DIR/speechd.out")"
export SPEECHD_ADDRESS="unix_socket:$XDG_RUNTIME_DIR/speechd.sock"
timeout 30 spd-say -w -l zh "好" || skip "speech-dispatcher cannot speak here (spd-say failed)"


echo "case: F5 reads chapter 1 and goes on into chapter 2 to the book's end"
QT_LOGGING_RULES="folivar.platform.info=true" start_program
pane_keys F5
wait_for_log 'reading aloud chapter 1 sentence at' 60
wait_for_log 'reading aloud chapter 1 sentence at' 60 3
wait_for_log 'reading aloud chapter 2 sentence at' 60 3
wait_for_log 'reading aloud stopped in chapter 2' 60
# Each sentence marked in turn: the positions logged go forward.
positions=$(grep -oE 'chapter 1 sentence at [0-9]+' "$E2E_LOG" | awk '{print $NF}' | tr '\n' ' ')
[ "$positions" = "0 8 12 " ] || fail "chapter 1 was read at positions $positions"
grep -q 'speech unavailable' "$E2E_LOG" && fail "the speech service was reported unavailable"
# espeak-ng files its Mandarin voice under no language Qt knows; it is still
# the one offered first, and so the one reading.
grep -q 'speech voices: QList("Chinese (Mandarin' "$E2E_LOG" || fail "Mandarin is not the voice offered first"
exit_through_menu
expect_exit_code 0
[ "$(setting 章)" = 2 ] || fail "章 is $(setting 章), not the chapter reading ended in"
[ "$(book_record "chapter" "a.txt")" = 2 ] || fail "the store did not keep chapter 2"

# The engine's own default for these locales has no voice (espeak-ng files
# Mandarin under no locale Qt knows); the voice chosen is the Mandarin one.
for locale in zh_CN zh_TW; do
  echo "case: under $locale.UTF-8 F5 reads with the Mandarin voice"
  write_settings "Config|路径|$books/" "Config|书|0" "Config|章|1"
  QT_LOGGING_RULES="folivar.platform.info=true" start_in_locale "$locale"
  pane_keys F5
  # The second sentence begins once the first has been spoken.
  wait_for_log 'reading aloud chapter 1 sentence at 8' 60
  grep -q 'speech unavailable' "$E2E_LOG" && fail "speech was unavailable under $locale"
  grep -q 'speech voices: QList("Chinese (Mandarin' "$E2E_LOG" || fail "Mandarin is not the voice offered first under $locale"
  grep -q 'speaking with "Chinese (Mandarin' "$E2E_LOG" || fail "the voice reading under $locale is not Mandarin"
  exit_through_menu
  expect_exit_code 0
done

echo "case: 暂停 and 继续 say the sentence again and read on; after 停止 F5 reads again"
write_settings "Config|路径|$books/" "Config|书|1" "Config|章|1"
start_program
pane_keys F5
wait_for_log 'reading aloud chapter 1 sentence at 8' 60
xdotool key F5
wait_for_log 'reading aloud paused in chapter 1' 10
xdotool key F5
wait_for_log 'reading aloud chapter 1 sentence at 8' 60 2
# The next sentence begins only once the service has spoken the one before.
wait_for_log 'reading aloud chapter 1 sentence at 56' 60
wait_for_log 'reading aloud stopped in chapter 1' 60
xdotool key F5
wait_for_log 'reading aloud chapter 1 sentence at 8' 60 3
xdotool key Escape
wait_for_log 'reading aloud stopped in chapter 1' 60 2
exit_through_menu
expect_exit_code 0
echo "PASS: read_aloud"
