#!/usr/bin/env bash
# The installed layout: installs the build into a staging prefix, checks what lands
# where, validates the desktop entry and the AppStream metadata, then runs the staged
# program from an unrelated folder with the user's folders in the test's scratch
# folder. A question must play a real note (not the alert tone), and the run's record
# must land in the user's data folder, nowhere under the prefix.
#   InstalledGameTest.sh BUILD_FOLDER RECORDED_NOTE_TOOL APP_ID MODULE_FOLDER
set -u
build=$1
recorded_note=$2
id=$3
module_dir=$4
. "$(dirname "$0")/ShellChecks.sh"
. "$(dirname "$0")/GameUnderX.sh"

prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

share="$prefix/share"
expected=(bin/tonarika bin/tonarika-progress "share/applications/$id.desktop" "share/applications/$id.Progress.desktop"
  "share/metainfo/$id.metainfo.xml" share/man/man1/tonarika-progress.1.gz
  "share/icons/hicolor/scalable/apps/$id.svg" share/man/man1/tonarika.1.gz "$module_dir/tonarika-sound.so"
  share/doc/tonarika/copyright share/doc/tonarika/LICENSE share/doc/tonarika/changelog.gz)
for size in 16 32 48 64 128 256; do expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png"); done
for note in Do Re Mi Fa So Ra Si Do# Re# Fa# So# Ra#; do expected+=("share/tonarika/wav/$note.wav"); done
for file in "${expected[@]}"; do check "installed $file" "[ -f '$prefix/$file' ]"; done
check "the program is executable" "[ -x '$prefix/bin/tonarika' ]"
check "no wav folder beside the installed program" "[ ! -e '$prefix/bin/wav' ]"
for entry in "$id" "$id.Progress"; do
  check "desktop-file-validate $entry" "[ -z \"\$(desktop-file-validate '$share/applications/$entry.desktop' 2>&1)\" ]"
done
# The game's entry leads to its progress: an action that starts the installed companion.
check "the game's entry offers the action 練習帳" \
  "grep -A3 '^\[Desktop Action progress\]' '$share/applications/$id.desktop' | grep -qx 'Name=練習帳'"
check "the game's entry offers the action 練習の設定, which opens the companion's settings page" \
  "grep -A3 '^\[Desktop Action settings\]' '$share/applications/$id.desktop' | grep -qx 'Exec=tonarika-progress --settings'"
action_program=$(sed -n '/^\[Desktop Action progress\]/,/^$/ s/^Exec=//p' "$share/applications/$id.desktop")
check "the action starts a program that is installed: $action_program" "[ -x '$prefix/bin/$action_program' ]"
# And to the test of absolute pitch: the game itself with --test.
check "the game's entry offers the action 絶対音感テスト" \
  "grep -A3 '^\[Desktop Action test\]' '$share/applications/$id.desktop' | grep -qx 'Name=絶対音感テスト'"
test_action=$(sed -n '/^\[Desktop Action test\]/,/^$/ s/^Exec=//p' "$share/applications/$id.desktop")
check "the test's action is the installed game with --test: $test_action" "[ '$test_action' = 'tonarika --test' ]"
check "the other timbres are installed" "[ -f '$prefix/share/tonarika/notes/marimba/Do3.flac' ]"
check "appstreamcli validate" "appstreamcli validate --no-net '$share/metainfo/$id.metainfo.xml' >/dev/null"

touch "$scratch/before-the-game"
mkdir -p "$scratch/elsewhere" "$scratch/home"
start_display
(cd "$scratch/elsewhere" && HOME="$scratch/home" XDG_DATA_HOME="$scratch/home/data" \
   QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$scratch/sound.raw" \
   exec "$prefix/bin/tonarika") &
game=$!
check "the window appeared and a question was played" play_counted_question
sleep 1
kill -TERM "$game"
check "the game ended" "wait_for_end $game"

check "a real note sounded, not the alert tone" "'$recorded_note' '$scratch/sound.raw' >/dev/null"
check "the record is in the user's data folder" "grep -q ' 1/ 1 回' '$scratch/home/data/tonarika/Score.TXT'"
check "nothing was written under the prefix" "[ -z \"\$(find '$prefix' -newer '$scratch/before-the-game' -type f)\" ]"
check "nothing was written in the current folder" "[ -z \"\$(ls -A '$scratch/elsewhere')\" ]"

report
