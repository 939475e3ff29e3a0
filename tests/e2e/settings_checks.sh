# Checks shared by the tests of what the reader leaves in its settings file
# and on screen when things go wrong around it. Sourced after lib.sh.

E2E_TOOLS="$(dirname "${BASH_SOURCE[0]}")"

# Prints the values shutdown writes as "key=value" lines; fails unless the
# file is GB18030 text holding each key once.
expect_complete_settings() { # [FILE]
  python3 "$E2E_TOOLS/settings_file.py" complete "${1:-$E2E_DIR/app/config.ini}" ||
    fail "${1:-config.ini} is not a complete settings file"
}

# Fails unless the value of KEY lies in MIN..MAX (a whole number).
expect_setting_within() { # KEY MIN MAX
  local value
  value=$(setting "$1")
  [[ "$value" =~ ^-?[0-9]+$ ]] || fail "$1 is '$value', not a number"
  [ "$value" -ge "$2" ] && [ "$value" -le "$3" ] || fail "$1 is $value, outside $2..$3"
}

# The reader shows no message box or other window besides its own.
expect_no_other_windows() {
  local window
  for window in $(xdotool search --onlyvisible --name '.'); do
    [ "$(xdotool getwindowname "$window")" = Folivar ] ||
      fail "a window named '$(xdotool getwindowname "$window")' appeared"
  done
}

# Chapter N of a generated book as the pane shows it: from its heading up to
# the next heading.
chapter_text() { # BOOK_FILE N
  iconv -f GB18030 -t UTF-8 "$1" | tr -d '\r' |
    awk -v from="^第$2章" -v to="^第$(($2 + 1))章" '$0 ~ from { on = 1 } $0 ~ to { on = 0 } on'
}

# Asks the windows to close, all at once, as a task bar does.
request_close() { # WINDOW...
  python3 "$E2E_TOOLS/close_windows.py" "$@" || fail "could not send the close requests"
}

# Keys pressed in a window of the reader's own: a click at its top (the
# find window's field, the bookmarks' summary line) makes it the active one.
keys_in() { # WINDOW_NAME KEY...
  local window
  window=$(wait_for_window "^$1\$") || fail "no window $1"
  shift
  xdotool mousemove --window "$window" 60 20 click 1 key --delay 20 "$@"
}
# Closes a window of the reader's own the way a window manager does.
close_window() { # WINDOW_NAME
  local window
  window=$(xdotool search --onlyvisible --name "^$1\$" | head -n 1)
  request_close "$window"
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null || return 0
    sleep 0.05
  done
  fail "the window $1 did not close"
}
