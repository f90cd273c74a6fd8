#!/usr/bin/env bash
# Runs the journeys on an X server and a session bus of their own, with a
# window manager, as a user's desktop has one. With --load every core is kept busy meanwhile, at
# a lower priority than the program's, as a busy desktop's background work
# is: asynchronous loading and animations finish in the order a busy
# machine gives them, without the program being starved. --screen gives the
# screen's size in pixels, --scale the factor Qt draws at (QT_SCALE_FACTOR),
# as a small screen set to larger text has it. --a11y adds the desktop's
# accessibility bus, with the program's accessibility on, as a screen
# reader's user has them. Everything started here is stopped on the way out.
# Usage: session.sh [--load] [--compositor] [--a11y] [--screen WxH] [--scale F] program [gtest arguments]
set -uo pipefail
load=0; compositor=0; a11y=0; screen=1512x982
while [ $# -gt 0 ]; do
  case "$1" in
    --load) load=1; shift ;;
    --compositor) compositor=1; shift ;;
    --a11y) a11y=1; shift ;;
    --screen) screen="$2"; shift 2 ;;
    --scale) export QT_SCALE_FACTOR="$2"; shift 2 ;;
    *) break ;;
  esac
done
work="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

exec 5>"$work/display"
Xvfb -displayfd 5 -noreset -screen 0 "${screen}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
# A session bus of their own too: nothing the program claims or watches on
# it meets another test's.
eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 | \
  { read -r addr; read -r pid; echo "export DBUS_SESSION_BUS_ADDRESS='$addr'; buspid=$pid"; })"
pids+=("$buspid")
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
# The window manager is up once it owns the screen's selection.
for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
if [ "$compositor" = 1 ]; then
  picom --backend xrender >"$work/picom.log" 2>&1 &
  pids+=($!)
fi
if [ "$a11y" = 1 ]; then
  # Its socket goes in our folder; the bus and its registry end with it.
  mkdir -m 700 "$work/a11y"
  XDG_RUNTIME_DIR="$work/a11y" /usr/libexec/at-spi-bus-launcher >"$work/a11y.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
    sleep 0.1
  done
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
fi
if [ "$load" = 1 ]; then
  # Busy loops that end by themselves should this script be killed.
  for _ in $(seq "$(nproc)"); do
    timeout 1800 nice -n 10 sh -c 'while :; do :; done' &
    pids+=($!)
  done
fi
"$@"
