#!/usr/bin/env python3
"""Checks what `telvarin-report --json` printed against the archive it names,
with Python's own json, zipfile and hashlib, independently of the program.
Names are compared as bytes: a name that is not UTF-8 comes as {"hex": ...}.

  check_report_json.py STDOUT_FILE placed        prints the "missing" paths
  check_report_json.py STDOUT_FILE failed CODE   prints the error's message and
                                                 its detail, when it has one
Exit status 0 when every field agrees; otherwise one line per disagreement on
standard error and status 1.
"""
import hashlib
import json
import os
import sys
import zipfile

FIELDS = ["placed", "archive", "sha256", "checksum_file", "entries", "missing", "skipped", "printer", "error"]
PATH_NOT_FOUND = b'Could not find the path "'
NO_FILES = b'Added no files for the astricked path "'
SKIPPED = b'Did not collect the path "'
# What the log calls each type of "skipped".
KINDS = {b"a directory": "directory", b"a FIFO": "fifo", b"a socket": "socket",
         b"a character device": "character-device", b"a block device": "block-device",
         b"a special file": "other"}


def name_bytes(name):
    """A name as the JSON carries it: a string when it is UTF-8, else {"hex": BYTES}."""
    if isinstance(name, str):
        return name.encode("utf-8")
    if isinstance(name, dict) and list(name) == ["hex"]:
        raw = bytes.fromhex(name["hex"])
        try:
            raw.decode("utf-8")
        except UnicodeDecodeError:
            return raw
    raise ValueError(f"not a name: {name!r}")


def stored_name(info):
    encoding = "utf-8" if info.flag_bits & 0x800 else "cp437"
    return info.orig_filename.encode(encoding, "surrogateescape")


def missing_in_log(log):
    paths = []
    for line in log.split(b"\r\n"):
        for start in (PATH_NOT_FOUND, NO_FILES):
            if line.startswith(start) and line.endswith(b'"'):
                paths.append(line[len(start):-1])
    return paths


def skipped_in_log(log):
    paths = []
    for line in log.split(b"\r\n"):
        if line.startswith(SKIPPED) and line.endswith(b", not a regular file"):
            path, kind = line[len(SKIPPED):-len(b", not a regular file")].rsplit(b'": it is ', 1)
            paths.append((path, KINDS[kind]))
    return paths


# The archive named, its digest and entries as read back; None when it
# cannot be read.
def check_archive(summary, problems):
    archive = name_bytes(summary["archive"])
    if not os.path.isabs(archive) or os.path.normpath(archive) != archive:
        problems.append(f"archive is no absolute path: {archive!r}")
        return None
    with open(archive, "rb") as data:
        digest = hashlib.sha256(data.read()).hexdigest()
    if summary["sha256"] != digest:
        problems.append(f"sha256 {summary['sha256']!r} is not the archive's {digest}")
    with open(archive, "rb") as data, zipfile.ZipFile(data) as read_back:
        if read_back.testzip() is not None:
            problems.append(f"the archive {archive!r} does not read back whole")
        names = [stored_name(info) for info in read_back.infolist()]
    if [name_bytes(entry) for entry in summary["entries"]] != names:
        problems.append(f"entries {summary['entries']} are not the archive's {names}")
    if summary["printer"] != (b"reportData/deviceReport.dat" in names):
        problems.append(f"printer is {summary['printer']} for entries {names}")
    return digest


def check_placed(summary, problems):
    digest = check_archive(summary, problems)
    if digest is None:
        return
    archive = name_bytes(summary["archive"])
    with open(archive, "rb") as data, zipfile.ZipFile(data) as read_back:
        log = read_back.read("reportData/reportGeneratorLog.log")
    missing = [name_bytes(path) for path in summary["missing"]]
    if missing != missing_in_log(log):
        problems.append(f"missing {missing} is not what the log names: {missing_in_log(log)}")
    skipped = [(name_bytes(item["path"]), item["type"]) for item in summary["skipped"]]
    if skipped != skipped_in_log(log):
        problems.append(f"skipped {skipped} is not what the log names: {skipped_in_log(log)}")
    if summary["error"] is not None:
        problems.append(f"error {summary['error']} for a placed report")
    sidecar = summary["checksum_file"]
    if sidecar is not None:
        expected = digest.encode() + b"  " + os.path.basename(archive) + b"\n"
        if name_bytes(sidecar) != archive + b".sha256" or open(name_bytes(sidecar), "rb").read() != expected:
            problems.append(f"checksum_file {sidecar!r} does not hold {expected!r}")
    for path in missing:
        sys.stdout.buffer.write(path + b"\n")


def check_failed(summary, code, problems):
    # What a failed run left: nothing, or the valid archive of the entries
    # written before the failure, named by "archive" with "placed" false.
    nothing_left = (("archive", None), ("sha256", None), ("entries", []), ("printer", False))
    fields = [("placed", False), ("checksum_file", None)]
    if summary["archive"] is None:
        fields += nothing_left
    else:
        check_archive(summary, problems)
    for field, value in fields:
        if summary[field] != value:
            problems.append(f"{field} is {summary[field]!r} after a failure")
    error = summary["error"]
    if not isinstance(error, dict) or list(error) != ["code", "message", "detail"]:
        problems.append(f"error is not {{code, message, detail}}: {error!r}")
        return
    if type(error["code"]) is not int or error["code"] != code:
        problems.append(f"error code {error['code']!r}, expected {code}")
    if not isinstance(error["message"], str) or not error["message"]:
        problems.append(f"error message {error['message']!r}")
    detail = error["detail"]
    if detail is not None and (not isinstance(detail, str) or not detail or "\n" in detail):
        problems.append(f"error detail {detail!r}")
    print(error["message"])
    if detail is not None:
        print(detail)


def main():
    with open(sys.argv[1], encoding="utf-8") as output:
        text = output.read()
    problems = []
    if not text.endswith("\n") or text.count("\n") != 1:
        problems.append("the object is not one line ended by a line feed")
    # Raises on anything before or after the one object.
    summary = json.loads(text)
    if not isinstance(summary, dict) or list(summary) != FIELDS:
        print(f"not an object with the fields {FIELDS}: {text!r}", file=sys.stderr)
        return 1
    if sys.argv[2] == "placed":
        if summary["placed"] is not True:
            problems.append(f"placed is {summary['placed']!r}")
        else:
            check_placed(summary, problems)
    else:
        check_failed(summary, int(sys.argv[3]), problems)
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
