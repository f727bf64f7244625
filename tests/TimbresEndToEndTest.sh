#!/usr/bin/env bash
# Every timbre and three octaves chosen in the settings file, the real program under Xvfb
# with SDL's disk driver: six questions (or more, until two octaves were asked) answered with real key presses, and the recording
# must hold, in order, the notes, octaves and timbres the journal names, no timbre twice
# in a row.
#   TimbresEndToEndTest.sh GAME RECORDED_SOUNDS_TOOL NOTES_FOLDER
set -u
game_program=$1
recorded_sounds=$2
notes_folder=$3
. "$(dirname "$0")/ShellChecks.sh"
export TZ=UTC
. "$(dirname "$0")/GameUnderX.sh"

mkdir -p "$scratch/home/config/tonarika"
cat >"$scratch/home/config/tonarika/tonarika.conf" <<'CONF'
[questions]
timbres = piano, marimba, guitar, clarinet, trumpet, sine
octaves = 3-5
guard = false
CONF
start_display
start_game "$scratch/home" "$scratch/sound.raw" || { echo "FAIL: no window"; exit 1; }

# Easy mode: every white key, one of which is right, ends each question; the note then
# dies away before the next is asked, so that silence parts one sound from the next.
# Six questions, and more, up to twelve, while they have all been in one octave (which
# six questions are one time in 243).
journal="$scratch/home/data/tonarika/trials.sqlite"
octaves_asked() {
  /usr/bin/python3 - "$journal" <<'PY'
import sqlite3, sys
with sqlite3.connect(f"file:{sys.argv[1]}?mode=ro", uri=True) as db:
    print(db.execute("SELECT count(DISTINCT octave) FROM trials").fetchone()[0])
PY
}
answered=0
while [ "$answered" -lt 12 ]; do
  [ "$answered" -ge 6 ] && [ "$(octaves_asked)" -gt 1 ] && break
  xdotool key space
  sleep 0.6
  answer_until_counted "$journal" a s d f j k l || { echo "FAIL: a question was never answered"; break; }
  answered=$((answered + 1))
  sleep 2.0
done
kill -TERM "$game"
check "the game ended" "wait_for_end $game"
conf="$scratch/home/config/tonarika/tonarika.conf"
check "the receipt beside the settings file names what the game read" \
  "[ \"\$(cat '$conf.taken')\" = \"\$(sha256sum '$conf' | cut -d' ' -f1)\" ]"

asked=$(/usr/bin/python3 - "$journal" <<'PY'
import sqlite3, sys
with sqlite3.connect(f"file:{sys.argv[1]}?mode=ro", uri=True) as db:
    for row in db.execute("SELECT asked, octave, timbre FROM trials ORDER BY id"):
        print(*row)
PY
)
heard=$("$recorded_sounds" "$notes_folder" "$scratch/sound.raw")
echo "asked:"; printf '%s\n' "$asked"
echo "heard:"; printf '%s\n' "$heard"
check "a row per question, six or more" "[ $(printf '%s\n' "$asked" | grep -c .) -eq $answered ] && [ $answered -ge 6 ]"
check "the recording holds the notes, octaves and timbres the journal names, in order" \
  "[ \"$asked\" = \"$heard\" ]"
check "no timbre twice in a row" \
  "[ -z \"\$(printf '%s\n' \"$asked\" | cut -d' ' -f3 | uniq -d)\" ]"
check "more than one octave was asked" \
  "[ $(printf '%s\n' "$asked" | cut -d' ' -f2 | sort -u | grep -c .) -gt 1 ]"

report
