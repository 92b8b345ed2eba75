#!/bin/sh
# Regenerates the README's screenshots, docs/title.png and docs/level.png, through the end-to-end
# harness: the real game under an X server of its own, captured on its title screen and on the first
# level (the same level in every run). Usage: tools/screenshots.sh [build directory, default build]
set -e
cd "$(dirname "$0")/.."
build="${1:-build}"

cmake -S . -B "$build"
cmake --build "$build" -j2 --target e2e_tests

shots="$(mktemp -d)"
trap 'rm -rf "$shots"' EXIT
E2E_SCREENSHOT_DIR="$shots" "$build/tests/e2e/e2e_tests" --gtest_filter='TitleScreenTest.*:FirstLevelTest.*'

mkdir -p docs
# -strip leaves out time stamps, so unchanged screens give unchanged files.
convert "$shots/title.ppm" -strip docs/title.png
convert "$shots/level.ppm" -strip docs/level.png
echo "Wrote docs/title.png and docs/level.png"
