#!/usr/bin/env bash
# The folders of src/ are floors, ground first; a file may include its own
# floor and the floors below it, never one above. Prints every include that
# runs up a floor and fails if there is one.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../src"
floors=(platform form canvas words capture storage keeping settings steps app)
declare -A rank
for i in "${!floors[@]}"; do rank[${floors[$i]}]=$i; done
bad=0
for dir in "${floors[@]}"; do
  while IFS=: read -r file target; do
    [ -n "${rank[$target]+x}" ] || continue
    if [ "${rank[$target]}" -gt "${rank[$dir]}" ]; then
      echo "$file includes $target/, a floor above $dir/" >&2
      bad=1
    fi
  done < <(grep -o '^#include "[a-z_]*/' "$dir"/* | sed 's/#include "//; s#/$##')
done
# The poster's files and the kept poster are two rooms on one level: neither
# includes the other.
if grep -q '^#include "storage/' keeping/*; then
  echo "keeping/ includes storage/" >&2
  bad=1
fi
for dir in */; do
  dir=${dir%/}
  [ -n "${rank[$dir]+x}" ] || { echo "src/$dir/ is on no floor" >&2; bad=1; }
done
exit $bad
