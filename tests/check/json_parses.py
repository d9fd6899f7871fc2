"""python3 json_parses.py VARNEX_CHECK FOLDER

Runs the checker on FOLDER with and without --json. The JSON output must be UTF-8,
parse strictly (no raw control characters in strings), hold the counts and one
object per listed problem, and agree line for line with the text output."""
import json
import subprocess
import sys

program, folder = sys.argv[1], sys.argv[2]
text = subprocess.run([program, folder], capture_output=True)
run = subprocess.run([program, "--json", folder], capture_output=True)
assert run.returncode == text.returncode, (run.returncode, text.returncode)
document = json.loads(run.stdout.decode("utf-8"), strict=True)

for key in ("files", "monsters", "spots", "errors", "warnings"):
    assert isinstance(document[key], int), key
problems = document["problems"]
assert len(problems) == document["errors"] + document["warnings"], len(problems)
assert document["errors"] > 0 and document["warnings"] > 0, "the planted folder has both"
assert (run.returncode == 1) == (document["errors"] > 0)

lines = text.stdout.split(b"\n")[:-2]  # without the summary and the last line break
assert len(lines) == len(problems), (len(lines), len(problems))
for line, problem in zip(lines, problems):
    assert set(problem) == {"file", "line", "severity", "code", "message"}, problem
    place = problem["file"] + (":%d" % problem["line"] if problem["line"] else "")
    head = "%s: %s: " % (place, problem["severity"])
    assert line.decode("latin-1").startswith(head), (line, head)
print("%d problems, exit status %d" % (len(problems), run.returncode))
