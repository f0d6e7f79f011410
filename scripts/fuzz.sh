#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz and runs each for
# FUZZ_SECONDS (default 20) on its corpus: the seeds the fixture writer makes
# plus what earlier runs kept. Any finding (crash, sanitizer report, uncaught
# exception, more than 2 s or 256 MB for one input) fails the script; the
# input is left in build-fuzz/findings.
#   scripts/fuzz.sh [target ...]   e.g. scripts/fuzz.sh payout_kh
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-20}"
build=build-fuzz
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZB_FUZZ=ON -DZB_TESTS=OFF -DZB_WINDOWS=OFF -DZB_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

root="$PWD/$build"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/*_fuzzer.cpp; do
    t="$(basename "$f" .cpp)"
    targets+=("${t%_fuzzer}")
  done
fi

rm -rf "$root/seeds"
"$root/fuzz/make_corpora" "$root/seeds"
mkdir -p "$root/findings" "$root/tmp"
# The day folders of the targets go here, not among the user's files.
export TMPDIR="$root/tmp"
# ASan's quarantine of freed blocks is not the program's memory: keep it small
# so the 256 MB limit measures the program.
export ASAN_OPTIONS="quarantine_size_mb=16:detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

failed=()
for t in "${targets[@]}"; do
  corpus="$root/corpora/$t"
  mkdir -p "$corpus"
  log="$root/findings/$t.log"
  echo "fuzz: $t for ${seconds}s"
  if "$root/fuzz/${t}_fuzzer" -max_total_time="$seconds" -timeout=2 -rss_limit_mb=512 \
      -malloc_limit_mb=256 -max_len=8192 -print_final_stats=1 \
      -artifact_prefix="$root/findings/$t-" "$corpus" "$root/seeds/$t" >"$log" 2>&1; then
    grep -E "stat::number_of_executed_units|stat::new_units_added" "$log" | tr '\n' ' '
    echo
  else
    echo "fuzz: FINDING in $t (see $log)"
    grep -E "ERROR|SUMMARY|runtime error" "$log" | head -5 || true
    failed+=("$t")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in: ${failed[*]}"
  exit 1
fi
