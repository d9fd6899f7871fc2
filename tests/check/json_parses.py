"""python3 json_parses.py VARNEX_CHECK PLANTED_FOLDER

Runs the checker with and without --json over the planted folder and over a folder
made here whose path and fields hold a backslash, a tab, a byte order mark and a byte
that is not UTF-8. The JSON output must be UTF-8, parse strictly (no raw control
characters in strings), write such a byte as the text \\xNN (never as \\u00NN, which a
reader would decode as another letter), hold the counts and one object per listed
problem, and say line for line what the text output says."""
import json
import os
import subprocess
import sys
import tempfile

program, planted = sys.argv[1], sys.argv[2]


def agree(folder):
    text = subprocess.run([program, folder], capture_output=True)
    run = subprocess.run([program, "--json", folder], capture_output=True)
    assert run.returncode == text.returncode, (run.returncode, text.returncode)
    assert b"\\u00" not in run.stdout, run.stdout
    document = json.loads(run.stdout.decode("utf-8"), strict=True)

    for key in ("files", "monsters", "spots", "errors", "warnings", "notes"):
        assert isinstance(document[key], int), key
    problems = document["problems"]
    assert len(problems) == document["errors"] + document["warnings"] + document["notes"], len(problems)
    assert (run.returncode == 1) == (document["errors"] > 0)

    lines = text.stdout.decode("utf-8").split("\n")[:-2]  # without the summary and the last line break
    assert len(lines) == len(problems), (len(lines), len(problems))
    for line, p in zip(lines, problems):
        assert set(p) == {"file", "line", "column", "severity", "code", "message"}, p
        place = "%s:%d:%d" % (p["file"], p["line"], p["column"]) if p["line"] else p["file"]
        said = "%s: %s: %s [%s]" % (place, p["severity"], p["message"], p["code"])
        assert line == said, (line, said)
    return document


planted_document = agree(planted)
assert planted_document["errors"] > 0 and planted_document["warnings"] > 0, "the planted folder has both"

with tempfile.TemporaryDirectory() as temporary:
    folder = os.path.join(temporary, "back\\slash")
    os.makedirs(os.path.join(folder, "data"))
    rest = [b"%d" % (10 * c) for c in range(5, 29)]
    with open(os.path.join(folder, "data", "monster.txt"), "wb") as f:
        f.write(b"\xef\xbb\xbf1\r\n"  # a byte order mark
                + b"\t".join([b"7", b"0", b'"Back\\slash"', b"1\\2"] + rest) + b"\r\n"
                + b"\xc4\x01\t0\r\n"
                + b"\t".join([b"8", b"0", b'"Name\\"', b"1"] + rest) + b"\r\n")
    with open(os.path.join(folder, "data", "Quarnel.txt"), "wb") as f:
        f.write(b"0\r\n8 0 0 1 1 -1 \\ \r\n")
    crafted = agree(folder)
    messages = " ".join(p["message"] for p in crafted["problems"])
    for shown in ("\\uFEFF", "'1\\2'", "'\\xc4\\x01'", "'-1\\t\\'"):
        assert shown in messages, (shown, messages)

print("JSON agrees with the text output; %d planted problems" % len(planted_document["problems"]))
