"""Tests for the build-time asset tools: check_asset.py, pad_image.py and
make_gbk_text.py.

Run from the repository root with
  python3 -m unittest discover -s tests/unit -p 'test_*.py'
or directly as python3 tests/unit/test_check_asset.py.
"""
import struct
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
CHECK_ASSET = ROOT / "content" / "check_asset.py"
PAD_IMAGE = ROOT / "assets" / "pad_image.py"
MAKE_GBK_TEXT = ROOT / "assets" / "make_gbk_text.py"

sys.path.insert(0, str(CHECK_ASSET.parent))
import check_asset  # noqa: E402  (lives in content/, beside the C++ it checks)

# The size the packaged lesson program must have; small images are padded to
# a much smaller size in these tests to keep them quick.
PAD_SIZE = 4096

I386 = 0x14C
AMD64 = 0x8664


def pe_image(machine=I386, subsystem=2, magic=None, optional_size=None, e_lfanew=0x40):
    """A minimal PE header with no sections: just what the loader and the
    checker read."""
    if magic is None:
        magic = 0x10B if machine == I386 else 0x20B
    if optional_size is None:
        optional_size = 0xE0 if magic == 0x10B else 0xF0
    dos = bytearray(0x40)
    dos[0:2] = b"MZ"
    struct.pack_into("<I", dos, 0x3C, e_lfanew)
    dos += bytes(max(0, e_lfanew - len(dos)))
    coff = struct.pack("<HHIIIHH", machine, 0, 0, 0, 0, optional_size, 0x0102)
    optional = bytearray(optional_size)
    if optional_size >= 2:
        struct.pack_into("<H", optional, 0, magic)
    if optional_size >= 70:
        struct.pack_into("<H", optional, 68, subsystem)
    return bytes(dos[:e_lfanew]) + b"PE\0\0" + coff + bytes(optional)


def with_section(data, raw_pointer, raw_size):
    """`data` (from pe_image) with one section appended to its table."""
    out = bytearray(data)
    struct.pack_into("<H", out, 0x40 + 6, 1)
    section = bytearray(40)
    section[0:5] = b".text"
    struct.pack_into("<II", section, 16, raw_size, raw_pointer)
    return bytes(out + section)


def patched(data, offset, value):
    out = bytearray(data)
    out[offset:offset + len(value)] = value
    return bytes(out)


GOOD_I386 = pe_image(I386)
GOOD_AMD64 = pe_image(AMD64)

