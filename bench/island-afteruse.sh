#!/usr/bin/env bash
# What the island gives back after use: its memory (resident, MB) at rest,
# after Home has been opened once and closed, and after one voice memo take,
# its playback, one mic check (a take played back) and one zip, all driven
# through the X server, followed by 60 s of rest; beside the reference
# window's (bench/reference-window) measured at the same moments under an X
# server of its own. Target: after use <= 1.15x after Home. Also lists the
# codec, TLS, GStreamer and archive libraries the island still maps then.
#
# usage: bench/island-afteruse.sh          (software renderer)
#        QT_QUICK_BACKEND=rhi bench/island-afteruse.sh   (OpenGL)
#        KEEP=dir   keep the program's output and the probe's lines there
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cmake --build "$top/build" --target pavlet pavlet-sound pavlet-pick reference-window >/dev/null
export QT_QUICK_BACKEND=${QT_QUICK_BACKEND:-software}
rest_s=${REST_SECONDS:-60}

. "$top/bench/benchsession.sh"

# A desktop session's sound server: a 440 Hz source for the microphone and
# a null sink for the speakers.
mkdir -p -m 700 "$work/pulse"
HOME="$work/pulse" XDG_RUNTIME_DIR="$work/pulse" pulseaudio -n --daemonize=no --exit-idle-time=-1 \
  --use-pid-file=no --disable-shm=yes --load="module-null-sink sink_name=null" \
  --load="module-sine-source source_name=mic frequency=440" \
  --load="module-native-protocol-unix auth-anonymous=1 socket=$work/pulse/native" >/dev/null 2>&1 &
pids+=($!)
export PULSE_SERVER="unix:$work/pulse/native" PULSE_COOKIE="$work/pulse/cookie"
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl set-default-source mic

bench_x island
bench_x reference

# Home holds the mic check and the zip card only; the voice memos open
# from the strip.
home="$work/home"
mkdir -p "$home/.config/pavlet" "$home/Downloads" && mkdir -m 700 "$home/run"
all="awake,bluetooth,calendar,canvas,calculator,clipboard,clocks,eyeStrain,findMy,gameMode,games,mirror,network,notes,player,pocket,quote,shortcuts,speedTest,spotify,system,timer,translator,weather,youtube"
cat >"$home/.config/pavlet/defaults.json" <<JSON
{"format": 1, "values": {"permissionsSetupCompleted": {"type": "bool", "value": true}, "disabledModules": {"type": "string", "value": "$all"}, "moduleOrder": {"type": "string", "value": "micCheck,compress"}, "pavlet.optInModules.v1": {"type": "bool", "value": true}, "pavlet.libraryModules.v1": {"type": "bool", "value": true}, "pavlet.shippedGames.v1": {"type": "bool", "value": true}}}
JSON
echo "zip me" >"$work/zipme.txt"
bench_start "$home"

mb() { awk '/VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
# Asks the program where a control is and presses it there.
press() {
  local at= asked
  asked=$(grep -c "^where=" "$work/probe" || true)
  echo "where:$1" >&8
  for _ in $(seq 50); do
    [ "$(grep -c "^where=" "$work/probe" || true)" -gt "$asked" ] && at=$(grep "^where=" "$work/probe" | tail -1) && break
    sleep 0.1
  done
  if [[ $at != *" x="* ]]; then echo "no \"$1\" on screen" >&2; return 1; fi
  local x=${at#* x=}; x=${x%% *}; local y=${at##* y=}
  xdotool mousemove "$x" "$y" click 1
}
playing=0
listen() { # seconds: whether the island played a stream meanwhile
  for _ in $(seq $(( $1 * 10 ))); do
    [ -n "$(pactl list short sink-inputs)" ] && playing=$((playing + 1)) && { sleep "$(( $1 / 2 ))"; return; }
    sleep 0.1
  done
}

sleep 8
rest_isl=$(mb "$isl"); rest_ref=$(mb "$ref")

# Home, opened once by the pointer and closed.
xdotool mousemove 756 10; sleep 0.5; xdotool click 1; sleep 3
xdotool mousemove 300 600 click 1; sleep 5
home_isl=$(mb "$isl"); home_ref=$(mb "$ref")

# A voice memo: recorded for 3 s, played back.
echo voice >&8; sleep 2
press mic.fill; sleep 3
press stop.fill; sleep 3
press play.fill; listen 5
echo collapsed >&8; sleep 1
# The mic check: a 2 s take, played back.
echo home >&8; sleep 2
press Record; sleep 2
press "Play back"; listen 5
# One zip of a file picked in the dialog.
press Pick
dialog=$(xdotool search --sync --onlyvisible --classname pavlet-pick | head -1)
xdotool windowfocus --sync "$dialog"; sleep 0.5
xdotool type --delay 20 "$work/zipme.txt"; xdotool key Return
for _ in $(seq 50); do ls "$home/Downloads"/*.zip >/dev/null 2>&1 && break; sleep 0.2; done
echo collapsed >&8
xdotool mousemove 300 600
sleep "$rest_s"
used_isl=$(mb "$isl"); used_ref=$(mb "$ref")
left=$(grep -oE '/[^ ]*(libavcodec|libavformat|libswresample|libssl|libcrypto|libgst|libarchive|pavlet_zipwriter)[^ /]*$' \
  "/proc/$isl/maps" | xargs -r -n1 basename | sort -u | paste -sd' ' || true)
memos=$(ls "$home/.local/share/Pavlet/Memos"/*.m4a 2>/dev/null | wc -l)
zips=$(ls "$home/Downloads"/*.zip 2>/dev/null | wc -l)
if [ -n "${KEEP:-}" ]; then mkdir -p "$KEEP"; cp "$work/out.log" "$work/probe" "$KEEP/"; fi

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b == 0) print "n/a"; else printf "%.2f", a / b }'; }
echo "renderer: $QT_QUICK_BACKEND   done: $memos memo(s), $playing playback(s) heard, $zips zip(s)"
printf '%-28s %10s %13s %8s\n' moment "island MB" "reference MB" ratio
printf '%-28s %10s %13s %8s\n' "at rest" "$rest_isl" "$rest_ref" "$(ratio "$rest_isl" "$rest_ref")"
printf '%-28s %10s %13s %8s\n' "after Home" "$home_isl" "$home_ref" "$(ratio "$home_isl" "$home_ref")"
printf '%-28s %10s %13s %8s\n' "after use + ${rest_s} s rest" "$used_isl" "$used_ref" "$(ratio "$used_isl" "$used_ref")"
echo "after use / after Home: $(ratio "$used_isl" "$home_isl") (target <= 1.15)"
echo "codec, TLS, GStreamer, archive libraries mapped after use: ${left:-none}"
