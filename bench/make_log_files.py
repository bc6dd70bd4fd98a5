#!/usr/bin/env python3
"""Writes log-like text files for the collection benchmark: one large file
and many small ones, compressible about as well as real printer logs.

  make_log_files.py LARGE_PATH LARGE_BYTES SMALL_DIR SMALL_COUNT
"""
import os
import random
import sys

LEVELS = ["DEBUG", "INFO", "INFO", "INFO", "WARN", "ERROR"]
SOURCES = ["usb", "backend", "filter", "utility", "spooler", "status"]
MESSAGES = [
    "bulk out {n} bytes to endpoint 0x{h:02x}",
    "bulk in {n} bytes, status 0x{h:04x}",
    "job {n} page {p} rasterised in {t} ms",
    "printer reports temperature {p} C, ink level {t}%",
    "retrying command A5{h:04X} after timeout ({t} ms)",
    "queue state changed to {s}",
    "loaded settings from /etc/quorvel/printers.d/q{p}.conf",
]
STATES = ["idle", "processing", "stopped", "paused"]


def block(rng, size):
    """About `size` bytes of log lines."""
    lines = []
    total = 0
    second = rng.randrange(1_600_000_000, 1_700_000_000)
    while total < size:
        second += rng.randrange(0, 3)
        message = rng.choice(MESSAGES).format(
            n=rng.randrange(1, 100000), h=rng.randrange(0, 65536), p=rng.randrange(1, 300),
            t=rng.randrange(0, 5000), s=rng.choice(STATES))
        line = "%d.%03d [%s] %s: %s\n" % (second, rng.randrange(1000), rng.choice(LEVELS),
                                          rng.choice(SOURCES), message)
        lines.append(line)
        total += len(line)
    return "".join(lines).encode()[:size]


def main():
    large_path, large_bytes, small_dir, small_count = sys.argv[1], int(sys.argv[2]), sys.argv[3], int(sys.argv[4])
    rng = random.Random(20110307)
    # Distinct blocks far apart beyond the compressor's 32 KiB window look
    # the same to it as fresh text, so a few are repeated to save time.
    blocks = [block(rng, 8 << 20) for _ in range(4)]
    if large_bytes > 0:
        write_large(large_path, large_bytes, blocks)
    os.makedirs(small_dir, exist_ok=True)
    for number in range(small_count):
        with open(os.path.join(small_dir, "job-%05d.log" % number), "wb") as small:
            small.write(block(rng, rng.randrange(200, 4000)))


def write_large(large_path, large_bytes, blocks):
    os.makedirs(os.path.dirname(large_path), exist_ok=True)
    with open(large_path, "wb") as large:
        written = 0
        index = 0
        while written < large_bytes:
            chunk = blocks[index % len(blocks)][: large_bytes - written]
            large.write(chunk)
            written += len(chunk)
            index += 1


if __name__ == "__main__":
    main()
