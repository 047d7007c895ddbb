#!/usr/bin/env bash
# Checks the Debian package tools/build_deb.sh left in dist/, without root and
# without installing it: the package's data, its files unpacked with
# dpkg-deb -x, the poster file type as file managers see it, and the unpacked
# program started offscreen for a child's account, finding the word list
# under the unpacked etc/ folder. Exits 77 (skipped) when no package was built.
#   deb_test.sh DIST_DIR DRIVER_PLUGIN MIME_TYPE_OF APP_ID
set -euo pipefail
dist="$1" plugin="$2" mime_type_of="$3" id="$4"

deb="$(ls -t "$dist"/pastelboard_*.deb 2>/dev/null | head -n 1 || true)"
if [ -z "$deb" ]; then
  echo "no package in $dist: tools/build_deb.sh builds one"
  exit 77
fi
echo "checking $deb"
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in dpkg-deb sqlite3 update-mime-database update-desktop-database xdg-mime \
            desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || fail "$tool is missing (tools/build_deb.sh installs it)"
done

tmp="$(mktemp -d)"
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
chmod 755 "$tmp"

# What apt brings along, and the word list as the one configuration file.
depends="$(dpkg-deb -f "$deb" Depends)"
for p in fonts-ipafont-gothic fonts-urw-base35 qt6-translations-l10n libqt6widgets6 \
         libqt6printsupport6 libsqlite3-0 libanthy1 libexif12 libwmf-0.2-7; do
  grep -qE "(^|, )$p( |,|$)" <<<"$depends" || fail "Depends lacks $p: $depends"
done
[ "$(dpkg-deb --ctrl-tarfile "$deb" | tar -xOf - ./conffiles)" = "/etc/pastelboard/pastel.mdb" ] \
  || fail "conffiles: $(dpkg-deb --ctrl-tarfile "$deb" | tar -xOf - ./conffiles)"

root="$tmp/root"
dpkg-deb -x "$deb" "$root"
[ -x "$root/usr/lib/pastelboard/pastelboard" ] || fail "no program in /usr/lib/pastelboard"
[ -x "$root/usr/bin/pastelboard" ] || fail "no launcher in /usr/bin"
[ -z "$(ls -A "$root/usr/lib/pastelboard" | grep -v -x pastelboard)" ] \
  || fail "more than the program in /usr/lib/pastelboard: $(ls -A "$root/usr/lib/pastelboard")"
share="$root/usr/share"
for f in "$root/etc/pastelboard/pastel.mdb" "$share/applications/$id.desktop" \
         "$share/metainfo/$id.metainfo.xml" "$share/mime/packages/$id.xml" \
         "$share/icons/hicolor/scalable/apps/$id.svg" "$share/icons/hicolor/48x48/apps/$id.png" \
         "$share/man/man1/pastelboard.1.gz" "$share/doc/pastelboard/copyright"; do
  [ -f "$f" ] || fail "missing ${f#"$root"}"
done
grep -qx "Exec=/usr/bin/pastelboard %f" "$share/applications/$id.desktop" \
  || fail "Exec line: $(grep ^Exec= "$share/applications/$id.desktop")"
grep -qx "Exec=/usr/bin/pastelboard --thumbnail %i %o %s" "$share/thumbnailers/$id.thumbnailer" \
  || fail "no thumbnailer for posters"
desktop-file-validate "$share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

