#!/usr/bin/env bash
# Installs what is missing, builds the program and the report command, and
# starts Zubrica98 on the bundled demo race day.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target zubrica98 zubrica98-demo zubrica98-report

demo="$PWD/build/demo"
./build/zubrica98-demo "$demo"
cd "$demo"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ../zubrica98
else
  echo "No display: starting under Xvfb (close with Ctrl-C)."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" ../zubrica98
fi
