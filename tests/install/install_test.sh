#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks the tree and the desktop
# files, then starts the installed launcher for an account that cannot write
# the installed folder: a word changed in the settings dialog must land in
# that account's own copy, and the installed word list must stay as it was.
#   install_test.sh BUILD_DIR DRIVER_PLUGIN APP_ID
set -euo pipefail
build="$1" plugin="$2" id="$3"

tmp="$(mktemp -d)"
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
prefix="$tmp/prefix with space"
fail() { echo "FAIL: $*" >&2; exit 1; }

# Every rule is in the default component; naming it keeps build/install_manifest.txt,
# the list of a real install, as it was.
install() { cmake --install "$build" --prefix "$prefix" --component Unspecified; }
install >"$tmp/install.log" || { cat "$tmp/install.log"; fail "cmake --install"; }

app="$prefix/lib/pastelboard"
for f in "$app/pastelboard" "$prefix/bin/pastelboard"; do
  [ -x "$f" ] || fail "$f is not an installed program"
done
for f in "$app/pastel.mdb" "$prefix/share/applications/$id.desktop" \
         "$prefix/share/metainfo/$id.metainfo.xml" \
         "$prefix/share/icons/hicolor/scalable/apps/$id.svg"; do
  [ -f "$f" ] || fail "missing $f"
done
for size in 48 64 96 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
  [ -f "$png" ] || fail "missing $png"
  # The PNG header holds width and height as big-endian words at 16 and 20.
  dims="$(od -An -tu1 -j16 -N8 "$png" | awk '{print $3*256+$4 "x" $7*256+$8}')"
  [ "$dims" = "${size}x${size}" ] || fail "$png is $dims"
done
sqlite3 "$app/pastel.mdb" 'SELECT count(*) FROM 所属テーブル' >/dev/null || fail "installed pastel.mdb unusable"
grep -qx "Exec=\"$prefix/bin/pastelboard\"" "$prefix/share/applications/$id.desktop" \
  || fail "Exec line: $(grep ^Exec= "$prefix/share/applications/$id.desktop")"

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

# Installing again keeps the installed word list: it holds the teacher's words.
sqlite3 "$app/pastel.mdb" "UPDATE 所属テーブル SET moji1 = 'せんせい'"
install >"$tmp/install.log"
[ "$(sqlite3 "$app/pastel.mdb" 'SELECT moji1 FROM 所属テーブル')" = "せんせい" ] \
  || fail "a second install replaced the word list"

# A child's account: the installed folder is read-only to it.
home="$tmp/home"
mkdir -p "$home" "$tmp/plugins/generic"
cp "$plugin" "$tmp/plugins/generic/"
chmod -R a-w "$app"
cp "$app/pastel.mdb" "$tmp/installed-before.mdb"
as_child=()
if [ "$(id -u)" -eq 0 ]; then
  # root writes anywhere; a plain account is what a child has.
  chown nobody "$home"
  chmod -R a+rX "$tmp/plugins"
  as_child=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi
word="かえる"
rm -f "$tmp/driver.out"
touch "$tmp/driver.out" && chmod 666 "$tmp/driver.out"
(cd "$home" && env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen \
   QT_PLUGIN_PATH="$tmp/plugins" QT_QPA_GENERIC_PLUGINS=pastel_driver \
   PASTEL_DRIVER_OUT="$tmp/driver.out" PASTEL_DRIVER_WORD="$word" \
   timeout 60 "${as_child[@]}" "$prefix/bin/pastelboard") >"$tmp/run.log" 2>&1 \
  || { cat "$tmp/run.log" "$tmp/driver.out"; fail "the installed program did not finish its run"; }
cat "$tmp/driver.out"
grep -qx "error=" "$tmp/driver.out" || fail "driver"
grep -qx "settings-title=設定" "$tmp/driver.out" || fail "settings title"
grep -qx "palette-title=いろ" "$tmp/driver.out" || fail "palette title"
grep -qx "message-title=確認" "$tmp/driver.out" || fail "message box title"
grep -qx "icon-sizes=2" "$tmp/driver.out" || fail "the window icon"
grep -qx "desktop-file=$id" "$tmp/driver.out" || fail "the desktop file name"
[ "$(sed -n 's/^display-name=//p' "$tmp/driver.out")" = "$(sed -n 's/^application-name=//p' "$tmp/driver.out")" ] \
  || fail "a display name would be appended to every window title"

mine="$home/.local/share/pastelboard/pastel.mdb"
[ -f "$mine" ] || fail "no word list in $mine"
[ "$(sqlite3 "$mine" 'SELECT moji3 FROM 所属テーブル')" = "$word" ] || fail "changed word not in $mine"
[ "$(sqlite3 "$mine" 'SELECT moji1 FROM 所属テーブル')" = "せんせい" ] || fail "copy did not start from the installed list"
cmp "$app/pastel.mdb" "$tmp/installed-before.mdb" || fail "the installed pastel.mdb changed"
[ -z "$(ls -A "$app" | grep -v -x -e pastelboard -e pastel.mdb)" ] || fail "files written into $app: $(ls -A "$app")"
echo "install test passed"
