# Sourced by the memory benches: a work folder, a private session bus and
# X servers whose processes all end with the script.
#   bench_x NAME   starts an X server; its display (":N") is in $display_NAME
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$work/bus.pid" | head -1)
export DBUS_SESSION_BUS_ADDRESS
pids+=("$(cat "$work/bus.pid")")

# Run in the script's own shell (not in $(...)) so that the id reaches pids.
bench_x() {
  exec {fd}>"$work/display.$1"
  Xvfb -displayfd "$fd" -screen 0 1512x982x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$work/display.$1" ] && break; sleep 0.1; done
  printf -v "display_$1" ':%s' "$(cat "$work/display.$1")"
}

# As a user whose home is $1: the reference window on $display_reference,
# and the island on $display_island with the frame probe ($work/probe) and
# its control pipe on fd 8; ref and isl are their process ids.
bench_start() {
  export HOME="$1" XDG_CONFIG_HOME="$1/.config" XDG_DATA_HOME="$1/.local/share" \
    XDG_CACHE_HOME="$1/.cache" XDG_RUNTIME_DIR="$1/run"
  DISPLAY=$display_reference "$top/build/bench/reference-window" >/dev/null 2>&1 &
  ref=$!; pids+=("$ref")
  mkfifo "$work/control"
  : >"$work/probe"
  DISPLAY=$display_island PAVLET_FRAME_PROBE="$work/probe" PAVLET_FRAME_PROBE_CONTROL="$work/control" \
    "$top/build/pavlet" >"$work/out.log" 2>&1 &
  isl=$!; pids+=("$isl")
  exec 8<>"$work/control"
  export DISPLAY=$display_island
}
