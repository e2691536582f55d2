#!/usr/bin/env python3
"""Pad the sample lesson program to the lesson's real size.

Usage: python3 assets/pad_image.py IN OUT SIZE

OUT is IN followed by "lesson data" up to exactly SIZE bytes. The data sits
after the last section, where the Windows loader never looks, so the padded
program runs exactly as IN does. The data comes from SHA-256 over a fixed
seed and a block counter, so the same IN always gives the same OUT.
"""
import hashlib
import os
import struct
import sys

SEED = b"zorvalin lesson data"
BLOCK = hashlib.sha256().digest_size
CHUNK = 1 << 20


class PadError(Exception):
    pass


def lesson_data(length):
    """Yield `length` bytes of the fixed pattern, in chunks."""
    counter = 0
    while length > 0:
        blocks = []
        want = min(length, CHUNK)
        for _ in range((want + BLOCK - 1) // BLOCK):
            blocks.append(hashlib.sha256(SEED + counter.to_bytes(8, "little")).digest())
            counter += 1
        chunk = b"".join(blocks)[:want]
        length -= want
        yield chunk


def end_of_sections(path, head, file_size):
    """Return the file offset just past the last section's raw data.

    Only what padding relies on is checked: that this is a PE image and that
    its sections lie inside the file (a cut-off image would swallow part of
    the padding into a section).
    """
    if head[:2] != b"MZ":
        raise PadError(f"{path}: not a Windows program (no MZ signature)")
    if len(head) < 0x40:
        raise PadError(f"{path}: not a Windows program (DOS header cut short)")
    e_lfanew = struct.unpack_from("<I", head, 0x3C)[0]
    if e_lfanew + 24 > len(head):
        raise PadError(f"{path}: not a Windows program (PE header offset {e_lfanew} is past the header)")
    if head[e_lfanew:e_lfanew + 4] != b"PE\0\0":
        raise PadError(f"{path}: not a Windows program (no PE signature)")
    sections, optional_size = struct.unpack_from("<H12xH", head, e_lfanew + 6)
    table = e_lfanew + 24 + optional_size
    if table + 40 * sections > len(head):
        raise PadError(f"{path}: not a Windows program (section table cut short)")
    end = table + 40 * sections
    for i in range(sections):
        raw_size, raw_pointer = struct.unpack_from("<II", head, table + 40 * i + 16)
        if raw_size:
            end = max(end, raw_pointer + raw_size)
    if end > file_size:
        raise PadError(f"{path}: cut short (sections end at byte {end}, the file has {file_size})")
    return end


def pad(in_path, out_path, size):
    try:
        with open(in_path, "rb") as f:
            image = f.read()
    except OSError as e:
        raise PadError(f"{in_path}: cannot read ({e.strerror})") from e
    # 64 KiB covers the headers and section table of any image we build.
    end_of_sections(in_path, image[:65536], len(image))
    if len(image) > size:
        raise PadError(f"{in_path}: already {len(image)} bytes, larger than the target {size}")

    tmp_path = out_path + ".tmp"
    try:
        with open(tmp_path, "wb") as out:
            # Anything IN already carries past its sections stays where it is.
            out.write(image)
            for chunk in lesson_data(size - len(image)):
                out.write(chunk)
        os.replace(tmp_path, out_path)
    except OSError as e:
        try:
            os.remove(tmp_path)
        except OSError:
            pass
        raise PadError(f"{out_path}: cannot write ({e.strerror})") from e


def main(argv):
    if len(argv) != 4:
        print("usage: pad_image.py IN OUT SIZE", file=sys.stderr)
        return 2
    in_path, out_path, size_text = argv[1:]
    try:
        size = int(size_text)
        if size <= 0:
            raise ValueError
    except ValueError:
        print(f"pad_image.py: SIZE must be a positive byte count, not {size_text!r}", file=sys.stderr)
        return 2
    try:
        pad(in_path, out_path, size)
    except PadError as e:
        print(e, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
