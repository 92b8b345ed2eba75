#!/bin/bash
# Plays a game for a second under an X server of its own, then presses Q as a player would.
# Passes when the game ends with exit status 0 and its log says "GameOver".
# Usage: run-example.sh PROGRAM TITLE [LAUNCHER...] (the program's folder holds lu-font.ttf and its data;
# TITLE is its window's title; LAUNCHER, such as Wine for a Windows program, runs it)
set -uo pipefail

if [ -z "${LU_EXAMPLE_X_SERVER:-}" ]; then
    exec env LU_EXAMPLE_X_SERVER=1 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
# Without a sound card OpenAL's fallback output burns the CPU; the null output plays all the same.
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}

program=$(realpath "$1")
title=$2
shift 2
cd "$(dirname "$program")" || exit 1
rm -f lumbra.log
"$@" "$program" &
pid=$!

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
    local tenths=$1
    shift
    for ((i = 0; i < tenths; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
running() { kill -0 "$pid" 2> /dev/null; }
stopped() { ! running; }
# A Windows program's log ends its lines with CR LF.
says() { tr -d '\r' < lumbra.log 2> /dev/null | grep -qx "Message: $1"; }
says_running() { says Running; }
started_or_stopped() { says_running || stopped; }

if wait_for 300 started_or_stopped && says_running; then
    sleep 1
    timeout 10 xdotool search --sync --name "^$title\$" windowfocus --sync key q ||
        echo "run-example: could not press Q in the game's window"
else
    echo "run-example: the game did not start its loop"
fi
if ! wait_for 100 stopped; then
    echo "run-example: still running 10 s after Q; killing it"
    kill "$pid"
fi
wait "$pid"
status=$?

echo "run-example: $(basename "$program") exited with status $status; its log:"
cat lumbra.log
[ "$status" -eq 0 ] && says GameOver
