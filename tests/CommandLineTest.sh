#!/usr/bin/env bash
# Both programs answer --help and --version without a display and exit 0, take an
# unknown option or argument with the help and status 2, and let Qt's own options
# through to Qt.
#   CommandLineTest.sh GAME PROGRESS VERSION
set -u
game=$1
progress=$2
version=$3
. "$(dirname "$0")/ShellChecks.sh"
# No display of any kind: what is answered here must not need one.
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" >"$scratch/out" 2>"$scratch/err"; echo $?; }

for program in "$game" "$progress"; do
  name=$(basename "$program")
  for option in --help -h; do
    check "$name $option exits 0" "[ \$(run '$program' $option) = 0 ]"
    check "$name $option lists the options" "grep -q -- '--version' '$scratch/out' && grep -q 'Usage: $name' '$scratch/out'"
    check "$name $option names the settings file" \
      "XDG_CONFIG_HOME='$scratch/cfg' run '$program' $option >/dev/null && grep -q '設定ファイル: $scratch/cfg/tonarika/tonarika.conf' '$scratch/out'"
  done
  for option in --version -v; do
    check "$name $option exits 0" "[ \$(run '$program' $option) = 0 ]"
    check "$name $option prints '$name $version'" "[ \"\$(cat '$scratch/out')\" = '$name $version' ]"
  done
  for wrong in --bogus extra; do
    check "$name $wrong exits 2" "[ \$(run '$program' $wrong) = 2 ]"
    check "$name $wrong prints the help" "grep -q 'Usage: $name' '$scratch/err' && [ ! -s '$scratch/out' ]"
  done
done

# --test is the game's own: its help names it; the companion has no test to take.
check "tonarika --help names --test" "run '$game' --help >/dev/null && grep -q -- '--test' '$scratch/out'"
check "tonarika-progress --test exits 2" "[ \$(run '$progress' --test) = 2 ]"

# A Qt option is no unknown option: the game starts with it, and ends as usual.
(cd "$scratch" && HOME="$scratch" XDG_DATA_HOME="$scratch/data" SDL_AUDIODRIVER=dummy \
   exec "$game" -platform offscreen) 2>/dev/null &
started=$!
sleep 2
check "the game runs with -platform offscreen" "kill -0 $started 2>/dev/null"
kill -TERM "$started" 2>/dev/null
wait "$started" 2>/dev/null

report
