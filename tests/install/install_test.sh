#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the tree and the desktop
# files, then starts the installed launcher for an account that cannot write
# the installed folders: a word changed in the settings dialog must land in
# that account's own copy, and the installed word list must stay as it was.
# Last, the launcher is given a poster, as the menu entry's %f gives it.
#   install_test.sh SOURCE_DIR BUILD_DIR DRIVER_PLUGIN APP_ID
set -euo pipefail
src="$1" build="$2" plugin="$3" id="$4"

tmp="$(mktemp -d)"
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
fail() { echo "FAIL: $*" >&2; exit 1; }

# A build for the system's own folders (a Debian package's: sysconfdir /etc)
# installs below a DESTDIR at its own prefix; any other into a prefix of ours,
# with a space in it.
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
sysconf="$(cached CMAKE_INSTALL_SYSCONFDIR)"
if [[ "$sysconf" = /* ]]; then
  dest="$tmp/dest"
  prefix="$(cached CMAKE_INSTALL_PREFIX)"
  words="$dest$sysconf/pastelboard"
else
  dest=""
  prefix="$tmp/prefix with space"
  words="$prefix/${sysconf:-etc}/pastelboard"
fi
tree="$dest$prefix"
exec="$prefix/bin/pastelboard"
[[ "$exec" != *" "* ]] || exec="\"$exec\""

# Every rule is in the default component; naming it keeps build/install_manifest.txt,
# the list of a real install, as it was.
install() { DESTDIR="$dest" cmake --install "$build" --prefix "$prefix" --component Unspecified; }

app="$tree/lib/pastelboard"
# An earlier install kept the teacher's words beside the program: they move
# to the configuration folder.
mkdir -p "$app"
sqlite3 "$app/pastel.mdb" < "$src/data/pastel_template.sql"
sqlite3 "$app/pastel.mdb" "UPDATE 所属テーブル SET moji1 = 'せんせい'"
install >"$tmp/install.log" || { cat "$tmp/install.log"; fail "cmake --install"; }
[ ! -e "$app/pastel.mdb" ] || fail "the word list stayed beside the program"
[ "$(sqlite3 "$words/pastel.mdb" 'SELECT moji1 FROM 所属テーブル')" = "せんせい" ] \
  || fail "the teacher's words did not move to $words"

for f in "$app/pastelboard" "$tree/bin/pastelboard"; do
  [ -x "$f" ] || fail "$f is not an installed program"
done
for f in "$words/pastel.mdb" "$tree/share/applications/$id.desktop" \
         "$tree/share/metainfo/$id.metainfo.xml" "$tree/share/mime/packages/$id.xml" \
         "$tree/share/man/man1/pastelboard.1" \
         "$tree/share/icons/hicolor/scalable/apps/$id.svg"; do
  [ -f "$f" ] || fail "missing $f"
done
for size in 48 64 96 128 256; do
  png="$tree/share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ -f "$png" ] || fail "missing $png"
  # The PNG header holds width and height as big-endian words at 16 and 20.
  dims="$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')"
  [ "$dims" = "${size}x${size}" ] || fail "$png is $dims"
done
grep -qx "Exec=$exec %f" "$tree/share/applications/$id.desktop" \
  || fail "Exec line: $(grep ^Exec= "$tree/share/applications/$id.desktop")"
grep -qx "MimeType=application/x-pastelboard-poster;" "$tree/share/applications/$id.desktop" \
  || fail "the menu entry does not take posters"

thumbnailer="$tree/share/thumbnailers/$id.thumbnailer"
grep -qx "Exec=$exec --thumbnail %i %o %s" "$thumbnailer" \
  || fail "thumbnailer Exec line: $(grep ^Exec= "$thumbnailer")"
grep -qx "MimeType=application/x-pastelboard-poster;" "$thumbnailer" \
  || fail "the thumbnailer does not take posters"
desktop-file-validate "$tree/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$tree/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

# Installing again keeps the installed word list: it holds the teacher's words.
sqlite3 "$words/pastel.mdb" "UPDATE 所属テーブル SET moji2 = 'がっこう'"
install >"$tmp/install.log"
[ "$(sqlite3 "$words/pastel.mdb" 'SELECT moji2 FROM 所属テーブル')" = "がっこう" ] \
  || fail "a second install replaced the word list"

# A child's account: the installed folders are read-only to it.
source "$(dirname "${BASH_SOURCE[0]}")/run_as_child.sh"
child_setup "$tmp" "$plugin"
home="$tmp/home"
chmod -R a-w "$app" "$words"
cp "$words/pastel.mdb" "$tmp/installed-before.mdb"
export PASTEL_DRIVER_WORD="かえる"
run_as_child "$tmp" "$tmp/driver.out" "$tree/bin/pastelboard" || fail "the settings run"
grep -qx "settings-title=設定" "$tmp/driver.out" || fail "settings title"
grep -qx "palette-title=いろ" "$tmp/driver.out" || fail "palette title"
grep -qx "message-title=確認" "$tmp/driver.out" || fail "message box title"
grep -qx "icon-sizes=2" "$tmp/driver.out" || fail "the window icon"
grep -qx "desktop-file=$id" "$tmp/driver.out" || fail "the desktop file name"
[ "$(sed -n 's/^display-name=//p' "$tmp/driver.out")" = "$(sed -n 's/^application-name=//p' "$tmp/driver.out")" ] \
  || fail "a display name would be appended to every window title"

mine="$home/.local/share/pastelboard/pastel.mdb"
[ -f "$mine" ] || fail "no word list in $mine"
[ "$(sqlite3 "$mine" 'SELECT moji3 FROM 所属テーブル')" = "かえる" ] || fail "changed word not in $mine"
[ "$(sqlite3 "$mine" 'SELECT moji1 FROM 所属テーブル')" = "せんせい" ] || fail "copy did not start from the installed list"
cmp "$words/pastel.mdb" "$tmp/installed-before.mdb" || fail "the installed pastel.mdb changed"
[ -z "$(ls -A "$app" | grep -v -x -e pastelboard)" ] || fail "files written into $app: $(ls -A "$app")"
[ -z "$(ls -A "$words" | grep -v -x -e pastel.mdb)" ] || fail "files written into $words: $(ls -A "$words")"

# The menu entry's %f: a poster given to the launcher opens once the program
# has started, with the account's own words in the settings dialog.
posters="$tmp/ぼくの ポスター"
mkdir -p "$posters"
cp "$tmp/installed-before.mdb" "$posters/なつ.mdb"
sqlite3 "$posters/なつ.mdb" "UPDATE textdata SET tex9L = '6000', tex9T = '6000', tex9F = 'すいか'"
chmod -R a+rX "$posters"
PASTEL_DRIVER_MODE=look run_as_child "$tmp" "$tmp/open.out" "$tree/bin/pastelboard" "$posters/なつ.mdb" \
  || fail "the run with a poster"
grep -qx "settings-word1=せんせい" "$tmp/open.out" || fail "the settings dialog's words"
grep -qx "step-title=４．しあげ／ほぞんします" "$tmp/open.out" || fail "the poster did not open"
grep -qx "words=すいか" "$tmp/open.out" || fail "the poster's word"
! grep -q "^message-" "$tmp/open.out" || fail "a message came with a good poster"
echo "install test passed"
