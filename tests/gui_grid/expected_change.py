#!/usr/bin/env python3
"""What data/monster.txt holds after one column of the monsters of some levels is
multiplied by a percentage and the table saved, worked out apart from the editor:

    expected_change.py MONSTER_FILE COLUMN LOWEST_LEVEL HIGHEST_LEVEL PERCENT > expected

COLUMN is the 1-based column of the line (5 is HP). A monster takes part when its
level, as its field shows it (pulled into 1..255), lies within the two levels. Its new
value is the shown value times the percentage, rounded half away from zero, pulled
into the column's bounds; a monster whose value stays as shown keeps its line. A
monster that changes is written as "OK" on the stats page writes it: 28 columns joined
by tabs, the name's words joined by blanks, every edited column pulled into its
bounds but the move range, which is kept. Every line is written in normal form with
CR LF."""

import re
import sys
from decimal import ROUND_HALF_UP, Decimal

# Edited columns and their bounds; (0, 0) is no bounds, None the move range (kept).
BOUNDS = {4: (1, 255), 5: (1, 1000000), 6: (0, 1000000), 7: (1, 1000000), 8: (1, 1000000),
          9: (1, 1000000), 10: (0, 1000000), 11: (1, 1000000), 12: (1, 1000000), 13: None,
          17: (1, 1000000), 18: (1, 2000), 19: (1, 1000000),
          25: (0, 0), 26: (0, 0), 27: (0, 0), 28: (0, 0)}


def clamp(column, value):
    bounds = BOUNDS[column]
    if bounds is None or bounds == (0, 0):
        return value
    return min(max(value, bounds[0]), bounds[1])


def columns_of(line):
    """The 28 columns of a normal-form line; a quoted name's pieces joined by blanks."""
    pieces = line.split("\t")
    columns = []
    while pieces:
        piece = pieces.pop(0)
        if piece.startswith('"'):
            while not (len(piece) > 1 and piece.endswith('"')) and pieces:
                piece += " " + pieces.pop(0)
        columns.append(piece)
    assert len(columns) == 28, line
    return columns


def main():
    path, column, lowest, highest, percent = sys.argv[1:]
    column, lowest, highest = int(column), int(lowest), int(highest)
    factor = Decimal(percent) / 100
    data = open(path, "rb").read().decode("latin-1")
    lines = [re.sub(r"[ \t]+", "\t", line).lstrip("\t") for line in re.split(r"\r\n|\r|\n", data)]
    if lines and lines[-1] == "":
        lines.pop()
    end = lines.index("end") if "end" in lines else len(lines)
    for i in range(end):
        cells = columns_of(lines[i])
        values = {c: int(cells[c - 1]) for c in BOUNDS}
        if not lowest <= clamp(4, values[4]) <= highest:
            continue
        shown = clamp(column, values[column])
        new = clamp(column, int((shown * factor).to_integral_value(rounding=ROUND_HALF_UP)))
        if new == shown:
            continue
        values = {c: clamp(c, v) for c, v in values.items()}
        values[column] = new
        lines[i] = "\t".join(str(values[c]) if c in values else cells[c - 1] for c in range(1, 29))
    sys.stdout.buffer.write("".join(line + "\r\n" for line in lines).encode("latin-1"))


main()
