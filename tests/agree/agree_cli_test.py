#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""tarvex-cli invite and answer against an implementation of the key agreement
of our own, on PyNaCl's X25519 and hashlib's BLAKE2b, and against each other.
Usage: agree_cli_test.py GROUP TARVEX_CLI WORKDIR"""

import fcntl
import hashlib
import os
import pty
import re
import select
import shutil
import struct
import subprocess
import sys
import termios
import zlib

import nacl.bindings as sodium

ALPHABET = "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz"
DIGITS = [0, 2, 3, 5, 6, 7, 9, 10, 11]
INVITATION = re.compile(r"tarvexinvite1([" + ALPHABET + r"]{50})")
ANSWER = re.compile(r"tarvexanswer1([" + ALPHABET + r"]{55})")
FINGERPRINT = re.compile(r"\b[0-9A-F]{4} [0-9A-F]{4} [0-9A-F]{4} [0-9A-F]{4}\b")
# A guard against a hang, not a measure: every step here takes milliseconds.
PATIENCE = 60


# --- The agreement, from its description ---------------------------------------

def base58(binary: bytes) -> str:
    out = ""
    for at in range(0, len(binary), 8):
        block = binary[at:at + 8]
        value = int.from_bytes(block, "big")
        digits = ""
        for _ in range(DIGITS[len(block)]):
            value, d = divmod(value, 58)
            digits = ALPHABET[d] + digits
        out += digits
    return out


def unbase58(text: str) -> bytes:
    out = b""
    for at in range(0, len(text), 11):
        group = text[at:at + 11]
        value = 0
        for c in group:
            value = value * 58 + ALPHABET.index(c)
        out += value.to_bytes(DIGITS.index(len(group)), "big")
    return out


def crc(data: bytes) -> bytes:
    return zlib.crc32(data).to_bytes(4, "big")


def invitation_of(a_half: bytes) -> str:
    return "tarvexinvite1" + base58(a_half + crc(a_half))


def answer_of(b_half: bytes, tag: bytes) -> str:
    return "tarvexanswer1" + base58(b_half + tag + crc(b_half + tag))


def half_in_invitation(text: str) -> bytes:
    binary = unbase58(INVITATION.search(text).group(1))
    assert crc(binary[:32]) == binary[32:], "the invitation's check value"
    return binary[:32]


def half_in_answer(text: str, a_half: bytes) -> bytes:
    binary = unbase58(ANSWER.search(text).group(1))
    assert crc(binary[:36]) == binary[36:], "the answer's check value"
    assert binary[32:36] == a_half[:4], "the answer's tag"
    return binary[:32]


def key_pair():
    secret = os.urandom(32)
    return secret, sodium.crypto_scalarmult_base(secret)


def key_file(own_secret: bytes, other_half: bytes, a_half: bytes, b_half: bytes) -> bytes:
    shared = sodium.crypto_scalarmult(own_secret, other_half)
    seed = hashlib.blake2b(shared + a_half + b_half, digest_size=32, salt=bytes(16),
                           person=b"TarvexAgreeKeyv1").digest()
    key = b"".join(hashlib.blake2b(i.to_bytes(8, "little"), digest_size=64, key=seed, salt=bytes(16),
                                   person=b"TarvexKeyBytesv1").digest() for i in range(94))[:5969]
    return b"".join(key[i:i + 27].hex().upper().encode() + b"\r\n" for i in range(0, len(key), 27))


def fingerprint(key_file_bytes: bytes) -> str:
    numbers = bytearray()
    for line in key_file_bytes.split(b"\r\n"):
        for i in range(0, len(line), 2):
            numbers.append(int(line[i:i + 1], 16) + int(line[i + 1:i + 2], 16))
    digest = hashlib.sha256(bytes(numbers)).hexdigest().upper()[:16]
    return " ".join(digest[i:i + 4] for i in range(0, 16, 4))


# --- Running tarvex-cli ----------------------------------------------------------

class Test:
    def __init__(self, cli, workdir):
        self.cli, self.workdir = cli, workdir
        self.failures = 0

    def path(self, name):
        return os.path.join(self.workdir, name)

    def expect(self, condition, what):
        if not condition:
            self.failures += 1
            print("FAIL:", what, file=sys.stderr)
        return condition

    def run(self, *args, data=b""):
        return subprocess.run([self.cli, *args], input=data, capture_output=True, timeout=PATIENCE)

    def start(self, *args):
        return subprocess.Popen([self.cli, *args], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE)

    def key_file_is(self, name, expected, what):
        path = self.path(name)
        if not self.expect(os.path.exists(path), f"{what}: no key file"):
            return
        with open(path, "rb") as f:
            written = f.read()
        self.expect(written == expected, f"{what}: the key file differs from the one computed here")
        self.expect(len(written) == 12382, f"{what}: the key file has {len(written)} bytes")
        self.expect(os.stat(path).st_mode & 0o777 == 0o600, f"{what}: the key file is not owner-only")

    def no_key_file(self, name, what):
        self.expect(not os.path.exists(self.path(name)), f"{what}: a key file was written")


def drain(process):
    """Waits until tarvex-cli has read all that was written into its input, or has ended."""
    count = struct.pack("i", 0)
    while (struct.unpack("i", fcntl.ioctl(process.stdin.fileno(), termios.FIONREAD, count))[0] > 0
           and process.poll() is None):
        select.select([], [], [], 0.01)


def cross(t: Test):
    # Invited here, answered by tarvex-cli: the invitation among the words of a mail.
    a_secret, a_half = key_pair()
    mail = f"Hi Bob,\r\n\r\nhere is my invitation: {invitation_of(a_half)}\r\n-- \r\nAlice\r\n"
    run = t.run("answer", t.path("answerer.tvk"), data=mail.encode())
    out = run.stdout.decode()
    if t.expect(run.returncode == 0 and ANSWER.search(out), f"answer failed: {run.stderr!r}"):
        b_half = half_in_answer(out, a_half)
        expected = key_file(a_secret, b_half, a_half, b_half)
        t.key_file_is("answerer.tvk", expected, "answer")
        t.expect(out.splitlines() == [answer_of(b_half, a_half[:4]), fingerprint(expected)],
                 f"answer printed {out!r}")
        t.expect(b"compare" in run.stderr, f"answer gave no warning to compare: {run.stderr!r}")

    # Invited by tarvex-cli, answered here. The answer comes in pieces below a
    # quoted invitation (a bottom-posted reply): one piece ends inside the
    # answer and inside the no-break space in it (dropped once whole), and
    # tarvex-cli waits for the rest, then finishes with its input still open.
    inviter = t.start("invite", t.path("inviter.tvk"))
    invitation = inviter.stdout.readline().decode()
    a_half = half_in_invitation(invitation)
    b_secret, b_half = key_pair()
    answer = answer_of(b_half, a_half[:4])
    reply = f"> {invitation.strip()}\r\n\r\nDone \U0001F642 {answer[:43]}\u00a0{answer[43:]}\r\nBob\r\n".encode()
    quoted = reply.index(b"Done")
    inside = reply.index("\u00a0".encode()) + 1
    for piece in (reply[:quoted], reply[quoted:inside], reply[inside:]):
        if inviter.poll() is None:
            inviter.stdin.write(piece)
            inviter.stdin.flush()
            drain(inviter)
    printed = inviter.stdout.readline().decode().strip()
    code = inviter.wait(timeout=PATIENCE)
    inviter.stdin.close()
    expected = key_file(b_secret, a_half, a_half, b_half)
    if t.expect(code == 0, f"invite failed: {inviter.stderr.read()!r}"):
        t.key_file_is("inviter.tvk", expected, "invite")
        t.expect(printed == fingerprint(expected), f"invite printed the fingerprint {printed!r}")


def failures(t: Test):
    # No terminal: the first refused line ends it, with one line and no key file.
    _, a_half = key_pair()
    damaged = invitation_of(a_half)
    damaged = damaged[:20] + "0" + damaged[21:]
    run = t.run("answer", t.path("damaged.tvk"), data=f"Here: {damaged}\n".encode())
    message = run.stderr.decode()
    t.expect(run.returncode == 1 and run.stdout == b"", f"a damaged invitation: exit {run.returncode}, {run.stdout!r}")
    t.expect(message.startswith("tarvex-cli: ") and message.count("\n") == 1 and "position 27" in message,
             f"a damaged invitation: {message!r}")
    t.no_key_file("damaged.tvk", "a damaged invitation")

    run = t.run("invite", t.path("other.tvk"), data=answer_of(key_pair()[1], b"abcd").encode())
    t.expect(run.returncode == 1 and b"another invitation" in run.stderr,
             f"an answer to another invitation: exit {run.returncode}, {run.stderr!r}")
    t.no_key_file("other.tvk", "an answer to another invitation")

    run = t.run("invite", t.path("none.tvk"), data=b"I will send it tomorrow.\n")
    t.expect(run.returncode == 1 and b"holds no answer" in run.stderr, f"no answer: {run.stderr!r}")
    t.no_key_file("none.tvk", "no answer")

    # The place is checked before any line goes out.
    existing = t.path("existing.tvk")
    with open(existing, "wb") as f:
        f.write(b"old")
    for command in ("invite", "answer"):
        run = t.run(command, existing, data=invitation_of(key_pair()[1]).encode())
        t.expect(run.returncode == 1 and run.stdout == b"" and b"--force" in run.stderr,
                 f"{command} over an existing file: exit {run.returncode}, {run.stdout!r}, {run.stderr!r}")
    with open(existing, "rb") as f:
        t.expect(f.read() == b"old", "an existing key file was changed")
    run = t.run("answer", "--force", existing, data=invitation_of(key_pair()[1]).encode())
    t.expect(run.returncode == 0 and os.path.getsize(existing) == 12382, f"answer --force: {run.stderr!r}")
    run = t.run("invite", t.path("missing/k.tvk"))
    t.expect(run.returncode == 1 and run.stdout == b"", f"invite into a missing folder: {run.stdout!r}")

    for args in (["invite"], ["answer", "a.tvk", "b.tvk"], ["invite", "--compare", "a.tvk"]):
        run = t.run(*args)
        t.expect(run.returncode == 2 and run.stderr.startswith(b"tarvex-cli: "), f"{args}: exit {run.returncode}")


def man_in_the_middle(t: Test):
    # Someone who changes both lines holds a key with each side, and the two
    # sides see different fingerprints.
    inviter = t.start("invite", t.path("alice.tvk"))
    invitation = inviter.stdout.readline().decode()
    a_half = half_in_invitation(invitation)
    m1_secret, m1_half = key_pair()
    m2_secret, m2_half = key_pair()
    answerer = t.run("answer", t.path("bob.tvk"), data=invitation_of(m1_half).encode())
    b_half = half_in_answer(answerer.stdout.decode(), m1_half)
    out, err = inviter.communicate(answer_of(m2_half, a_half[:4]).encode(), timeout=PATIENCE)
    if not t.expect(inviter.returncode == 0 and answerer.returncode == 0, f"{err!r} {answerer.stderr!r}"):
        return
    alice = fingerprint(key_file(m2_secret, a_half, a_half, m2_half))
    bob = fingerprint(key_file(m1_secret, b_half, m1_half, b_half))
    t.key_file_is("alice.tvk", key_file(m2_secret, a_half, a_half, m2_half), "the inviter's, with the middle")
    t.key_file_is("bob.tvk", key_file(m1_secret, b_half, m1_half, b_half), "the answerer's, with the middle")
    printed_alice = out.decode().strip()
    printed_bob = answerer.stdout.decode().splitlines()[1]
    t.expect(printed_alice == alice and printed_bob == bob, "the fingerprints are not the middle's keys'")
    t.expect(printed_alice[:9] != printed_bob[:9] and printed_alice[10:] != printed_bob[10:],
             f"the two sides read the same digits: {printed_alice} {printed_bob}")


def pipes(t: Test):
    # Two tarvex-cli agree, each line passed on as it comes, then a sealed
    # message goes from one to the other.
    inviter = t.start("invite", t.path("one.tvk"))
    answerer = t.start("answer", t.path("two.tvk"))
    answerer.stdin.write(inviter.stdout.readline())
    answerer.stdin.flush()
    answer = answerer.stdout.readline()
    inviter.stdin.write(answer)
    inviter.stdin.flush()
    fingerprints = [answerer.stdout.readline().strip(), inviter.stdout.readline().strip()]
    for process in (inviter, answerer):
        t.expect(process.wait(timeout=PATIENCE) == 0, f"an end failed: {process.stderr.read()!r}")
        process.stdin.close()
    t.expect(fingerprints[0] == fingerprints[1], f"the two ends differ: {fingerprints}")
    with open(t.path("one.tvk"), "rb") as one, open(t.path("two.tvk"), "rb") as two:
        t.expect(one.read() == two.read(), "the two key files differ")
    message = "Meet at noon by the old bridge. \u2014 A\n".encode()
    sealed = t.run("encrypt", "--sealed", "-k", t.path("one.tvk"), data=message)
    opened = t.run("decrypt", "-k", t.path("two.tvk"), data=sealed.stdout)
    t.expect(sealed.stdout.startswith(b"tarvex1") and opened.returncode == 0 and opened.stdout == message,
             f"the sealed message did not come through: {opened.stderr!r}")


class Terminal:
    """tarvex-cli with a pseudo-terminal for its standard streams."""

    def __init__(self, cli, *args):
        self.master, slave = pty.openpty()
        self.process = subprocess.Popen([cli, *args], stdin=slave, stdout=slave, stderr=slave, close_fds=True)
        os.close(slave)
        self.seen = ""

    def until(self, pattern):
        """Everything shown up to the first match of `pattern` after what was read before."""
        found = re.compile(pattern)
        while not found.search(self.seen):
            ready, _, _ = select.select([self.master], [], [], PATIENCE)
            try:
                chunk = os.read(self.master, 4096) if ready else b""
            except OSError:
                chunk = b""
            if not chunk:
                raise AssertionError(f"never shown: {pattern!r}; shown: {self.seen!r}")
            self.seen += chunk.decode(errors="replace")
        match = found.search(self.seen)
        shown, self.seen = self.seen[:match.end()], self.seen[match.end():]
        return shown, match

    def type(self, text):
        os.write(self.master, text.encode())

    def finish(self):
        try:
            while os.read(self.master, 4096):
                pass
        except OSError:
            pass
        code = self.process.wait(timeout=PATIENCE)
        os.close(self.master)
        return code


def terminal(t: Test):
    # The inviter: a damaged answer is refused and pasted again; its own digits
    # are refused; the key file comes only with the digits the answerer reads.
    term = Terminal(t.cli, "invite", t.path("typed.tvk"))
    _, match = term.until(INVITATION)
    a_half = half_in_invitation(match.group(0))
    b_secret, b_half = key_pair()
    answer = answer_of(b_half, a_half[:4])
    expected = key_file(b_secret, a_half, a_half, b_half)
    prints = fingerprint(expected)
    term.until("Paste the answer")
    term.type(f"My answer: {answer[:40]}O{answer[41:]}\n")
    shown, _ = term.until("Paste the answer again")
    t.expect("damaged" in shown and "position 52" in shown, f"the damaged answer: {shown!r}")
    term.type(f"> {invitation_of(a_half)}\n\n{answer}\n")
    shown, _ = term.until("type the first eight digits")
    t.expect(prints in shown and f"read aloud the last eight digits: {prints[10:]}" in shown,
             f"the inviter's comparison: {shown!r}")
    term.type(prints[10:] + "\n")
    shown, _ = term.until("Type the eight digits")
    t.expect("not the digits" in shown, f"its own digits: {shown!r}")
    t.no_key_file("typed.tvk", "before the digits matched")
    term.type(prints[:9].lower() + "\n")
    term.until("The digits match")
    t.expect(term.finish() == 0, "invite in a terminal failed")
    t.key_file_is("typed.tvk", expected, "invite in a terminal")

    # The answerer who gives up at the comparison writes nothing.
    a_secret, a_half = key_pair()
    term = Terminal(t.cli, "answer", t.path("given-up.tvk"))
    term.until("Paste the invitation")
    term.type(invitation_of(a_half) + "\n")
    shown, _ = term.until("type the last eight digits")
    t.expect("read aloud the first eight digits" in shown, f"the answerer's comparison: {shown!r}")
    term.type("\x04")
    shown, _ = term.until("no key file was written")
    t.expect(term.finish() == 1, "giving up at the comparison did not fail")
    t.no_key_file("given-up.tvk", "giving up at the comparison")

    # --no-compare is the way past it, and says what it gives up.
    term = Terminal(t.cli, "answer", "--no-compare", t.path("unchecked.tvk"))
    term.until("Paste the invitation")
    term.type(invitation_of(a_half) + "\n")
    shown, match = term.until(r"before you use the key")
    t.expect("nobody changed a line" in shown, f"--no-compare: {shown!r}")
    b_half = half_in_answer(shown, a_half)
    t.expect(term.finish() == 0, "answer --no-compare failed")
    t.key_file_is("unchecked.tvk", key_file(a_secret, b_half, a_half, b_half), "answer --no-compare")


def main():
    group, cli, workdir = sys.argv[1:4]
    shutil.rmtree(workdir, ignore_errors=True)
    os.makedirs(workdir)
    t = Test(cli, workdir)
    {"cross": cross, "failures": failures, "man_in_the_middle": man_in_the_middle, "pipes": pipes,
     "terminal": terminal}[group](t)
    print(f"{group}: {t.failures} failures")
    sys.exit(1 if t.failures else 0)


if __name__ == "__main__":
    main()
