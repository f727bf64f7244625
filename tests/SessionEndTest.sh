#!/usr/bin/env bash
# The end of a session must not lose the run. Starts the real program under Xvfb, plays
# one counted question with real key presses (Space asks; A answers Do, which the first
# question never is, so it is a miss), then ends the process the way a session ends it:
# SIGTERM, SIGINT, SIGHUP (also while the modal about box is open), or the display
# going away. Each time the run's record must be in Score.TXT exactly once, and the
# answer in the journal.
#   SessionEndTest.sh PROGRAM
set -u
program=$1
. "$(dirname "$0")/ShellChecks.sh"

fail() { echo "FAIL ($1): $2"; ending_failed=1; }
. "$(dirname "$0")/GameUnderX.sh"

for ending in TERM INT HUP HUP-over-about display; do
  ending_failed=0
  # A copy of the program (and its sound module) of its own, so the record lands beside
  # it, not in the build.
  folder="$scratch/$ending"
  mkdir -p "$folder/data"
  cp "$program" "$(dirname "$program")/tonarika-sound.so" "$folder/"
  start_display
  (cd "$folder" && HOME="$folder" XDG_DATA_HOME="$folder/data" QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy \
     exec ./tonarika) &
  game=$!
  if ! play_counted_question; then
    fail "$ending" "the window never appeared"; kill "$game" "$xvfb"; failures=$((failures + 1)); continue
  fi
  if [ "$ending" = HUP-over-about ]; then
    xdotool key --delay 200 alt+h v
    timeout 10 xdotool search --sync --onlyvisible --name 'ﾊﾞｰｼﾞｮﾝ情報' >/dev/null || fail "$ending" "no about box"
  fi
  sleep 1
  case $ending in
    display) kill "$xvfb" ;;
    *) kill -s "${ending%%-*}" "$game" ;;
  esac
  if ! wait_for_end "$game"; then
    fail "$ending" "the game did not end"; kill -9 "$game"
  fi
  kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null
  records=$(grep -c ' 1/ 1 回' "$folder/Score.TXT" 2>/dev/null)
  if [ "${records:-0}" != 1 ]; then
    fail "$ending" "expected one record of 1 miss in 1 question, found ${records:-none}"
  fi
  [ -e "$folder/data/tonarika/Score.TXT" ] && fail "$ending" "the record went to the data folder"
  # The question's first answer, queued for the journal, is written before the end.
  trials=$(journal_rows "$folder/data/tonarika/trials.sqlite" | grep -c '^[0-9]* 0 ')
  [ "$trials" = 1 ] || fail "$ending" "expected the journal to hold the one answer (Do), found $trials rows"
  # Each ending counts once, however many of its checks failed.
  if [ "$ending_failed" -eq 0 ]; then passes=$((passes + 1)); else failures=$((failures + 1)); fi
done

report
