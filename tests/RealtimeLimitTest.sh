#!/usr/bin/env bash
# A real-time budget of nothing never gets the game killed: under Xvfb with SDL's disk
# driver, the real program started with RLIMIT_RTTIME at 0 must play a note and still run
# seconds later; then once more on a session bus of the test's own whose desktop portal
# grants no real-time time at all (RTTimeUSecMax 0, no RealtimeKit), where SDL would set
# that 0 as the limit were it asked to.
#   RealtimeLimitTest.sh GAME RECORDED_NOTE_TOOL
set -u
game_program=$1
recorded_note=$2
. "$(dirname "$0")/ShellChecks.sh"
. "$(dirname "$0")/GameUnderX.sh"
start_display

# One game: a question asked, its note heard, the game still there three seconds later,
# and ended by TERM rather than killed. $1 names the run; the rest is the command's prefix.
play_under() {
  local name=$1
  shift
  local home="$scratch/$name"
  mkdir -p "$home"
  game_prefix=("$@")
  start_game "$home" "$scratch/$name.raw" || { check "$name: the window came" false; return; }
  xdotool key space
  sleep 3
  check "$name: the game still runs three seconds after its first note" "kill -0 $game 2>/dev/null"
  check "$name: a note was heard" "'$recorded_note' '$scratch/$name.raw' >/dev/null"
  kill -TERM "$game" 2>/dev/null
  wait "$game"
  local status=$?
  check "$name: it ended by TERM, not by the kernel (status $status)" "[ $status -ne 137 ] && [ $status -ne 152 ]"
}

play_under "RLIMIT_RTTIME 0" prlimit --rttime=0

portal=/usr/libexec/xdg-desktop-portal
if [ ! -x "$portal" ]; then
  echo "SKIP: the run under a desktop portal that grants nothing: $portal is not installed"
else
  bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=3 3>"$scratch/bus.pid")
  export DBUS_SESSION_BUS_ADDRESS=$bus
  XDG_RUNTIME_DIR="$scratch" "$portal" -r >"$scratch/portal.log" 2>&1 &
  granted=""
  for _ in $(seq 50); do
    granted=$(dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop /org/freedesktop/portal/desktop \
      org.freedesktop.DBus.Properties.Get string:org.freedesktop.portal.Realtime string:RTTimeUSecMax 2>/dev/null \
      | awk '/int64/ { print $3 }')
    [ -n "$granted" ] && break
    sleep 0.1
  done
  if [ "$granted" != 0 ]; then
    echo "SKIP: the run under a desktop portal that grants nothing: its RTTimeUSecMax reads '${granted:-nothing}'"
  else
    play_under "a portal that grants no real-time time"
  fi
  kill "$(cat "$scratch/bus.pid")" 2>/dev/null
fi

report
