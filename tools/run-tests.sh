#!/bin/bash
# Builds everything and runs every test; window, input and audio tests run under Xvfb.
#   1. the ordinary build: every test included (static analysis, the format check, the examples built
#      in the tree and against the engine installed into a prefix of their own, the API reference);
#   2. the same code with AddressSanitizer and UndefinedBehaviorSanitizer: the in-process tests and the
#      headless replays;
#   3. the fuzz targets (clang's libFuzzer), sharing a minute of each of two cores;
#   4. the same code against SFML 3.1 (fetched by tools/sfml3.sh): the in-process and end-to-end tests;
#   5. the same against SFML 3.0.2, built once from its source tarball by tools/sfml30.sh, when the
#      tarball is there ($LU_SFML30_TARBALL, by default in the folder tools/deps-dir.sh names:
#      shared/deps beside the repository or beside the one it was cloned from, or $LU_DEPS_DIR);
#      without it the step says that it is skipped;
#   6. the Windows programs (cross-built by tools/windows.sh against SFML 2.6.2) under Wine: the
#      in-process tests but the input ones, which send X events from inside the test program, the game
#      end to end and the examples. Skipped when SFML's source for Windows is not there;
#   7. the same against SFML 3.0.2 for Windows, built once from the tarball of step 5 and the sources of
#      its dependencies in that folder's windows-sfml3/; skipped when any of them is not there.
# Every step runs even when an earlier one fails; the script fails if any did.
# The build folders can be moved with LU_BUILD_DIR, LU_ASAN_BUILD_DIR, LU_FUZZ_BUILD_DIR,
# LU_SFML3_BUILD_DIR, LU_SFML30_BUILD_DIR, LU_WINDOWS_BUILD_DIR and LU_WINDOWS_SFML30_BUILD_DIR.
set -uo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${LU_BUILD_DIR:-build}
ASAN_BUILD_DIR=${LU_ASAN_BUILD_DIR:-build-asan}
FUZZ_BUILD_DIR=${LU_FUZZ_BUILD_DIR:-build-fuzz}
SFML3_BUILD_DIR=${LU_SFML3_BUILD_DIR:-build-sfml3}
SFML30_BUILD_DIR=${LU_SFML30_BUILD_DIR:-build-sfml30}
export LU_SFML30_TARBALL=${LU_SFML30_TARBALL:-$(tools/deps-dir.sh)/SFML-3.0.2.tar.gz}
WINDOWS_BUILD_DIR=${LU_WINDOWS_BUILD_DIR:-build-windows}
WINDOWS_SFML30_BUILD_DIR=${LU_WINDOWS_SFML30_BUILD_DIR:-build-windows-sfml30}
# -noreset: the server would otherwise reset when one test closes the last connection, and a
# window another test is opening at that moment would fail.
XVFB=(xvfb-run -a -s "-screen 0 1280x1024x24 -noreset")
# The labels of the tests that run inside the test process, which the sanitizers can watch, and the
# game's headless replays, a whole game each.
IN_PROCESS_LABELS='^(engine|window|audio|game|assets|replay)$'
# On SFML 3: those, and the real program end to end. On 3.1, valgrind cannot run a program started
# by the private folder's loader, and the ordinary build runs that leak check.
SFML3_LABELS='^(engine|window|audio|game|assets|replay|e2e)$'
SFML3_EXCLUDED='^game_many_games_leak_nothing$'
# Under Wine: those, the real program end to end and the examples (valgrind's leak check is not built
# there).
WINDOWS_LABELS='^(engine|window|audio|game|assets|e2e|examples)$'
# The exit status of a step that could not run here, which is not a failure.
SKIPPED=77

failed=()
skipped=()
timings=()

# Runs the named step's commands and remembers its time and whether it failed or was skipped.
step() {
    local name=$1
    shift
    local start=$SECONDS
    echo "=== $name"
    "$@"
    local status=$?
    if [ $status -eq $SKIPPED ]; then
        skipped+=("$name")
    elif [ $status -ne 0 ]; then
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

# The SFML 3.0.2 build's first run builds SFML itself, about four minutes on two cores.
sfml30() {
    if [ ! -f "$LU_SFML30_TARBALL" ]; then
        echo "skipped: no SFML 3.0.2 source at $LU_SFML30_TARBALL (set LU_SFML30_TARBALL)"
        return $SKIPPED
    fi
    tools/sfml30.sh "$SFML30_BUILD_DIR" &&
        cmake --build "$SFML30_BUILD_DIR" -j2 --target in_process_tests coilwander &&
        "${XVFB[@]}" ctest --test-dir "$SFML30_BUILD_DIR" -L "$SFML3_LABELS" -j2 --output-on-failure
}

# Builds into the folder against the SFML version given and runs the tests under Wine. tools/windows.sh
# exits with SKIPPED when that SFML's sources for Windows are missing.
windows() {
    local build_dir=$1 sfml=$2
    LU_WINDOWS_SFML=$sfml tools/windows.sh "$build_dir" || return
    "${XVFB[@]}" ctest --test-dir "$build_dir" -L "$WINDOWS_LABELS" -j2 --output-on-failure
    local status=$?
    # Wine's server outlives the programs by a few seconds; the step ends with it.
    tools/wine.sh "$build_dir/wine-prefix" --stop
    return $status
}

step "ordinary build and tests" ordinary
step "sanitized build and tests" sanitized
step "fuzzing" fuzz
step "SFML 3.1 build and tests" sfml3
step "SFML 3.0.2 build and tests" sfml30
step "Windows build and tests under Wine" windows "$WINDOWS_BUILD_DIR" 2.6.2
step "Windows on SFML 3.0.2 build and tests under Wine" windows "$WINDOWS_SFML30_BUILD_DIR" 3.0.2

echo "=== times"
printf '%s\n' "${timings[@]}"
if [ ${#skipped[@]} -gt 0 ]; then
    echo "=== skipped: ${skipped[*]}"
fi
if [ ${#failed[@]} -gt 0 ]; then
    echo "=== failed: ${failed[*]}"
    exit 1
fi
echo "=== all steps passed"
