#!/bin/sh
# Regenerates the README's screenshots, docs/title.png and docs/level.png: the real game under an X
# server of its own, read back with ImageMagick's import on its title screen and on its first level (the
# same level in every run), a moment after P. Usage: tools/screenshots.sh [build directory, default build]
set -e
cd "$(dirname "$0")/.."
build="${1:-build}"

cmake -S . -B "$build"
cmake --build "$build" -j2 --target coilwander
mkdir -p docs
# -strip leaves out time stamps, so unchanged screens give unchanged files.
xvfb-run -a -s "-screen 0 1280x1024x24" sh -ec '
    cd "$1/game"
    ALSOFT_DRIVERS=null ./coilwander >/dev/null 2>&1 &
    game=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --pid $game --name Coilwander | head -n 1)
    xdotool windowfocus --sync "$window"
    sleep 1
    import -window "$window" -strip "$2/docs/title.png"
    xdotool key p
    sleep 0.3
    # A stopped game leaves its last frame in the window while it is read back.
    kill -STOP $game
    import -window "$window" -strip "$2/docs/level.png"
    kill -CONT $game
    xdotool key q
    wait $game
' screenshots "$build" "$PWD"
echo "Wrote docs/title.png and docs/level.png"
