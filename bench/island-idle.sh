#!/usr/bin/env bash
# The island's idle cost and start-up against the reference window, measured
# side by side in one run under private X servers:
#   CPU at rest (ratio, target <= 1.1), peak memory (ratio, target <= 1.5),
#   start to first frame (ratio, target <= 2).
# usage: bench/island-idle.sh [SECONDS]   (default 30)
#        QT_QUICK_BACKEND=rhi bench/island-idle.sh   (OpenGL; software by default)
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
perf="$(cd "$top/../shared/perf" 2>/dev/null && pwd || echo /work/shared/perf)"
secs=${1:-30}
ref=/tmp/pavlet-refwin
cmake -S "$perf/reference-window" -B "$ref" -G Ninja >/dev/null
cmake --build "$ref" >/dev/null
cmake --build "$top/build" --target pavlet >/dev/null
export QT_QUICK_BACKEND=${QT_QUICK_BACKEND:-software}
defaults='{"format": 1, "values": {"permissionsSetupCompleted": {"type": "bool", "value": true}}}'

read -r ref_cpu ref_mem < <("$perf/idle-cost" "$secs" "$ref/reference-window")
read -r isl_cpu isl_mem < <(IDLE_DEFAULTS_JSON="$defaults" "$perf/idle-cost" "$secs" "$top/build/pavlet")

# Start to first frame: both quit once their first frame is on screen.
first_frame() {
  local var=$1; shift
  exec 6>"$(mktemp)"; local dfile; dfile=$(readlink /proc/self/fd/6)
  Xvfb -displayfd 6 -screen 0 1512x982x24 -nolisten tcp >/dev/null 2>&1 & local xpid=$!
  for _ in $(seq 100); do [ -s "$dfile" ] && break; sleep 0.1; done
  local home; home=$(mktemp -d); mkdir -m 700 "$home/run"; mkdir -p "$home/.config/pavlet"
  printf '%s\n' "$defaults" >"$home/.config/pavlet/defaults.json"
  local total=0
  for _ in 1 2 3 4 5; do
    local t0; t0=$(date +%s%N)
    env "$var=1" DISPLAY=":$(cat "$dfile")" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_RUNTIME_DIR="$home/run" \
      "$@" >/dev/null 2>&1 || true
    total=$(( total + $(date +%s%N) - t0 ))
  done
  kill $xpid; wait $xpid 2>/dev/null || true; rm -rf "$home" "$dfile"
  echo $(( total / 5 / 1000000 ))
}
ref_start=$(first_frame REFERENCE_QUIT_ON_FIRST_FRAME "$ref/reference-window")
isl_start=$(first_frame PAVLET_QUIT_ON_FIRST_FRAME "$top/build/pavlet")

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b == 0) print "n/a"; else printf "%.2f", a / b }'; }
echo "renderer: $QT_QUICK_BACKEND"
echo "cpu %:          island $isl_cpu  reference $ref_cpu  ratio $(ratio "$isl_cpu" "$ref_cpu") (target <= 1.1)"
echo "peak MB:        island $isl_mem  reference $ref_mem  ratio $(ratio "$isl_mem" "$ref_mem") (target <= 1.5)"
echo "first frame ms: island $isl_start  reference $ref_start  ratio $(ratio "$isl_start" "$ref_start") (target <= 2)"
