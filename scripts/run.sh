#!/usr/bin/env bash
# Builds the program and runs it. Until the desktop windows exist, this runs the headless
# calculation on an example task (any task file may be given as the first argument).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target kalvar-cli
./build/cli/kalvar-cli calc "${1:-examples/heating-by-load.json}"
