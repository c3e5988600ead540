#!/usr/bin/env bash
# Installs what is missing, builds the release configuration and starts the
# program. A display is used when there is one, the headless backend otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
exec build/release/app/pl3 "$@"
