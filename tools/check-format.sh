#!/bin/bash
# Checks that every C++ source of the repository follows .clang-format; lists what does not.
# To fix a file: clang-format -i FILE.
set -euo pipefail
cd "$(dirname "$0")/.."

format=""
for name in clang-format clang-format-14; do
    if command -v "$name" > /dev/null; then
        format=$name
        break
    fi
done
if [ -z "$format" ]; then
    echo "check-format: clang-format is not installed: run tools/install-deps.sh" >&2
    exit 1
fi

folders=""
for folder in engine game tests tools fuzz benchmarks examples; do
    if [ -d "$folder" ]; then
        folders="$folders $folder"
    fi
done
# shellcheck disable=SC2086
find $folders -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
    xargs -0 "$format" --dry-run --Werror
