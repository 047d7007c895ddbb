#!/usr/bin/env bash
# Installs what is missing, builds, and starts パステルボード.
source "$(dirname "${BASH_SOURCE[0]}")/tools/common.sh"
install_missing
build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: start it on a desktop, or without one as: xvfb-run -s '-screen 0 1280x1024x24' ./run.sh" >&2
  exit 1
fi
# The sample pictures are offered by the settings dialog on a first run.
cd "$ROOT/samples/pictures"
exec "$BUILD/src/pastelboard"
