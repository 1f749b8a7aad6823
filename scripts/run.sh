#!/usr/bin/env bash
# Builds and starts the desktop program kalvar. Without a display (neither DISPLAY nor
# WAYLAND_DISPLAY set) it says so and runs the headless calculation kalvar-cli on an example task
# instead (any task file may be given as the first argument).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): running kalvar-cli on an example task instead." >&2
  cmake --build build -j "$(nproc)" --target kalvar-cli
  exec ./build/cli/kalvar-cli calc "${1:-examples/heating-by-load.json}"
fi
cmake --build build -j "$(nproc)" --target kalvar
exec ./build/mainwin/kalvar
