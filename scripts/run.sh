#!/usr/bin/env bash
# Builds and runs Calvotrimex. With a display it opens its window; without one it runs on
# Qt's offscreen platform by itself, quits when the program is done, and this script leaves
# the picture of its window in build/release/calvotrimex.png (--quit-when-done also ends
# it when QT_QPA_PLATFORM names a platform).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$project_dir/scripts/install-deps.sh"
build="$project_dir/build/release"
configure "$build" -DCMAKE_BUILD_TYPE=Release -DVXTOOLS_BUILD_TESTS=OFF -DVXTOOLS_BUILD_BENCHMARKS=OFF
cmake --build "$build" --target calvotrimex -j "$jobs"

app="$build/Calvotrimex.app/Contents/bin/calvotrimex"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$app" "$@"
else
    snapshot="$build/calvotrimex.png"
    "$app" --quit-when-done --snapshot "$snapshot" "$@"
    echo "The window's picture: $snapshot"
fi
