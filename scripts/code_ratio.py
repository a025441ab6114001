#!/usr/bin/env python3
"""Prints the lines of test code against the lines of program code.

A line counts when it is neither blank nor only comment (C++ `//` and
`/* */`). Tests are everything under tests/; the program is src/, tools/ and
bench/. Only .cpp and .h files count on either side.
"""
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def code_lines(text):
    count = 0
    in_block = False
    for line in text.splitlines():
        code = []
        i = 0
        in_string = None
        while i < len(line):
            if in_block:
                end = line.find("*/", i)
                if end < 0:
                    i = len(line)
                    break
                in_block = False
                i = end + 2
                continue
            c = line[i]
            if in_string:
                code.append(c)
                if c == "\\":
                    code.append(line[i + 1:i + 2])
                    i += 2
                    continue
                if c == in_string:
                    in_string = None
                i += 1
                continue
            if line.startswith("//", i):
                break
            if line.startswith("/*", i):
                in_block = True
                i += 2
                continue
            if c in "\"'":
                in_string = c
            code.append(c)
            i += 1
        if "".join(code).strip():
            count += 1
    return count


def count_tree(dirs):
    total = 0
    for d in dirs:
        for base, _, files in os.walk(os.path.join(ROOT, d)):
            for name in files:
                if name.endswith((".cpp", ".h")):
                    with open(os.path.join(base, name), encoding="utf-8",
                              errors="replace") as f:
                        total += code_lines(f.read())
    return total


def main():
    tests = count_tree(["tests"])
    code = count_tree(["src", "tools", "bench"])
    ratio = tests / code if code else 0.0
    print(f"test code {tests} lines, program code {code} lines, ratio {ratio:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
