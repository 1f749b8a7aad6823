#!/usr/bin/env python3
"""Checks that dependencies between the folders run one way (README, "Architecture").

Every quoted #include of every source and header is resolved to the folder that holds the header
and must be one the including folder may use. A CMakeLists that compiles a source of another
folder fails too: each source belongs to the one target of its own folder. Prints one line per
fault (file:line: what) and exits 1 when there is any.
"""
import os
import re
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))

# What each folder may include besides itself and the C++, Qt and system libraries.
ALLOWED = {
    "calc": set(),
    "task": {"calc"},
    "controls": set(),
    "reports": {"calc"},
    "binding": {"calc"},
    "panel": {"controls"},
    "dialogs": {"binding", "reports", "calc"},
    "windows": {"dialogs", "panel", "binding", "reports", "controls", "calc"},
    "mainwin": {"windows", "dialogs", "panel", "binding", "reports", "controls", "task", "calc"},
    "cli": {"task", "reports", "calc"},
    "python": {"cli", "task", "reports", "calc"},
}
# Folders that may include anything.
UNRESTRICTED = {"bench", "tools"}
# Test folders whose name is not the folder they test.
TESTED_FOLDER = {"core": "calc", "desktop": "mainwin", "zu9": "controls", "fuzz": "cli"}
# Tests that use a folder beyond those of the folder they test.
TESTS_ALSO_USE = {}
# Sources another folder compiles on purpose: the fuzz build instruments its own copy of the
# workbook readers, and has no kalvar_reports to link.
FOREIGN_SOURCES_ALLOWED = {("tests/fuzz", "reports")}

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_of(path):
    """The layer of a repository path: a top folder, or tests/<folder>; None outside the layers."""
    parts = path.split("/")
    if parts[0] == "tests" and len(parts) > 2:
        return "tests/" + parts[1]
    if len(parts) > 1 and (parts[0] in ALLOWED or parts[0] in UNRESTRICTED):
        return parts[0]
    return None


def may_include(folder):
    """The folders `folder` may include, itself included; None for any."""
    if folder in UNRESTRICTED:
        return None
    if folder.startswith("tests/"):
        name = folder[len("tests/"):]
        tested = TESTED_FOLDER.get(name, name)
        test_folders = {"tests/" + d for d in os.listdir(os.path.join(ROOT, "tests"))}
        return ALLOWED.get(tested, set()) | {tested} | test_folders | TESTS_ALSO_USE.get(folder, set())
    return ALLOWED[folder] | {folder}


def source_files():
    for top in sorted(set(ALLOWED) | UNRESTRICTED | {"tests"}):
        for directory, subdirs, files in os.walk(os.path.join(ROOT, top)):
            subdirs[:] = sorted(d for d in subdirs if not d.startswith((".", "build")))
            for name in sorted(files):
                if name.endswith(SOURCE_SUFFIXES):
                    yield os.path.relpath(os.path.join(directory, name), ROOT)


def header_index(files):
    """Every header by each of its path suffixes ("ZuControls.h", "include/ZuControls.h")."""
    index = {}
    for path in files:
        parts = path.split("/")
        for i in range(len(parts)):
            index.setdefault("/".join(parts[i:]), []).append(path)
    return index


def check_includes(files, faults):
    index = header_index(files)
    for path in files:
        folder = folder_of(path)
        if folder is None:
            continue
        allowed = may_include(folder)
        if allowed is None:
            continue
        with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as text:
            for number, line in enumerate(text, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                name = match.group(1)
                beside = os.path.normpath(os.path.join(os.path.dirname(path), name))
                if os.path.isfile(os.path.join(ROOT, beside)):
                    candidates = [beside]
                else:
                    # Found through an include directory; generated headers (ui_, moc_) are in none.
                    candidates = index.get(name.lstrip("./"), [])
                holders = {folder_of(c) for c in candidates} - {None}
                if holders and not holders & allowed:
                    faults.append(f"{path}:{number}: includes \"{name}\" from {', '.join(sorted(holders))}, "
                                  f"which {folder} may not use")


CMAKE_VARIABLE = re.compile(r"\bset\(\s*(\w+)\s+\$\{(?:PROJECT_SOURCE_DIR|CMAKE_SOURCE_DIR)\}/([^\s)]+)\s*\)")
CMAKE_SOURCE = re.compile(r"\$\{(\w+)\}/([^\s)\"]+\.(?:cpp|cc|c))\b")


def check_cmake_sources(faults):
    for directory, subdirs, files in os.walk(ROOT):
        subdirs[:] = sorted(d for d in subdirs if not d.startswith((".", "build")))
        if "CMakeLists.txt" not in files:
            continue
        listfile = os.path.relpath(os.path.join(directory, "CMakeLists.txt"), ROOT)
        own = folder_of(listfile)
        if own is None:
            continue
        with open(os.path.join(ROOT, listfile), encoding="utf-8") as text:
            lines = text.read().splitlines()
        variables = {"PROJECT_SOURCE_DIR": "", "CMAKE_SOURCE_DIR": ""}
        for line in lines:
            for name, value in CMAKE_VARIABLE.findall(line):
                variables[name] = value
        for number, line in enumerate(lines, 1):
            for variable, rest in CMAKE_SOURCE.findall(line):
                if variable not in variables:
                    continue
                source = "/".join(p for p in (variables[variable], rest) if p)
                holder = folder_of(source)
                if holder and holder != own and (own, holder) not in FOREIGN_SOURCES_ALLOWED:
                    faults.append(f"{listfile}:{number}: compiles {source} of {holder}; "
                                  f"link the target of {holder} instead")


def main():
    faults = []
    check_includes(list(source_files()), faults)
    check_cmake_sources(faults)
    for fault in faults:
        print(fault)
    if faults:
        print(f"check-layers: {len(faults)} dependencies against the folder table (README, \"Architecture\")")
        return 1
    print("check-layers: every include and source is in its layer")
    return 0


if __name__ == "__main__":
    sys.exit(main())
