#!/bin/bash
# Runs one fuzz target for a fixed time on a working corpus seeded from the given folders and files.
# Usage: run-fuzzer.sh <fuzzer> <work-dir> <seconds> <dictionary> <seed-dir or file>...
# The seeds are copied, so the folders they come from are never written to.
set -euo pipefail

if [ $# -lt 5 ]; then
    echo "usage: $0 <fuzzer> <work-dir> <seconds> <dictionary> <seed-dir or file>..." >&2
    exit 2
fi
fuzzer=$(realpath "$1")
work=$2
seconds=$3
dictionary=$(realpath "$4")
shift 4

mkdir -p "$work/corpus" "$work/crashes"
for seeds in "$@"; do
    if [ -d "$seeds" ]; then
        find "$seeds" -maxdepth 1 -type f ! -name '*.md' -exec cp {} "$work/corpus/" \;
    elif [ -f "$seeds" ]; then
        cp "$seeds" "$work/corpus/"
    fi
done

cd "$work"
# A slow input is a fault too (-timeout); so is a single huge allocation (-malloc_limit_mb).
"$fuzzer" -max_total_time="$seconds" -timeout=10 -malloc_limit_mb=1024 -max_len=4096 \
    -dict="$dictionary" -artifact_prefix="$PWD/crashes/" -print_final_stats=1 corpus &
pid=$!
status=0
wait "$pid" || status=$?
# A crashed fuzzer leaves its input file behind (it is named after the fuzzer's process).
rm -f "/dev/shm/lu-fuzz-$pid.txt" "${TMPDIR:-/tmp}/lu-fuzz-$pid.txt"
if [ "$status" -eq 0 ]; then
    exit 0
fi
if [ -n "$(ls -A crashes)" ]; then
    echo "The fuzzer found inputs that fail; they are in $PWD/crashes/." >&2
    echo "Keep each in tests/fuzz-regressions/ as load-<what>.txt or reject-<what>.txt (what" >&2
    echo "loadSprite must return for it), or for the recording reader in its recordings/ folder as" >&2
    echo "replay-<what>.rec or refuse-<what>.rec; fix the fault, and the engine tests replay it from then on." >&2
fi
exit 1