# Every way a bad file is refused, and what the person who runs the build is
# told. Each row: file name, its bytes (None: the file is not there), the tool
# and mode that looks at it, and a fragment the one-line message must hold.
#   image-i386 / image-amd64 / document: check_asset.py
#   pad: pad_image.py IN OUT 4096
#   source: make_gbk_text.py IN OUT
BAD_FILES = [
    # images
    ("missing.exe", None, "image-i386", "does not exist"),
    ("empty.exe", b"", "image-i386", "is empty"),
    ("text.exe", b"hello, this is not a program\r\n" * 4, "image-i386", "no MZ signature"),
    ("elf.exe", b"\x7fELF" + bytes(200), "image-amd64", "no MZ signature"),
    ("stub.exe", b"MZ" + bytes(30), "image-i386", "less than the 64-byte DOS header"),
    ("far.exe", patched(GOOD_I386, 0x3C, struct.pack("<I", 0x10000)), "image-i386",
     "e_lfanew) 0x10000 is out of range"),
    ("edge.exe", patched(GOOD_I386, 0x3C, struct.pack("<I", len(GOOD_I386) - 23)), "image-i386",
     "is out of range"),
    ("ne.exe", patched(GOOD_I386, 0x40, b"NE\0\0"), "image-i386", "no PE signature"),
    ("pe64.exe", GOOD_AMD64, "image-i386", "machine is 0x8664 (amd64), expected 0x14C (i386)"),
    ("pe32.exe", GOOD_I386, "image-amd64", "machine is 0x14C (i386), expected 0x8664 (amd64)"),
    ("arm.exe", pe_image(0xAA64, magic=0x20B), "image-amd64", "machine is 0xAA64 (ARM64)"),
    ("console.exe", pe_image(I386, subsystem=3), "image-i386",
     "subsystem is 3 (Windows console), expected 2 (Windows GUI)"),
    ("console64.exe", pe_image(AMD64, subsystem=3), "image-amd64", "subsystem is 3 (Windows console)"),
    ("native.exe", pe_image(AMD64, subsystem=1), "image-amd64", "subsystem is 1 (native)"),
    ("noopt.exe", pe_image(I386, optional_size=0), "image-i386", "optional header cut short"),
    ("cutopt.exe", GOOD_I386[:0x40 + 24 + 40], "image-i386", "optional header cut short"),
    ("mixed.exe", pe_image(I386, magic=0x20B, optional_size=0xE0), "image-i386",
     "magic is 0x20B, expected 0x10B (PE32)"),
    # documents
    ("missing.txt", None, "document", "does not exist"),
    ("empty.txt", b"", "document", "is empty"),
    ("utf8bom.txt", b"\xef\xbb\xbf" + "投稿\r\n".encode("gbk"), "document", "UTF-8 byte-order mark"),
    ("utf16le.txt", b"\xff\xfe" + "投稿\r\n".encode("utf-16-le"), "document", "UTF-16 byte-order mark"),
    ("utf16be.txt", b"\xfe\xff" + "投稿\r\n".encode("utf-16-be"), "document", "UTF-16 byte-order mark"),
    ("utf16.txt", "ab\r\n".encode("utf-16-le"), "document", "NUL byte at byte offset 1"),
    ("nul.txt", b"line one\r\nline\0two\r\n", "document", "NUL byte at byte offset 14"),
    # Some UTF-8 text is also well-formed GBK ("说明" is); this is not.
    ("utf8.txt", "ok\r\n教程网 投稿\r\n".encode("utf-8"), "document", "not valid GBK at byte offset 12 (bytes 91 20)"),
    ("badtrail.txt", b"ab\r\n\xa2\xa0\r\n", "document", "not valid GBK at byte offset 4"),
    ("cutchar.txt", b"abc\r\n\xb5", "document", "not valid GBK at byte offset 5"),
    ("leadcr.txt", b"ab\xb5\r\n", "document", "not valid GBK at byte offset 2"),
    ("lf.txt", "第一行\r\n第二行\r\n第三行\n第四行\r\n".encode("gbk"), "document",
     "line 3 ends in a bare LF (every line must end in CR LF)"),
    ("lastlf.txt", b"one\r\ntwo\n", "document", "line 2 ends in a bare LF"),
    ("unix.txt", b"one\ntwo\n", "document", "line 1 ends in a bare LF"),
    ("cr.txt", b"one\r\ntwo\rthree\r\n", "document", "line 2 ends in a bare CR"),
    ("lastcr.txt", b"one\r\ntwo\r", "document", "line 2 ends in a bare CR"),
    ("crcrlf.txt", b"one\r\r\n", "document", "line 1 ends in a bare CR"),
    ("open.txt", "第一行\r\n最后一行".encode("gbk"), "document", "the last line (line 2) does not end in CR LF"),
    # padding the lesson program
    ("big.exe", GOOD_I386 + bytes(PAD_SIZE), "pad", f"larger than the target {PAD_SIZE}"),
    ("notpe.exe", b"just some bytes" * 10, "pad", "not a Windows program"),
    ("nope.exe", patched(GOOD_I386, 0x40, b"PX"), "pad", "no PE signature"),
    ("cut.exe", with_section(GOOD_I386, 0x200, 0x1000), "pad", "sections end at byte 4608"),
    ("gone.exe", None, "pad", "cannot read"),
    # converting the documents
    ("euro.utf8", "价格\n100 €\n".encode(), "source", "line 2, column 5: '€' (U+20AC) has no GBK form"),
    ("emoji.utf8", "好\n\n😀\n".encode(), "source", "line 3, column 1"),
    ("bom.utf8", "\ufeff投稿\n".encode(), "source", "byte-order mark"),
    ("crlf.utf8", "投稿\r\n".encode(), "source", "line 1 has a CR"),
    ("nul.utf8", "a\nb\0\n".encode(), "source", "line 2 has a NUL"),
    ("latin1.utf8", "caf\u00e9\n".encode("latin-1"), "source", "not valid UTF-8 at byte 3"),
    ("empty.utf8", b"", "source", "is empty"),
]


def run(script, *args):
    return subprocess.run([sys.executable, str(script), *map(str, args)],
                          capture_output=True, text=True, encoding="utf-8")


class BadFiles(unittest.TestCase):
    def test_every_bad_file_is_refused_with_its_message(self):
        with tempfile.TemporaryDirectory() as tmp:
            tmp = Path(tmp)
            for name, data, kind, fragment in BAD_FILES:
                with self.subTest(file=name, kind=kind):
                    path = tmp / name
                    if data is not None:
                        path.write_bytes(data)
                    if kind.startswith("image-"):
                        self._image(path, kind[len("image-"):], fragment)
                    elif kind == "document":
                        self._document(path, fragment)
                    else:
                        self._writer(path, kind, fragment)

    def _image(self, path, machine, fragment):
        self.assertIn(fragment, str(check_asset.check_image(str(path), machine)))
        self._one_line_from(run(CHECK_ASSET, "image", path, machine), path, fragment)

    def _document(self, path, fragment):
        self.assertIn(fragment, str(check_asset.check_document(str(path))))
        self._one_line_from(run(CHECK_ASSET, "document", path), path, fragment)

    def _writer(self, path, kind, fragment):
        out = path.with_name(path.name + ".out")
        tmp_out = out.with_name(out.name + ".tmp")
        # What a previous build left behind must survive a failed run.
        out.write_bytes(b"previous build")
        if kind == "pad":
            result = run(PAD_IMAGE, path, out, PAD_SIZE)
        else:
            result = run(MAKE_GBK_TEXT, path, out)
        self._one_line_from(result, path, fragment)
        self.assertEqual(out.read_bytes(), b"previous build")
        self.assertFalse(tmp_out.exists())

    def _one_line_from(self, result, path, fragment):
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertEqual(result.stdout, "")
        lines = result.stderr.splitlines()
        self.assertEqual(len(lines), 1, result.stderr)
        self.assertTrue(lines[0].startswith(f"{path}: "), lines[0])
        self.assertIn(fragment, lines[0])


