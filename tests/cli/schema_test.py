#!/usr/bin/env python3
"""The JSON Schema of the named task files accepts every named example and what `kalvar-cli convert`
writes of the control-id ones, refuses tasks that kalvar-cli refuses, and is what `kalvar-cli schema`
prints. Exits 77 (skipped) without the jsonschema module."""
import json
import pathlib
import subprocess
import sys

try:
    import jsonschema
except ImportError:
    print("jsonschema is not installed: skipped")
    sys.exit(77)

cli, source = sys.argv[1], pathlib.Path(sys.argv[2])
schema = json.loads((source / "task/kalvar-task.schema.json").read_text(encoding="utf-8"))
printed = json.loads(subprocess.run([cli, "schema"], check=True, capture_output=True, text=True).stdout)
assert printed == schema, "kalvar-cli schema prints another schema than task/kalvar-task.schema.json"
jsonschema.Draft202012Validator.check_schema(schema)
validator = jsonschema.Draft202012Validator(schema)

tasks = {}
for path in sorted((source / "examples").glob("*.json")):
    if ".control-id." not in path.name:
        tasks[path.name] = json.loads(path.read_text(encoding="utf-8"))
for n, line in enumerate((source / "examples/substations.jsonl").read_text(encoding="utf-8").splitlines(), 1):
    tasks[f"substations.jsonl:{n}"] = json.loads(line)
for path in sorted((source / "tests/cli/control-id-tasks").glob("*.json")):
    converted = subprocess.run([cli, "convert", str(path)], check=True, capture_output=True, text=True).stdout
    tasks["converted " + path.name] = json.loads(converted)

faults = []
for name, task in tasks.items():
    for error in validator.iter_errors(task):
        faults.append(f"{name}: {error.json_path}: {error.message}")

refused = [
    {"heating": {"heatingSide": {"inletTemperature": True}}},
    {"heating": {"series": 6}},
    {"heating": {"secondStage": {"lossLimit": 1}}},
    {"ventilation": {"heatedSide": {"medium": "oil"}}},
    {"additionalResults": {"heatingPipe": 30}},
    {"system": "steam"},
    {"version": 2},
    {"heating": {"given": "flow"}},
]
for task in refused:
    if validator.is_valid(task):
        faults.append(f"the schema accepts {json.dumps(task)}")
    run = subprocess.run([cli, "calc", "-"], input=json.dumps(task), capture_output=True, text=True)
    if run.returncode != 2:
        faults.append(f"kalvar-cli accepts {json.dumps(task)}")

for fault in faults:
    print(fault)
print(f"{len(tasks)} tasks checked against the schema")
sys.exit(1 if faults else 0)
