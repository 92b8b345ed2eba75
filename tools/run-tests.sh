#!/bin/bash
# Builds everything and runs every test; window, input and audio tests run under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build
cmake --build build -j2
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build --output-on-failure