class GoodFiles(unittest.TestCase):
    def setUp(self):
        self._tmp = tempfile.TemporaryDirectory()
        self.tmp = Path(self._tmp.name)

    def tearDown(self):
        self._tmp.cleanup()

    def assertGood(self, *args):
        result = run(CHECK_ASSET, *args)
        self.assertEqual((result.returncode, result.stdout, result.stderr), (0, "", ""))

    def test_minimal_programs_pass_for_their_own_machine(self):
        for machine, data in (("i386", GOOD_I386), ("amd64", GOOD_AMD64)):
            with self.subTest(machine=machine):
                self.assertIsNone(check_asset.image_problem(data, machine))
                path = self.tmp / f"{machine}.exe"
                path.write_bytes(data)
                self.assertIsNone(check_asset.check_image(str(path), machine))
                self.assertGood("image", path, machine)

    def test_headers_placed_further_into_the_file_pass(self):
        self.assertIsNone(check_asset.image_problem(pe_image(AMD64, e_lfanew=0x80), "amd64"))

    def test_shipped_documents_convert_to_the_exact_files_the_launcher_writes(self):
        expected = {"tougao": (459, 17), "shuoming": (451, 27)}
        for name, (size, lines) in expected.items():
            with self.subTest(document=name):
                out = self.tmp / f"{name}.txt"
                result = run(MAKE_GBK_TEXT, ROOT / "assets" / f"{name}.txt.utf8", out)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertEqual(result.stderr, "")
                self.assertFalse(out.with_name(out.name + ".tmp").exists())
                data = out.read_bytes()
                self.assertEqual(len(data), size)
                self.assertEqual(data.split(b"\r\n")[-1], b"")
                self.assertEqual(data.count(b"\r\n"), lines)
                self.assertNotIn(b"\n", data.replace(b"\r\n", b""))
                self.assertNotIn(b"\r", data.replace(b"\r\n", b""))
                self.assertFalse(data.startswith((b"\xef\xbb\xbf", b"\xff\xfe", b"\xfe\xff")))
                self.assertIsNone(check_asset.document_problem(data))
                self.assertGood("document", out)

    def test_conversion_keeps_the_text_and_ends_the_last_line_too(self):
        source = self.tmp / "a.utf8"
        out = self.tmp / "a.txt"
        for text in ("第一行\n\n第三行 abc\n", "第一行\n\n第三行 abc"):
            with self.subTest(text=text):
                source.write_bytes(text.encode("utf-8"))
                self.assertEqual(run(MAKE_GBK_TEXT, source, out).returncode, 0)
                self.assertEqual(out.read_bytes(), "第一行\r\n\r\n第三行 abc\r\n".encode("gbk"))


class Padding(unittest.TestCase):
    def setUp(self):
        self._tmp = tempfile.TemporaryDirectory()
        self.tmp = Path(self._tmp.name)
        # A section whose raw data runs to the end of the image, as in a
        # linked and stripped program.
        head = with_section(GOOD_I386, 0x200, 0x200)
        self.image = head + bytes(0x200 - len(head)) + bytes(range(256)) * 2
        self.source = self.tmp / "lesson.exe"
        self.source.write_bytes(self.image)

    def tearDown(self):
        self._tmp.cleanup()

    def pad(self, out, size):
        result = run(PAD_IMAGE, self.source, out, size)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stderr, "")
        return out.read_bytes()

    def test_padded_program_has_the_exact_size_and_is_unchanged_in_front(self):
        for size in (len(self.image), len(self.image) + 1, 100_000, 1_048_577 + len(self.image)):
            with self.subTest(size=size):
                data = self.pad(self.tmp / "padded.exe", size)
                self.assertEqual(len(data), size)
                self.assertEqual(data[:len(self.image)], self.image)
                self.assertIsNone(check_asset.image_problem(data, "i386"))
                self.assertFalse((self.tmp / "padded.exe.tmp").exists())

    def test_two_runs_give_the_same_bytes(self):
        first = self.pad(self.tmp / "first.exe", 300_000)
        second = self.pad(self.tmp / "second.exe", 300_000)
        self.assertEqual(first, second)

    def test_bad_size_argument_writes_nothing(self):
        out = self.tmp / "padded.exe"
        for size in ("0", "-5", "big"):
            with self.subTest(size=size):
                result = run(PAD_IMAGE, self.source, out, size)
                self.assertEqual(result.returncode, 2)
                self.assertIn("SIZE", result.stderr)
                self.assertFalse(out.exists())


if __name__ == "__main__":
    unittest.main()
