# Shared by run.sh and test.sh: install what is missing, then build.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"
SANITIZED_BUILD="$ROOT/build-asan"

PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-translations-l10n
  qt6-base-private-dev  # tests queue input through Qt's platform interface
  libwmf-dev libexpat1-dev libjpeg-dev libpng-dev  # libwmf's pkg-config links these
  libexif-dev
  libheif-dev libheif-examples  # HEIC photos; heif-enc writes HEIC for trying things by hand
  qt6-image-formats-plugins  # WebP and TIFF
  libanthy-dev libsqlite3-dev sqlite3
  fonts-ipafont-gothic fonts-urw-base35
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
  desktop-file-utils appstream  # the install test checks the menu entry and metainfo
  poppler-utils  # pdftoppm: tests read printed pages back as pictures
)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
  if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  fi
  cmake --build "$BUILD" -j"$(nproc)"
}

# The same program and tests with AddressSanitizer and UBSan.
build_sanitized() {
  if [ ! -f "$SANITIZED_BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$SANITIZED_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPASTEL_SANITIZE=ON
  fi
  cmake --build "$SANITIZED_BUILD" -j"$(nproc)"
}
