#!/usr/bin/python3
"""A blind player's game, through the accessibility bus that a screen reader reads.

Runs the real program under Xvfb on a session bus of its own, finds the twelve keys by
their note names over AT-SPI, presses Listen and a key through their AT-SPI actions,
and waits for the result to arrive as a description change on Listen. Then again with the
notes named in letters, the right note shown after a miss and the window at twice its
size.
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
LETTERS_CONF = "[display]\nnames = letters\nsize = 2\n[questions]\nshow_answer = true\n"


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
    designed = run(NOTES, None)
    lettered = run(LETTERS, LETTERS_CONF)
    return designed or lettered


def run(notes, conf):
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
            return play(game.pid, notes, conf is not None)
        finally:
            game.terminate()
            game.wait(timeout=20)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def play(pid, notes, lettered):
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
        elif buttons[note].get_description() != f"{letter} キー":
            failures.append(f"{note} is described as {buttons[note].get_description()!r}")
    listen = buttons.get("Listen")
    if listen is None or listen.get_description() != "音を聞く":
        failures.append("no Listen described as 音を聞く")
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
    GLib.timeout_add(100, lambda: (not heard[-1:] or not heard[-1].startswith("はずれ")) or loop.quit())
    GLib.timeout_add_seconds(15, loop.quit)
    loop.run()
    listener.deregister("object:property-change:accessible-description")

    expected = "はずれ、ミス 1/1 回、正解率 0.0 %"
    if lettered:
        # The right note named in letters: any but C, since the first question is never ド.
        shown = [text for text in heard if text.startswith("はずれ — 正解: ")]
        named = shown[0].split("、")[0].removeprefix("はずれ — 正解: ") if shown else None
        if named not in notes[1:]:
            print(f"FAIL: the right note was not named in letters; heard {heard!r}")
            return 1
        expected = f"はずれ — 正解: {named}、ミス 1/1 回、正解率 0.0 %"
    if expected not in heard:
        print(f"FAIL: Listen's description never became {expected!r}; heard {heard!r}")
        return 1
    print(f"heard on Listen: {heard!r}")
    print("3 passed, 0 failed")  # the keys' names, their descriptions, the result
    return 0


if __name__ == "__main__":
    sys.exit(main())
