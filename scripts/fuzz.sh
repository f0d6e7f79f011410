#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz and runs each for
# FUZZ_SECONDS (default 20) on its corpus: the seeds the fixture writer makes
# plus the saved corpus in fuzz/corpora (copied, so a run leaves the tree as
# it was). Any finding (crash, sanitizer report, uncaught exception, more than
# 2 s or 256 MB for one input) fails the script; the input is left in
# build-fuzz/findings. FUZZ_SAVE=1 merges what a run found into the saved
# corpus, keeping only inputs that add coverage. FUZZ_JOBS runs that many
# targets side by side (default 1).
#   scripts/fuzz.sh [target ...]   e.g. scripts/fuzz.sh payout_kh
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --all
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

saved="$PWD/fuzz/corpora"
run_target() {
  local t="$1" corpus="$root/corpora/$1" log="$root/findings/$1.log"
  rm -rf "$corpus"
  mkdir -p "$corpus"
  if [ -d "$saved/$t" ]; then cp -r "$saved/$t/." "$corpus/"; fi
  if ! "$root/fuzz/${t}_fuzzer" -max_total_time="$seconds" -timeout=2 -rss_limit_mb=512 \
      -malloc_limit_mb=256 -max_len=8192 -print_final_stats=1 \
      -artifact_prefix="$root/findings/$t-" "$corpus" "$root/seeds/$t" >"$log" 2>&1; then
    echo "fuzz: FINDING in $t (see $log)"
    grep -E "ERROR|SUMMARY|runtime error" "$log" | head -5 || true
    return 1
  fi
  echo "fuzz: $t ${seconds}s $(grep -E "stat::number_of_executed_units|stat::new_units_added" "$log" | tr -s ' \n' ' ')"
  if [ "${FUZZ_SAVE:-0}" = 1 ]; then
    rm -rf "$saved/$t.new"
    mkdir -p "$saved/$t.new"
    "$root/fuzz/${t}_fuzzer" -merge=1 -max_len=8192 -timeout=2 "$saved/$t.new" "$corpus" \
      >"$root/findings/$t-merge.log" 2>&1
    rm -rf "${saved:?}/$t"
    mv "$saved/$t.new" "$saved/$t"
  fi
}
export -f run_target
export root seconds saved

printf '%s\n' "${targets[@]}" | xargs -P "${FUZZ_JOBS:-1}" -I{} bash -c 'run_target "$@"' _ {} \
  || { echo "fuzz: findings (see $root/findings)"; exit 1; }
