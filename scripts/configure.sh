#!/usr/bin/env bash
# Configures the shared Release build tree (build/) once; later calls are no-ops.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
fi
