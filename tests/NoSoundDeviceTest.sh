#!/usr/bin/env bash
# A machine with no sound at all (no sound server, and SDL given a driver that does not
# exist): the real game under Xvfb asks three times and never opens a box, counts nothing,
# says why on stderr, and ends from its menu at once.
#   NoSoundDeviceTest.sh GAME
set -u
game_program=$1
. "$(dirname "$0")/ShellChecks.sh"
. "$(dirname "$0")/GameUnderX.sh"

home="$scratch/home"
mkdir -p "$home"
start_display
(cd "$home" && HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" QT_QPA_PLATFORM=xcb \
   TONARIKA_SOUND_OUTPUT=sdl SDL_AUDIODRIVER=no-such-driver exec "$game_program" 2>"$scratch/stderr") &
game=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tonarika$' | head -n 1)
[ -n "$window" ] || { echo "FAIL: no window"; exit 1; }
xdotool windowfocus --sync "$window"
for _ in 1 2 3; do
  xdotool key space
  sleep 0.5
  xdotool key a
done
sleep 0.5
check "no box was opened" "[ -z \"\$(xdotool search --onlyvisible --name '^Error\$' 2>/dev/null)\" ]"
# The quit command from the menu: Alt+O opens オプション, Q is 終了.
xdotool key --delay 200 alt+o q
check "the game ended from its menu" "wait_for_end $game"
check "nothing was counted: no score line" "[ ! -e '$home/Score.TXT' ] && [ ! -e '$home/data/tonarika/Score.TXT' ]"
check "nothing was counted: no journal row" "[ \"\$(journal_count '$home/data/tonarika/trials.sqlite')\" = 0 ]"
check "stderr says why" "grep -q 'no sound' '$scratch/stderr'"

report
