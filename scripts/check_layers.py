#!/usr/bin/env python3
"""Checks that no source includes upward.

The core's folders are layers, each may include itself and those below it:
values < catalog < document < config < rows < analysis < view < app.
Inside document, io < xer < calendars < records < the rest (top, workbook).
The core includes no Qt, and tools/, bench/ and fuzz/ never include the shell.
Prints each offending line and exits 1 when there is one.
"""
import os
import re
import sys

LAYERS = ["values", "catalog", "document", "config", "rows", "analysis", "view", "app"]
DOCUMENT_SUB = {"io": 0, "xer": 1, "calendars": 2, "records": 3}  # anything else in document ranks 4
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def rank(path_parts):
    """(layer rank, sub rank) of a path below src/, as a list of parts."""
    layer = LAYERS.index(path_parts[0])
    sub = 0
    if path_parts[0] == "document":
        sub = DOCUMENT_SUB.get(path_parts[1], 4) if len(path_parts) > 2 else 4
    return layer, sub


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    faults = []
    for top in ("src", "tools", "bench", "fuzz"):
        for folder, _, files in os.walk(os.path.join(root, top)):
            for name in files:
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(folder, name)
                rel = os.path.relpath(path, os.path.join(root, "src")).split(os.sep)
                in_core = top == "src" and rel[0] in LAYERS and rel[0] != "app"
                with open(path, encoding="utf-8") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        target = m.group(2).split("/")
                        where = f"{os.path.relpath(path, root)}:{number}: {line.strip()}"
                        if m.group(1) == "<":
                            if in_core and target[0].startswith("Q"):
                                faults.append(where + "  (Qt in the core)")
                            continue
                        if target[0] not in LAYERS:
                            continue
                        if top != "src":
                            if target[0] == "app" and top != "bench":
                                faults.append(where + "  (the shell from a tool)")
                            continue
                        if rel[0] not in LAYERS or rank(target) <= rank(rel):
                            continue
                        faults.append(where + "  (includes upward)")
    for f in faults:
        print(f)
    print(f"layers: {len(faults)} upward include(s)" if faults else "layers: no upward include")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
