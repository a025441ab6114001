#!/usr/bin/env bash
# Installs what is missing, builds (Release) and opens FILE, or the bundled
# demo schedule, in the viewer. Without a display it renders the four views
# to out/*.png instead and prints their paths.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSEL_BUILD_TESTS=OFF >/dev/null
cmake --build build-release --target tessel-reader
APP=build-release/src/app/tessel-reader
FILE="${1:-samples/demo.xer}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): rendering the four views to out/ instead."
  mkdir -p out
  for category in activity wbs project resource; do
    QT_QPA_PLATFORM=offscreen "$APP" --render "out/$category.png" --category "$category" "$FILE" 2>/dev/null
    echo "$(pwd)/out/$category.png"
  done
  exit 0
fi
exec "$APP" "$FILE"