# The file type, in a MIME database built as the package's trigger builds the
# system's: the system's types and the package's together.
xdg="$tmp/xdg"
mkdir -p "$xdg/mime/packages" "$xdg/applications"
cp /usr/share/mime/packages/*.xml "$share/mime/packages/$id.xml" "$xdg/mime/packages/"
update-mime-database "$xdg/mime" >/dev/null 2>&1 || fail "update-mime-database"
cp "$share/applications/$id.desktop" "$xdg/applications/"
update-desktop-database "$xdg/applications"
files="$tmp/files"
mkdir -p "$files"
cp "$root/etc/pastelboard/pastel.mdb" "$files/なつ.mdb"       # a saved poster is a copy of it
cp "$root/etc/pastelboard/pastel.mdb" "$files/places"          # SQLite of another name
printf '\000\001\000\000Standard Jet DB\000' >"$files/school.mdb"  # an Access database
head -c 2048 /dev/zero >>"$files/school.mdb"
echo "きょうは はれ" >"$files/にっき.mdb"
expect_type() {  # FILE TYPE
  local qt
  qt="$(XDG_DATA_DIRS="$xdg" "$mime_type_of" "$files/$1")"
  [ "$qt" = "$files/$1: $2" ] || fail "Qt: $qt, not $2"
  # xdg-mime asks gio on GNOME; elsewhere without a desktop it asks file(1),
  # which knows nothing of shared-mime-info.
  if command -v gio >/dev/null; then
    local x
    x="$(XDG_DATA_DIRS="$xdg" XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype "$files/$1")"
    [ "$x" = "$2" ] || fail "xdg-mime query filetype $1: $x, not $2"
  fi
  echo "$1: $2"
}
expect_type なつ.mdb application/x-pastelboard-poster
expect_type school.mdb application/vnd.ms-access
expect_type にっき.mdb application/vnd.ms-access
expect_type places application/vnd.sqlite3
default="$(XDG_DATA_DIRS="$xdg" xdg-mime query default application/x-pastelboard-poster)"
[ "$default" = "$id.desktop" ] || fail "xdg-mime query default: $default"

# The unpacked program, as a child's account: the teacher's words come from
# the unpacked etc/ folder into the account's own copy, and nothing in the
# unpacked tree is written.
sqlite3 "$root/etc/pastelboard/pastel.mdb" "UPDATE 所属テーブル SET moji1 = 'せんせい'"
posters="$tmp/ぼくの ポスター"
mkdir -p "$posters"
cp "$root/etc/pastelboard/pastel.mdb" "$posters/なつ.mdb"
sqlite3 "$posters/なつ.mdb" "UPDATE textdata SET tex9L = '6000', tex9T = '6000', tex9F = 'すいか'"
cp "$files/にっき.mdb" "$posters/"
chmod -R a+rX "$posters"
chmod -R a-w "$root"
before="$(cd "$root" && find . -printf '%p %s %T@\n' | sort | md5sum)"
source "$(dirname "${BASH_SOURCE[0]}")/run_as_child.sh"
child_setup "$tmp" "$plugin"
export PASTEL_DRIVER_MODE=look

run_as_child "$tmp" "$tmp/open.out" "$root/usr/bin/pastelboard" "$posters/なつ.mdb" \
  || fail "the run with a poster"
grep -qx "settings-word1=せんせい" "$tmp/open.out" || fail "the word list under etc/ was not used"
grep -qx "step-title=４．しあげ／ほぞんします" "$tmp/open.out" || fail "the poster did not open"
grep -qx "words=すいか" "$tmp/open.out" || fail "the poster's word"
! grep -q "^message-" "$tmp/open.out" || fail "a message came with a good poster"
mine="$tmp/home/.local/share/pastelboard/pastel.mdb"
[ "$(sqlite3 "$mine" 'SELECT moji1 FROM 所属テーブル')" = "せんせい" ] \
  || fail "the account's copy did not start from the word list under etc/"

run_as_child "$tmp" "$tmp/bad.out" "$root/usr/bin/pastelboard" "$posters/にっき.mdb" \
  || fail "the run with a file that is not a poster"
grep -qx "message-title=ひらく" "$tmp/bad.out" || fail "no opening message"
grep -qx "message-text=この ファイルは ひらけません。" "$tmp/bad.out" || fail "the message's text"
grep -qx "step-title=１．かみのいろを きめます" "$tmp/bad.out" || fail "the window left step 1"
grep -qx "window-enabled=1" "$tmp/bad.out" || fail "the program did not go on"

[ "$(cd "$root" && find . -printf '%p %s %T@\n' | sort | md5sum)" = "$before" ] \
  || fail "the program wrote into the unpacked tree"
echo "package test passed"
