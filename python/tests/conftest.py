"""Where the tests find kalvar-cli and the examples: from CTest's environment, or the usual build folder."""
import os
import pathlib
import subprocess

import pytest

SOURCE_DIR = pathlib.Path(os.environ.get("KALVAR_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[2]))
CLI = pathlib.Path(os.environ.get("KALVAR_CLI", SOURCE_DIR / "build" / "cli" / "kalvar-cli"))
EXAMPLES = SOURCE_DIR / "examples"


@pytest.fixture(autouse=True)
def in_source_dir(monkeypatch):
    """The module and the CLI look for the pass drawings in the current directory: the same one for both."""
    monkeypatch.chdir(SOURCE_DIR)


def run_cli(*args, stdin=None):
    """kalvar-cli with the arguments; its exit code, standard output and standard error."""
    done = subprocess.run([str(CLI), *args], input=stdin, capture_output=True, text=True, cwd=SOURCE_DIR,
                          env={**os.environ, "QT_QPA_PLATFORM": "offscreen"})
    return done.returncode, done.stdout, done.stderr
