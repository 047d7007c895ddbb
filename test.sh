#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (no display needed):
# once as built for use, once under AddressSanitizer and UBSan.
source "$(dirname "${BASH_SOURCE[0]}")/tools/common.sh"
install_missing
build
build_sanitized
export QT_QPA_PLATFORM=offscreen
(cd "$BUILD" && ctest --output-on-failure -j"$(nproc)" --timeout 300)
# Qt and fontconfig keep caches for the process's life: leaks are not ours to judge.
(cd "$SANITIZED_BUILD" &&
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure -j"$(nproc)" --timeout 600)
