#!/usr/bin/env bash
# Installs what is missing, builds the debug configuration under ASan and
# UBSan and the release configuration (both with warnings as errors: the
# optimiser sees faults the debug build does not), and runs the whole test
# suite. ctest's summary is the last line.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"
cmake --preset release -DPL3_WERROR=ON >/dev/null
cmake --build --preset release -j "$jobs"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-dummy}
ctest --preset dev -j "$jobs"
