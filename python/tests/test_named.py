"""kalvar.convert and kalvar.schema give what kalvar-cli convert and schema give."""
import json

import pytest

import kalvar
from conftest import run_cli
from test_calc import EXAMPLE_TASKS, INVALID_TASKS


@pytest.mark.parametrize("name,text", EXAMPLE_TASKS, ids=[name for name, _ in EXAMPLE_TASKS])
def test_convert_equals_the_cli_and_runs_to_the_same_windows(name, text):
    status, out, err = run_cli("convert", "-", stdin=text)
    assert status == 0, err
    named = kalvar.convert(text)
    assert named == json.loads(out)
    assert kalvar.convert(json.loads(text)) == named
    before, after = kalvar.calc(text), kalvar.calc(named)
    for key in ("windows", "messages", "limitDialogs"):
        assert after[key] == before[key], key


@pytest.mark.parametrize("task", INVALID_TASKS.values(), ids=INVALID_TASKS.keys())
def test_convert_of_an_invalid_task_raises_the_cli_message(task):
    text = task if isinstance(task, str) else json.dumps(task, ensure_ascii=False)
    status, _, err = run_cli("convert", "-", stdin=text)
    if status == 0:
        pytest.skip("kalvar-cli converts this task")
    with pytest.raises(ValueError) as error:
        kalvar.convert(task)
    assert "kalvar-cli: " + str(error.value) + "\n" == err


def test_schema_is_the_cli_schema():
    status, out, _ = run_cli("schema")
    assert status == 0
    schema = kalvar.schema()
    assert schema == json.loads(out)
    assert schema["$schema"] == "https://json-schema.org/draft/2020-12/schema"
