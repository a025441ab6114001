#!/usr/bin/env python3
"""Rewrites every activity name of an XER file with accented Windows-1252
text (the file stays otherwise byte for byte the same), for timing the
reading of exports whose names are not plain ASCII.

    accented_names.py IN.xer OUT.xer
"""
import sys

WORDS = [b"R\xe9fection", b"\xc9tage", b"Z\xfcrich", b"fa\xe7ade", b"\x93c\xf4t\xe9 nord\x94",
         b"\x96", b"l\x92\xe9quipe", b"gro\xdfe", b"Bj\xf6rk", b"S\xe3o", b"ni\xf1o", b"\xc5rhus"]


def main():
    src, dst = sys.argv[1], sys.argv[2]
    with open(src, "rb") as f:
        lines = f.read().split(b"\n")
    table, name_col, n = None, None, 0
    for i, line in enumerate(lines):
        if line.startswith(b"%T\t"):
            table = line[3:].rstrip(b"\r")
        elif line.startswith(b"%F\t") and table == b"TASK":
            name_col = line.rstrip(b"\r").split(b"\t").index(b"task_name")
        elif line.startswith(b"%R\t") and table == b"TASK" and name_col:
            cr = line.endswith(b"\r")
            cells = line.rstrip(b"\r").split(b"\t")
            words = [WORDS[(n * 7 + k * 5) % len(WORDS)] for k in range(4)]
            cells[name_col] = b" ".join(words) + b" " + cells[name_col]
            lines[i] = b"\t".join(cells) + (b"\r" if cr else b"")
            n += 1
    with open(dst, "wb") as f:
        f.write(b"\n".join(lines))
    print(f"{n} activity names rewritten")


if __name__ == "__main__":
    main()
