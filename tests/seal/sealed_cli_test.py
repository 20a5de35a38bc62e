#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""tarvex-cli's sealed messages against an implementation of the format of
our own on PyNaCl (libsodium's Python binding) and against the vectors that
another implementation made. Usage: sealed_cli_test.py GROUP TARVEX_CLI VECTORS WORKDIR"""

import hashlib
import json
import os
import random
import subprocess
import sys
import time
import zlib

import nacl.bindings as sodium

ALPHABET = b"123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz"
DIGITS = [0, 2, 3, 5, 6, 7, 9, 10, 11]
PIECE = 65536
TAG_MESSAGE = sodium.crypto_secretstream_xchacha20poly1305_TAG_MESSAGE
TAG_FINAL = sodium.crypto_secretstream_xchacha20poly1305_TAG_FINAL


def key_numbers(key_file: bytes) -> bytes:
    def value(c):
        if 48 <= c <= 57:
            return c - 48
        if 65 <= c <= 70:
            return c - 55
        return 0
    out = bytearray()
    for line in key_file.replace(b"\r\n", b"\n").replace(b"\r", b"\n").split(b"\n"):
        for i in range(0, len(line), 2):
            pair = line[i:i + 2]
            out.append(value(pair[0]) + value(pair[-1]))
    return bytes(out)


def sealing_key(key_file: bytes) -> bytes:
    return sodium.crypto_generichash_blake2b_salt_personal(
        key_numbers(key_file), digest_size=32, key=b"", salt=b"", person=b"TarvexSealKey v1")


def base58(binary: bytes) -> str:
    out = []
    for at in range(0, len(binary), 8):
        block = binary[at:at + 8]
        value = int.from_bytes(block, "big")
        digits = []
        for _ in range(DIGITS[len(block)]):
            value, d = divmod(value, 58)
            digits.append(ALPHABET[d])
        out.append(bytes(reversed(digits)).decode())
    return "".join(out)


def unbase58(text: str) -> bytes:
    out = bytearray()
    for at in range(0, len(text), 11):
        group = text[at:at + 11]
        value = 0
        for c in group:
            value = value * 58 + ALPHABET.index(c.encode())
        out += value.to_bytes(DIGITS.index(len(group)), "big")
    return bytes(out)


def chunks_of(binary: bytes):
    """Header, the chunks and the check of a binary form."""
    body = binary[24:-4]
    return binary[:24], [body[i:i + PIECE + 17] for i in range(0, len(body), PIECE + 17)], binary[-4:]


def with_check(binary_without_check: bytes) -> bytes:
    return binary_without_check + zlib.crc32(binary_without_check).to_bytes(4, "big")


def seal(payload: bytes, key_file: bytes) -> str:
    state = sodium.crypto_secretstream_xchacha20poly1305_state()
    header = sodium.crypto_secretstream_xchacha20poly1305_init_push(state, sealing_key(key_file))
    pieces = [payload[i:i + PIECE] for i in range(0, len(payload), PIECE)] or [b""]
    binary = header
    for n, piece in enumerate(pieces):
        tag = TAG_FINAL if n == len(pieces) - 1 else TAG_MESSAGE
        binary += sodium.crypto_secretstream_xchacha20poly1305_push(state, piece, None, tag)
    return "tarvex1" + base58(with_check(binary))


def open_token(token: str, key_file: bytes) -> bytes:
    binary = unbase58(token[len("tarvex1"):])
    assert zlib.crc32(binary[:-4]).to_bytes(4, "big") == binary[-4:], "check"
    header, chunks, _ = chunks_of(binary)
    state = sodium.crypto_secretstream_xchacha20poly1305_state()
    sodium.crypto_secretstream_xchacha20poly1305_init_pull(state, header, sealing_key(key_file))
    payload = b""
    for n, chunk in enumerate(chunks):
        piece, tag = sodium.crypto_secretstream_xchacha20poly1305_pull(state, chunk, None)
        assert (tag == TAG_FINAL) == (n == len(chunks) - 1), "tag"
        payload += piece
    return payload


class Cli:
    def __init__(self, path, workdir):
        self.path, self.workdir = path, workdir
        self.failures = 0

    def key(self, name):
        path = os.path.join(self.workdir, name)
        if not os.path.exists(path):
            subprocess.run([self.path, "create-key", path], check=True)
        with open(path, "rb") as f:
            return path, f.read()

    def run(self, *args, data=b""):
        return subprocess.run([self.path, *args], input=data, capture_output=True)

    def expect(self, condition, what):
        if not condition:
            self.failures += 1
            print("FAIL:", what)


def sizes_around_boundaries():
    sizes = {0, 1, 2, 7, 8, 9, 15, 16, 17, 100, 277}
    for boundary in (PIECE, 2 * PIECE, 3 * PIECE):
        # The binary form's blocks of 8 fall differently at each size near a piece boundary.
        sizes.update(boundary + d for d in range(-9, 10))
    return sorted(s for s in sizes if s >= 0)


def group_vectors(cli, vectors):
    for v in vectors:
        key_path = os.path.join(cli.workdir, "vector.tvk")
        with open(key_path, "wb") as f:
            f.write(v["key_file"].encode())
        r = cli.run("decrypt", "-k", key_path, data=v["token"].encode())
        name = v["name"]
        if v["expect"] == "opens":
            if "payload_utf8" in v:
                expected = v["payload_utf8"].encode()
            elif "payload_hex" in v:
                expected = bytes.fromhex(v["payload_hex"])
            else:
                expected = None
            cli.expect(r.returncode == 0, f"{name}: exit {r.returncode} {r.stderr!r}")
            if expected is not None:
                cli.expect(r.stdout == expected, f"{name}: payload differs")
            else:
                cli.expect(hashlib.sha256(r.stdout).hexdigest() == v["payload_sha256"], f"{name}: payload hash")
        else:
            words = {"other-key": "another key", "damaged": "damaged", "newer-version": "newer version"}
            cli.expect(r.returncode == 1 and r.stdout == b"", f"{name}: exit {r.returncode}, output {len(r.stdout)}")
            cli.expect(words[v["expect"]].encode() in r.stderr, f"{name}: says {r.stderr!r}")
            cli.expect(r.stderr.count(b"\n") == 1 and r.stderr.startswith(b"tarvex-cli: "), f"{name}: one line")


def group_cross_check(cli, _):
    key_path, key_file = cli.key("cross.tvk")
    rng = random.Random(19)
    for size in sizes_around_boundaries():
        payload = rng.randbytes(size)
        ours = cli.run("encrypt", "--sealed", "-k", key_path, data=payload)
        cli.expect(ours.returncode == 0 and ours.stdout.endswith(b"\n") and ours.stdout.count(b"\n") == 1,
                   f"seal {size}: {ours.returncode} {ours.stderr!r}")
        token = ours.stdout.decode().strip()
        binary_size = 24 + 4 + max(1, -(-size // PIECE)) * 17 + size
        expected_length = 7 + 11 * (binary_size // 8) + DIGITS[binary_size % 8]
        cli.expect(len(token) == expected_length, f"seal {size}: {len(token)} characters, not {expected_length}")
        try:
            cli.expect(open_token(token, key_file) == payload, f"seal {size}: PyNaCl opens another payload")
        except Exception as e:  # noqa: BLE001 - any refusal is the finding
            cli.expect(False, f"seal {size}: PyNaCl refuses: {e!r}")
        theirs = cli.run("decrypt", "-k", key_path, data=seal(payload, key_file).encode())
        cli.expect(theirs.returncode == 0 and theirs.stdout == payload, f"open {size}: {theirs.stderr!r}")


def group_damage(cli, _):
    key_path, key_file = cli.key("damage.tvk")
    token = seal(b"Meet at noon by the old mill.", key_file)

    def refused(text, what):
        r = cli.run("decrypt", "-k", key_path, data=text.encode())
        cli.expect(r.returncode == 1 and r.stdout == b"", f"{what}: exit {r.returncode}, output {r.stdout!r}")
        return r.stderr.decode()

    for i in range(len("tarvex1"), len(token)):
        for replacement in {ALPHABET[(ALPHABET.index(token[i].encode()) + 1) % 58:][:1].decode(), "0"}:
            said = refused(token[:i] + replacement + token[i + 1:], f"character {i + 1} changed")
            if replacement == "0":
                cli.expect(f"at position {i + 1}" in said, f"character {i + 1}: position not named: {said}")
    for cut in (1, 5, 11, 12, len(token) - 8):
        refused(token[:-cut], f"last {cut} cut")
    # Whole chunks swapped, dropped or repeated, each with a new check, so only
    # the chunks' own authentication can tell.
    payload = bytes(range(256)) * 1024
    binary = unbase58(seal(payload, key_file)[7:])
    header, chunks, _ = chunks_of(binary)
    for what, reordered in (("swapped", [chunks[1], chunks[0]] + chunks[2:]), ("dropped", chunks[1:]),
                            ("last dropped", chunks[:-1]), ("repeated", chunks[:2] + chunks[1:])):
        said = refused("tarvex1" + base58(with_check(header + b"".join(reordered))), f"chunks {what}")
        cli.expect("damaged" in said or "another key" in said, f"chunks {what}: {said}")
    other_path, _ = cli.key("other.tvk")
    r = cli.run("decrypt", "-k", other_path, data=token.encode())
    fingerprint = cli.run("fingerprint", "-k", other_path).stdout.decode().strip()
    cli.expect(r.returncode == 1 and fingerprint in r.stderr.decode(), f"another key: {r.stderr!r}")
    # Keys that cannot seal, and a usage error.
    for name, content, words in (("short.tvk", b"1F" * 437 + b"\r\n", b"too short"),
                                 ("weak.tvk", b"00" * 300 + b"1F" * 200 + b"\r\n", b"too weak")):
        path = os.path.join(cli.workdir, name)
        with open(path, "wb") as f:
            f.write(content)
        r = cli.run("encrypt", "--sealed", "-k", path, data=b"hi")
        cli.expect(r.returncode == 1 and r.stdout == b"" and words in r.stderr, f"{name}: {r.stderr!r}")
    r = cli.run("encrypt", "--sealed", "-e", "cp1252", "-k", key_path, data=b"hi")
    cli.expect(r.returncode == 2 and r.stdout == b"", f"--sealed with -e: {r.returncode}")
    r = cli.run("decrypt", "--sealed", "-k", key_path, data="ðhello".encode())
    cli.expect(r.returncode == 1 and b"no sealed message" in r.stderr, f"--sealed on classic: {r.stderr!r}")


def channel_versions(token):
    """What chat and mail programs do to a pasted token: a character changed,
    dropped, doubled or swapped anywhere, case changed, invisible characters,
    quote markers and line wrapping added, quotes and link markup put around it."""
    lookalikes = {"1": "lI", "l": "1I", "I": "1l", "O": "0o", "o": "0O", "0": "Oo"}
    for i, c in enumerate(token):
        others = {c.swapcase(), ALPHABET[(ALPHABET.index(c.encode()) + 1) % 58:][:1].decode()}
        others.update(lookalikes.get(c, ""))
        for other in others - {c}:
            yield token[:i] + other + token[i + 1:]
        yield token[:i] + token[i + 1:]
        yield token[:i] + c + token[i:]
        if i + 1 < len(token):
            yield token[:i] + token[i + 1] + c + token[i + 2:]
    yield token.upper()
    yield token.lower()
    yield token.capitalize()
    zero_width = "\u200b"
    yield zero_width.join(token[i:i + 5] for i in range(0, len(token), 5))
    yield "\n".join(token[i:i + 40] for i in range(0, len(token), 40))
    yield "> " + "\r\n> ".join(token[i:i + 30] for i in range(0, len(token), 30))
    yield "\ufeff" + token + "\u00a0"
    yield token[:3] + "\u00ad" + token[3:]
    for before, after in (("\u201c", "\u201d"), ("\u2018", "\u2019"), ('"', '"'), ("<", ">"), ("[", "]"),
                          ("**", "**"), ("`", "`"), ("https://", "/"), ("", "."), ("", "\u2026")):
        yield before + token + after
    yield f"[{token}](https://{token})"
    yield "\u201e" + token.capitalize() + "\u201c"


def group_channel(cli, _):
    """A token changed on its way never opens to another text: it opens to the
    message, or tarvex-cli says what is wrong and prints nothing."""
    key_path, _ = cli.key("channel.tvk")
    message = "Meet at noon by the old mill."
    token = cli.run("encrypt", "--sealed", "-k", key_path, data=message.encode()).stdout.decode().strip()
    for changed in channel_versions(token):
        # The encodings differ in how the start is read; past it the opener reads alike.
        for encoding in ("utf-8", "cp1252") if changed[:10] != token[:10] else ("utf-8",):
            r = cli.run("decrypt", "-k", key_path, "-e", encoding, data=changed.encode())
            opened = r.returncode == 0 and r.stdout == message.encode()
            refused = r.returncode == 1 and r.stdout == b"" and r.stderr.count(b"\n") == 1
            cli.expect(opened or refused, f"{changed!r} ({encoding}): exit {r.returncode}, output {r.stdout!r}")


def file_digest(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        while piece := f.read(1 << 20):
            digest.update(piece)
    return digest.digest()


def group_stream(cli, _):
    """64 MiB each way through pipes, in little memory."""
    key_path, _ = cli.key("stream.tvk")
    size = 64 << 20
    source = os.path.join(cli.workdir, "big.bin")
    rng = random.Random(7)
    # Written in pieces: a child's peak memory counts this process's before it starts the program.
    with open(source, "wb") as f:
        for _ in range(size >> 20):
            f.write(rng.randbytes(1 << 20))
    sealed = os.path.join(cli.workdir, "big.token")
    opened = os.path.join(cli.workdir, "big.out")
    for args in (["encrypt", "--sealed", "-k", key_path, source, "-o", sealed],
                 ["decrypt", "-k", key_path, sealed, "-o", opened]):
        child = subprocess.Popen([cli.path, *args])
        peak = 0
        # The program's own high-water mark (a child's rusage would count this
        # process's memory from before the exec).
        while child.poll() is None:
            try:
                with open(f"/proc/{child.pid}/status", encoding="ascii") as f:
                    for line in f:
                        if line.startswith("VmHWM:"):
                            peak = max(peak, int(line.split()[1]))
            except OSError:
                pass
            time.sleep(0.01)
        cli.expect(child.returncode == 0, f"{args[0]}: status {child.returncode}")
        cli.expect(0 < peak < 16 * 1024, f"{args[0]}: {peak} KiB resident")
    cli.expect(file_digest(source) == file_digest(opened), "64 MiB round trip")
    # A check broken at the very end: authenticated chunks may be out, the verdict is still damaged.
    with open(sealed, "rb+") as f:
        f.seek(-3, os.SEEK_END)
        last = f.read(1)
        f.seek(-3, os.SEEK_END)
        f.write(b"2" if last != b"2" else b"3")
    r = cli.run("decrypt", "-k", key_path, sealed, "-o", opened + ".2")
    cli.expect(r.returncode == 1 and not os.path.exists(opened + ".2"), f"broken check: {r.returncode}")


GROUPS = {"vectors": group_vectors, "cross_check": group_cross_check, "damage": group_damage,
          "channel": group_channel, "stream": group_stream}


def main():
    group, cli_path, vectors_path, workdir = sys.argv[1:5]
    os.makedirs(workdir, exist_ok=True)
    with open(vectors_path, encoding="utf-8") as f:
        vectors = json.load(f)["vectors"]
    cli = Cli(cli_path, workdir)
    GROUPS[group](cli, vectors)
    print(f"{group}: {'failed' if cli.failures else 'passed'}")
    sys.exit(1 if cli.failures else 0)


if __name__ == "__main__":
    main()
