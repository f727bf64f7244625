#!/usr/bin/env bash
# The day's reminder, tonarika-progress --remind, against a real notification server
# (dunst) under Xvfb on a bus of the test's own: it arrives with its text and its action,
# the action starts the game (whose title counts the day's minutes), and no reminder comes
# once the goal is met. With no session bus, or a bus with no notification service, it
# says so in one line and exits 0.
#   ReminderEndToEndTest.sh COMPANION GAME
set -u
companion=$1
. "$(dirname "$0")/ShellChecks.sh"
. "$(dirname "$0")/GameUnderX.sh"
export TZ=UTC QT_MESSAGE_PATTERN='%{category}: %{message}'
home="$scratch/home"
mkdir -p "$home/config/tonarika" "$home/data" "$home/runtime"
chmod 700 "$home/runtime"
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime"
printf '[practice]\ndaily_minutes = 15\n' >"$home/config/tonarika/tonarika.conf"
journal="$home/data/tonarika/trials.sqlite"

DBUS_SESSION_BUS_ADDRESS=disabled: "$companion" --remind --now 2>"$scratch/no-bus"
check "with no session bus it exits 0" "[ $? -eq 0 ]"
check "and says so in one line" "[ \$(wc -l <'$scratch/no-bus') -eq 1 ] && grep -q 'no session bus' '$scratch/no-bus'"

# A bus that starts no service: nothing answers for the notifications.
cat >"$scratch/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$scratch</listen>
  <policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/></policy>
</busconfig>
CONF
dbus-run-session --config-file="$scratch/bus.conf" -- \
  sh -c '"$1" --remind --now 2>"$2"' sh "$companion" "$scratch/no-service" 2>/dev/null
check "with no notification service it exits 0" "[ $? -eq 0 ]"
check "and says so in one line" \
  "[ \$(wc -l <'$scratch/no-service') -eq 1 ] && grep -q 'no notification service' '$scratch/no-service'"

"$companion" --remind 2>"$scratch/no-time"
check "with no time set, --remind reminds of nothing and exits 0" "[ $? -eq 0 ] && grep -q 'remind_at' '$scratch/no-time'"

start_display
cat >"$scratch/served.sh" <<'SERVED'
set -u
dunst -conf /dev/null >"$scratch/dunst.log" 2>&1 &
# Asked of the bus, not of dunst: a question to the name before dunst holds it would start another.
for _ in $(seq 100); do
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner org.freedesktop.Notifications 2>/dev/null | grep -q true && break
  sleep 0.05
done
dbus-monitor "interface='org.freedesktop.Notifications',member='Notify'" >"$scratch/notify.log" 2>&1 &
sleep 0.3
"$companion" --remind --now 2>"$scratch/remind" &
remind=$!
for _ in $(seq 100); do [ "$(dunstctl count displayed)" -ge 1 ] && break; sleep 0.05; done
echo "displayed $(dunstctl count displayed)"
dunstctl action 0
wait $remind
echo "remind $?"
# The game the action started: its window, its title counting the day.
game_window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tonarika — 今日 0 / 15 分$' | head -n 1)
echo "window ${game_window:-none}"
if [ -n "$game_window" ]; then
  game_pid=$(xdotool getwindowpid "$game_window")
  # A key played in Practice: the journal exists, and keeps its moment.
  xdotool windowfocus --sync "$game_window"
  xdotool key --delay 100 ctrl+p a
  for _ in $(seq 100); do [ -f "$journal" ] && break; sleep 0.1; done
  sleep 1
  kill -TERM "$game_pid"
  for _ in $(seq 100); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
fi
# Sixteen minutes of today's first questions, 50 s apart: the goal is met.
/usr/bin/python3 - "$journal" <<'PY'
import sqlite3, sys, time
midnight = int(time.time()) // 86400 * 86400 * 1000
with sqlite3.connect(sys.argv[1]) as db:
    for i in range(20):
        db.execute("INSERT INTO trials (answered_utc_ms, utc_offset_s, mode, run, asked, answered, reaction_ms, plays)"
                   " VALUES (?, 0, 'Hard', 1, 3, 3, 1000, 1)", (midnight + 1000 + i * 50_000,))
    print("presses", db.execute("SELECT count(*) FROM presses").fetchone()[0])
PY
"$companion" --remind --now 2>"$scratch/met"
echo "met $?"
sleep 0.5
SERVED
# The game the action starts plays into a file, as every game of these tests does.
export scratch companion journal QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$scratch/sound.raw"
dbus-run-session -- bash "$scratch/served.sh" >"$scratch/served.out" 2>"$scratch/served.err"
cat "$scratch/served.out"
check "the notification was shown" "grep -q '^displayed 1$' '$scratch/served.out'"
check "its title, its text and its action" \
  "grep -A5 'member=Notify' '$scratch/notify.log' | grep -q 'string \"今日の練習: あと 15 分\"' \
   && grep -A12 'member=Notify' '$scratch/notify.log' | grep -q 'string \"練習する\"'"
check "its icon and its desktop entry" \
  "grep -c 'string \"io.github.tonarika.Tonarika\"' '$scratch/notify.log' | grep -q '^2$' \
   && grep -q 'string \"desktop-entry\"' '$scratch/notify.log'"
check "the reminder ended with the action" "grep -q '^remind 0$' '$scratch/served.out'"
check "the action started the game, its title counting the day" "! grep -q '^window none$' '$scratch/served.out'"
check "Practice's key kept its moment" "grep -q '^presses [1-9]' '$scratch/served.out'"
check "with the goal met, no reminder" \
  "grep -q '^met 0$' '$scratch/served.out' && [ \$(grep -c 'member=Notify' '$scratch/notify.log') -eq 1 ] \
   && grep -q 'practice is done' '$scratch/met'"
[ "$failures" -eq 0 ] || { cat "$scratch/served.err" "$scratch/no-service" "$scratch/notify.log" "$scratch/met" 2>/dev/null; }
report
