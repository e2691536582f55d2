#!/usr/bin/env python3
"""Check, at build time, the files the launcher carries inside itself.

Usage:
  check_asset.py image FILE MACHINE    MACHINE is i386 or amd64
  check_asset.py document FILE

Prints nothing and exits 0 when FILE is good. Otherwise prints one line,
"FILE: problem", to stderr and exits 1, so a bad asset stops the build
before it is embedded. Exit 2 means the command line itself is wrong.

The same checks can be called from Python: image_problem / document_problem
take the bytes and return the problem text or None; check_image /
check_document take a path and return the whole "FILE: problem" line or None.
"""
import struct
import sys

MACHINES = {"i386": 0x14C, "amd64": 0x8664}

# Only for naming what was found instead.
MACHINE_NAMES = {
    0x14C: "i386",
    0x8664: "amd64",
    0x1C0: "ARM",
    0x1C4: "ARM Thumb-2",
    0xAA64: "ARM64",
    0x200: "IA-64",
}
OPTIONAL_MAGIC = {0x14C: (0x10B, "PE32"), 0x8664: (0x20B, "PE32+")}
SUBSYSTEM_GUI = 2
SUBSYSTEM_NAMES = {
    0: "unknown",
    1: "native",
    2: "Windows GUI",
    3: "Windows console",
    5: "OS/2 console",
    7: "POSIX console",
    9: "Windows CE",
    10: "EFI application",
    14: "Xbox",
    16: "boot application",
}

DOS_HEADER_SIZE = 0x40
COFF_HEADER_SIZE = 20
SUBSYSTEM_OFFSET = 68  # in the optional header; the same for PE32 and PE32+


def _machine_text(value):
    name = MACHINE_NAMES.get(value)
    return f"0x{value:X} ({name})" if name else f"0x{value:X}"


def image_problem(data, machine):
    """Return what is wrong with the Windows program `data` for `machine`
    ("i386" or "amd64"), or None when it is good."""
    expected = MACHINES[machine]
    size = len(data)
    if size == 0:
        return "is empty"
    if data[:2] != b"MZ":
        return "not a Windows program: no MZ signature at the start"
    if size < DOS_HEADER_SIZE:
        return f"cut short: {size} bytes, less than the {DOS_HEADER_SIZE}-byte DOS header"
    e_lfanew = struct.unpack_from("<I", data, 0x3C)[0]
    if e_lfanew + 4 + COFF_HEADER_SIZE > size:
        return (
            f"PE header offset (e_lfanew) 0x{e_lfanew:X} is out of range: "
            f"the headers would end past the end of the {size}-byte file"
        )
    if data[e_lfanew:e_lfanew + 4] != b"PE\0\0":
        return f"no PE signature (\"PE\\0\\0\") at offset 0x{e_lfanew:X}"

    coff = e_lfanew + 4
    found, = struct.unpack_from("<H", data, coff)
    if found != expected:
        return (
            f"machine is {_machine_text(found)}, expected "
            f"{_machine_text(expected)}"
        )
    optional_size, = struct.unpack_from("<H", data, coff + 16)
    optional = coff + COFF_HEADER_SIZE
    if optional_size < SUBSYSTEM_OFFSET + 2 or optional + SUBSYSTEM_OFFSET + 2 > size:
        return "optional header cut short: it ends before the subsystem field"
    magic, = struct.unpack_from("<H", data, optional)
    want_magic, kind = OPTIONAL_MAGIC[expected]
    if magic != want_magic:
        return f"optional header magic is 0x{magic:X}, expected 0x{want_magic:X} ({kind})"
    subsystem, = struct.unpack_from("<H", data, optional + SUBSYSTEM_OFFSET)
    if subsystem != SUBSYSTEM_GUI:
        name = SUBSYSTEM_NAMES.get(subsystem, "unknown")
        return f"subsystem is {subsystem} ({name}), expected {SUBSYSTEM_GUI} (Windows GUI)"
    return None


def document_problem(data):
    """Return what is wrong with the GBK, CR LF text `data`, or None."""
    if not data:
        return "is empty"
    if data.startswith(b"\xef\xbb\xbf"):
        return "starts with a UTF-8 byte-order mark (the text must be GBK without BOM)"
    if data.startswith((b"\xff\xfe", b"\xfe\xff")):
        return "starts with a UTF-16 byte-order mark (the text must be GBK without BOM)"
    nul = data.find(b"\0")
    if nul >= 0:
        return f"has a NUL byte at byte offset {nul}"
    try:
        data.decode("gbk")
    except UnicodeDecodeError as e:
        bad = data[e.start:e.start + 2].hex(" ")
        return f"not valid GBK at byte offset {e.start} (bytes {bad})"
    # GBK trail bytes are never 0x0A or 0x0D, so a byte scan finds every
    # line end.
    line = 1
    i = 0
    while i < len(data):
        byte = data[i]
        if byte == 0x0D:
            if data[i + 1:i + 2] != b"\n":
                return f"line {line} ends in a bare CR (every line must end in CR LF)"
            line += 1
            i += 2
            continue
        if byte == 0x0A:
            return f"line {line} ends in a bare LF (every line must end in CR LF)"
        i += 1
    if not data.endswith(b"\r\n"):
        return f"the last line (line {line}) does not end in CR LF"
    return None


def _read(path):
    """Return (bytes, None) or (None, problem)."""
    try:
        with open(path, "rb") as f:
            return f.read(), None
    except FileNotFoundError:
        return None, "does not exist"
    except IsADirectoryError:
        return None, "is a directory, not a file"
    except OSError as e:
        return None, f"cannot be read ({e.strerror})"


def check_image(path, machine):
    data, problem = _read(path)
    if problem is None:
        problem = image_problem(data, machine)
    return None if problem is None else f"{path}: {problem}"


def check_document(path):
    data, problem = _read(path)
    if problem is None:
        problem = document_problem(data)
    return None if problem is None else f"{path}: {problem}"


USAGE = "usage: check_asset.py image FILE i386|amd64 | check_asset.py document FILE"


def main(argv):
    args = argv[1:]
    if len(args) == 3 and args[0] == "image":
        if args[2] not in MACHINES:
            print(f"check_asset.py: MACHINE must be i386 or amd64, not {args[2]!r}", file=sys.stderr)
            return 2
        problem = check_image(args[1], args[2])
    elif len(args) == 2 and args[0] == "document":
        problem = check_document(args[1])
    else:
        print(USAGE, file=sys.stderr)
        return 2
    if problem is not None:
        print(problem, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
