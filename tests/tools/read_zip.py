#!/usr/bin/env python3
"""Reads a zip archive back with Python's own zipfile module, independently of
the writer under test.

  read_zip.py ARCHIVE          one line per entry, in archive order:
                               name TAB method TAB date TAB size TAB crc-ok
  read_zip.py ARCHIVE NAME     the entry's bytes on standard output
Exit status 3 when the archive cannot be read as a zip.
"""
import sys
import zipfile
import zlib


def main():
    try:
        archive = zipfile.ZipFile(sys.argv[1])
    except (zipfile.BadZipFile, OSError) as error:
        print(f"unreadable: {error}", file=sys.stderr)
        return 3
    with archive:
        if len(sys.argv) > 2:
            with archive.open(sys.argv[2]) as entry:
                while chunk := entry.read(1 << 20):
                    sys.stdout.buffer.write(chunk)
            return 0
        for info in archive.infolist():
            crc = 0
            with archive.open(info) as entry:
                while chunk := entry.read(1 << 20):
                    crc = zlib.crc32(chunk, crc)
            date = "%04d-%02d-%02d %02d:%02d:%02d" % info.date_time
            name = info.filename.encode("utf-8", "surrogateescape").decode("latin-1")
            print(f"{name}\t{info.compress_type}\t{date}\t{info.file_size}\t{int(crc == info.CRC)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
