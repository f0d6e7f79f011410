#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test,
# then builds again with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test once more. With --all (what CI runs) then also the fuzz
# targets for FUZZ_SECONDS each, the core tests built for Windows under Wine,
# and the Windows package: its window tests and one whole session under Wine.
#   scripts/test.sh [--all]
set -euo pipefail
cd "$(dirname "$0")/.."

all=0
case "${1:-}" in
  --all) all=1 ;;
  "") ;;
  *) echo "usage: scripts/test.sh [--all]" >&2; exit 1 ;;
esac

bash scripts/setup.sh ${1:+"$1"}
jobs="$(nproc)"
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build-ci -DCMAKE_BUILD_TYPE=Debug -DZB_WERROR=ON >/dev/null
cmake --build build-ci -j"$jobs"
(cd build-ci && ctest --output-on-failure -j"$jobs")

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZB_WERROR=ON -DZB_SANITIZE=ON \
  -DZB_BENCHMARKS=OFF >/dev/null
cmake --build build-asan -j"$jobs"
export ASAN_OPTIONS="abort_on_error=1:halt_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
(cd build-asan && ctest --output-on-failure -j"$jobs")

if [ "$all" -eq 0 ]; then
  echo "Linux suites passed. scripts/test.sh --all runs the fuzz targets and the Windows stages too."
  exit 0
fi

# About 6 minutes: the clang build, then each fuzz target for FUZZ_SECONDS (default 20).
bash scripts/fuzz.sh
# About 3 minutes: the mingw-w64 build, then the core tests under Wine.
bash scripts/windows-tests.sh
# The first run builds Qt for Windows (about 30 minutes, then cached in
# /var/cache/zubrica98); after that about 5 minutes.
bash scripts/windows-wine-tests.sh
