#!/usr/bin/env bash
# The island through 100 animations on an X server without a window manager:
# counts the captures that show it out of place (see island_shift.cpp).
# usage: bench/island-shift.sh [ANIMATIONS]   (QT_QUICK_BACKEND=software by default)
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cmake --build "$top/build" --target pavlet island_shift >/dev/null
work=$(mktemp -d); mkdir -m 700 "$work/run"; mkdir -p "$work/.config/pavlet"
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
  [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null && wait "$xpid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
echo '{"format": 1, "values": {"permissionsSetupCompleted": {"type": "bool", "value": true}, "floatingIsland": {"type": "bool", "value": false}, "lipEar": {"type": "double", "value": 0}, "lipDrop": {"type": "double", "value": 2}}}' \
  >"$work/.config/pavlet/defaults.json"
exec 7>"$work/display"
Xvfb -displayfd 7 -screen 0 1512x982x24 -nolisten tcp >/dev/null 2>&1 & xpid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" HOME="$work" XDG_CONFIG_HOME="$work/.config" XDG_RUNTIME_DIR="$work/run"
QT_QUICK_BACKEND=${QT_QUICK_BACKEND-software} "$top/build/pavlet" >"$work/out.log" 2>&1 & app=$!
sleep 3
status=0
"$top/build/bench/island_shift" "${1:-100}" 756 "${SHIFT_SHOT:-}" || status=$?
kill -0 "$app" 2>/dev/null || { echo "the program ended early:"; tail -20 "$work/out.log"; }
exit $status
