"""python3 sarif_validates.py VARNEX_CHECK PLANTED_FOLDER SARIF_SCHEMA

The SARIF output over the planted folder, and that of a run that cannot check, are
valid against the SARIF 2.1.0 schema; each result names a rule of the run by id and
index, and the run's counts agree with the results. What code scanning needs besides:
every rule has a description and help in text and markdown, every result a region, a
file relative to the run's root SRCROOT, and a fingerprint."""
import json
import subprocess
import sys

try:
    import jsonschema
except ImportError:
    sys.exit("this test needs python3-jsonschema (scripts/setup.sh installs it)")

program, planted, schema_file = sys.argv[1], sys.argv[2], sys.argv[3]
with open(schema_file, encoding="utf-8") as f:
    schema = json.load(f)
validator_class = jsonschema.validators.validator_for(schema)
validator_class.check_schema(schema)
validator = validator_class(schema, format_checker=validator_class.FORMAT_CHECKER)


def sarif(args, status):
    run = subprocess.run([program, "--format", "sarif"] + args, capture_output=True)
    assert run.returncode == status, (args, run.returncode, run.stderr)
    log = json.loads(run.stdout.decode("utf-8"), strict=True)
    errors = sorted(validator.iter_errors(log), key=lambda e: list(e.absolute_path))
    assert not errors, "\n".join("%s: %s" % (list(e.absolute_path), e.message) for e in errors)
    assert len(log["runs"]) == 1
    return log["runs"][0]


checked = sarif([planted], 1)
rules = checked["tool"]["driver"]["rules"]
results = checked["results"]
counts = checked["properties"]
assert len(results) == counts["errors"] + counts["warnings"] + counts["notes"], (len(results), counts)
assert counts["errors"] > 0 and counts["warnings"] > 0, "the planted folder has both"
for rule in rules:
    assert rule["name"] and rule["shortDescription"]["text"] and rule["fullDescription"]["text"], rule
    assert rule["help"]["text"] and "**How to fix it.** " in rule["help"]["markdown"], rule
root = checked["originalUriBaseIds"]["SRCROOT"]["uri"]
assert root.startswith("file:///") and root.endswith("/"), root
for result in results:
    assert rules[result["ruleIndex"]]["id"] == result["ruleId"], result
    artifact = result["locations"][0]["physicalLocation"]["artifactLocation"]
    assert artifact["uriBaseId"] == "SRCROOT" and artifact["uri"].startswith("data/"), result
    assert result["partialFingerprints"]["varnexLineHash/v1"], result
    assert result["level"] == rules[result["ruleIndex"]]["defaultConfiguration"]["level"], result
    region = result["locations"][0]["physicalLocation"]["region"]
    assert region["startLine"] >= 1 and region["startColumn"] >= 1, result
assert checked["invocations"][0]["executionSuccessful"] is True

failed = sarif(["/no/such/folder"], 2)
assert failed["results"] == []
assert failed["invocations"][0]["executionSuccessful"] is False
print("SARIF valid: %d results over the planted folder, and a run that cannot check" % len(results))
