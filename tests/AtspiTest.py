#!/usr/bin/python3
"""A blind player's game, through the accessibility bus that a screen reader reads.

Runs the real program under Xvfb on a session bus of its own, finds the twelve keys by
their note names over AT-SPI, presses Listen and a key through their AT-SPI actions,
and waits for the result to arrive as a description change on Listen. Then again in
English, with the notes named in letters, the right note shown after a miss and the window
at twice its size; and in Practice, a key named in letters in the result label.
    AtspiTest.py PROGRAM   (under dbus-run-session and xvfb-run)
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# get_action_name is the only name lookup that Debian 12's binding offers.
warnings.filterwarnings("ignore", category=DeprecationWarning)

NOTES = ["ド", "レ", "ミ", "ﾌｧ", "ソ", "ラ", "シ",
         "ド＃(レ♭)", "レ＃(ミ♭)", "ﾌｧ＃(ソ♭)", "ソ＃(ラ♭)", "ラ＃(シ♭)"]
LETTERS = ["C", "D", "E", "F", "G", "A", "B", "C♯/D♭", "D♯/E♭", "F♯/G♭", "G♯/A♭", "A♯/B♭"]
LETTERS_CONF = "[display]\nnames = letters\nsize = 2\nlanguage = en\n[questions]\nshow_answer = true\n"

# What each run's game says: its keys' descriptions, Listen's, a miss, and after it.
JAPANESE = {"key": "{} キー", "listen": "音を聞く", "miss": "はずれ", "summary": "{}、ミス 1/1 回、正解率 0.0 %"}
ENGLISH = {"key": "key {}", "listen": "Listen to the note", "shown": "Wrong — it was ",
           "summary": "{}, misses 1/1, correct rate 0.0 %"}


def descendants(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield child
            yield from descendants(child)


def find_application(pid, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_process_id() == pid and app.get_child_count() > 0:
                return app
        time.sleep(0.2)
    return None


def press(button):
    for i in range(button.get_n_actions()):
        if button.get_action_name(i) == "Press":
            return button.do_action(i)
    raise AssertionError(f"{button.get_name()} has no Press action")


def main():
    designed = run(NOTES, None, JAPANESE)
    lettered = run(LETTERS, LETTERS_CONF, ENGLISH)
    return designed or lettered


def run(notes, conf, words):
    scratch = tempfile.mkdtemp()
    try:
        shutil.copy(sys.argv[1], scratch)
        shutil.copy(os.path.join(os.path.dirname(sys.argv[1]), "tonarika-sound.so"), scratch)
        if conf:
            os.makedirs(os.path.join(scratch, "config", "tonarika"))
            with open(os.path.join(scratch, "config", "tonarika", "tonarika.conf"), "w", encoding="utf-8") as out:
                out.write(conf)
        # The locale is pinned: the rate's decimal separator is the locale's.
        env = dict(os.environ, LC_ALL="C.UTF-8", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   SDL_AUDIODRIVER="dummy", HOME=scratch, XDG_DATA_HOME=os.path.join(scratch, "data"),
                   XDG_CONFIG_HOME=os.path.join(scratch, "config"))
        env.pop("QT_SCALE_FACTOR", None)
        game = subprocess.Popen([os.path.join(scratch, "tonarika")], cwd=scratch, env=env)
        try:
            return play(game.pid, notes, conf is not None, words)
        finally:
            game.terminate()
            game.wait(timeout=20)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def play(pid, notes, lettered, words):
    failures = []
    app = find_application(pid)
    if app is None:
        print("FAIL: the game never appeared on the accessibility bus")
        return 1
    buttons = {}
    for node in descendants(app):
        if node.get_role() == Atspi.Role.PUSH_BUTTON:
            buttons[node.get_name()] = node
    for letter, note in zip("ASDFJKLWEUIO", notes):
        if note not in buttons:
            failures.append(f"no key named {note}")
        elif buttons[note].get_description() != words["key"].format(letter):
            failures.append(f"{note} is described as {buttons[note].get_description()!r}")
    listen = buttons.get("Listen")
    if listen is None or listen.get_description() != words["listen"]:
        failures.append(f"no Listen described as {words['listen']}")
    if lettered:
        # The window at twice its designed 353 pixels, as the X server has it.
        widths = []
        for window in subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], capture_output=True,
                                     text=True).stdout.split():
            shape = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], capture_output=True, text=True).stdout
            widths += [int(line[6:]) for line in shape.splitlines() if line.startswith("WIDTH=")]
        if 2 * 353 not in widths:
            failures.append(f"no window 706 pixels wide at size 2: {widths}")
    if failures:
        print("FAIL: " + "; ".join(failures))
        return 1

    heard = []

    def on_description(event):
        if event.source.get_name() == "Listen":
            heard.append(event.source.get_description())

    listener = Atspi.EventListener.new(on_description)
    listener.register("object:property-change:accessible-description")
    loop = GLib.MainLoop()
    # Listen asks; ド answers, and the first question is never ド: a miss. Before the note
    # begins a key is no answer, so ド is pressed again until the miss is heard; a second
    # miss of one question counts nothing.
    GLib.timeout_add(300, lambda: press(listen) and False)
    GLib.timeout_add(900, lambda: press(buttons[notes[0]]) or True)
    missed = words.get("shown", words.get("miss"))
    GLib.timeout_add(100, lambda: (not heard[-1:] or not heard[-1].startswith(missed)) or loop.quit())
    GLib.timeout_add_seconds(15, loop.quit)
    loop.run()
    listener.deregister("object:property-change:accessible-description")

    expected = words["summary"].format(words.get("miss"))
    if lettered:
        # The right note named in letters: any but C, since the first question is never ド.
        shown = [text for text in heard if text.startswith(words["shown"])]
        named = shown[0].removeprefix(words["shown"]).split(",")[0] if shown else None
        if named not in notes[1:]:
            print(f"FAIL: the right note was not named in letters; heard {heard!r}")
            return 1
        expected = words["summary"].format(words["shown"] + named)
    if expected not in heard:
        print(f"FAIL: Listen's description never became {expected!r}; heard {heard!r}")
        return 1
    if lettered and not practice_names_a_key(app, buttons[notes[7]], notes[7]):
        return 1
    print(f"heard on Listen: {heard!r}")
    print("3 passed, 0 failed")  # the keys' names, their descriptions, the result
    return 0


def practice_names_a_key(app, key, name):
    """Practice, chosen in the Mode menu, names the key pressed in the result label."""
    nodes = list(descendants(app))
    practice = [node for node in nodes if node.get_role() == Atspi.Role.MENU_ITEM and node.get_name() == "Practice"]
    result = [node for node in nodes if node.get_role() == Atspi.Role.LABEL and node.get_description() == "Result"]
    if not practice or not result:
        print(f"FAIL: no menu item Practice ({len(practice)}) or result label ({len(result)})")
        return False
    practice[0].do_action(0)
    deadline = time.monotonic() + 15
    while time.monotonic() < deadline:
        press(key)
        time.sleep(0.3)
        if result[0].get_name() == name:
            return True
    print(f"FAIL: Practice's result label reads {result[0].get_name()!r}, not {name!r}")
    return False


if __name__ == "__main__":
    sys.exit(main())
