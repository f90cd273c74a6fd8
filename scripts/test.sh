#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Tests that need an X
# display get a private Xvfb; tests that need a session bus get a private
# one; the D-Bus mocks and the PulseAudio server are started by the tests
# themselves. Everything started here is stopped on the way out.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
top="$(cd "$here/.." && pwd)"
"$here/install-deps.sh"
"$here/build.sh"

work="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# One UTF-8 locale for every test, whatever the caller's (a minimal root or
# env -i has none).
export LANG=C.UTF-8 LC_ALL=C.UTF-8

export XDG_RUNTIME_DIR="$work/runtime"; mkdir -m 700 -p "$XDG_RUNTIME_DIR"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache"

# A private X server for the window, key-grab and idle-time tests.
exec 5>"$work/display"
# -noreset: without it the server resets whenever its last client leaves, and
# a test connecting at that moment finds no display.
Xvfb -displayfd 5 -noreset -screen 0 1512x982x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

# A private session bus.
eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 | \
  { read -r addr; read -r pid; echo "export DBUS_SESSION_BUS_ADDRESS='$addr'; buspid=$pid"; })"
pids+=("$buspid")

cd "$top/build"
ctest --output-on-failure -j "$(nproc)" --timeout 300
