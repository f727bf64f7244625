#!/usr/bin/env bash
# The real game under Xvfb, answered from a MIDI keyboard that the test makes, on a JACK
# server of the test's own (SERVER=pipewire: PipeWire's JACK, through pw-jack, on a
# private PipeWire). The keyboard is plugged in while the game runs; its pedal asks, its
# keys answer in four octaves, a chord answers once, and the journal says midi for each
# answer, timed to the message's arrival.
#   MidiEndToEndTest.sh GAME RECORDED_NOTE_TOOL MIDI_KEYBOARD_TOOL
set -u
game_program=$1
recorded_note=$2
midi_keyboard=$3
server=${SERVER:-jackd}
# PipeWire and WirePlumber talk over a session bus: one of the test's own.
if [ "$server" = pipewire ] && [ -z "${TONARIKA_TEST_BUS:-}" ]; then
  TONARIKA_TEST_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
bus=${DBUS_SESSION_BUS_ADDRESS:-}
. "$(dirname "$0")/ShellChecks.sh"
[ "$server" = pipewire ] && export DBUS_SESSION_BUS_ADDRESS=$bus
export TZ=UTC
. "$(dirname "$0")/GameUnderX.sh"

export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
jack=()
if [ "$server" = pipewire ]; then
  pipewire >"$scratch/pipewire.log" 2>&1 &
  for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/pipewire-0" ] && break; sleep 0.1; done
  wireplumber >"$scratch/wireplumber.log" 2>&1 &
  jack=(pw-jack)
else
  export JACK_DEFAULT_SERVER="tonarika-e2e-$$" JACK_NO_AUDIO_RESERVATION=1
  start_jackd() {
    jackd -n "$JACK_DEFAULT_SERVER" --no-realtime -t 10000 -d dummy -r 48000 -p 128 -C 0 -P 0 >"$scratch/jackd.log" 2>&1 &
    jackd_pid=$!
  }
  start_jackd
  # jackd2 keeps eight servers' places, and gives back the place of one that died without
  # its end only to a server of its name: where no server runs at all, those are stale.
  for _ in $(seq 100); do
    kill -0 "$jackd_pid" 2>/dev/null && ! jack_wait -c >/dev/null 2>&1 || break
    sleep 0.1
  done
  if ! kill -0 "$jackd_pid" 2>/dev/null && grep -q 'Too many servers already active' "$scratch/jackd.log" \
    && ! pgrep -x jackd >/dev/null && ! pgrep -x jackdbus >/dev/null; then
    rm -f /dev/shm/jack-* /dev/shm/jack_sem.* /dev/shm/jack_db-*
    start_jackd
  fi
fi
"${jack[@]}" jack_wait -w -t 20 >/dev/null 2>&1 || { echo "FAIL: no $server JACK server"; exit 1; }

home="$scratch/home"
mkdir -p "$home"
start_display
game_prefix=("${jack[@]}")
start_game "$home" "$scratch/sound.raw" 2>"$scratch/stderr" || { echo "FAIL: no window"; cat "$scratch/stderr"; exit 1; }

# Plugged in once the game runs.
coproc keyboard { "${jack[@]}" "$midi_keyboard" "Test Keyboard"; }
read -r -t 20 ready <&"${keyboard[0]}"
check "the keyboard was made" "[ '${ready:-}' = ready ]"
connected() { grep -q "tonarika.midi: MIDI: keyboard connected: Test Keyboard:out" "$scratch/stderr"; }
for _ in $(seq 150); do connected && break; sleep 0.1; done
check "the game connected the keyboard" connected
system="JACK is open"
[ "$server" = pipewire ] && system="PipeWire's JACK is open"
check "the game said which system it opened, and its period" \
  "grep -q \"\$system, as tonarika:answers: a period of [0-9]* frames\" '$scratch/stderr'"

