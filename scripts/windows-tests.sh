#!/usr/bin/env bash
# Cross-compiles the core, the report command and the core tests for 64-bit
# Windows with mingw-w64 in build-win and runs the tests under Wine, headless
# (a console program needs no display). The Wine prefix lives in the build
# folder, so nothing outside it is touched.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --all
build=build-win
sqlite="$(bash scripts/build-sqlite-windows.sh | tail -n 1)"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Debug \
  -DZB_WERROR=ON -DZB_WINDOWS=OFF -DZB_BENCHMARKS=OFF \
  -DSQLite3_INCLUDE_DIR="$sqlite/include" -DSQLite3_LIBRARY="$sqlite/lib/libsqlite3.a" >/dev/null
cmake --build "$build" -j"$(nproc)"

status=0
# The report command's icon and version, read back from the .exe.
version="$(sed -n 's/^#define ZB_VERSION "\(.*\)"$/\1/p' "$build/generated/zb_version.h")"
bash scripts/check-exe-resources.sh "$build/zubrica98-report.exe" "$version" \
  "Zubrica98 report command" || status=1

export WINEPREFIX="$PWD/$build/wineprefix" WINEARCH=win64 WINEDEBUG=-all
unset DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine wineboot --init >/dev/null 2>&1
fi
wine "$build/tests/zb_core_tests.exe" --gtest_brief=1 || status=$?
wineserver --wait || true
exit "$status"
