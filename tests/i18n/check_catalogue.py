#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks one catalogue against the template the build made from the sources:
msgfmt --check (format directives, header, one access key where the English
has one), complete (msgcmp: no text of the template untranslated or fuzzy),
and every translation naming the same {places} as its English.

Usage: check_catalogue.py MSGFMT MSGCMP CATALOGUE TEMPLATE"""
import re
import subprocess
import sys

PLACE = re.compile(r"\{([A-Za-z0-9_]+)\}")
# In a language written right to left, a filled place (a path, a number, a
# name in Latin letters) goes between FIRST STRONG ISOLATE and POP DIRECTIONAL
# ISOLATE, or its slashes and dots land on the wrong side of it.
RIGHT_TO_LEFT = {"ar", "ckb", "dv", "fa", "he", "ps", "sd", "ug", "ur", "yi"}
UNISOLATED = re.compile(r"(?<!\u2068)\{[A-Za-z0-9_]+\}|\{[A-Za-z0-9_]+\}(?!\u2069)")


def entries(path):
    """(context, English, English plural, [translations]) of every live entry."""
    found, entry, key = [], None, None
    with open(path, encoding="utf-8") as catalogue:
        for line in catalogue:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            keyword, _, rest = line.partition(" ")
            if line.startswith('"'):
                entry[key] += eval(line)  # a C string literal, as msgfmt wrote it
                continue
            if keyword in ("msgctxt", "msgid") and (entry is None or "msgstr" in " ".join(entry)):
                entry = {}
                found.append(entry)
            key = keyword
            entry[key] = eval(rest)
    result = []
    for e in found:
        translations = [v for k, v in sorted(e.items()) if k.startswith("msgstr")]
        result.append((e.get("msgctxt"), e["msgid"], e.get("msgid_plural"), translations))
    return result


def main():
    msgfmt, msgcmp, catalogue, template = sys.argv[1:5]
    faults = []
    for command in ([msgfmt, "--check", "--check-accelerators=&", "--output-file=/dev/null", catalogue],
                    [msgcmp, catalogue, template]):
        run = subprocess.run(command, capture_output=True, text=True)
        if run.returncode != 0:
            faults.append(f"{' '.join(command[:2])}: {run.stderr.strip()}")
    found = entries(catalogue)
    header = next((t[0] for c, e, p, t in found if not e and t), "")
    language = re.search(r"^Language: *([A-Za-z]+)", header, re.M)
    right_to_left = language is not None and language.group(1) in RIGHT_TO_LEFT
    for context, english, plural, translations in found:
        if not english:
            continue
        wanted = set(PLACE.findall(plural if plural is not None else english))
        for translation in translations:
            if translation and set(PLACE.findall(translation)) != wanted:
                where = f"[{context}] " if context else ""
                faults.append(f"{where}{english!r}: {translation!r} names {sorted(set(PLACE.findall(translation)))}, "
                              f"not {sorted(wanted)}")
            if right_to_left and UNISOLATED.search(translation):
                faults.append(f"{english!r}: a place of {translation!r} is not isolated (U+2068 ... U+2069)")
    for fault in faults:
        print("FAIL:", fault, file=sys.stderr)
    if faults:
        sys.exit(1)
    print(f"{catalogue}: complete, its places and access keys as in the English")


if __name__ == "__main__":
    main()
