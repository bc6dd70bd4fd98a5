#!/usr/bin/env python3
"""Fails when two units of the product include each other, directly or round
a circle. A unit is a header and its source file of the same name; includes
are by bare header name, resolved among the product's own headers."""
import os
import re
import sys

PRODUCT_FOLDERS = ("app", "cli", "core", "platform")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def units(top):
    found = {}
    for folder in PRODUCT_FOLDERS:
        for directory, _, files in os.walk(os.path.join(top, folder)):
            for name in files:
                stem, extension = os.path.splitext(name)
                if extension in (".h", ".cpp"):
                    found.setdefault(os.path.join(directory, stem), []).append(os.path.join(directory, name))
    return found


def main():
    top = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    all_units = units(top)
    # Header name to unit; a name that two folders share is ambiguous and
    # would be an error of its own.
    by_header = {}
    for unit in all_units:
        header = os.path.basename(unit) + ".h"
        if header in by_header and any(p.endswith(".h") for p in all_units[unit]):
            print(f"two product headers named {header}: {by_header[header]} and {unit}")
            return 1
        if any(p.endswith(".h") for p in all_units[unit]):
            by_header[header] = unit
    edges = {unit: set() for unit in all_units}
    for unit, paths in all_units.items():
        for path in paths:
            with open(path, encoding="utf-8", errors="replace") as source:
                for included in INCLUDE.findall(source.read()):
                    target = by_header.get(os.path.basename(included))
                    if target and target != unit:
                        edges[unit].add(target)

    # Depth-first search for a circle.
    state = {}
    path = []

    def visit(unit):
        state[unit] = "open"
        path.append(unit)
        for target in sorted(edges[unit]):
            if state.get(target) == "open":
                circle = path[path.index(target):] + [target]
                print("include circle: " + " -> ".join(os.path.relpath(u, top) for u in circle))
                return True
            if target not in state and visit(target):
                return True
        path.pop()
        state[unit] = "done"
        return False

    for unit in sorted(edges):
        if unit not in state and visit(unit):
            return 1
    print(f"no include circles among {len(all_units)} units")
    return 0


if __name__ == "__main__":
    sys.exit(main())
