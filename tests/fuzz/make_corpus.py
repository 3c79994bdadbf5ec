#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets: valid files and crafted damage.

Every byte is laid out here by hand, not by Dividora's own writers, so the seeds also show
whether the readers agree with the formats as they are written down in KPXPieceFormat.h,
KPXUtilFormat.h and tkvCheckVersion.h.

    make_corpus.py           rewrite corpus/<target>/ from scratch
    make_corpus.py --check   exit 1 when corpus/ differs from what this script writes
"""

import filecmp
import math
import pathlib
import shutil
import struct
import sys
import tempfile

HERE = pathlib.Path(__file__).resolve().parent

PRODUCT = b"Tarno.K.V. Dividora"
COMMENT = b"Tarno.K.V. Soft by R.N."
PIECE_KIND = b"Tarno.K.V. Separated File by Dividora Application"
SETTINGS_KIND = b"Tarno.K.V. File for Utility of Dividora Application"
VERSION_MAGIC = b"Tarno.K.V. Version File"

INT_MIN = -(2**31)
INT_MAX = 2**31 - 1


def long(value):
    return struct.pack("<i", value)


def boolean(value):
    return struct.pack("<h", -1 if value else 0)


def date(value):
    return struct.pack("<d", value)


def text(data, count=None):
    """A length-prefixed text; count is the stored length when it must lie."""
    return long(len(data) if count is None else count) + data


def version_block(kind, version):
    return text(PRODUCT) + text(COMMENT) + text(kind) + long(version)


def pattern(length, seed=1):
    """Bytes that differ at every offset, so a shifted copy shows in a comparison."""
    state = seed * 2654435761 + 12345
    out = bytearray()
    for _ in range(length):
        state = (state * 1664525 + 1013904223) % 2**32
        out.append(state >> 24)
    return bytes(out)


# 2024/05/10 9:00:00 as days since 1899/12/30.
SPLIT_DATE = 45422.375


def piece(name=b"photo.jpg", data=pattern(300), chars=None, file_size=None, turn=0, count=1,
          spec=-1838485924, when=SPLIT_DATE, version=1, kind=PIECE_KIND):
    """A piece file. chars is the name's stored character count (the byte count by default,
    right for single-byte names); file_size the stored data size (the data's length)."""
    return (version_block(kind, version) + date(when) + long(spec) + long(turn) + long(count) +
            text(name, chars) + long(len(data) if file_size is None else file_size) + data)


def piece_corpus():
    seeds = {}
    # Whole pieces that restore on their own.
    seeds["valid-one-piece"] = piece()
    seeds["valid-empty-data"] = piece(name=b"empty.txt", data=b"")
    seeds["valid-block-sized-data"] = piece(name=b"a.bin", data=pattern(4096, 2))
    # Shift-JIS names: 漢字.txt, ﾃﾞｰﾀ.txt (single-byte kana), 表ソ.txt (0x5C as trail byte).
    seeds["valid-kanji-name"] = piece(name=b"\x8a\xbf\x8e\x9a.txt", chars=6)
    seeds["valid-halfwidth-kana-name"] = piece(name=b"\xc3\xde\xb0\xc0.txt")
    seeds["valid-trail-byte-5c-name"] = piece(name=b"\x95\x5c\x83\x5c.txt", chars=6)
    # IBM extension kanji, lead bytes 0xFA-0xFC: 髙橋.txt, 山﨑.dat.
    seeds["valid-ibm-kanji-taka"] = piece(name=b"\xfb\xfc\x8b\xb4.txt", chars=6)
    seeds["valid-ibm-kanji-saki"] = piece(name=b"\x8e\x52\xfa\xb1.dat", chars=6)
    # The last character of the code page (0xFC 0x4B), an NEC-selected IBM extension kanji
    # (0xED 0x40), and the user-defined area (lead bytes 0xF0-0xF9, private use in Unicode).
    seeds["valid-last-kanji-name"] = piece(name=b"\xfc\x4b.txt", chars=5)
    seeds["valid-nec-selected-kanji-name"] = piece(name=b"\xed\x40.txt", chars=5)
    seeds["valid-user-defined-name"] = piece(name=b"\xf0\x40\xf9\xfc.txt", chars=6)
    # The longest names: 256 single-byte characters, and 256 kanji (768 bytes of UTF-8,
    # more than a Linux file name can hold).
    seeds["valid-longest-ascii-name"] = piece(name=b"n" * 256)
    seeds["valid-longest-kanji-name"] = piece(name=b"\x8a\xbf" * 256, chars=256)
    # A header that reads, of a piece that cannot restore alone.
    seeds["second-of-three"] = piece(turn=1, count=3)
    # Join positions and counts outside their range.
    seeds["turnid-negative"] = piece(turn=-1)
    seeds["turnid-min"] = piece(turn=INT_MIN, count=INT_MIN)
    seeds["turnid-past-count"] = piece(turn=1, count=1)
    seeds["count-zero"] = piece(count=0)
    # FileSize against the data.
    seeds["filesize-larger-than-data"] = piece(data=pattern(40), file_size=41)
    seeds["filesize-smaller-than-data"] = piece(data=pattern(40), file_size=39)
    seeds["filesize-negative"] = piece(file_size=-1)
    seeds["filesize-max"] = piece(file_size=INT_MAX)
    # The name's length prefix.
    seeds["name-length-past-end"] = piece()[:127] + long(200) + b"short"
    seeds["name-length-negative"] = piece(chars=-1)
    seeds["name-length-over-limit"] = piece(name=b"n" * 257)
    seeds["name-length-huge"] = piece(chars=INT_MAX)
    seeds["name-lead-byte-eats-filesize"] = piece(name=b"\x81", chars=1)
    seeds["name-invalid-shift-jis"] = piece(name=b"\x81\x20.txt", chars=5)
    seeds["name-byte-a0"] = piece(name=b"\xa0.txt")
    # Names that are not a plain file name.
    seeds["name-empty"] = piece(name=b"")
    seeds["name-dot"] = piece(name=b".")
    seeds["name-dot-dot"] = piece(name=b"..")
    seeds["name-parent-path"] = piece(name=b"../escape.txt")
    seeds["name-absolute-path"] = piece(name=b"/tmp/escape.txt")
    seeds["name-backslash"] = piece(name=b"..\\escape.txt")
    seeds["name-nul"] = piece(name=b"a\x00b.txt")
    # Control characters in the name: a terminal escape, a newline, a tab, DEL.
    seeds["name-escape-sequence"] = piece(name=b"\x1b[31mred.txt")
    seeds["name-newline"] = piece(name=b"a\nb.txt")
    seeds["name-tab"] = piece(name=b"a\tb.txt")
    seeds["name-del"] = piece(name=b"a\x7fb.txt")
    # Dates no calendar holds.
    seeds["date-nan"] = piece(when=math.nan)
    seeds["date-huge"] = piece(when=1e300)
    # Foreign files and cut pieces.
    seeds["format-version-2"] = piece(version=2)
    seeds["settings-file-as-piece"] = settings_file()
    seeds["product-length-over-64"] = long(65) + piece()[4:]
    seeds["product-length-negative"] = long(-1) + piece()[4:]
    whole = piece(name=b"a.bin", data=b"DATA")
    for cut in (0, 3, 50, 106, 110, 127, 133, 138, 140):
        seeds["cut-at-%d" % cut] = whole[:cut]
    return seeds


SETTINGS_FIELDS = (
    ("BasePositionX", long), ("BasePositionY", long), ("ConfirmFileSize", boolean),
    ("ConfirmDividoraSize", boolean), ("TransmissionByteSize", long),
    ("ClearCreatedFileWhenUncompleted", boolean), ("UpperCountToWarn", long),
    ("HowToNameDividora", long), ("HowToSeparate", long),
    ("SeparateFileModeFileSizeUnit", long), ("DialogToEstimateRestoring", boolean),
    ("WhenRestoringFailed", long), ("CheckVersion", boolean),
    ("NoticeWhenVersionChecked", boolean), ("FrequencyOfCheckingVersion", long),
    ("IsVersionChecked", boolean), ("LastTimeVersionChecked", date),
)

# What a first start on a 1920 x 1080 screen saves.
SETTINGS_DEFAULTS = {
    "BasePositionX": 10988, "BasePositionY": 5242, "ConfirmFileSize": True,
    "ConfirmDividoraSize": True, "TransmissionByteSize": 1048576,
    "ClearCreatedFileWhenUncompleted": True, "UpperCountToWarn": 100, "HowToNameDividora": 3,
    "HowToSeparate": 1, "SeparateFileModeFileSizeUnit": 1048576,
    "DialogToEstimateRestoring": True, "WhenRestoringFailed": 0, "CheckVersion": True,
    "NoticeWhenVersionChecked": False, "FrequencyOfCheckingVersion": 2,
    "IsVersionChecked": False, "LastTimeVersionChecked": 0.0,
}


def settings_file(version=8, **changes):
    """A settings file; a change given as bytes is stored as those bytes."""
    values = dict(SETTINGS_DEFAULTS, **changes)
    fields = b"".join(value if isinstance(value, bytes) else encode(value)
                      for name, encode in SETTINGS_FIELDS for value in [values[name]])
    return version_block(SETTINGS_KIND, version) + fields


def settings_corpus():
    seeds = {}
    seeds["valid-first-start"] = settings_file()
    seeds["valid-every-field-changed"] = settings_file(
        BasePositionX=-1200, BasePositionY=300, ConfirmFileSize=False,
        ConfirmDividoraSize=False, TransmissionByteSize=16384,
        ClearCreatedFileWhenUncompleted=False, UpperCountToWarn=5000, HowToNameDividora=1,
        HowToSeparate=2, SeparateFileModeFileSizeUnit=1073741824,
        DialogToEstimateRestoring=False, WhenRestoringFailed=1, CheckVersion=False,
        NoticeWhenVersionChecked=True, FrequencyOfCheckingVersion=3, IsVersionChecked=True,
        LastTimeVersionChecked=45322 + 10 / 24)  # 2024/01/31 10:00, a month's end
    # TransmissionByteSize at and beyond 1 byte to 64 MiB.
    seeds["transmission-size-zero"] = settings_file(TransmissionByteSize=0)
    seeds["transmission-size-negative"] = settings_file(TransmissionByteSize=-1048576)
    seeds["transmission-size-one"] = settings_file(TransmissionByteSize=1)
    seeds["transmission-size-64mib"] = settings_file(TransmissionByteSize=64 * 1024 * 1024)
    seeds["transmission-size-past-64mib"] = settings_file(TransmissionByteSize=64 * 1024 * 1024 + 1)
    seeds["transmission-size-max"] = settings_file(TransmissionByteSize=INT_MAX)
    # Values the window never writes.
    seeds["frequency-zero"] = settings_file(FrequencyOfCheckingVersion=0)
    seeds["frequency-huge"] = settings_file(FrequencyOfCheckingVersion=INT_MAX)
    seeds["counts-extreme"] = settings_file(
        BasePositionX=INT_MIN, BasePositionY=INT_MAX, UpperCountToWarn=INT_MIN,
        HowToNameDividora=-7, HowToSeparate=INT_MAX, SeparateFileModeFileSizeUnit=0,
        WhenRestoringFailed=INT_MIN)
    seeds["last-check-nan"] = settings_file(IsVersionChecked=True, LastTimeVersionChecked=math.nan)
    seeds["last-check-infinite"] = settings_file(LastTimeVersionChecked=math.inf)
    seeds["last-check-huge"] = settings_file(LastTimeVersionChecked=-1e300)
    # 9999/12/31 23:59:59: the next check lies past the calendar.
    seeds["last-check-year-9999-end"] = settings_file(LastTimeVersionChecked=2958465 + 86399 / 86400)
    seeds["last-check-negative-day"] = settings_file(LastTimeVersionChecked=-1.25)
    seeds["booleans-not-minus-one"] = settings_file(
        ConfirmFileSize=struct.pack("<h", 1), ConfirmDividoraSize=struct.pack("<h", 0x1234),
        CheckVersion=struct.pack("<h", -32768))
    # Other versions and kinds of file.
    seeds["file-version-7"] = settings_file(version=7)
    seeds["file-version-9"] = settings_file(version=9)
    seeds["piece-as-settings"] = piece()
    seeds["kind-length-past-end"] = settings_file()[:50] + long(60) + b"Tarno"
    seeds["comment-length-negative"] = settings_file()[:23] + long(-5) + settings_file()[27:]
    # Cut short, or with bytes after the last field.
    whole = settings_file()
    for cut in (0, 1, 108, 109, 120, 158, 166):
        seeds["cut-at-%d" % cut] = whole[:cut]
    seeds["bytes-after-last-field"] = whole + b"\x00" * 32
    return seeds


def version_file(magic=VERSION_MAGIC, product=PRODUCT, major=2, minor=0, revision=134,
                 released=45422.375, magic_length=None, product_length=None):
    return (text(magic, magic_length) + text(product, product_length) + long(major) +
            long(minor) + long(revision) + date(released))


def version_corpus():
    seeds = {}
    seeds["valid-same-version"] = version_file()
    seeds["valid-newer-revision"] = version_file(revision=135)
    seeds["valid-newer-major"] = version_file(major=3, minor=0, revision=0)
    # Older in the major number though the minor one is greater.
    seeds["valid-older-greater-minor"] = version_file(major=1, minor=1, revision=0)
    seeds["valid-huge-numbers"] = version_file(major=INT_MAX, minor=INT_MAX, revision=INT_MAX)
    seeds["valid-negative-numbers"] = version_file(major=INT_MIN, minor=-1, revision=INT_MIN)
    seeds["valid-date-nan"] = version_file(released=math.nan)
    seeds["valid-bytes-after-date"] = version_file() + b"<html>not found</html>"
    seeds["magic-other-case"] = version_file(magic=b"tarno.k.v. version file")
    seeds["magic-other-text"] = version_file(magic=b"Tarno.K.V. Version Fil_")
    seeds["magic-empty"] = version_file(magic=b"")
    seeds["magic-length-1025"] = version_file(magic=b"x" * 1025)
    seeds["magic-length-1024"] = version_file(magic=b"x" * 1024)
    seeds["magic-length-negative"] = version_file(magic_length=-1)
    seeds["magic-length-huge"] = version_file(magic_length=INT_MAX)
    seeds["product-other"] = version_file(product=b"Tarno.K.V. Dividora Lite")
    seeds["product-kanji"] = version_file(product=b"\x95\xaa\x8a\x84")  # 分割
    seeds["product-invalid-shift-jis"] = version_file(product=b"\x81\x20")
    seeds["product-length-past-end"] = version_file(product_length=40)
    seeds["html-error-page"] = b"<html><body>404 Not Found</body></html>"
    seeds["empty"] = b""
    whole = version_file()
    for cut in (3, 27, 49, 58, 69):
        seeds["cut-at-%d" % cut] = whole[:cut]
    return seeds


def write_corpora(root):
    corpora = {"piece_header": piece_corpus(), "settings_file": settings_corpus(),
               "version_file": version_corpus()}
    for target, seeds in corpora.items():
        folder = root / target
        folder.mkdir(parents=True)
        for name, data in seeds.items():
            (folder / name).write_bytes(data)


def same_tree(left, right):
    compare = filecmp.dircmp(left, right)
    if compare.left_only or compare.right_only or compare.funny_files:
        return False
    _, mismatch, errors = filecmp.cmpfiles(left, right, compare.common_files, shallow=False)
    if mismatch or errors:
        return False
    return all(same_tree(left / name, right / name) for name in compare.common_dirs)


def main(arguments):
    corpus = HERE / "corpus"
    if arguments == ["--check"]:
        with tempfile.TemporaryDirectory() as scratch:
            expected = pathlib.Path(scratch) / "corpus"
            write_corpora(expected)
            if not corpus.is_dir() or not same_tree(expected, corpus):
                print("tests/fuzz/corpus is not what make_corpus.py writes; run it again",
                      file=sys.stderr)
                return 1
        return 0
    if arguments:
        print(__doc__, file=sys.stderr)
        return 2
    shutil.rmtree(corpus, ignore_errors=True)
    write_corpora(corpus)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
