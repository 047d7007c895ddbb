#!/usr/bin/env bash
# Builds the Debian package of パステルボード from this tree and leaves
# pastelboard_VERSION_ARCH.deb in dist/, checked by lintian. Installs with
# apt-get what is missing: the packaging and checking tools and the build
# dependencies that debian/control declares. Works as root or with sudo.
#   tools/build_deb.sh           # the package
#   tools/build_deb.sh --check   # the package, with the test suites built and run in it
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DIST="$ROOT/dist"

check=0
case "${1:-}" in
  "") ;;
  --check) check=1 ;;
  *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac
profiles=(-Pnocheck)
options="nocheck parallel=$(nproc)"
if [ "$check" -eq 1 ]; then
  profiles=()
  options="parallel=$(nproc)"
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
updated=0
apt_install() {
  [ "$updated" -eq 1 ] || { $sudo apt-get update -qq; updated=1; }
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@"
}

# Tools to build and check the package (the last five for its test).
TOOLS=(dpkg-dev debhelper lintian sqlite3 shared-mime-info desktop-file-utils appstream xdg-utils)
missing=()
for p in "${TOOLS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] || { echo "Installing: ${missing[*]}"; apt_install "${missing[@]}"; }

if ! (cd "$ROOT" && dpkg-checkbuilddeps "${profiles[@]}" 2>/dev/null); then
  echo "Installing the build dependencies of debian/control"
  [ "$updated" -eq 1 ] || { $sudo apt-get update -qq; updated=1; }
  DEBIAN_FRONTEND=noninteractive $sudo apt-get build-dep -y -qq --no-install-recommends \
    "${profiles[@]}" "$ROOT"
fi

# Built in a copy, so that the tree keeps no trace of it; the copy leaves out
# build folders and earlier packages.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/pastelboard"
tar -C "$ROOT" --exclude=./.git --exclude='./build' --exclude='./build-*' --exclude=./dist \
  --exclude='./obj-*' -cf - . | tar -C "$work/pastelboard" -xf -
(cd "$work/pastelboard" &&
  DEB_BUILD_OPTIONS="$options" dpkg-buildpackage -us -uc -b "${profiles[@]}")

mkdir -p "$DIST"
rm -f "$DIST"/pastelboard_* "$DIST"/pastelboard-dbgsym_*
shopt -s nullglob
mv "$work"/pastelboard_* "$work"/pastelboard-dbgsym_* "$DIST"/
deb=("$DIST"/pastelboard_*.deb)
[ ${#deb[@]} -eq 1 ] || { echo "no package was built" >&2; exit 1; }
echo "lintian:"
lintian --fail-on error,warning --info "$DIST"/pastelboard_*.changes
echo "Built $deb"
echo "Install it on each machine with: sudo apt install ./$(basename "$deb")"
