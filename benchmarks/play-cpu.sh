#!/bin/bash
# Plays the real program for a while and prints its CPU time per frame, rendering threads included:
# user plus system time of the process from /proc, over the frames of the same span (one every 33 ms).
# P is pressed every second, so the title screen starts a game and a lost game starts the next.
#
# Usage: play-cpu.sh <folder of the built game> [seconds]   (under an X server: DISPLAY set)
set -euo pipefail

GAME_DIR=$1
SECONDS_PLAYED=${2:-20}
FRAME_MS=33
# Without a sound card OpenAL's other outputs may spin; the null output plays into nothing.
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}

cd "$GAME_DIR"
./coilwander >/dev/null 2>&1 &
PID=$!
trap 'kill $PID 2>/dev/null || true' EXIT

WINDOW=$(timeout 20 xdotool search --sync --pid "$PID" --name Coilwander | head -n 1)
xdotool windowfocus --sync "$WINDOW"

# utime and stime, fields 14 and 15 of /proc/PID/stat, in clock ticks (the name field has no spaces).
cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$PID/stat"
}

# The first frames compile the renderer's shaders; they are left out.
xdotool key p
sleep 2
START_TICKS=$(cpu_ticks)
START_NS=$(date +%s%N)
for _ in $(seq "$SECONDS_PLAYED"); do
    xdotool key p
    sleep 1
done
END_TICKS=$(cpu_ticks)
END_NS=$(date +%s%N)

xdotool key q
sleep 1

awk -v ticks=$((END_TICKS - START_TICKS)) -v hz="$(getconf CLK_TCK)" \
    -v ns=$((END_NS - START_NS)) -v frame="$FRAME_MS" 'BEGIN {
    cpu_ms = ticks * 1000 / hz
    wall_ms = ns / 1e6
    frames = wall_ms / frame
    printf "real program  %.1f s  ~%d frames  cpu %.2f ms/frame\n", wall_ms / 1000, frames, cpu_ms / frames
}'
