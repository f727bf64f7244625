#!/usr/bin/env bash
# The notes a player chose, at the A4 they tune to, in the real program under Xvfb with
# SDL's disk driver: with notes = C, E, G and a4 = 442, six questions answered with real
# key presses; the recording holds only ド ミ ソ, each within a cent and a half of equal
# temperament at A4 = 442 Hz, and the journal keeps the same notes at 442.
#   OwnPathEndToEndTest.sh GAME RECORDED_NOTE_TOOL
set -u
game_program=$1
recorded_note=$2
. "$(dirname "$0")/ShellChecks.sh"
export TZ=UTC
. "$(dirname "$0")/GameUnderX.sh"

home="$scratch/home"
mkdir -p "$home/config/tonarika"
printf '[questions]\nnotes = C, E, G\na4 = 442\n' >"$home/config/tonarika/tonarika.conf"
start_display
start_game "$home" "$scratch/sound.raw" || { echo "FAIL: no window"; exit 1; }

keys=(a s d f j k l)
previous=""
for question in 1 2 3 4 5 6; do
  xdotool key space
  heard=$(wait_for_new_note "$previous" "$scratch/sound.raw")
  [ -n "$heard" ] || echo "FAIL: question $question never sounded"
  # The note sounds whole before it is answered and the next cuts it.
  sleep 1.0
  [ -n "$heard" ] && xdotool key "${keys[$heard]}"
  previous=$heard
  sleep 0.2
done
kill -TERM "$game"
check "the game ended" "wait_for_end $game"

pitches=$("$recorded_note" --pitch 442 "$scratch/sound.raw")
echo "heard (note, cents from equal temperament at 442 Hz):"; printf '%s\n' "$pitches"
check "six notes were heard" "[ $(printf '%s\n' "$pitches" | grep -c .) -eq 6 ]"
check "only ド, ミ and ソ" "[ -z \"\$(printf '%s\n' \"$pitches\" | cut -d' ' -f1 | grep -vx '[024]')\" ]"
while read -r note cents; do
  check "note $note within 1.5 cents at A4 = 442: $cents" \
    "awk -v c='$cents' 'BEGIN { exit !(c >= -1.5 && c <= 1.5) }'"
done <<<"$pitches"
rows=$(/usr/bin/python3 - "$home/data/tonarika/trials.sqlite" <<'PY'
import sqlite3, sys
with sqlite3.connect(f"file:{sys.argv[1]}?mode=ro", uri=True) as db:
    for row in db.execute("SELECT asked, a4 FROM trials ORDER BY id"):
        print(*row)
PY
)
check "six rows, one per question" "[ $(printf '%s\n' "$rows" | grep -c .) -eq 6 ]"
check "the journal names the notes heard, at 442 Hz" \
  "[ \"$(printf '%s\n' "$rows" | cut -d' ' -f1)\" = \"$(printf '%s\n' "$pitches" | cut -d' ' -f1)\" ] && [ -z \"\$(printf '%s\n' \"$rows\" | cut -d' ' -f2 | grep -vx 442)\" ]"

report
