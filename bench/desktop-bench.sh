#!/usr/bin/env bash
# The real game on a desktop of the benchmark's own: an Xvfb display, and a sound server
# with a null sink, as a player's desktop has. Measures, in turn:
#   - how soon its window is up, against a bare Qt window with one button;
#   - its memory after a run of twelve questions;
#   - the latency from a click on Listen to the note's first sample at the sound server;
#   - the gaps in a thousand notes played while two busy loops load the machine;
#   - with every timbre and three octaves chosen, the memory after twelve questions and
#     the latency of new questions, each sound played for the first time, against the
#     piano alone; and the same at A4 = 442 Hz, every sound retuned as it loads.
#   desktop-bench.sh BUILD_FOLDER [GAME]     GAME: another build of the game to measure
# SOUND_SERVER=pipewire measures the sound through PipeWire's PulseAudio server (with
# WirePlumber, on a session bus of its own) instead of PulseAudio, the sound alone.
set -eu
# PipeWire and WirePlumber talk over a session bus: one of the benchmark's own.
if [ "${SOUND_SERVER:-}" = pipewire ] && [ -z "${TONARIKA_BENCH_BUS:-}" ]; then
  TONARIKA_BENCH_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
build=$(cd "$1" && pwd)
game=$(realpath "${2:-$build/tonarika}")
scratch=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; wait 2>/dev/null; rm -rf "$scratch"' EXIT
export LC_ALL=C.UTF-8 HOME="$scratch" PULSE_RUNTIME_PATH="$scratch/pulse" XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -p "$PULSE_RUNTIME_PATH"
mkdir -m 700 "$XDG_RUNTIME_DIR"

server=${SOUND_SERVER:-pulseaudio}
if [ "$server" = pipewire ]; then
  echo "== through PipeWire's PulseAudio server"
  pipewire >"$scratch/pipewire.log" 2>&1 &
  for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/pipewire-0" ] && break; sleep 0.1; done
  wireplumber >"$scratch/wireplumber.log" 2>&1 &
  # It takes its socket's folder from PULSE_RUNTIME_PATH, as PulseAudio does.
  pipewire-pulse >"$scratch/pipewire-pulse.log" 2>&1 &
  for _ in $(seq 100); do [ -S "$PULSE_RUNTIME_PATH/native" ] && break; sleep 0.1; done
  export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"
  pactl load-module module-null-sink sink_name=tonarika_null rate=44100 >/dev/null
  pactl set-default-sink tonarika_null
else
  echo "== through PulseAudio"
  cat >"$scratch/server.pa" <<PA
load-module module-null-sink sink_name=tonarika_null rate=44100
load-module module-native-protocol-unix socket=$PULSE_RUNTIME_PATH/native auth-anonymous=1
set-default-sink tonarika_null
PA
  pulseaudio -n -F "$scratch/server.pa" --daemonize=no --exit-idle-time=-1 --log-target=file:"$scratch/pulse.log" &
  for _ in $(seq 100); do [ -S "$PULSE_RUNTIME_PATH/native" ] && break; sleep 0.1; done
  export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"
fi
export SDL_AUDIODRIVER=pulseaudio QT_QPA_PLATFORM=xcb

Xvfb -displayfd 5 -screen 0 640x480x24 -nolisten tcp 5>"$scratch/display" 2>/dev/null &
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$scratch/display")"

# A copy of the game with its notes, so that it plays its own set.
mkdir -p "$scratch/game"
cp "$game" "$scratch/game/tonarika"
[ -e "$(dirname "$game")/tonarika-sound.so" ] && cp "$(dirname "$game")/tonarika-sound.so" "$scratch/game/"
cp -r "$build/wav" "$build/notes" "$scratch/game/"
cd "$scratch/game"
status=0

# Memory after a run of twelve questions in Easy; fails where the run was not counted.
memory_after_twelve() {
  rm -f "$scratch/game/Score.TXT"
  ./tonarika 2>>"$scratch/game.log" &
  local player=$!
  local window
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tonarika$' | head -n 1)
  xdotool mousemove --window "$window" 100 100
  sleep 2
  # Each question: Space asks, and one of the seven white keys is the answer (Easy).
  for _ in $(seq 12); do xdotool key --delay 60 space a s d f j k l; done
  sleep 1
  awk '/^VmRSS|^VmHWM/ { printf "  %s %.1f MiB\n", $1, $2 / 1024 }' "/proc/$player/status"
  [ -n "${SMAPS:-}" ] && cp "/proc/$player/smaps" "$SMAPS"
  kill -TERM "$player"; wait "$player" 2>/dev/null || true
  if ! grep -q '/12 回' "$scratch/game/Score.TXT" 2>/dev/null; then
    echo "  the run did not have twelve questions: nothing was measured" >&2
    status=1
  fi
}

if [ "$server" = pulseaudio ]; then
echo "== time to the window"
"$build/bench/tonarika-window-shown" 20 ./tonarika "$build/bench/bare-window" || status=1

echo "== memory after a run of twelve questions"
memory_after_twelve
fi

play() {
  ./tonarika 2>>"$scratch/game.log" &
  local player=$!
  "$build/bench/tonarika-latency" "$@" || status=1
  kill "$player"; wait "$player" 2>/dev/null || true
}
echo "== latency"
play --clicks 25
echo "== a thousand notes, two busy loops running"
busy=()
for _ in 1 2; do (while :; do :; done) & busy+=($!); done
play --stress
kill "${busy[@]}"

echo "== new questions, the piano alone"
play --clicks 25 --answer
mkdir -p "$HOME/.config/tonarika"
printf '[questions]\ntimbres = piano, marimba, guitar, clarinet, trumpet, sine\noctaves = 3-5\n' \
  >"$HOME/.config/tonarika/tonarika.conf"
echo "== new questions, every timbre and three octaves"
play --clicks 25 --answer
if [ "$server" = pulseaudio ]; then
  echo "== memory after a run of twelve questions, every timbre and three octaves"
  memory_after_twelve
fi
printf 'a4 = 442\n' >>"$HOME/.config/tonarika/tonarika.conf"
echo "== new questions, every timbre and three octaves, at A4 = 442 Hz"
play --clicks 25 --answer
if [ "$server" = pulseaudio ]; then
  echo "== memory after a run of twelve questions, every timbre and three octaves, at A4 = 442 Hz"
  memory_after_twelve
fi
exit $status
