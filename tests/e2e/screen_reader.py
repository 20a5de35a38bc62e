#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader sees of the window, over the real AT-SPI bus.

  screen_reader.py listen LOG NAME     append the text events of the object NAME to LOG until killed
  screen_reader.py check NAME ROLE     wait until an object NAME has role ROLE and is editable and multi-line
  screen_reader.py text NAME FILE      wait until the text of NAME is the UTF-8 text of FILE
  screen_reader.py press NAME          press the button NAME through its action
  screen_reader.py mode NAME           wait until NAME is a checked radio button
  screen_reader.py caret NAME OFFSET   wait until the caret of NAME stands at OFFSET
  screen_reader.py char NAME OFFSET FILE
                                       wait until the character of NAME at OFFSET is the UTF-8 text of FILE
  screen_reader.py spoken PID PREFIX   wait until the program PID shows an object whose name begins
                                       with PREFIX, and print that name

Each wait gives up after E2E_TIMEOUT seconds and says what it saw.
"""
import json
import os
import signal
import sys
import time

import pyatspi

TIMEOUT = float(os.environ.get("E2E_TIMEOUT", "15"))


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    sys.exit(1)


# The menus hold items named as buttons are ("ICQ"): a mode button is any of these.
BUTTON_ROLES = {"push button", "toggle button", "check box", "radio button"}


def find(name, roles=None):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None:
            continue
        found = pyatspi.findDescendant(
            app, lambda a: a is not None and a.name == name and (roles is None or a.getRoleName() in roles))
        if found is not None:
            return found
    return None


def wait(what, name, probe, roles=None):
    """Polls probe(object NAME) until it returns (True, _); gives up with the last thing it saw."""
    deadline = time.monotonic() + TIMEOUT
    seen = None
    while time.monotonic() < deadline:
        try:
            obj = find(name, roles)
            if obj is None:
                seen = "nothing of that name"
            else:
                done, seen = probe(obj)
                if done:
                    return
        except Exception as error:  # the object may come and go while the window builds
            seen = repr(error)
        time.sleep(0.1)
    fail(f"timed out waiting for {what}; saw {seen!r}")


def listen(log, name):
    out = open(log, "a", encoding="utf-8", buffering=1)

    def on_event(event):
        if event.source is None or event.source.name != name:
            return
        out.write(json.dumps([event.type, event.detail1, event.any_data if isinstance(event.any_data, str) else None]) + "\n")

    pyatspi.Registry.registerEventListener(
        on_event, "object:text-changed:insert", "object:text-changed:delete", "object:text-caret-moved")
    signal.signal(signal.SIGTERM, lambda *_: pyatspi.Registry.stop())
    out.write(json.dumps(["listening", 0, None]) + "\n")
    pyatspi.Registry.start()


def check(name, role):
    def probe(obj):
        states = obj.getState()
        seen = (obj.getRoleName(), states.contains(pyatspi.STATE_EDITABLE), states.contains(pyatspi.STATE_MULTI_LINE))
        return seen == (role, True, True), seen
    wait(f"'{name}' as an editable multi-line {role}", name, probe)


def text(name, path):
    with open(path, encoding="utf-8", newline="") as file:
        expected = file.read()

    def probe(obj):
        reading = obj.queryText().getText(0, -1)
        return reading == expected, reading
    wait(f"'{name}' to read {expected!r}", name, probe)


def press(name):
    def probe(obj):
        actions = obj.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        enabled = obj.getState().contains(pyatspi.STATE_ENABLED)
        if "Press" not in names or not enabled:
            return False, (names, enabled)
        actions.doAction(names.index("Press"))
        return True, names
    wait(f"'{name}' to be pressed", name, probe, BUTTON_ROLES)


def mode(name):
    def probe(obj):
        seen = (obj.getRoleName(), obj.getState().contains(pyatspi.STATE_CHECKED))
        return seen == ("radio button", True), seen
    wait(f"'{name}' as a checked radio button", name, probe, BUTTON_ROLES)


def caret(name, offset):
    def probe(obj):
        seen = obj.queryText().caretOffset
        return seen == int(offset), seen
    wait(f"the caret of '{name}' at {offset}", name, probe)


def char(name, offset, path):
    with open(path, encoding="utf-8", newline="") as file:
        expected = file.read()

    def probe(obj):
        seen = obj.queryText().getTextAtOffset(int(offset), pyatspi.TEXT_BOUNDARY_CHAR)
        return seen[0] == expected, seen
    wait(f"the character of '{name}' at {offset} to be {expected!r}", name, probe)


def spoken(pid, prefix):
    """Several windows of the program may be on the bus: only the one of PID counts."""
    deadline = time.monotonic() + TIMEOUT
    seen = None
    while time.monotonic() < deadline:
        try:
            for app in pyatspi.Registry.getDesktop(0):
                if app is None or app.get_process_id() != int(pid):
                    continue
                found = pyatspi.findDescendant(app, lambda a: a is not None and a.name.startswith(prefix))
                if found is not None:
                    print(found.name)
                    return
                seen = "no such object in the program"
        except Exception as error:  # the dialog may come and go while it is read
            seen = repr(error)
        time.sleep(0.1)
    fail(f"timed out waiting for an object of process {pid} named {prefix!r}...; saw {seen!r}")


if __name__ == "__main__":
    commands = {"listen": listen, "check": check, "text": text, "press": press, "mode": mode,
                "caret": caret, "char": char, "spoken": spoken}
    if len(sys.argv) < 2 or sys.argv[1] not in commands:
        fail(__doc__)
    commands[sys.argv[1]](*sys.argv[2:])
