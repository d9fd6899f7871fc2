#!/usr/bin/env python3
"""Fails, naming them, when two modules of the program include each other.

    include_pairs.py SOURCE_ROOT

A module is a header with its source file (OverviewSurface.h and OverviewSurface.cpp).
Two modules include each other when a file of each includes a header of the other:
then neither can be read, built or changed without the other, and what they share
belongs in a small header of its own that both include. The tests are left out: a
test includes what it tests.
"""
import collections
import os
import re
import sys

PROGRAM_FOLDERS = ("tables", "document", "ui", "stats", "spawns", "overview", "monstergrid", "balance",
                   "review", "app", "check", "pictures")


def main(root):
    files = {}
    for folder in PROGRAM_FOLDERS:
        for where, _, names in os.walk(os.path.join(root, folder)):
            for name in names:
                if name.endswith((".cpp", ".h")):
                    files[os.path.join(where, name)] = name
    by_name = collections.defaultdict(list)
    for path, name in files.items():
        by_name[name].append(path)

    def module(path):
        return os.path.splitext(path)[0]

    uses = collections.defaultdict(set)
    for path in files:
        with open(path, encoding="utf-8", errors="replace") as f:
            text = f.read()
        for included in re.findall(r'^\s*#\s*include\s+"([^"]+)"', text, re.MULTILINE):
            candidates = by_name.get(os.path.basename(included), [])
            beside = [c for c in candidates if os.path.dirname(c) == os.path.dirname(path)]
            for target in beside or candidates[:1]:
                if module(target) != module(path):
                    uses[module(path)].add(module(target))
    pairs = sorted((a, b) for a in uses for b in uses[a] if a < b and a in uses.get(b, ()))
    for a, b in pairs:
        print(f"{os.path.relpath(a, root)} and {os.path.relpath(b, root)} include each other")
    return 1 if pairs else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
