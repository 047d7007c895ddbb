#!/bin/sh
# Starts パステルボード from its own folder, wherever the tree was installed.
here=$(dirname "$(readlink -f "$0")")
exec "$here/../lib/pastelboard/pastelboard" "$@"
