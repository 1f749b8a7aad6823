#!/usr/bin/env python3
"""The Python module's overhead over the calculation core, for the default heating task and the heating example.

    PYTHONPATH=build/python python3 bench/python_overhead.py [--repeat 15] [--number 200]

Times kalvar.calc(task as a dict), which writes the dict as JSON, runs the task and turns the result into
Python objects, against kalvar._run_core(task text), which only runs it. Prints the best of the repeats
per call and the overhead; the target is below 20 %. Exit 1 when a task misses it.
"""
import argparse
import json
import pathlib
import timeit

import kalvar

EXAMPLES = pathlib.Path(__file__).resolve().parents[1] / "examples"


def best_per_call(function, argument, repeat, number):
    """The fastest of `repeat` runs of `number` calls, per call, in microseconds."""
    return min(timeit.repeat(lambda: function(argument), repeat=repeat, number=number)) / number * 1e6


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--repeat", type=int, default=15)
    parser.add_argument("--number", type=int, default=200)
    args = parser.parse_args()

    tasks = {
        "default heating task": {"system": 2},
        "heating-by-load.json": json.loads((EXAMPLES / "heating-by-load.json").read_text(encoding="utf-8")),
    }
    missed = False
    for name, task in tasks.items():
        text = json.dumps(task, ensure_ascii=False)
        kalvar.calc(task)  # warm up
        core = best_per_call(kalvar._run_core, text, args.repeat, args.number)
        module = best_per_call(kalvar.calc, task, args.repeat, args.number)
        overhead = (module - core) / core * 100
        missed |= overhead >= 20
        print(f"{name:22s} core {core:8.1f} µs   kalvar.calc {module:8.1f} µs   overhead {overhead:5.1f} %")
    return 1 if missed else 0


if __name__ == "__main__":
    raise SystemExit(main())