# The keyboard's note for a note index, in the octave `$2` (C4 is 60).
semitones=(0 2 4 5 7 9 11 1 3 6 8 10)
midi_note() { echo $((12 * ($2 + 1) + ${semitones[$1]})); }
send() { echo "$*" >&"${keyboard[1]}"; }

journal="$home/data/tonarika/trials.sqlite"
previous=""
expected=()
octaves=(2 4 6 1 5)
# JACK loses what a client was to send in a period it missed, as a busy machine makes it:
# a pedal that asked nothing is pressed again, after the last right key once more in case
# that was what was lost, and a key whose answer was not counted is played again.
for question in 0 1 2 3 4; do
  heard=""
  for attempt in 1 2 3; do
    [ "$attempt" -gt 1 ] && [ -n "$previous" ] && send on "$(midi_note "$previous" 3)" 90
    # The pedal goes down: Listen.
    send cc 64 127
    send cc 64 0
    heard=$(wait_for_new_note "$previous" "$scratch/sound.raw" 80)
    [ -n "$heard" ] && break
  done
  [ -n "$heard" ] || { echo "FAIL: question $((question + 1)) never sounded"; continue; }
  sleep 0.5
  answer=$heard
  # The fourth is missed, with the white key above; the second is a chord, its first note
  # the right one.
  [ $question -eq 3 ] && answer=$(((heard + 1) % 7))
  send on "$(midi_note "$answer" "${octaves[$question]}")" 90
  [ $question -eq 1 ] && send on "$(midi_note $(((heard + 2) % 7)) "${octaves[$question]}")" 90
  expected+=("$heard $answer")
  for attempt in 1 2 3; do
    for _ in $(seq 50); do [ "$(journal_count "$journal")" -gt "$question" ] && break 2; sleep 0.1; done
    send on "$(midi_note "$answer" "${octaves[$question]}")" 90
  done
  # A miss leaves the question pending: answered right, the next Listen asks anew.
  [ $question -eq 3 ] && { sleep 0.1; send on "$(midi_note "$heard" 3)" 90; sleep 0.3; }
  previous=$heard
done
rows=$(/usr/bin/python3 - "$journal" <<'PY'
import sqlite3, sys
with sqlite3.connect(f"file:{sys.argv[1]}?mode=ro", uri=True) as db:
    for row in db.execute("SELECT asked, answered, input, reaction_ms FROM trials ORDER BY id"):
        print(*row)
PY
)
echo "journal (asked answered input reaction_ms):"; printf '%s\n' "$rows"
check "five answers, the chord's once" "[ $(printf '%s\n' "$rows" | grep -c .) -eq 5 ]"
check "each answered with the key played" \
  "[ \"$(printf '%s\n' "$rows" | cut -d' ' -f1,2)\" = \"$(printf '%s\n' "${expected[@]}")\" ]"
check "each from the MIDI keyboard" "[ -z \"\$(printf '%s\n' \"$rows\" | cut -d' ' -f3 | grep -vx midi)\" ]"
# At least the 0.5 s the test waited after the note began.
check "each timed from the note to the message" \
  "printf '%s\n' \"$rows\" | awk '{ if (\$4 == \"None\" || \$4 < 400 || \$4 > 10000) exit 1 }'"

# Unplugged: gone, quietly; the game plays on.
send quit
for _ in $(seq 50); do grep -q "keyboard gone: Test Keyboard:out" "$scratch/stderr" && break; sleep 0.1; done
check "the game saw the keyboard go" "grep -q 'keyboard gone: Test Keyboard:out' '$scratch/stderr'"
check "the game plays on" "kill -0 $game"
kill -TERM "$game"
check "the game ended" "wait_for_end $game"
check "neither libjack nor alsa-lib wrote to stderr but through the game" \
  "[ -z \"\$(grep -v '^tonarika\\.' '$scratch/stderr' | grep -iE 'jack|alsa|midi')\" ]"
[ "$failures" -eq 0 ] || cat "$scratch/stderr"
report
