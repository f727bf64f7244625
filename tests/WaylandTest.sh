#!/usr/bin/env bash
# The game under a Wayland compositor: weston runs with its X11 backend on an Xvfb of the
# test's own (its headless backend has no keyboard to type on), and the game connects to
# it as a Wayland client. Its app id must be its desktop id, so that the shell finds its
# icon and entry; a real key press travels X -> weston -> the game: Space asks, A answers
# (Do, which the first question never is). The note must be in SDL's disk recording and
# the run's miss in Score.TXT. Skipped (77) where weston cannot start.
#   WaylandTest.sh PROGRAM RECORDED_NOTE_TOOL APP_ID
set -u
program=$1
recorded_note=$2
id=$3
. "$(dirname "$0")/ShellChecks.sh"
. "$(dirname "$0")/GameUnderX.sh"

if ! command -v weston >/dev/null; then
  echo "SKIP: weston is not installed"
  exit 77
fi
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
start_display
weston --backend=x11-backend.so --use-pixman --socket=wayland-test --no-config --idle-time=0 \
  --width=640 --height=480 >"$scratch/weston.log" 2>&1 &
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/wayland-test" ] && break; sleep 0.1; done
if [ ! -S "$XDG_RUNTIME_DIR/wayland-test" ]; then
  echo "SKIP: weston did not start:"; tail -n 5 "$scratch/weston.log"
  exit 77
fi

mkdir -p "$scratch/game/data"
cp "$program" "$(dirname "$program")/tonarika-sound.so" "$scratch/game/"
cp -r "$(dirname "$program")/wav" "$scratch/game/"
(cd "$scratch/game" && HOME="$scratch/game" XDG_DATA_HOME="$scratch/game/data" QT_QPA_PLATFORM=wayland \
   WAYLAND_DISPLAY=wayland-test WAYLAND_DEBUG=client SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$scratch/sound.raw" \
   exec ./tonarika 2>"$scratch/protocol.log") &
game=$!
for _ in $(seq 100); do grep -q 'set_app_id' "$scratch/protocol.log" 2>/dev/null && break; sleep 0.1; done
check "the window's app id is $id" "grep -q 'set_app_id(\"$id\")' '$scratch/protocol.log'"
sleep 1
# The pointer over weston's window, whose keyboard goes to the window it has mapped.
xdotool mousemove 320 240
# Before its note begins a key is no answer: A again for a while, a second miss of one
# question counting nothing.
xdotool key --delay 200 space a a a a a
sleep 1
kill -TERM "$game"
check "the game ended" "wait_for_end $game"
check "a note sounded" "'$recorded_note' '$scratch/sound.raw' >/dev/null"
check "the miss was recorded" "grep -q ' 1/ 1 回' '$scratch/game/Score.TXT'"

report
