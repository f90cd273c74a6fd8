#!/usr/bin/env bash
# Idle cost of a program at rest under a private Xvfb: CPU % of one core over a window, and peak RSS (MB).
# usage: bench/idle-cost.sh SECONDS COMMAND [ARGS...]      prints: cpu_pct rss_mb
# Compare against the reference window (bench/reference-window: an empty frameless always-on-top
# Qt Quick window with a 60 Hz pointer poll and a 1 s tick) measured in the same run, as
# bench/island-idle.sh does:
#   cmake --build build --target pavlet reference-window
#   bench/idle-cost.sh 30 build/bench/reference-window ; bench/idle-cost.sh 30 build/pavlet
# Absolute figures vary between machines and runs; only the ratio of two runs side by side means something.
set -u
secs=${1:?seconds}; shift
exec 5>"$(mktemp)"; dfile=$(readlink /proc/self/fd/5)
Xvfb -displayfd 5 -screen 0 1512x982x24 -nolisten tcp >/dev/null 2>&1 & xpid=$!
trap 'kill ${pid:-} $xpid 2>/dev/null' EXIT
for _ in $(seq 100); do [ -s "$dfile" ] && break; sleep 0.1; done
disp=":$(cat "$dfile")"
home=$(mktemp -d); mkdir -m 700 "$home/run"
# IDLE_DEFAULTS_JSON: the user defaults file to start with (for example one that finished the first-run setup).
if [ -n "${IDLE_DEFAULTS_JSON:-}" ]; then mkdir -p "$home/.config/pavlet"; printf '%s\n' "$IDLE_DEFAULTS_JSON" >"$home/.config/pavlet/defaults.json"; fi
DISPLAY=$disp HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share XDG_CACHE_HOME=$home/.cache \
  XDG_RUNTIME_DIR=$home/run QT_QUICK_BACKEND=${QT_QUICK_BACKEND:-software} "$@" >"$home/out.log" 2>&1 & pid=$!
sleep 3   # let start-up settle
tck=$(getconf CLK_TCK)
t0=$(awk '{print $14+$15}' /proc/$pid/stat 2>/dev/null || echo 0)
sleep "$secs"
t1=$(awk '{print $14+$15}' /proc/$pid/stat 2>/dev/null || echo 0)
rss=$(awk '/VmHWM/ {print $2}' /proc/$pid/status 2>/dev/null || echo 0)
kill $pid 2>/dev/null; wait $pid 2>/dev/null; kill $xpid 2>/dev/null; wait $xpid 2>/dev/null
rm -rf "$home" "$dfile"
awk -v a="$t0" -v b="$t1" -v t="$tck" -v s="$secs" -v r="$rss" 'BEGIN { printf "%.3f %.1f\n", 100*(b-a)/t/s, r/1024 }'
