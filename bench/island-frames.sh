#!/usr/bin/env bash
# How smoothly the island opens the first time: starts the program under a
# private X server, opens each state once after another (first hover, first
# volume display, first Home, each panel, a game's page, the settings
# window), and prints for each first opening the longest time between two
# frames, counted from the start of the opening. A frame that takes more
# than two frame intervals (33 ms at 60 Hz) is a stutter.
#
# usage: bench/island-frames.sh
#   QT_QUICK_BACKEND=software (default) or rhi for OpenGL
#   RUNS=n      start the program n times and print the median and the worst
#               of each opening (the verdict follows the median)
#   WM=openbox  run a window manager on the private display
#   KEEP=dir    keep the probe's lines and the program's output there
#
# To measure another opening, add a step below: a name and the command that
# opens it from the state the previous step left. "probe:<opening>" asks the
# program's frame probe to perform it (see src/app/frameprobe.h).
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cmake --build "$top/build" --target pavlet >/dev/null
backend=${QT_QUICK_BACKEND-software}
limit_ms=${FRAME_LIMIT_MS:-33}
runs=${RUNS:-1}
wm=${WM:-}

steps=(
  "hover|xdotool mousemove 756 10"
  "home|xdotool click 1"
  "canvas|probe:canvas"
  "games|probe:games"
  "game:wordle|probe:game:wordle"
  "calculator|probe:calculator"
  "pocket|probe:pocket"
  "voice|probe:voice"
  "translator|probe:translator"
  "update|probe:update"
  "-|xdotool mousemove 300 600 click 1"
  "hud|pactl set-sink-volume @DEFAULT_SINK@ +5%"
  "settings|probe:settings"
)

work=$(mktemp -d)
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
  [ -n "${pulse:-}" ] && env HOME="$work" XDG_RUNTIME_DIR="$work/run" pulseaudio --kill 2>/dev/null
  [ -n "${wmpid:-}" ] && kill "$wmpid" 2>/dev/null && wait "$wmpid" 2>/dev/null
  [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null && wait "$xpid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# One start of the program; appends its probe lines to $work/frames.log.
run_once() {
  local home="$work/home"
  rm -rf "$home"; mkdir -p "$home/.config/pavlet"; mkdir -m 700 "$home/run"
  # Every module on, the one-time module passes done.
  cat >"$home/.config/pavlet/defaults.json" <<JSON
{"format": 1, "values": {"permissionsSetupCompleted": {"type": "bool", "value": true}, "floatingIsland": {"type": "bool", "value": false}, "lipEar": {"type": "double", "value": 0}, "lipDrop": {"type": "double", "value": 2}, "showSystemHUD": {"type": "bool", "value": true}, "disabledModules": {"type": "string", "value": ""}, "pavlet.optInModules.v1": {"type": "bool", "value": true}, "pavlet.libraryModules.v1": {"type": "bool", "value": true}, "pavlet.shippedGames.v1": {"type": "bool", "value": true}}}
JSON
  exec 7>"$work/display"
  Xvfb -displayfd 7 -screen 0 1512x982x24 -nolisten tcp >/dev/null 2>&1 & xpid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$work/display")" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home/run"
  : >"$work/display"
  if [ -n "$wm" ]; then "$wm" >/dev/null 2>&1 & wmpid=$!; sleep 0.5; fi
  pulse=
  if command -v pulseaudio >/dev/null; then
    pulseaudio --daemonize=yes --exit-idle-time=-1 -n --load="module-null-sink sink_name=null" \
      --load=module-native-protocol-unix >/dev/null 2>&1 && pulse=1
  fi
  local control="$work/control"
  rm -f "$control"; mkfifo "$control"
  : >"$work/run.log"
  QT_QUICK_BACKEND=$backend PAVLET_FRAME_PROBE="$work/run.log" PAVLET_FRAME_PROBE_CONTROL="$control" \
    "$top/build/pavlet" >"$work/out.log" 2>&1 & app=$!
  exec 8<>"$control"
  sleep 4   # start-up, and whatever the program prepares after it
  local step
  for step in "${steps[@]}"; do
    local how=${step#*|}
    if [[ $how == probe:* ]]; then echo "${how#probe:}" >&8
    else eval "$how" >/dev/null 2>&1 || echo "step ${step%%|*}: could not run its commands" >&2
    fi
    sleep 1.2
  done
  exec 8>&-
  kill "$app" 2>/dev/null; wait "$app" 2>/dev/null || true; app=
  [ -n "$pulse" ] && pulseaudio --kill 2>/dev/null; pulse=
  [ -n "${wmpid:-}" ] && { kill "$wmpid" 2>/dev/null; wait "$wmpid" 2>/dev/null || true; wmpid=; }
  kill "$xpid" 2>/dev/null; wait "$xpid" 2>/dev/null || true; xpid=
  cat "$work/run.log" >>"$work/frames.log"
  if [ -n "${KEEP:-}" ]; then mkdir -p "$KEEP"; cat "$work/run.log" >>"$KEEP/frames.log"; cat "$work/out.log" >>"$KEEP/out.log"; fi
  grep -q "^unknown" "$work/run.log" && grep "^unknown" "$work/run.log" >&2 || true
}

: >"$work/frames.log"
for _ in $(seq "$runs"); do run_once; done

echo "renderer: ${backend:-opengl}   window manager: ${wm:-none}   runs: $runs   limit: ${limit_ms} ms"
printf '%-12s %-8s %9s %9s %13s\n' opening verdict median-ms worst-ms first-frame-ms
status=0
for step in "${steps[@]}"; do
  name=${step%%|*}
  [ "$name" = - ] && continue
  gaps=$(grep "^opening=$name first=1 " "$work/frames.log" | sed -n 's/.*longestGapMs=\([0-9-]*\).*/\1/p' | sort -n)
  firsts=$(grep "^opening=$name first=1 " "$work/frames.log" | sed -n 's/.*firstFrameMs=\([0-9-]*\).*/\1/p' | sort -n)
  n=$(wc -w <<<"$gaps")
  if [ "$n" -eq 0 ]; then printf '%-12s not seen\n' "$name"; status=1; continue; fi
  median=$(sed -n "$(( (n + 1) / 2 ))p" <<<"$gaps")
  worst=$(tail -1 <<<"$gaps")
  first=$(sed -n "$(( (n + 1) / 2 ))p" <<<"$firsts")
  verdict=ok; [ "$median" -gt "$limit_ms" ] && { verdict=STUTTER; status=1; }
  printf '%-12s %-8s %9s %9s %13s\n' "$name" "$verdict" "$median" "$worst" "$first"
done
exit $status
