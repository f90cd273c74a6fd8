#!/usr/bin/env bash
# How smoothly the island opens the first time: starts the program under a
# private X server, opens each state once after another (first hover, first
# volume display, first Home, ...), and prints for each first opening the
# longest time between two frames, counted from the change of state. A frame
# that takes more than two frame intervals (33 ms at 60 Hz) is a stutter.
#
# usage: bench/island-frames.sh            (QT_QUICK_BACKEND=software by default;
#        QT_QUICK_BACKEND=rhi bench/island-frames.sh for OpenGL)
#
# To measure another opening, add a step below: a name and the commands that
# open it from the state the previous step left.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cmake --build "$top/build" --target pavlet >/dev/null
backend=${QT_QUICK_BACKEND-software}
limit_ms=${FRAME_LIMIT_MS:-33}

steps=(
  "hover|xdotool mousemove 756 10"
  "home|xdotool click 1"
  "collapsed|xdotool mousemove 300 600 click 1"
  "hud|pactl set-sink-volume @DEFAULT_SINK@ +5%"
)

work=$(mktemp -d); mkdir -m 700 "$work/run"; mkdir -p "$work/.config/pavlet"
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
  [ -n "${pulse:-}" ] && env HOME="$work" XDG_RUNTIME_DIR="$work/run" pulseaudio --kill 2>/dev/null
  [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null && wait "$xpid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cat >"$work/.config/pavlet/defaults.json" <<JSON
{"format": 1, "values": {"permissionsSetupCompleted": {"type": "bool", "value": true}, "floatingIsland": {"type": "bool", "value": false}, "lipEar": {"type": "double", "value": 0}, "lipDrop": {"type": "double", "value": 2}, "showSystemHUD": {"type": "bool", "value": true}}}
JSON

exec 7>"$work/display"
Xvfb -displayfd 7 -screen 0 1512x982x24 -nolisten tcp >/dev/null 2>&1 & xpid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" HOME="$work" XDG_CONFIG_HOME="$work/.config" XDG_RUNTIME_DIR="$work/run"
if command -v pulseaudio >/dev/null; then
  pulseaudio --daemonize=yes --exit-idle-time=-1 -n --load="module-null-sink sink_name=null" \
    --load=module-native-protocol-unix >/dev/null 2>&1 && pulse=1
fi

log="$work/frames.log"
QT_QUICK_BACKEND=$backend PAVLET_FRAME_PROBE="$log" "$top/build/pavlet" >"$work/out.log" 2>&1 & app=$!
sleep 4   # start-up, and whatever the program prepares after it
for step in "${steps[@]}"; do
  eval "${step#*|}" >/dev/null 2>&1 || echo "step ${step%%|*}: could not run its commands" >&2
  sleep 1.5
done

echo "renderer: ${backend:-opengl}   limit: ${limit_ms} ms"
status=0
for step in "${steps[@]}"; do
  name=${step%%|*}
  [ "$name" = collapsed ] && continue
  line=$(grep "^state=$name first=1 " "$log" | head -1 || true)
  if [ -z "$line" ]; then echo "$name: not seen"; status=1; continue; fi
  gap=$(sed -n 's/.*longestGapMs=\([0-9-]*\).*/\1/p' <<<"$line")
  verdict=ok; [ "$gap" -gt "$limit_ms" ] && { verdict=STUTTER; status=1; }
  printf '%-10s %s  %s\n' "$name" "$verdict" "${line#state=* first=1 }"
done
exit $status
