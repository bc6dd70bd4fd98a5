#!/usr/bin/env python3
"""Reads a zip archive back with Python's own zipfile module, independently of
the writer under test.

  read_zip.py ARCHIVE          one line per entry, in archive order:
                               name TAB method TAB date TAB size TAB crc-ok
                               TAB utf8-flag
  read_zip.py ARCHIVE NAME     the entry's bytes on standard output
Names are written and matched as the bytes stored in the archive. A zero DOS
date reads back as "1980-00-00 00:00:00".
Exit status 3 when the archive cannot be read as a zip, 4 when NAME is not in it.
"""
import os
import sys
import zipfile
import zlib


def stored_name(info):
    # zipfile decodes a name as UTF-8 when the entry says so and as code page
    # 437 otherwise; both decodings are undone exactly by encoding back.
    encoding = "utf-8" if info.flag_bits & 0x800 else "cp437"
    return info.orig_filename.encode(encoding, "surrogateescape")


def main():
    try:
        archive = zipfile.ZipFile(sys.argv[1])
    except (zipfile.BadZipFile, OSError) as error:
        print(f"unreadable: {error}", file=sys.stderr)
        return 3
    out = sys.stdout.buffer
    with archive:
        if len(sys.argv) > 2:
            wanted = os.fsencode(sys.argv[2])
            matches = [info for info in archive.infolist() if stored_name(info) == wanted]
            if not matches:
                print(f"no entry {sys.argv[2]!r}", file=sys.stderr)
                return 4
            with archive.open(matches[-1]) as entry:
                while chunk := entry.read(1 << 20):
                    out.write(chunk)
            return 0
        for info in archive.infolist():
            crc = 0
            with archive.open(info) as entry:
                while chunk := entry.read(1 << 20):
                    crc = zlib.crc32(chunk, crc)
            date = "%04d-%02d-%02d %02d:%02d:%02d" % info.date_time
            fields = (f"\t{info.compress_type}\t{date}\t{info.file_size}\t{int(crc == info.CRC)}"
                      f"\t{int(bool(info.flag_bits & 0x800))}\n")
            out.write(stored_name(info) + fields.encode("ascii"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
