#!/usr/bin/env bash
# Instructions of the reading pass, counted by callgrind so that the figure
# does not depend on the machine: the report command on a race day minus the
# same command's --help (process start, no folder read).
#   benchmarks/pass_instructions.sh BUILD_DIR [heavy|morning]
# BUILD_DIR holds zubrica98-report and benchmarks/zb_reading_day (Release).
set -euo pipefail
build="${1:?usage: pass_instructions.sh BUILD_DIR [heavy|morning]}"
day="${2:-heavy}"
report="$build/zubrica98-report"
writer="$build/benchmarks/zb_reading_day"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$writer" "$day" "$work/day"

# Total instructions ("Ir") of one run of the report command.
count() {
    valgrind --tool=callgrind --callgrind-out-file="$work/out" "$report" "$@" \
        >/dev/null 2>"$work/log" || true
    sed -n 's/^summary: //p' "$work/out"
}

run="$(count --folder "$work/day")"
help="$(count --help)"
echo "report run ($day day): $run"
echo "--help:                $help"
echo "pass:                  $((run - help))"
# The report run binds more library symbols on first call than --help does;
# a refresh in the running program finds them bound. For comparison only.
run="$(LD_BIND_NOW=1 count --folder "$work/day")"
help="$(LD_BIND_NOW=1 count --help)"
echo "pass, symbols bound at start (LD_BIND_NOW=1): $((run - help))"
