#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The window's words as a screen reader reads them over the real AT-SPI bus,
held against the compiled catalogues with Python's own gettext.

  languages.py menus PID OUT       the names of the menu bar's menus, as JSON
  languages.py box PID OUT         waits for a message box of PID; its texts and buttons, as JSON
  languages.py compare LOCALE_DIR LANGUAGE ENGLISH_PREFIX PREFIX
                                   the files PREFIX.*.json are the translation of ENGLISH_PREFIX.*.json

Each wait gives up after E2E_TIMEOUT seconds."""
import gettext
import json
import os
import sys
import time

TIMEOUT = float(os.environ.get("E2E_TIMEOUT", "15"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from filled_texts import filled_from, pattern  # noqa: E402


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    sys.exit(1)


def application(pid):
    import pyatspi
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def descendants(node, role):
    import pyatspi
    return pyatspi.findAllDescendants(node, lambda a: a is not None and a.getRoleName() == role)


def poll(what, probe):
    deadline = time.monotonic() + TIMEOUT
    seen = None
    while time.monotonic() < deadline:
        try:
            done, seen = probe()
            if done:
                return seen
        except Exception as error:  # objects come and go while windows open
            seen = repr(error)
        time.sleep(0.1)
    fail(f"timed out waiting for {what}; saw {seen!r}")


def menus(pid):
    def probe():
        app = application(pid)
        bars = descendants(app, "menu bar") if app is not None else []
        names = [item.name for item in bars[0]] if bars else []
        return len(names) > 0 and all(names), names
    return poll("the menu bar", probe)


def box(pid):
    def probe():
        app = application(pid)
        boxes = [b for b in descendants(app, "alert") if b.getState().contains(_showing())] if app else []
        if not boxes:
            return False, "no message box"
        labels = [label.name for label in descendants(boxes[0], "label") if label.name]
        buttons = [button.name for button in descendants(boxes[0], "push button")]
        return bool(labels and buttons), {"texts": labels, "buttons": buttons}
    return poll("a message box", probe)


def _showing():
    import pyatspi
    return pyatspi.STATE_SHOWING


def without_access_key(text):
    """As Qt names a control: the & of its access key dropped, && kept as one &."""
    return text.replace("&&", "\0").replace("&", "").replace("\0", "&")


def compare(locale_dir, language, english_prefix, prefix):
    catalogue = gettext.translation("tarvex", locale_dir, languages=[language])._catalog
    # English text (without context) -> its translations.
    translations = {}
    for key, value in catalogue.items():
        if isinstance(key, str) and key:
            translations.setdefault(key.split("\x04")[-1], []).append(value)
    problems = []

    def load(name, which):
        with open(f"{which}.{name}.json", encoding="utf-8") as file:
            return json.load(file)

    english, shown = load("menus", english_prefix), load("menus", prefix)
    by_name = {}
    for key, values in translations.items():
        by_name.setdefault(without_access_key(key), []).extend(without_access_key(v) for v in values)
    if len(english) != len(shown):
        problems.append(f"menus {shown} against {english}")
    for name, seen in zip(english, shown):
        if seen not in by_name.get(name, []):
            problems.append(f"menu {name!r} shows {seen!r}, not its translation {by_name.get(name)}")

    for name in ("question", "failure"):
        english, shown = load(name, english_prefix), load(name, prefix)
        for text, seen in zip(english["texts"], shown["texts"]):
            msgid = filled_from(text, translations)
            if msgid is None:
                problems.append(f"{name}: {text!r} has no translation")
                continue
            if not any(pattern(t).match(seen) for t in translations[msgid]):
                problems.append(f"{name}: {seen!r} is not a translation of {text!r}")
    # Qt's own Yes and No come from its own catalogues (a "No" or an "OK" may
    # stay as it is, but not both of Yes and No).
    buttons = load("question", prefix)["buttons"]
    if buttons == load("question", english_prefix)["buttons"]:
        problems.append(f"Qt's buttons {buttons} are still English")
    for problem in problems:
        print(f"FAIL ({language}): {problem}", file=sys.stderr)
    return 1 if problems else 0


def main():
    command = sys.argv[1]
    if command in ("menus", "box"):
        found = (menus if command == "menus" else box)(int(sys.argv[2]))
        with open(sys.argv[3], "w", encoding="utf-8") as out:
            json.dump(found, out, ensure_ascii=False)
        return 0
    if command == "compare":
        return compare(*sys.argv[2:6])
    fail(f"unknown command {command}")


if __name__ == "__main__":
    sys.exit(main())
