"""examples/sweep.py reads the quantities it draws from the results and writes its picture."""
import importlib.util
import subprocess
import sys

import pytest

import kalvar
from conftest import EXAMPLES

pytest.importorskip("matplotlib")


def sweep_module():
    spec = importlib.util.spec_from_file_location("sweep", EXAMPLES / "sweep.py")
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def test_sweep_draws_the_plate_count_and_losses_of_the_results():
    sweep = sweep_module()
    designation, plates, heating_loss, heated_loss = sweep.quantities(kalvar.calc(sweep.heating_task(0.2)))
    assert designation == "КM2-52/52" and plates == 104
    assert heating_loss == pytest.approx(10.0, abs=0.05) and heated_loss == pytest.approx(19.0, abs=0.05)
    assert sweep.quantities({"line": 1, "error": "the task is not valid JSON"}) == (None, None, None, None)


def test_sweep_writes_a_png(tmp_path):
    picture = tmp_path / "sweep.png"
    subprocess.run([sys.executable, str(EXAMPLES / "sweep.py"), str(picture), "--steps", "5"], check=True,
                   capture_output=True)
    assert picture.read_bytes().startswith(b"\x89PNG")
