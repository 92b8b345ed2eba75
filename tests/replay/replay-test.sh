#!/bin/bash
# The game's replays, run with no X display at all, in a copy of the game's staged folder.
#   fixture:       the kept recording of a whole game, replayed headless, logs and shows what its
#                  recorded run did (game.log and game.screen beside it), timing lines apart;
#   command-line:  bad arguments get the usage line and status 2; a recording cut in the middle of a
#                  line is refused before anything runs; one of a run that never finished replays as
#                  far as it got and says so.
# Usage: replay-test.sh fixture|command-line <game-dir> <fixture-dir> [<C library>]
set -u
mode=$1
fixture=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$2/coilwander" "$2/sprites" "$2/sounds" "$2/lu-font.ttf" "$work"
cd "$work" || exit 1
unset DISPLAY
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}
without_timing() {
    grep -v '^Message: Frame time over target' "$1"
}

case $mode in
fixture)
    if [ "${4:-}" != glibc ]; then
        echo "skipped: the fixture was recorded where rand() is glibc's; this C library's deals other levels"
        exit 77
    fi
    ./coilwander --replay "$fixture/game.rec" --headless > screen.txt || fail "the replay ended with status $?"
    diff -u "$fixture/game.screen" screen.txt || fail "the last screen differs from the recorded run's"
    diff -u <(without_timing "$fixture/game.log") <(without_timing lumbra.log) || fail "the log differs"
    ;;
command-line)
    usage="usage: coilwander [--record FILE | --replay FILE [--headless]]"
    for arguments in "--bogus" "--replay" "--headless" "--replay --headless" "--record a.rec --replay b.rec" \
        "--replay a.rec --replay b.rec" "--replay a.rec --headless --headless" "--replay a.rec b.rec"; do
        # shellcheck disable=SC2086 # each case is a list of arguments
        ./coilwander $arguments > out.txt 2> err.txt
        result=$?
        [ $result -eq 2 ] && [ "$(cat err.txt)" = "$usage" ] && [ ! -s out.txt ] ||
            fail "'$arguments': status $result, stderr '$(cat err.txt)'"
    done
    head -c -3 "$fixture/game.rec" > cut.rec
    ./coilwander --replay cut.rec --headless > out.txt 2> err.txt
    result=$?
    [ $result -eq 1 ] && grep -q '^coilwander: cut.rec: line [0-9]* is cut short$' err.txt && [ ! -s out.txt ] ||
        fail "a recording cut short: status $result, stderr '$(cat err.txt)'"
    [ ! -e lumbra.log ] || fail "a refused command line or recording left a log"
    grep -m 1 -B 100 reached "$fixture/game.rec" > unfinished.rec
    ./coilwander --replay unfinished.rec --headless > out.txt 2> err.txt
    result=$?
    [ $result -eq 0 ] && grep -q 'unfinished.rec: the recorded run did not finish' err.txt &&
        [ "$(wc -l < out.txt)" -eq 36 ] || fail "an unfinished recording: status $result, stderr '$(cat err.txt)'"
    ;;
esac
exit $status
