#!/usr/bin/env bash
# Builds the game and starts it in a window. Installs only what building and playing need
# (tools/debian-packages-play.txt) and builds an optimised program without debug information,
# with all that `cmake --install build` installs: the icons, the manual page, velquin-solve.
# No tests and no benchmarks: tools/test.sh brings those.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh --play
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELQUIN_TESTS=OFF -DVELQUIN_BENCH=OFF \
    >/dev/null
cmake --build build -j 2
exec build/app/velquin "$@"
