#!/bin/bash
# Runs one static analyser over the engine and the game, as they are compiled in a build folder.
# Usage: static-analysis.sh clang-tidy|cppcheck <build-dir>
# The build folder's compile_commands.json says which files are built and with which flags;
# .clang-tidy and tools/cppcheck-suppressions.txt say what is checked. Any finding fails.
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 clang-tidy|cppcheck <build-dir>" >&2
    exit 2
fi
tool=$1
build=$(realpath "$2")
cd "$(dirname "$0")/.."
root=$PWD

database="$build/compile_commands.json"
if [ ! -f "$database" ]; then
    echo "static-analysis: no $database; configure that build first" >&2
    exit 1
fi

# Prints the first of the given programs that is installed.
find_program() {
    local name
    for name in "$@"; do
        if command -v "$name" > /dev/null; then
            echo "$name"
            return 0
        fi
    done
    echo "static-analysis: none of '$*' is installed: run tools/install-deps.sh" >&2
    return 1
}

case "$tool" in
clang-tidy)
    tidy=$(find_program clang-tidy clang-tidy-14)
    # The engine's and the game's own sources, as listed in the compilation database.
    sources=$(grep -o '"file": *"[^"]*"' "$database" | sed 's/.*"\([^"]*\)"$/\1/' |
              grep -E "^$root/(engine|game)/[^/]+\.cpp$" | sort -u)
    if [ -z "$sources" ]; then
        echo "static-analysis: no engine or game sources in $database" >&2
        exit 1
    fi
    # Two at a time, one file per process: clang-tidy 14's analyzer carries state from one file to the
    # next and can then take a va_start it has seen for none (a false "uninitialized va_list").
    # The counts of warnings that the configuration turns off are left out.
    set +e
    echo "$sources" | xargs -P 2 -n 1 "$tidy" -p "$build" --quiet 2>&1 |
        { grep -v -E '^[0-9]+ warnings? generated\.$' || true; }
    status=${PIPESTATUS[1]}
    exit "$status"
    ;;
cppcheck)
    cppcheck=$(find_program cppcheck)
    mkdir -p "$build/cppcheck-cache"
    # Only the configuration that is built (Linux) is analysed, as the compiler sees it.
    "$cppcheck" --project="$database" --file-filter="$root/engine/*" --file-filter="$root/game/*" \
        --enable=warning,style,performance,portability --std=c++17 --library=std \
        -D__unix__ -D__linux__ --suppressions-list="$root/tools/cppcheck-suppressions.txt" \
        --inline-suppr --cppcheck-build-dir="$build/cppcheck-cache" -j 2 --quiet --error-exitcode=1
    ;;
*)
    echo "usage: $0 clang-tidy|cppcheck <build-dir>" >&2
    exit 2
    ;;
esac
