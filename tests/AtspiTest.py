#!/usr/bin/python3
"""A blind player's game, through the accessibility bus that a screen reader reads.

Runs the real program under Xvfb on a session bus of its own, finds the twelve keys by
their note names over AT-SPI, presses Listen and a key through their AT-SPI actions,
and waits for the result to arrive as a description change on Listen.
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
    scratch = tempfile.mkdtemp()
    try:
        shutil.copy(sys.argv[1], scratch)
        shutil.copy(os.path.join(os.path.dirname(sys.argv[1]), "tonarika-sound.so"), scratch)
        # The locale is pinned: the rate's decimal separator is the locale's.
        env = dict(os.environ, LC_ALL="C.UTF-8", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   SDL_AUDIODRIVER="dummy", HOME=scratch, XDG_DATA_HOME=os.path.join(scratch, "data"))
        game = subprocess.Popen([os.path.join(scratch, "tonarika")], cwd=scratch, env=env)
        try:
            return play(game.pid)
        finally:
            game.terminate()
            game.wait(timeout=20)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def play(pid):
    failures = []
    app = find_application(pid)
    if app is None:
        print("FAIL: the game never appeared on the accessibility bus")
        return 1
    buttons = {}
    for node in descendants(app):
        if node.get_role() == Atspi.Role.PUSH_BUTTON:
            buttons[node.get_name()] = node
    for letter, note in zip("ASDFJKLWEUIO", NOTES):
        if note not in buttons:
            failures.append(f"no key named {note}")
        elif buttons[note].get_description() != f"{letter} キー":
            failures.append(f"{note} is described as {buttons[note].get_description()!r}")
    listen = buttons.get("Listen")
    if listen is None or listen.get_description() != "音を聞く":
        failures.append("no Listen described as 音を聞く")
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
    GLib.timeout_add(900, lambda: press(buttons["ド"]) or True)
    GLib.timeout_add(100, lambda: (not heard[-1:] or not heard[-1].startswith("はずれ")) or loop.quit())
    GLib.timeout_add_seconds(15, loop.quit)
    loop.run()
    listener.deregister("object:property-change:accessible-description")

    expected = "はずれ、ミス 1/1 回、正解率 0.0 %"
    if expected not in heard:
        print(f"FAIL: Listen's description never became {expected!r}; heard {heard!r}")
        return 1
    print(f"heard on Listen: {heard!r}")
    print("3 passed, 0 failed")  # the keys' names, their descriptions, the result
    return 0


if __name__ == "__main__":
    sys.exit(main())
