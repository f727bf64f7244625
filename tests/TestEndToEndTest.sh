#!/usr/bin/env bash
# The test of absolute pitch in the real program under Xvfb with SDL's disk driver:
# tonarika --test, its 72 items each told from the recording (the note after the guard's
# tones, in any of octaves 3 to 5) and answered with a real key press, a third right, a
# third a semitone off, a third a tritone off. Nothing is said of an answer until the
# end; the result on stderr scores the journal's answers as the studies do, the journal
# keeps all 72 under one test, and the score file hears nothing.
#   TestEndToEndTest.sh GAME RECORDED_NOTE_TOOL
set -u
game_program=$1
recorded_note=$2
. "$(dirname "$0")/ShellChecks.sh"
export TZ=UTC
. "$(dirname "$0")/GameUnderX.sh"

home="$scratch/home"
mkdir -p "$home/config/tonarika"
# Of the settings, the A4 alone holds in the test.
printf '[questions]\ntimbres = marimba\nnotes = C, E\nweak_notes = true\n' >"$home/config/tonarika/tonarika.conf"
start_display
game_args=(--test)
window_name='^Tonarika テスト 0 / 72$'
export QT_MESSAGE_PATTERN='%{category}: %{message}'
start_game "$home" "$scratch/sound.raw" 2>"$scratch/stderr" || { echo "FAIL: no window"; cat "$scratch/stderr"; exit 1; }
journal="$home/data/tonarika/trials.sqlite"

keys=(a s d f j k l w e u i o)
semitone=(0 2 4 5 7 9 11 1 3 6 8 10)  # of each note index
index=(0 7 1 8 2 3 9 4 10 5 11 6)     # of each semitone
heard_all=()
for item in $(seq 72); do
  offset=$(stat -c %s "$scratch/sound.raw" 2>/dev/null || echo 0)
  xdotool key space
  heard=""
  for _ in $(seq 150); do
    heard=$("$recorded_note" --after "$offset" "$scratch/sound.raw" 2>/dev/null) && break
    heard=""
    sleep 0.1
  done
  [ -n "$heard" ] || { echo "FAIL: item $item never sounded"; break; }
  heard_all+=("$heard")
  case $((item % 3)) in
    0) apart=0 ;;
    1) apart=1 ;;
    *) apart=6 ;;
  esac
  answer=${index[$(((${semitone[$heard]} + apart) % 12))]}
  answer_until_counted "$journal" "${keys[$answer]}" || { echo "FAIL: item $item's answer was not taken"; break; }
  [ "$item" -eq 36 ] && check "half way, the title counts the items" \
    "xdotool search --onlyvisible --name '^Tonarika テスト 36 / 72\$' >/dev/null"
  [ "$item" -eq 36 ] && check "half way, no result yet" "! grep -q 'tonarika.test' '$scratch/stderr'"
done
for _ in $(seq 50); do grep -q 'tonarika.test' "$scratch/stderr" && break; sleep 0.1; done
kill -TERM "$game"
check "the game ended" "wait_for_end $game"

result=$(grep 'tonarika.test' "$scratch/stderr")
echo "result: $result"
expected=$(/usr/bin/python3 - "$journal" "${heard_all[*]}" <<'PY'
import math, sqlite3, statistics, sys
semitone = [0, 2, 4, 5, 7, 9, 11, 1, 3, 6, 8, 10]
with sqlite3.connect(f"file:{sys.argv[1]}?mode=ro", uri=True) as db:
    rows = db.execute("SELECT asked, answered, timbre, octave, guard, mode, test, reaction_ms, a4 FROM trials "
                      "ORDER BY id").fetchall()
problems = []
if len(rows) != 72:
    problems.append(f"{len(rows)} rows, not 72")
if {(r[5], r[6], r[4], r[8]) for r in rows} != {("Test", 1, 1, 440)}:
    problems.append("not all of mode Test, test 1, with the guard, at 440 Hz")
if len({(r[0], r[2], r[3]) for r in rows}) != 72 or {r[2] for r in rows} != {"sine", "piano"} \
        or {r[3] for r in rows} != {3, 4, 5}:
    problems.append("not every note of octaves 3 to 5 once as each timbre")
if [str(r[0]) for r in rows] != sys.argv[2].split():
    problems.append("the notes heard are not the notes the journal names")
points = {"sine": 0.0, "piano": 0.0}
off = 0
for asked, answered, timbre, *_ in rows:
    apart = abs(semitone[asked] - semitone[answered])
    apart = min(apart, 12 - apart)
    points[timbre] += 1.0 if apart == 0 else 0.75 if apart == 1 else 0.0
    off += apart == 1
# At most two decimals, none where they are nought: "27.25", "30", "0.8", "0".
def text(value):
    return f"{value:.2f}".rstrip("0").rstrip(".")
# The median in seconds to a tenth, half a tenth up, written as every other figure: how
# fast the answers came decides only the value, never the form.
median_ms = statistics.median(r[7] for r in rows if r[7] is not None)
print("純音: " + text(points["sine"]) + " / 36")
print("ピアノ: " + text(points["piano"]) + " / 36")
print("半音違いの答え: " + text(100 * off / len(rows)) + " %")
print("反応時間の中央値: " + text(math.floor(median_ms / 100 + 0.5) / 10) + " 秒")
for problem in problems:
    print("PROBLEM " + problem)
PY
)
check "the journal keeps the test as it was taken" "! printf '%s\n' \"$expected\" | grep PROBLEM"
while read -r line; do
  case $line in PROBLEM*) continue ;; esac
  check "the result says $line" "printf '%s\n' \"\$result\" | grep -qF '$line'"
done <<<"$expected"
check "the result names the A4 and the reference" \
  "printf '%s\n' \"\$result\" | grep -qF 'A4 = 440 Hz' && printf '%s\n' \"\$result\" | grep -qF '24.5 / 36'"
check "the score file heard nothing" "[ ! -s '$home/data/tonarika/Score.TXT' ]"

report
