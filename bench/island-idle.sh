#!/usr/bin/env bash
# The island's idle cost and start-up against the reference window, measured
# side by side (both programs at the same time, each under its own private X
# server), repeated, medians reported:
#   CPU at rest (ratio, target <= 1.1), peak memory (ratio, target <= 1.5),
#   start to first frame (ratio, target <= 2), and beside it the start until
#   the process has ended.
# usage: bench/island-idle.sh [SECONDS] [RUNS]   (default 30 s, 3 runs)
#        QT_QUICK_BACKEND=rhi bench/island-idle.sh   (OpenGL; software by default)
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
secs=${1:-30}
runs=${2:-3}
# The reference window is the bench's own (bench/reference-window), built
# with the island into build/.
[ -f "$top/build/build.ninja" ] || [ -f "$top/build/Makefile" ] ||
  cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build" --target pavlet reference-window >/dev/null
refwin="$top/build/bench/reference-window"
idle_cost="$top/bench/idle-cost.sh"
export QT_QUICK_BACKEND=${QT_QUICK_BACKEND:-software}
defaults='{"format": 1, "values": {"permissionsSetupCompleted": {"type": "bool", "value": true}}}'
work=$(mktemp -d)
# A desktop session always has a session bus; without one, the first D-Bus
# call of a program would start one of its own (dbus-launch) while it starts.
bus_pid=
if command -v dbus-daemon >/dev/null; then
  DBUS_SESSION_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$work/bus.pid" | head -1)
  export DBUS_SESSION_BUS_ADDRESS
  bus_pid=$(cat "$work/bus.pid")
fi
trap '[ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null; [ -n "${xa:-}" ] && kill "$xa" "${xb:-}" 2>/dev/null; rm -rf "$work"' EXIT

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print 0; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Idle cost: both programs at rest at the same time, so that both see the same load.
for i in $(seq "$runs"); do
  "$idle_cost" "$secs" "$refwin" >"$work/ref.$i" &
  a=$!
  IDLE_DEFAULTS_JSON="$defaults" "$idle_cost" "$secs" "$top/build/pavlet" >"$work/isl.$i" &
  b=$!
  wait $a $b
done
ref_cpu=$(cat "$work"/ref.* | awk '{print $1}' | median)
ref_mem=$(cat "$work"/ref.* | awk '{print $2}' | median)
isl_cpu=$(cat "$work"/isl.* | awk '{print $1}' | median)
isl_mem=$(cat "$work"/isl.* | awk '{print $2}' | median)

# Start to first frame: both quit once their first frame is on screen; the two
# programs alternate under one X server each, and the median start of each is kept.
start_server() {
  local fd=$1
  local dfile; dfile=$(mktemp)
  eval "exec $fd>\"$dfile\""
  Xvfb -displayfd "$fd" -screen 0 1512x982x24 -nolisten tcp >/dev/null 2>&1 &
  echo "$! $dfile"
}
read -r xa fa < <(start_server 6)
read -r xb fb < <(start_server 7)
for _ in $(seq 100); do [ -s "$fa" ] && [ -s "$fb" ] && break; sleep 0.1; done
home=$work/home; mkdir -p -m 700 "$home/run"; mkdir -p "$home/.config/pavlet"
printf '%s\n' "$defaults" >"$home/.config/pavlet/defaults.json"
# Each program prints "first-frame <ns>" (the wall clock) once its first
# frame is on screen; a start that never got there counts as a failure, not
# as a time. The time until the process has ended (its teardown included) is
# kept beside it.
first_frame() {
  local disp=$1 var=$2 out=$3; shift 3
  local t0; t0=$(date +%s%N)
  env "$var=1" DISPLAY=":$disp" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home/run" \
    XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache" "$@" >"$out.out" 2>/dev/null || true
  local t1; t1=$(date +%s%N)
  local frame; frame=$(awk '$1 == "first-frame" { print $2; exit }' "$out.out")
  if [ -z "$frame" ]; then
    echo "no first frame from $1" >&2
    return 1
  fi
  echo $(( (frame - t0) / 1000000 )) >>"$out.start"
  echo $(( (t1 - t0) / 1000000 )) >>"$out.end"
}
for _ in $(seq $(( runs * 3 ))); do
  first_frame "$(cat "$fa")" REFERENCE_QUIT_ON_FIRST_FRAME "$work/ref" "$refwin" &
  a=$!
  first_frame "$(cat "$fb")" PAVLET_QUIT_ON_FIRST_FRAME "$work/isl" "$top/build/pavlet" &
  b=$!
  wait $a && wait $b || { kill "$xa" "$xb"; exit 1; }
done
kill "$xa" "$xb"; wait "$xa" "$xb" 2>/dev/null || true; rm -f "$fa" "$fb"
ref_start=$(median <"$work/ref.start")
isl_start=$(median <"$work/isl.start")
ref_end=$(median <"$work/ref.end")
isl_end=$(median <"$work/isl.end")

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b == 0) print "n/a"; else printf "%.2f", a / b }'; }
echo "renderer: $QT_QUICK_BACKEND ($runs runs of ${secs}s, medians)"
echo "cpu %:          island $isl_cpu  reference $ref_cpu  ratio $(ratio "$isl_cpu" "$ref_cpu") (target <= 1.1)"
echo "peak MB:        island $isl_mem  reference $ref_mem  ratio $(ratio "$isl_mem" "$ref_mem") (target <= 1.5)"
echo "first frame ms: island $isl_start  reference $ref_start  ratio $(ratio "$isl_start" "$ref_start") (target <= 2)"
echo "start to exit:  island $isl_end  reference $ref_end  ratio $(ratio "$isl_end" "$ref_end") (the first frame and the teardown after it)"
