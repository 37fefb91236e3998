#!/usr/bin/env bash
# Builds the game and starts it in a window.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j 2 --target velquin
exec build/app/velquin "$@"
