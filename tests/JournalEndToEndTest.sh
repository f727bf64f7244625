#!/usr/bin/env bash
# The journal filled by the real program: under Xvfb with SDL's disk driver, three
# questions answered with real key presses must leave three rows in the player's data
# folder whose asked notes are the ones heard in the recording, in order, whose first
# answers are the keys pressed first, and whose reaction times are positive and shorter
# than the whole test.
#   JournalEndToEndTest.sh GAME RECORDED_NOTE_TOOL
set -u
game_program=$1
recorded_note=$2
. "$(dirname "$0")/ShellChecks.sh"
export TZ=UTC
. "$(dirname "$0")/GameUnderX.sh"

mkdir -p "$scratch/home"
start_display
began=$(date +%s%N)
HOME="$scratch/home" XDG_DATA_HOME="$scratch/home/data" QT_QPA_PLATFORM=xcb \
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$scratch/sound.raw" "$game_program" &
game=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tonarika$' | head -n 1)
[ -n "$window" ] || { echo "FAIL: no window"; exit 1; }
xdotool windowfocus --sync "$window"

# Easy mode asks white keys only (A S D F J K L). Each question: Space asks, the first
# guess comes half a second later, then every white key, one of which is right and ends
# the question; a pause lets the note die away before the next.
# The guess waits for the note to be in the recording: before it begins, no key answers.
first_guesses=(a s d)
asked=0
for guess in "${first_guesses[@]}"; do
  xdotool key space
  asked=$((asked + 1))
  wait_for_notes "$asked" "$scratch/sound.raw" || echo "FAIL: note $asked never sounded"
  sleep 0.5
  xdotool key "$guess"
  xdotool key --delay 30 a s d f j k l
  sleep 2.2
done
kill -TERM "$game"
check "the game ended" "wait_for_end $game"
took_ms=$(( ($(date +%s%N) - began) / 1000000 ))

journal="$scratch/home/data/tonarika/trials.sqlite"
check "the journal is in the player's data folder" "[ -f '$journal' ]"
rows=$(journal_rows "$journal")
heard=$("$recorded_note" --sequence "$scratch/sound.raw")
check "three rows, one per question" "[ $(printf '%s\n' "$rows" | grep -c .) -eq 3 ]"
check "three notes were heard" "[ $(printf '%s\n' "$heard" | grep -c .) -eq 3 ]"
check "the rows' notes are the notes heard, in order" \
  "[ \"$(printf '%s\n' "$rows" | cut -d' ' -f1)\" = \"$heard\" ]"
check "the first answers are the first keys pressed (Do, Re, Mi)" \
  "[ \"$(printf '%s\n' "$rows" | cut -d' ' -f2 | tr '\n' ' ')\" = '0 1 2 ' ]"
while read -r asked answered reaction plays mode; do
  check "a positive reaction time below the test's $took_ms ms: $reaction" \
    "[ '$reaction' != None ] && [ '$reaction' -gt 0 ] && [ '$reaction' -lt $took_ms ]"
  check "played once, in Easy mode: $plays $mode" "[ '$plays $mode' = '1 Easy' ]"
done <<<"$rows"

report
