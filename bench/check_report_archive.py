#!/usr/bin/env python3
"""Checks a benchmark report archive against the files it was made from:
every collected entry extracts, with Python's zipfile, to the SHA-256 of its
source file, and its deflated size is compared with one zlib stream per file
at the same level.

  check_report_archive.py ARCHIVE FILES_DIR
Entries Logs/printer.log and Logs/jobs/NAME stand for FILES_DIR/large/printer.log
and FILES_DIR/small/NAME. Prints "entries N deflated D zlib Z"; exit status 1
when an entry is missing, extra or differs.
"""
import hashlib
import os
import sys
import zipfile
import zlib


def source_of(name, files):
    if name == "Logs/printer.log":
        return os.path.join(files, "large", "printer.log")
    if name.startswith("Logs/jobs/"):
        return os.path.join(files, "small", name[len("Logs/jobs/"):])
    return None


def digest_and_zlib_size(path):
    digest = hashlib.sha256()
    deflater = zlib.compressobj(zlib.Z_DEFAULT_COMPRESSION, zlib.DEFLATED, -zlib.MAX_WBITS)
    size = 0
    with open(path, "rb") as source:
        while chunk := source.read(1 << 20):
            digest.update(chunk)
            size += len(deflater.compress(chunk))
    return digest.hexdigest(), size + len(deflater.flush())


def main():
    archive_path, files = sys.argv[1], sys.argv[2]
    # Without a large file the load is the small files alone.
    expected = set()
    if os.path.exists(os.path.join(files, "large", "printer.log")):
        expected.add(os.path.join("large", "printer.log"))
    expected |= {os.path.join("small", name) for name in os.listdir(os.path.join(files, "small"))}
    seen = set()
    deflated = zlib_total = 0
    failures = 0
    with zipfile.ZipFile(archive_path) as archive:
        for info in archive.infolist():
            source = source_of(info.filename, files)
            if source is None:
                continue  # the report's own entries
            digest = hashlib.sha256()
            with archive.open(info) as entry:
                while chunk := entry.read(1 << 20):
                    digest.update(chunk)
            source_digest, zlib_size = digest_and_zlib_size(source)
            if digest.hexdigest() != source_digest or info.compress_type != zipfile.ZIP_DEFLATED:
                print(f"differs: {info.filename}", file=sys.stderr)
                failures += 1
            seen.add(os.path.relpath(source, files))
            deflated += info.compress_size
            zlib_total += zlib_size
    for missing in sorted(expected - seen):
        print(f"missing: {missing}", file=sys.stderr)
        failures += 1
    print(f"entries {len(seen)} deflated {deflated} zlib {zlib_total}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
