#!/usr/bin/env bash
# Writes docs/main-window.png, the README's picture of the main window on the
# demo race day, as the main window's test draws it.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target FMmain_test
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
# Drawn at twice the pixels so that the text reads well on a web page.
QT_SCALE_FACTOR=2 QT_QPA_PLATFORM=offscreen ZB_PNG_DIR="$out" ./build/tests/FMmain_test demoDayPicture
mkdir -p docs
cp "$out/main_demo_day.png" docs/main-window.png
echo "docs/main-window.png written."
