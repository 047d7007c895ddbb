# Sourced by the install tests. Starts an installed program as a child's
# account would: a plain user (nobody, when the tests run as root), its own
# HOME, offscreen, with the driver plugin loaded.
#   child_setup TMP PLUGIN          makes TMP/home and TMP/plugins
#   run_as_child TMP OUT LAUNCHER [ARG...]   with PASTEL_DRIVER_* from the caller's
#                                   environment; the driver writes to OUT
child_setup() {
  local tmp="$1" plugin="$2"
  mkdir -p "$tmp/home" "$tmp/plugins/generic"
  cp "$plugin" "$tmp/plugins/generic/"
  as_child=()
  if [ "$(id -u)" -eq 0 ]; then
    # root writes anywhere; a plain account is what a child has.
    chown nobody "$tmp/home"
    chmod -R a+rX "$tmp/plugins"
    as_child=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
  fi
}

run_as_child() {
  local tmp="$1" out="$2"
  shift 2
  rm -f "$out"
  touch "$out" && chmod 666 "$out"
  (cd "$tmp/home" && env -i PATH=/usr/bin:/bin HOME="$tmp/home" QT_QPA_PLATFORM=offscreen \
     QT_PLUGIN_PATH="$tmp/plugins" QT_QPA_GENERIC_PLUGINS=pastel_driver \
     PASTEL_DRIVER_OUT="$out" PASTEL_DRIVER_WORD="${PASTEL_DRIVER_WORD:-}" \
     PASTEL_DRIVER_MODE="${PASTEL_DRIVER_MODE:-}" \
     timeout 60 "${as_child[@]}" "$@") >"$out.log" 2>&1 \
    || { cat "$out.log" "$out"; echo "FAIL: $1 did not finish its run" >&2; return 1; }
  cat "$out"
  grep -qx "error=" "$out" || { echo "FAIL: driver: $(grep ^error= "$out")" >&2; return 1; }
}
