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
