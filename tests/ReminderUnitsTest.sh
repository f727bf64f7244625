#!/usr/bin/env bash
# The reminder's user timer and service as the package installs them: systemd takes both
# as they are (the service pointed at this build's companion, which a test can run), and
# the timer's time is a calendar systemd understands; a time it does not understand is
# refused, so that the check can fail.
#   ReminderUnitsTest.sh SERVICE TIMER COMPANION
set -u
service=$1
timer=$2
companion=$3
. "$(dirname "$0")/ShellChecks.sh"
units="$scratch/units"
mkdir -p "$units" "$scratch/runtime"
chmod 700 "$scratch/runtime"
export XDG_RUNTIME_DIR="$scratch/runtime"
sed "s|^ExecStart=[^ ]*tonarika-progress|ExecStart=$companion|" "$service" >"$units/tonarika-reminder.service"
cp "$timer" "$units/tonarika-reminder.timer"
check "the service runs the companion's reminder" "grep -qx 'ExecStart=.*tonarika-progress --remind' '$service'"
check "systemd takes the timer and the service" \
  "systemd-analyze verify --user --man=no '$units/tonarika-reminder.timer' '$units/tonarika-reminder.service'"
check "the timer comes back after a sleep" "grep -qx 'Persistent=true' '$timer'"
calendar=$(sed -n 's/^OnCalendar=//p' "$timer")
check "its time is a daily calendar" "systemd-analyze calendar '$calendar' | grep -q 'Normalized form: \*-\*-\* 19:30:00'"
sed 's/^OnCalendar=.*/OnCalendar=*-*-* 25:30:00/' "$timer" >"$units/tonarika-reminder.timer"
check "a time systemd does not understand is refused" \
  "! systemd-analyze verify --user --man=no '$units/tonarika-reminder.timer' 2>/dev/null"
report
