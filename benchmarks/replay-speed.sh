#!/bin/bash
# Records a long game with replay_harness (the real game, headless, a scripted player), then replays it
# with the real program, headless and with no X display, a few times, and prints how much faster than
# real time each replay played (frames x 33 ms of play against its wall time). Each replay must end
# on the recorded game's last screen, or the figure would be of some other game.
#
# Usage: replay-speed.sh <build folder> [frames] [replays]
set -euo pipefail

BUILD=$(cd "$1" && pwd)
FRAMES=${2:-10000}
REPLAYS=${3:-5}
FRAME_MS=33

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cp -r "$BUILD/game/coilwander" "$BUILD/game/sprites" "$BUILD/game/sounds" "$BUILD/game/lu-font.ttf" "$WORK"
cd "$WORK"
"$BUILD/benchmarks/replay_harness" game.rec "$FRAMES" > recorded.screen
for run in $(seq "$REPLAYS"); do
    START_NS=$(date +%s%N)
    env -u DISPLAY ./coilwander --replay game.rec --headless > replayed.screen
    END_NS=$(date +%s%N)
    cmp -s recorded.screen replayed.screen || { echo "replay $run did not end as the recorded game" >&2; exit 1; }
    awk -v run="$run" -v frames="$FRAMES" -v frame="$FRAME_MS" -v ns=$((END_NS - START_NS)) 'BEGIN {
        printf "replay %d  %d frames (%.0f s of play) in %.3f s  %.0fx real time\n",
               run, frames, frames * frame / 1000, ns / 1e9, frames * frame * 1e6 / ns
    }'
done
