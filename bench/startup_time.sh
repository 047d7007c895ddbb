#!/usr/bin/env bash
# Process start to the main window shown (start-up finished), offscreen.
# Prints each run and the median in milliseconds. Usage: startup_time.sh [runs]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BIN="${PASTELBOARD_BIN:-$ROOT/build/src/pastelboard}"
RUNS="${1:-11}"
export QT_QPA_PLATFORM=offscreen PASTELBOARD_QUIT_WHEN_SHOWN=1
cd "$ROOT/samples/pictures"
times=()
for _ in $(seq "$RUNS"); do
  t0=$(date +%s%N)
  "$BIN" >/dev/null 2>&1
  t1=$(date +%s%N)
  times+=($(( (t1 - t0) / 1000000 )))
done
echo "runs (ms): ${times[*]}"
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print "median (ms): " a[int((NR+1)/2)]}'
