#!/usr/bin/env bash
# Process start to the main window shown (start-up finished): on the
# offscreen platform, then on X11 under Xvfb (through xvfb-run, when it is
# installed). Prints each run and the median in milliseconds.
# Usage: startup_time.sh [runs]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SELF="$ROOT/bench/$(basename "${BASH_SOURCE[0]}")"
BIN="${PASTELBOARD_BIN:-$ROOT/build/src/pastelboard}"
RUNS="${1:-11}"
export PASTELBOARD_QUIT_WHEN_SHOWN=1
cd "$ROOT/samples/pictures"

# measure PLATFORM: runs the program RUNS times on that Qt platform.
measure() {
  local times=()
  for _ in $(seq "$RUNS"); do
    local t0 t1
    t0=$(date +%s%N)
    QT_QPA_PLATFORM="$1" "$BIN" >/dev/null 2>&1
    t1=$(date +%s%N)
    times+=($(( (t1 - t0) / 1000000 )))
  done
  echo "$1 runs (ms): ${times[*]}"
  printf '%s\n' "${times[@]}" | sort -n |
    awk -v p="$1" '{a[NR]=$1} END {print p " median (ms): " a[int((NR+1)/2)]}'
}

if [ "${STARTUP_TIME_XCB_ONLY:-}" = 1 ]; then
  measure xcb
  exit 0
fi
measure offscreen
if command -v xvfb-run >/dev/null; then
  # Its own display (-a), so other programs on Xvfb are not disturbed.
  STARTUP_TIME_XCB_ONLY=1 xvfb-run -a -s '-screen 0 1280x1024x24' "$SELF" "$RUNS"
else
  echo "xcb: xvfb-run is not installed, not measured"
fi
