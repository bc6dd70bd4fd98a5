#!/usr/bin/env python3
"""Runs a program with a pseudo-terminal as its standard output and error,
as in an interactive shell, and writes what the terminal received to standard
output, line ends as "\n". The exit status is the program's.

  run_on_terminal.py PROGRAM [ARGUMENT...]
"""
import os
import pty
import sys


def main():
    pid, terminal = pty.fork()
    if pid == 0:
        os.execv(sys.argv[1], sys.argv[1:])
    received = b""
    while True:
        try:
            chunk = os.read(terminal, 65536)
        except OSError:  # EIO once the program has closed the terminal
            break
        if not chunk:
            break
        received += chunk
    _, status = os.waitpid(pid, 0)
    sys.stdout.buffer.write(received.replace(b"\r\n", b"\n"))
    return os.waitstatus_to_exitcode(status)


if __name__ == "__main__":
    sys.exit(main())
