"""kalvar.calc and kalvar.batch give what kalvar-cli gives, and refuse what it refuses, with its words."""
import concurrent.futures
import json

import pytest

import kalvar
from conftest import EXAMPLES, run_cli


def example_tasks():
    """Every example task as (id, text): the .json files and each line of the JSON Lines file."""
    tasks = [(path.name, path.read_text(encoding="utf-8")) for path in sorted(EXAMPLES.glob("*.json"))]
    for number, line in enumerate((EXAMPLES / "substations.jsonl").read_text(encoding="utf-8").splitlines(), 1):
        if line.strip():
            tasks.append((f"substations.jsonl:{number}", line))
    return tasks


EXAMPLE_TASKS = example_tasks()


def cli_calc(text):
    status, out, err = run_cli("calc", "-", stdin=text)
    assert status == 0, err
    return json.loads(out)


@pytest.mark.parametrize("name,text", EXAMPLE_TASKS, ids=[name for name, _ in EXAMPLE_TASKS])
def test_calc_equals_the_cli_for_the_text_and_the_dict(name, text):
    expected = cli_calc(text)
    assert kalvar.calc(text) == expected
    assert kalvar.calc(json.loads(text)) == expected


def test_result_keeps_the_cli_key_order():
    name, text = EXAMPLE_TASKS[0]
    _, out, _ = run_cli("calc", "-", stdin=text)
    assert json.dumps(kalvar.calc(text), ensure_ascii=False, indent=1) + "\n" == out


def test_batch_on_two_threads_equals_one_by_one_and_the_cli():
    texts = [text for _, text in EXAMPLE_TASKS]
    tasks = [json.loads(text) for text in texts]
    tasks.insert(3, "{not json")  # an invalid task keeps its place and its line number
    results = kalvar.batch(tasks, jobs=2)
    assert len(results) == len(tasks)
    for number, (task, result) in enumerate(zip(tasks, results), 1):
        if isinstance(task, str):
            with pytest.raises(ValueError) as error:
                kalvar.calc(task)
            assert result == {"line": number, "error": str(error.value)}
        else:
            assert result == kalvar.calc(task)

    status, out, _ = run_cli("batch", "--jobs", "2", stdin="\n".join(json.dumps(t) if isinstance(t, dict) else t
                                                                      for t in tasks) + "\n")
    assert status == 2  # one line is not a valid task
    assert [json.loads(line) for line in out.splitlines()] == results


def test_batch_takes_any_iterable_and_defaults_to_one_thread_per_processor():
    texts = [text for _, text in EXAMPLE_TASKS[:4]]
    assert kalvar.batch(iter(texts)) == [kalvar.calc(text) for text in texts]
    assert kalvar.batch([]) == []


@pytest.mark.parametrize("jobs", [0, -1, 10000])
def test_batch_refuses_a_thread_count_the_cli_refuses(jobs):
    with pytest.raises(ValueError, match="jobs takes a whole number from 1 to 9999"):
        kalvar.batch([{}], jobs=jobs)


def test_calls_from_many_python_threads_give_the_serial_results():
    texts = [text for _, text in EXAMPLE_TASKS]
    serial = [kalvar.calc(text) for text in texts]
    with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
        assert list(pool.map(kalvar.calc, texts * 2)) == serial * 2


# Tasks the task reader refuses: the module raises ValueError with the message kalvar-cli prints.
INVALID_TASKS = {
    "not JSON": "{\"system\": 2,",
    "not an object": "[1, 2]",
    "unknown key": {"system": 2, "colour": "red"},
    "system out of range": {"system": 9},
    "unknown window": {"windows": {"Form9": {"Text30": "1"}}},
    "unknown control": {"windows": {"Form2": {"Text999": "1"}}},
    "unit not offered": {"units": {"heat": "МВт"}},
    "limit answer disabled": {"system": 2, "windows": {"Form2": {"Text30": "40"}},
                              "limitAnswers": ["Другой типоразмер"] * 20},
}


@pytest.mark.parametrize("task", INVALID_TASKS.values(), ids=INVALID_TASKS.keys())
def test_an_invalid_task_raises_the_cli_message(task):
    text = task if isinstance(task, str) else json.dumps(task, ensure_ascii=False)
    status, _, err = run_cli("calc", "-", stdin=text)
    if status == 0:
        pytest.skip("kalvar-cli runs this task")
    assert status == 2
    with pytest.raises(ValueError) as error:
        kalvar.calc(task)
    assert "kalvar-cli: " + str(error.value) + "\n" == err


# Python values JSON cannot hold: refused before anything runs, naming where they sit.
@pytest.mark.parametrize("task,message", [
    ({"windows": {"Form2": {"Text30": float("nan")}}}, "windows.Form2.Text30: expected a finite number"),
    ({"limitAnswers": [float("inf")]}, r"limitAnswers\[0\]: expected a finite number"),
    ({"windows": {2: {}}}, "windows: a key is not a string"),
    ({"system": 10**30}, "system: the whole number is too large"),
])
def test_a_value_json_cannot_hold_raises_value_error(task, message):
    with pytest.raises(ValueError, match=message) as error:
        kalvar.calc(task)
    assert kalvar.batch([{}, task]) == [kalvar.calc({}), {"line": 2, "error": str(error.value)}]


@pytest.mark.parametrize("task", [2, None, ["system", 2], {"system": object()}])
def test_a_task_of_another_type_raises_type_error(task):
    with pytest.raises(TypeError):
        kalvar.calc(task)


def test_version():
    assert isinstance(kalvar.__version__, str) and kalvar.__version__[0].isdigit()
