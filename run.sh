#!/usr/bin/env bash
# Installs what is missing, builds (Release) and opens FILE, or the bundled demo schedule.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSEL_BUILD_TESTS=OFF >/dev/null
cmake --build build-release
FILE="${1:-samples/demo.xer}"
# Until the viewer exists the main job is the command-line companion.
exec build-release/tools/tessel-dump "$FILE"
