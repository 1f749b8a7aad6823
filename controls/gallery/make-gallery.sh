#!/usr/bin/env bash
# Builds the gallery program and paints the engine's whole range into out/gallery.png.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake -S . -B build-gallery -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-gallery --target zu_gallery
mkdir -p out
QT_QPA_PLATFORM=offscreen ./build-gallery/controls/gallery/zu_gallery out/gallery.png
