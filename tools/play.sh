#!/usr/bin/env bash
# Builds the game and starts it. Until the game has its window, this prints the shortest
# solution of every built-in puzzle.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)"
exec build/tools/velquin-solve --all "$@"
