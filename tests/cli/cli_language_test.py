#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""tarvex-cli in another language, read against the compiled catalogue with
Python's own gettext: its error lines are the translation of the English line
(every place filled), while what scripts read (cipher texts, fingerprints,
exit codes) stays as it is in English.

Usage: cli_language_test.py TARVEX_CLI LOCALE_DIR LANGUAGE:LOCALE..."""
import gettext
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from filled_texts import filled_from, pattern  # noqa: E402


def run(cli, arguments, session, given=b""):
    env = {k: v for k, v in os.environ.items() if not k.startswith("LC_") and k not in ("LANG", "LANGUAGE")}
    env.update(session)
    return subprocess.run([cli] + arguments, input=given, capture_output=True, env=env, timeout=30)


def error_line(result):
    text = result.stderr.decode("utf-8")
    assert text.startswith("tarvex-cli: ") and text.endswith("\n") and text.count("\n") == 1, repr(text)
    return text[len("tarvex-cli: "):-1]


def main():
    cli, locale_dir, languages = sys.argv[1], sys.argv[2], sys.argv[3:]
    english = {"LC_ALL": "C.UTF-8"}
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        key = os.path.join(folder, "shared.tvk")
        made = run(cli, ["create-key", key], english)
        assert made.returncode == 0, made.stderr
        message = "Under the bridge at nine {ok}\n".encode()
        missing = os.path.join(folder, "missing.tvk")
        cases = {
            "encrypt": (["encrypt", "-k", key], message),
            "fingerprint": (["fingerprint", "-k", key], b""),
            "not a cipher text": (["decrypt", "-k", key], b"just some plain text\n"),
            "missing key": (["encrypt", "-k", missing], message),
            "wrong usage": (["encrypt", "--no-such-option"], b""),
        }
        reference = {case: run(cli, arguments, english, given) for case, (arguments, given) in cases.items()}
        for session_of in languages:
            language, locale = session_of.split(":")
            session = {"LANGUAGE": language, "LC_ALL": locale + ".UTF-8"}
            catalogue = gettext.translation("tarvex", locale_dir, languages=[language])._catalog
            for case, (arguments, given) in cases.items():
                expected = reference[case]
                got = run(cli, arguments, session, given)
                where = f"{language}, {case}"
                if got.returncode != expected.returncode:
                    failures.append(f"{where}: exit {got.returncode}, in English {expected.returncode}")
                if got.stdout != expected.stdout:
                    failures.append(f"{where}: standard output {got.stdout!r}, in English {expected.stdout!r}")
                if expected.returncode == 0:
                    continue
                plain = [k for k in catalogue if isinstance(k, str) and "\x04" not in k]
                msgid = filled_from(error_line(expected), plain)
                translated = catalogue.get(msgid)
                line = error_line(got)
                if not translated or translated == msgid:
                    failures.append(f"{where}: {error_line(expected)!r} has no translation")
                elif not pattern(translated).match(line):
                    failures.append(f"{where}: {line!r} is not the translation {translated!r}")
    for failure in failures:
        print("FAIL:", failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
