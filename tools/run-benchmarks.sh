#!/bin/bash
# Builds and runs the performance measurements under Xvfb, each beside its per-cell baseline:
# frame costs (Google Benchmark, real time, medians of 10 repetitions), the loop's pacing, the
# CPU time per frame while playing, and a long game replayed headless against the clock. The figures
# are meaningful on a quiet machine only.
#
# Usage: tools/run-benchmarks.sh [build-dir]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=${1:-build}

cmake -S . -B "$BUILD"
cmake --build "$BUILD" -j2 --target lu_benchmarks pacing_harness play_harness replay_harness coilwander
BUILD=$(cd "$BUILD" && pwd)

export ALSOFT_DRIVERS=null
XVFB=(xvfb-run -a -s "-screen 0 1280x1024x24")
RESULTS=$(mktemp)
trap 'rm -f "$RESULTS"' EXIT

cd "$BUILD/benchmarks"
echo "== Frame costs (ms, real time; GPU work included through glFinish)"
"${XVFB[@]}" ./lu_benchmarks --benchmark_repetitions=10 --benchmark_report_aggregates_only=true \
    --benchmark_min_time=0.5 | tee "$RESULTS"

echo
echo "== Medians"
awk '
    / ms / && $1 ~ /_median$/ {
        name = $1; sub(/\/real_time_median$/, "", name); sub(/_median$/, "", name)
        median[name] = $2; printf "%-28s %8.2f ms\n", name, $2
    }
    END {
        if (median["FullGrid/Batched"] > 0)
            printf "Full grid: per-cell / batched = %.1fx\n", median["FullGrid/PerCell"] / median["FullGrid/Batched"]
        if (median["HeaviestFrame/Batched"] > 0)
            printf "Heaviest frame: per-cell / batched = %.1fx\n", median["HeaviestFrame/PerCell"] / median["HeaviestFrame/Batched"]
    }' "$RESULTS"

echo
echo "== Pacing: run() for 300 frames on an idle world"
"${XVFB[@]}" ./pacing_harness 300

echo
echo "== CPU while playing (process CPU time, rendering threads included)"
"${XVFB[@]}" ./play_harness --per-cell 600
"${XVFB[@]}" ./play_harness 600
"${XVFB[@]}" bash "$ROOT/benchmarks/play-cpu.sh" "$BUILD/game" 20

echo
echo "== Replay: a 10,000-frame game replayed headless, five times (at least 100x real time is the aim)"
bash "$ROOT/benchmarks/replay-speed.sh" "$BUILD" 10000 5
