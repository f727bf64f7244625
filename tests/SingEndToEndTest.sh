#!/usr/bin/env bash
# Singing a named note, the real program under Xvfb, listening on a PulseAudio server of
# the test's own whose null sink's monitor is the default input: a voice-like A4 23 cents
# sharp, with vibrato, is played into the sink once Listen has named the note, and the
# result label and the journal must hold the error against the note named. Then with no
# sound server, through SDL's capture (its disk driver reading the same voice), and with
# no input device at all.
#   SingEndToEndTest.sh GAME
set -u
game_program=$1
. "$(dirname "$0")/ShellChecks.sh"
export TZ=UTC
. "$(dirname "$0")/GameUnderX.sh"

export PULSE_RUNTIME_PATH="$scratch/pulse" XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -p "$PULSE_RUNTIME_PATH" && mkdir -m 700 "$XDG_RUNTIME_DIR"
cat >"$scratch/server.pa" <<PA
load-module module-null-sink sink_name=tonarika_null rate=44100
load-module module-native-protocol-unix socket=$PULSE_RUNTIME_PATH/native auth-anonymous=1
set-default-sink tonarika_null
set-default-source tonarika_null.monitor
PA
pulseaudio -n -F "$scratch/server.pa" --daemonize=no --exit-idle-time=-1 --log-target=file:"$scratch/pulse.log" &
for _ in $(seq 100); do [ -S "$PULSE_RUNTIME_PATH/native" ] && break; sleep 0.1; done
export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"

# A sung vowel: a fundamental and its harmonics, vibrato of ±30 cents at 5.5 Hz, a little
# jitter, a soft onset; 1.5 s of it. Also as raw float samples after 0.6 s of faint noise,
# for SDL's disk driver to read as the input.
/usr/bin/python3 - "$scratch/voice.wav" "$scratch/voice.f32" <<'PY'
import math, random, struct, sys, wave
rate, seconds, hz = 44100, 1.5, 440.0 * 2 ** (23 / 1200)
random.seed(7)
phase, frames = 0.0, bytearray()
for i in range(int(rate * seconds)):
    t = i / rate
    cents = 30 * math.sin(2 * math.pi * 5.5 * t) + random.gauss(0, 2)
    phase += 2 * math.pi * hz * 2 ** (cents / 1200) / rate
    voice = sum(math.sin(k * phase) / k ** 1.5 for k in range(1, 8))
    frames += struct.pack("<h", int(9000 * min(1.0, t / 0.05) * voice))
with wave.open(sys.argv[1], "wb") as out:
    out.setnchannels(1)
    out.setsampwidth(2)
    out.setframerate(rate)
    out.writeframes(bytes(frames))
with open(sys.argv[2], "wb") as raw:
    quiet = [random.gauss(0, 0.001) for _ in range(int(rate * 0.6))]
    voice = [s / 32768 for (s,) in struct.iter_unpack("<h", bytes(frames))]
    raw.write(struct.pack(f"<{len(quiet) + len(voice)}f", *quiet, *voice))
PY

mkdir -p "$scratch/home"
start_display
game_args=(--sing)
window_name='^Tonarika 声$'
start_game "$scratch/home" "$scratch/sound.raw" || { echo "FAIL: no window titled Tonarika 声"; exit 1; }
journal="$scratch/home/data/tonarika/trials.sqlite"
# The record streams the server has, by the names the desktop shows for them.
recording() { pactl list source-outputs | grep -c 'media.name = "声の答え"'; }
check "the input is closed until Listen asks" "[ \"\$(recording)\" -eq 0 ]"
xdotool key space
for _ in $(seq 100); do [ "$(recording)" -gt 0 ] && break; sleep 0.1; done
check "Listen opens a record stream of the game's own, named 声の答え" "[ \"\$(recording)\" -eq 1 ]"
sleep 0.5
paplay --device=tonarika_null "$scratch/voice.wav"
for _ in $(seq 100); do [ "$(journal_count "$journal")" -gt 0 ] && break; sleep 0.1; done
check "the input is closed once the answer is heard" "[ \"\$(recording)\" -eq 0 ]"
kill -TERM "$game"
check "the game ended" "wait_for_end $game"
# The one sung answer kept in a journal, against the voice's A4 + 23 cents.
check_sung() {
  local row mode asked cents input reaction expected
  row=$(/usr/bin/python3 - "$1" <<'PY'
import sqlite3, sys
with sqlite3.connect(f"file:{sys.argv[1]}?mode=ro", uri=True) as db:
    for row in db.execute("SELECT mode, asked, cents_off, input, reaction_ms FROM trials"):
        print(*row)
PY
)
  echo "kept: $row"
  read -r mode asked cents input reaction <<<"$row"
  check "$2: one sung answer kept as Sing, from the voice" "[ \"$mode $input\" = 'Sing voice' ]"
  # Its place in the octave from ラ, folded.
  expected=$(/usr/bin/python3 -c "
s = [0, 2, 4, 5, 7, 9, 11, 1, 3, 6, 8, 10][${asked:-0}]
c = (23 + 100 * (9 - s)) % 1200
print(c - 1200 if c > 600 else c)")
  # Within 10 cents: the median over 200 ms of vibrato keeps a little of it.
  check "$2: the error is within 10 cents of the one sung against the note named ($cents, not $expected)" \
    "[ \"\${cents:-x}\" != x ] && [ \$(( cents - expected )) -le 10 ] && [ \$(( expected - cents )) -le 10 ]"
  check "$2: the reaction time runs from the name to the voice ($reaction ms)" \
    "[ \"\${reaction:-0}\" -ge 400 ] && [ \"\${reaction:-0}\" -le 5000 ]"
}
check_sung "$journal" "the server's input"

# No sound server: SDL's capture, whose disk driver reads the voice from its file.
mkdir -p "$scratch/home3"
PULSE_SERVER="unix:$scratch/no-such-socket" SDL_DISKAUDIOFILEIN="$scratch/voice.f32" \
  start_game "$scratch/home3" "$scratch/sound3.raw" || { echo "FAIL: no window"; exit 1; }
journal3="$scratch/home3/data/tonarika/trials.sqlite"
xdotool key space
for _ in $(seq 100); do [ "$(journal_count "$journal3")" -gt 0 ] && break; sleep 0.1; done
kill -TERM "$game"
check "the game ended after SDL's capture" "wait_for_end $game"
check_sung "$journal3" "SDL's capture"

# No input device: the microphone cannot be opened, and nothing is counted.
rm -rf "$scratch/home2" && mkdir -p "$scratch/home2"
PULSE_SERVER="unix:$scratch/no-such-socket" SDL_DISKAUDIOFILEIN="$scratch/no-such-input.f32" \
  start_game "$scratch/home2" "$scratch/sound2.raw" || { echo "FAIL: no window"; exit 1; }
xdotool key space
sleep 1.5
kill -TERM "$game"
check "the game ended without a device" "wait_for_end $game"
check "nothing is kept without a device" "[ \"$(journal_count "$scratch/home2/data/tonarika/trials.sqlite")\" -eq 0 ]"

report
