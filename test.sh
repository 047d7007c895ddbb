#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (no display needed).
source "$(dirname "${BASH_SOURCE[0]}")/tools/common.sh"
install_missing
build
export QT_QPA_PLATFORM=offscreen
cd "$BUILD"
ctest --output-on-failure -j"$(nproc)" --timeout 300
