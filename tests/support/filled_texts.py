# SPDX-License-Identifier: GPL-3.0-or-later
"""Telling which text of a catalogue a program's line was filled from, for the
tests that hold a program's words against the compiled catalogues."""
import re

PLACE = re.compile(r"\{[A-Za-z0-9_]+\}")


def pattern(template):
    """A regular expression for template's text with each {place} filled by anything."""
    return re.compile("(?s)" + ".+?".join(re.escape(piece) for piece in PLACE.split(template)) + r"\Z")


def filled_from(line, templates):
    """The template among `templates` that line was filled from (the one that
    matches with the most words of its own), or None."""
    found = [t for t in templates if t and pattern(t).match(line)]
    return max(found, key=lambda t: len(PLACE.sub("", t))) if found else None
