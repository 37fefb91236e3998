#!/usr/bin/env bash
# The long soak: builds the sanitizer build (as tools/test.sh does) and drives the game headless
# with a million pseudo-random events, checking the game state and the hive file after each.
# Prints the figures; a failure prints its seed, event number and event, and
#   tools/soak.sh --seed S --events N
# replays it. With no --seed, the seed is taken from the clock and printed.
#
#   tools/soak.sh [--events N] [--seed S] [--trace]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

events=1000000
seed=
args=()
while [ $# -gt 0 ]; do
    case $1 in
        --events) events=$2; shift 2 ;;
        --seed) seed=$2; shift 2 ;;
        --trace) args+=(--trace); shift ;;
        *) echo "usage: tools/soak.sh [--events N] [--seed S] [--trace]" >&2; exit 2 ;;
    esac
done
[ -n "$seed" ] || seed=$(( $(date +%s) % 4294967295 + 1 ))

echo "== sanitizer build =="
cmake -S . -B build-asan -G Ninja -DVELQUIN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j "$(nproc)" --target velquin_soak

echo "== soak: $events events, seed $seed =="
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    build-asan/tools/velquin_soak --events "$events" --seed "$seed" "${args[@]}"
