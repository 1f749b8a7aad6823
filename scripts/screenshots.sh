#!/usr/bin/env bash
# Builds the desktop program and takes its screenshots under Xvfb into out/: start-up, the heating
# system and schemes 5 and 8 calculated, the additional results, the limit question, the
# custom-medium dialog, a menu of the main panel, the task menu, the variants window, and start-up,
# the task menu and the variants window again at 200 % scale; then the program at the size it
# chooses on a 1024 × 768 screen, at 100 % and at 200 %.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target desktop_screenshots
mkdir -p out
shots=build/tests/desktop/desktop_screenshots
xvfb-run -a -s "-screen 0 1600x1000x24" "$shots" out
QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 3840x2160x24" "$shots" out -200 startup tasks variants
xvfb-run -a -s "-screen 0 1024x768x24" "$shots" out -1024x768 small
QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 2048x1536x24" "$shots" out -1024x768-200 small
ls out/desktop-*.png
