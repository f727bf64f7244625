# Sourced first by the shell tests: a scratch folder that goes with the test (as does any
# process it left running), the locale pinned, and checks that are counted.

scratch=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$scratch"' EXIT
# Pinned: records are looked for as UTF-8, and windows by their Japanese titles.
export LC_ALL=C.UTF-8
# No session bus but one a test makes itself: libdbus would otherwise start one on the X
# display, and whatever that bus brings up (a desktop portal) would be part of the test.
export DBUS_SESSION_BUS_ADDRESS=disabled:
passes=0
failures=0

# check DESCRIPTION CONDITION: the condition, evaluated, counts as a pass or a failure.
check() {
  if eval "$2"; then passes=$((passes + 1)); else echo "FAIL: $1"; failures=$((failures + 1)); fi
}

# The test's last word: the counts, and a status that fails on any failure.
report() {
  echo "$passes passed, $failures failed"
  [ "$failures" -eq 0 ]
}
