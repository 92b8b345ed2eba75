#!/bin/bash
# Builds examples/ against the engine installed into a prefix of its own, as a project of its own (as a
# game outside this repository would), and plays each example with run-example.sh.
# Usage: package-test.sh PREFIX SOURCE_DIR WORK_DIR
set -euo pipefail
prefix=$1
source=$2
work=$3

rm -rf "$work"
cmake -S "$source/examples" -B "$work/examples" -DCMAKE_PREFIX_PATH="$prefix"
cmake --build "$work/examples" -j2

failed=0
for example in walker:Walker starcatch:Starcatch cavern:Cavern; do
    name=${example%%:*}
    bash "$(dirname "$0")/run-example.sh" "$work/examples/$name/$name" "${example#*:}" || failed=1
done
exit $failed
