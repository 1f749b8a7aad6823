"""kalvar.report writes the files kalvar-cli report writes, and refuses what it refuses."""
import json
import zipfile

import pytest

import kalvar
from conftest import EXAMPLES, run_cli

pytestmark = pytest.mark.skipif(not hasattr(kalvar, "report"), reason="the reports are not built")

TASK = json.loads((EXAMPLES / "heating-by-load.json").read_text(encoding="utf-8"))


def test_report_writes_a_workbook_and_a_pdf(tmp_path):
    xlsx, pdf = tmp_path / "отчет.xlsx", tmp_path / "отчет.pdf"
    terms = {"objectName": "ТП-7", "heating": {"price": "100 000"}}
    assert kalvar.report(TASK, xlsx=xlsx, pdf=str(pdf), terms=terms) == [str(xlsx), str(pdf)]
    assert zipfile.is_zipfile(xlsx)
    assert pdf.read_bytes().startswith(b"%PDF")


def test_report_workbook_equals_the_cli_workbook(tmp_path):
    (tmp_path / "task.json").write_text(json.dumps(TASK), encoding="utf-8")
    status, _, err = run_cli("report", str(tmp_path / "task.json"), "--xlsx", str(tmp_path / "cli.xlsx"))
    assert status == 0, err
    kalvar.report(TASK, xlsx=tmp_path / "module.xlsx")
    with zipfile.ZipFile(tmp_path / "cli.xlsx") as cli, zipfile.ZipFile(tmp_path / "module.xlsx") as module:
        assert cli.namelist() == module.namelist()
        for name in cli.namelist():
            if not name.startswith("docProps/"):  # the creation time
                assert cli.read(name) == module.read(name), name


@pytest.mark.parametrize("task,terms,files,message", [
    ({"system": 9}, None, {"xlsx": "a.xlsx"}, "\"system\" must be an integer"),
    (TASK, {"heating": {"colour": "red"}}, {"xlsx": "a.xlsx"}, "unknown terms key \"heating.colour\""),
    (TASK, None, {}, "give xlsx=FILE, pdf=FILE or both"),
    (TASK, None, {"xlsx": "same.out", "pdf": "same.out"}, "name the same file"),
])
def test_report_refuses_a_bad_task_terms_or_files(tmp_path, task, terms, files, message):
    paths = {kind: tmp_path / name for kind, name in files.items()}
    with pytest.raises(ValueError, match=message):
        kalvar.report(task, terms=terms, **paths)
    assert list(tmp_path.iterdir()) == []


def test_report_that_cannot_be_written_raises_runtime_error(tmp_path):
    with pytest.raises(RuntimeError, match="the report was not written"):
        kalvar.report(TASK, xlsx=tmp_path / "missing-folder" / "r.xlsx")
