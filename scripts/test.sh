#!/usr/bin/env bash
# Builds everything (plug-in, tests, tools) and runs the whole suite under ctest.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/configure.sh
cmake --build build --parallel "$(nproc)"

# The editor tests open real windows: give them a virtual display.
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir build --output-on-failure --parallel "$(nproc)"
