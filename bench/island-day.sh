#!/usr/bin/env bash
# A day in small: what the island still holds once everything has been used.
# Memory (resident and proportional, MB) at rest, after Home has been opened
# once and closed, and after the day (every tool panel from Home, the arcade
# and each game once, the settings window on each of its pages, each opening
# closed again) followed by REST_SECONDS (60) of rest; beside the reference
# window (bench/reference-window) measured at the same moments. Target:
# after the day <= 1.15x after Home.
#
# usage: bench/island-day.sh                              (software renderer)
#        QT_QUICK_BACKEND=rhi bench/island-day.sh         (OpenGL)
#        PANELS=, GAMES=, PAGES= name what to open ("" for none)
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cmake --build "$top/build" --target pavlet reference-window >/dev/null
export QT_QUICK_BACKEND=${QT_QUICK_BACKEND:-software}
rest_s=${REST_SECONDS:-60}

. "$top/bench/benchsession.sh"
bench_x island
bench_x reference

# Every module on, as a user who has tried them all.
home="$work/home"
mkdir -p "$home/.config/pavlet" "$home/Downloads" && mkdir -m 700 "$home/run"
cat >"$home/.config/pavlet/defaults.json" <<JSON
{"format": 1, "values": {"permissionsSetupCompleted": {"type": "bool", "value": true}, "pavlet.optInModules.v1": {"type": "bool", "value": true}, "pavlet.libraryModules.v1": {"type": "bool", "value": true}, "pavlet.shippedGames.v1": {"type": "bool", "value": true}}}
JSON
bench_start "$home"

rss() { awk '/VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
pss() { awk '/^Pss:/ { printf "%.1f", $2 / 1024 }' "/proc/$1/smaps_rollup"; }
# Waits until the probe has reported as many openings as asked for.
openings=0
open() {
  echo "$1" >&8
  openings=$((openings + 1))
  for _ in $(seq 100); do
    [ "$(grep -c "^opening=" "$work/probe" || true)" -ge "$openings" ] && break
    sleep 0.1
  done
  sleep 1
}

sleep 8
rest=("$(rss "$isl")" "$(pss "$isl")" "$(rss "$ref")" "$(pss "$ref")")

# Home, opened once by the pointer and closed.
xdotool mousemove 756 10; sleep 0.5; xdotool click 1; sleep 3
xdotool mousemove 300 600 click 1; sleep 5
openings=$(grep -c "^opening=" "$work/probe" || true)
after_home=("$(rss "$isl")" "$(pss "$isl")" "$(rss "$ref")" "$(pss "$ref")")

for panel in ${PANELS-home canvas calculator pocket voice translator update games}; do
  open "$panel"; open collapsed
done
for game in ${GAMES-hub dino flap wordle pong blocks stack reflex toe cps snake pattern blackjack stack4}; do
  open "game:$game"; open collapsed
done
for page in ${PAGES-general permissions modules library notch}; do
  open "settings:$page"
  win=
  for _ in $(seq 50); do win=$(xdotool search --onlyvisible --name '^Pavlet$' 2>/dev/null | head -1) && [ -n "$win" ] && break; sleep 0.1; done
  # Ctrl+W as a keyboard sends it, to the window that has the keyboard (a
  # key sent to the window itself comes without the server's key state).
  [ -n "$win" ] && { xdotool windowfocus --sync "$win" 2>/dev/null || true; xdotool key ctrl+w 2>/dev/null || true; }
  for _ in $(seq 50); do xdotool search --onlyvisible --name '^Pavlet$' >/dev/null 2>&1 || break; sleep 0.1; done
done
closed=$(xdotool search --onlyvisible --name '^Pavlet$' >/dev/null 2>&1 && echo no || echo yes)
xdotool mousemove 300 600
sleep "$rest_s"
after_day=("$(rss "$isl")" "$(pss "$isl")" "$(rss "$ref")" "$(pss "$ref")")
alive=$(kill -0 "$isl" 2>/dev/null && echo yes || echo no)

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b == 0) print "n/a"; else printf "%.2f", a / b }'; }
row() {
  local -n m=$2
  printf '%-24s %9s %9s %9s %9s %7s\n' "$1" "${m[0]}" "${m[1]}" "${m[2]}" "${m[3]}" "$(ratio "${m[0]}" "${m[2]}")"
}
echo "renderer: $QT_QUICK_BACKEND   openings: $openings   settings closed: $closed   island alive: $alive"
printf '%-24s %9s %9s %9s %9s %7s\n' moment "isl RSS" "isl PSS" "ref RSS" "ref PSS" "RSS x"
row "at rest" rest
row "after Home" after_home
row "after the day + ${rest_s} s" after_day
echo "after the day / after Home (RSS): $(ratio "${after_day[0]}" "${after_home[0]}") (PSS): $(ratio "${after_day[1]}" "${after_home[1]}") (target <= 1.15)"
