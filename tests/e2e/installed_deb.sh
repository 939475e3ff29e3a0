#!/usr/bin/env bash
# The Debian package made from the build tree holds the program, its desktop
# entry, its metainfo and its icons, declares what it needs, and the program
# it installs starts and exits through its menu with exit code 0.
source "$(dirname "$0")/lib.sh"
build="${FOLIVAR_BUILD_DIR:?FOLIVAR_BUILD_DIR must name the build tree}"
id="${FOLIVAR_APP_ID:?FOLIVAR_APP_ID must name the application id}"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$E2E_DIR/package" >"$E2E_DIR/cpack.log" 2>&1 ||
  { cat "$E2E_DIR/cpack.log" >&2; fail "cpack could not make the package"; }
debs=("$E2E_DIR"/package/*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one package, found: ${debs[*]}"
deb=${debs[0]}
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(basename "$deb")" = "folivar_$(field Version)_$(dpkg --print-architecture).deb" ] ||
  fail "unexpected package name $(basename "$deb")"
grep -qE '(^|, )libqt6widgets6( |,|$)' <<<"$(field Depends)" || fail "Depends lacks Qt Widgets: $(field Depends)"
grep -qE '(^|, )libqt6sql6-sqlite( |,|$)' <<<"$(field Depends)" || fail "Depends lacks Qt's SQLite driver: $(field Depends)"
grep -qE '(^|, )libqt6texttospeech6( |,|$)' <<<"$(field Depends)" || fail "Depends lacks Qt TextToSpeech: $(field Depends)"
grep -qE '(^|, )libqt6keychain1( |,|$)' <<<"$(field Depends)" || fail "Depends lacks QtKeychain: $(field Depends)"
[ "$(field Recommends)" = "libopencc-data, fonts-noto-cjk, qt6-wayland, qt6-speech-speechd-plugin, speech-dispatcher" ] ||
  fail "Recommends is '$(field Recommends)'"

root="$E2E_DIR/root"
dpkg -x "$deb" "$root"
share="$root/usr/share"
desktop="$share/applications/$id.desktop"
[ -f "$desktop" ] || fail "no desktop file at $desktop"
[ -f "$share/metainfo/$id.metainfo.xml" ] || fail "no metainfo file"
# Also finds the desktop file the metainfo names as its launchable.
appstreamcli validate-tree --no-net "$root" >"$E2E_DIR/appstream.log" 2>&1 ||
  { cat "$E2E_DIR/appstream.log" >&2; fail "the installed tree does not validate"; }
entry() { sed -n "s/^$1=//p" "$desktop"; }
# Open With on a .txt file starts the program with that one file.
program=$(entry Exec | cut -d ' ' -f 1)
[ "$(entry Exec)" = "$program %f" ] && [ "$(entry MimeType)" = "text/plain;" ] ||
  fail "the desktop file does not open text files: Exec=$(entry Exec) MimeType=$(entry MimeType)"
[ -x "$root/usr/bin/$program" ] || fail "the desktop file starts '$program', which is not installed"
for rendering in 32x32:32x32 32x32@2:64x64 64x64:64x64 256x256:256x256; do
  icon="$share/icons/hicolor/${rendering%%:*}/apps/$(entry Icon).png"
  [ -f "$icon" ] || fail "no icon at $icon"
  size=$(identify -format '%wx%h' "$icon")
  [ "$size" = "${rendering#*:}" ] || fail "$icon is $size"
done

# The installed program, with a home of its own so nothing outside the
# scratch folder is read or written. Its folder is read-only, as /usr/bin is
# for a user, so it keeps its settings in the user's config folder and
# remembers the place across restarts.
export HOME="$E2E_DIR/home" XDG_CONFIG_HOME="$E2E_DIR/home/.config" XDG_DATA_HOME="$E2E_DIR/home/.local/share"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
chmod a-w "$root/usr/bin"
python3 "$(dirname "$0")/make_library.py" "$HOME/book"
start_display
start_program "$root/usr/bin/$program"
exit_through_menu
expect_exit_code 0
settings="$XDG_CONFIG_HOME/folivar/config.ini"
[ -f "$settings" ] || fail "no settings in $settings"
[ ! -e "$root/usr/bin/config.ini" ] || fail "settings were written beside the installed program"
printf '[Config]\r\n路径=%s/book/\r\n书=1\r\n章=4\r\n行=6\r\n' "$HOME" | iconv -f UTF-8 -t GB18030 >"$settings"
start_program "$root/usr/bin/$program"
exit_through_menu
expect_exit_code 0
value() { iconv -f GB18030 -t UTF-8 "$settings" | tr -d '\r' | sed -n "s/^$1=//p"; }
[ "$(value 书)-$(value 章)-$(value 行)" = "1-4-6" ] || fail "the place was not kept: $(value 书)-$(value 章)-$(value 行)"
chmod u+w "$root/usr/bin"
echo "PASS: installed_deb ($(basename "$deb"))"
