#!/usr/bin/env python3
"""Turn a document kept as UTF-8 with LF line ends into the GBK text the
launcher writes to disk.

Usage: python3 assets/make_gbk_text.py IN OUT

Every line, the last one too, ends in CR LF (Notepad on older Windows shows
bare LF files as one line), and there is no byte-order mark. OUT is written
to OUT.tmp first and renamed, so a failed run never leaves a half file.
"""
import os
import sys


class TextError(Exception):
    pass


def convert(text, name):
    """Return the GBK bytes for `text`; `name` is used in error messages."""
    if not text:
        raise TextError(f"{name}: is empty")
    if text.startswith("\ufeff"):
        raise TextError(f"{name}: starts with a byte-order mark (save it as UTF-8 without BOM)")
    lines = text.split("\n")
    if lines[-1] == "":
        lines.pop()
    out = []
    for number, line in enumerate(lines, 1):
        if "\r" in line:
            raise TextError(f"{name}: line {number} has a CR (keep the source in LF line ends)")
        if "\0" in line:
            raise TextError(f"{name}: line {number} has a NUL character")
        try:
            out.append(line.encode("gbk"))
        except UnicodeEncodeError as e:
            ch = line[e.start]
            raise TextError(
                f"{name}: line {number}, column {e.start + 1}: {ch!r} (U+{ord(ch):04X}) has no GBK form"
            ) from e
    return b"".join(part + b"\r\n" for part in out)


def make(in_path, out_path):
    try:
        with open(in_path, "rb") as f:
            raw = f.read()
    except OSError as e:
        raise TextError(f"{in_path}: cannot read ({e.strerror})") from e
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        raise TextError(f"{in_path}: not valid UTF-8 at byte {e.start}") from e
    data = convert(text, in_path)

    tmp_path = out_path + ".tmp"
    try:
        with open(tmp_path, "wb") as f:
            f.write(data)
        os.replace(tmp_path, out_path)
    except OSError as e:
        try:
            os.remove(tmp_path)
        except OSError:
            pass
        raise TextError(f"{out_path}: cannot write ({e.strerror})") from e


def main(argv):
    if len(argv) != 3:
        print("usage: make_gbk_text.py IN OUT", file=sys.stderr)
        return 2
    try:
        make(argv[1], argv[2])
    except TextError as e:
        print(e, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
