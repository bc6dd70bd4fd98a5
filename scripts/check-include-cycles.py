#!/usr/bin/env python3
"""Checks the includes of the product: every one is written from the top of
the source tree, each folder includes only the layers its row of the
README's layout table allows, and no two units include each other, directly
or round a circle. A unit is a header and its source file of the same name."""
import os
import re
import sys

PRODUCT_FOLDERS = ("app", "base", "cli", "core", "platform")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
# Made by the build, not in the source tree.
GENERATED = re.compile(r"^(ui_\w+\.h|ProductFacts\.h|\w+\.moc)$")

# What each folder may include besides itself, the longest matching folder
# deciding. The platform includes nothing of the report; the front ends
# include the report, the summary, the platform and base, nothing beneath
# the report.
PLATFORM = ("base", "platform")
ALLOWED = {
    "base": (),
    "platform/posix": ("base",),
    "platform": PLATFORM,
    "core/strings": ("base",),
    "core/reading": PLATFORM,
    "core/archive": PLATFORM + ("core/reading",),
    "core/filelist": PLATFORM + ("core/reading", "core/strings"),
    "core/printer": PLATFORM + ("core/strings",),
    "core/sysinfo": PLATFORM + ("core/reading", "core/strings"),
    "core/report": PLATFORM + ("core/archive", "core/filelist", "core/printer", "core/reading", "core/strings",
                               "core/sysinfo"),
    "core/summary": PLATFORM + ("core/filelist", "core/report"),
    "cli": PLATFORM + ("core/report", "core/summary"),
    "app": PLATFORM + ("core/report", "core/summary"),
}


def layer_of(relative):
    matches = [layer for layer in ALLOWED if relative == layer or relative.startswith(layer + "/")]
    return max(matches, key=len) if matches else None


def may_include(source_layer, target):
    if target.startswith(source_layer + "/"):
        return True
    return any(target.startswith(allowed + "/") for allowed in ALLOWED[source_layer])


def units(top):
    found = {}
    for folder in PRODUCT_FOLDERS:
        for directory, _, files in os.walk(os.path.join(top, folder)):
            for name in files:
                stem, extension = os.path.splitext(name)
                if extension in (".h", ".cpp"):
                    relative = os.path.relpath(os.path.join(directory, stem), top)
                    found.setdefault(relative, []).append(os.path.join(directory, name))
    return found


def find_circle(edges):
    state = {}
    path = []

    def visit(unit):
        state[unit] = "open"
        path.append(unit)
        for target in sorted(edges[unit]):
            if state.get(target) == "open":
                return path[path.index(target):] + [target]
            if target not in state:
                circle = visit(target)
                if circle:
                    return circle
        path.pop()
        state[unit] = "done"
        return None

    for unit in sorted(edges):
        if unit not in state:
            circle = visit(unit)
            if circle:
                return circle
    return None


def main():
    top = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    all_units = units(top)
    problems = []
    edges = {unit: set() for unit in all_units}
    for unit, paths in all_units.items():
        layer = layer_of(unit)
        for path in paths:
            shown = os.path.relpath(path, top)
            with open(path, encoding="utf-8", errors="replace") as source:
                for included in INCLUDE.findall(source.read()):
                    if GENERATED.match(included):
                        continue
                    if not os.path.isfile(os.path.join(top, included)):
                        problems.append(f"{shown}: \"{included}\" is not a path from the top of the source tree")
                        continue
                    if layer is None or not may_include(layer, included):
                        problems.append(f"{shown}: {layer or 'this folder'} may not include {included}")
                    target = os.path.splitext(included)[0]
                    if target in edges and target != unit:
                        edges[unit].add(target)
    for problem in problems:
        print(problem)
    circle = find_circle(edges)
    if circle:
        print("include circle: " + " -> ".join(circle))
    if problems or circle:
        return 1
    print(f"no include circles and no includes across the layers among {len(all_units)} units")
    return 0


if __name__ == "__main__":
    sys.exit(main())
