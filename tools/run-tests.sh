#!/bin/bash
# Builds everything and runs every test; window, input and audio tests run under Xvfb.
#   1. the ordinary build: every test included (static analysis, the format check, the examples built
#      in the tree and against the engine installed into a prefix of their own, the API reference);
#   2. the same code with AddressSanitizer and UndefinedBehaviorSanitizer: the in-process tests and the
#      headless replays;
#   3. the fuzz targets (clang's libFuzzer), sharing a minute of each of two cores;
#   4. the same code against SFML 3.1 (fetched by tools/sfml3.sh): the in-process and end-to-end tests.
# Every step runs even when an earlier one fails; the script fails if any did.
# The build folders can be moved with LU_BUILD_DIR, LU_ASAN_BUILD_DIR, LU_FUZZ_BUILD_DIR and
# LU_SFML3_BUILD_DIR.
set -uo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${LU_BUILD_DIR:-build}
ASAN_BUILD_DIR=${LU_ASAN_BUILD_DIR:-build-asan}
FUZZ_BUILD_DIR=${LU_FUZZ_BUILD_DIR:-build-fuzz}
SFML3_BUILD_DIR=${LU_SFML3_BUILD_DIR:-build-sfml3}
# -noreset: the server would otherwise reset when one test closes the last connection, and a
# window another test is opening at that moment would fail.
XVFB=(xvfb-run -a -s "-screen 0 1280x1024x24 -noreset")
# The labels of the tests that run inside the test process, which the sanitizers can watch, and the
# game's headless replays, a whole game each.
IN_PROCESS_LABELS='^(engine|window|audio|game|assets|replay)$'
# On SFML 3.1: those, and the real program end to end; valgrind cannot run a program started by
# the private folder's loader, and the ordinary build runs that leak check.
SFML3_LABELS='^(engine|window|audio|game|assets|replay|e2e)$'
SFML3_EXCLUDED='^game_many_games_leak_nothing$'

failed=()
timings=()

# Runs the named step's commands and remembers its time and whether it failed.
step() {
    local name=$1
    shift
    local start=$SECONDS
    echo "=== $name"
    if ! "$@"; then
        failed+=("$name")
    fi
    timings+=("$name: $((SECONDS - start)) s")
}

ordinary() {
    cmake -S . -B "$BUILD_DIR" &&
        cmake --build "$BUILD_DIR" -j2 &&
        "${XVFB[@]}" ctest --test-dir "$BUILD_DIR" -j2 --output-on-failure
}

# Any sanitizer report fails its test; leak checking is on except where a test turns it off.
sanitized() {
    cmake -S . -B "$ASAN_BUILD_DIR" -DLU_SANITIZE=ON &&
        cmake --build "$ASAN_BUILD_DIR" -j2 --target in_process_tests &&
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
            ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1 \
            "${XVFB[@]}" ctest --test-dir "$ASAN_BUILD_DIR" -L "$IN_PROCESS_LABELS" -j2 --output-on-failure
}

fuzz() {
    CC=clang CXX=clang++ cmake -S . -B "$FUZZ_BUILD_DIR" -DLU_FUZZ=ON &&
        cmake --build "$FUZZ_BUILD_DIR" -j2 --target SpriteLoaderFuzzer SpriteDrawFuzzer RecordingReaderFuzzer &&
        ctest --test-dir "$FUZZ_BUILD_DIR" -L '^fuzz$' -j2 --output-on-failure
}

sfml3() {
    tools/sfml3.sh "$SFML3_BUILD_DIR" &&
        cmake --build "$SFML3_BUILD_DIR" -j2 --target in_process_tests coilwander &&
        "${XVFB[@]}" ctest --test-dir "$SFML3_BUILD_DIR" -L "$SFML3_LABELS" -E "$SFML3_EXCLUDED" -j2 \
            --output-on-failure
}

step "ordinary build and tests" ordinary
step "sanitized build and tests" sanitized
step "fuzzing" fuzz
step "SFML 3.1 build and tests" sfml3

echo "=== times"
printf '%s\n' "${timings[@]}"
if [ ${#failed[@]} -gt 0 ]; then
    echo "=== failed: ${failed[*]}"
    exit 1
fi
echo "=== all steps passed"
