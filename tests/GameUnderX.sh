# Sourced by the tests that drive the real program under Xvfb with real key presses.
# Needs $scratch, a folder of the test's own.

# Starts an X server of its own; sets DISPLAY and $xvfb, its process.
start_display() {
  rm -f "$scratch/display-number"
  Xvfb -displayfd 5 -screen 0 640x480x24 -nolisten tcp 5>"$scratch/display-number" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$scratch/display-number" ] && break; sleep 0.05; done
  export DISPLAY=":$(cat "$scratch/display-number")"
}

# Waits for the game's window and plays one counted question: Space asks, A answers
# Do, which the first question never is, so it counts as a miss. A is pressed again for a
# while: before the note begins it is no answer, and once it has been, a second miss of
# one question counts nothing. False if no window.
play_counted_question() {
  local window
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tonarika$' | head -n 1)
  [ -n "$window" ] || return 1
  xdotool windowfocus --sync "$window"
  xdotool key --delay 100 space a
  for _ in 1 2 3 4 5; do sleep 0.2; xdotool key a; done
}

# The journal's rows, a line each in the order written: asked answered reaction_ms plays
# mode (reaction_ms "None" where the note did not sound). Nothing where there is no file.
journal_rows() {
  [ -f "$1" ] || return 0
  /usr/bin/python3 - "$1" <<'PY'
import sqlite3, sys
with sqlite3.connect(f"file:{sys.argv[1]}?mode=ro", uri=True) as db:
    for row in db.execute("SELECT asked, answered, reaction_ms, plays, mode FROM trials ORDER BY id"):
        print(*row)
PY
}

# Waits until the recording $2 holds $1 notes one after another, as the tool
# $recorded_note tells them, fifteen seconds at most; false if it does not.
wait_for_notes() {
  for _ in $(seq 150); do
    [ "$("$recorded_note" --sequence "$2" 2>/dev/null | grep -c .)" -ge "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# The note the recording $2 holds last, once it is not $1 (the last question's: no note
# comes twice in a row, and the last one rings on until the next cuts it), as the tool
# $recorded_note tells it; fifteen seconds at most, nothing where none came.
wait_for_new_note() {
  local heard
  for _ in $(seq "${3:-150}"); do
    heard=$("$recorded_note" --last "$2" 2>/dev/null)
    [ -n "$heard" ] && [ "$heard" != "$1" ] && { echo "$heard"; return; }
    sleep 0.1
  done
}

# How many rows the journal $1 holds; 0 where there is none yet.
journal_count() {
  [ -f "$1" ] || { echo 0; return; }
  /usr/bin/python3 - "$1" <<'PY'
import sqlite3, sys
with sqlite3.connect(f"file:{sys.argv[1]}?mode=ro", uri=True) as db:
    print(db.execute("SELECT count(*) FROM trials").fetchone()[0])
PY
}

# Presses the keys $2... until the journal $1 holds one row more, fifteen seconds at most:
# an answer before the note has begun is no answer, and a busy machine can begin it late.
answer_until_counted() {
  local journal=$1
  shift
  local before
  before=$(journal_count "$journal")
  for _ in $(seq 30); do
    xdotool key --delay 30 "$@"
    sleep 0.5
    [ "$(journal_count "$journal")" -gt "$before" ] && return 0
  done
  return 1
}

# Waits up to ten seconds for a process to end; false if it is still running.
wait_for_end() {
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  return 1
}

# Starts the game ($game_program) as a player whose home is $1, its sound recorded by SDL's
# disk driver into $2; sets $game and focuses its window. False if no window comes. The
# array $game_prefix, where set, comes before the program (prlimit and its options), the
# array $game_args after it; $window_name, where set, is the window's title as a pattern.
start_game() {
  HOME="$1" XDG_DATA_HOME="$1/data" XDG_CONFIG_HOME="$1/config" QT_QPA_PLATFORM=xcb \
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$2" ${game_prefix[@]+"${game_prefix[@]}"} "$game_program" \
    ${game_args[@]+"${game_args[@]}"} &
  game=$!
  local window
  window=$(timeout 20 xdotool search --sync --onlyvisible --name "${window_name:-^Tonarika\$}" | head -n 1)
  [ -n "$window" ] || return 1
  xdotool windowfocus --sync "$window"
}
