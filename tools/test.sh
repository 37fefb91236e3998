#!/usr/bin/env bash
# Checks the C++ layout, then builds and runs every test twice, warnings being errors: a normal
# build, then an AddressSanitizer and UndefinedBehaviorSanitizer build in which any report fails
# the run. Between the two, builds the
# web page and plays it in headless Chromium against the normal build's headless program. Then
# builds the fuzz targets with clang and runs each briefly on its seed files.
set -euo pipefail
shopt -s nullglob
cd "$(dirname "$0")/.."
tools/setup.sh

jobs=$(nproc)
build() {  # build DIR [cmake options...] [-- targets...]
    local dir=$1 options=() targets=()
    shift
    while [ $# -gt 0 ] && [ "$1" != -- ]; do options+=("$1"); shift; done
    [ $# -gt 0 ] && shift && targets=(--target "$@")
    cmake -S . -B "$dir" -G Ninja "${options[@]}" >/dev/null
    cmake --build "$dir" -j "$jobs" "${targets[@]}"
}

echo "== format =="
# Every C++ file as .clang-format lays it out.
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

echo "== normal build =="
# The tests and benchmarks back on, should tools/play.sh have built this folder without them.
build build -DVELQUIN_TESTS=ON -DVELQUIN_BENCH=ON -DVELQUIN_WERROR=ON
ctest --test-dir build --output-on-failure -j "$jobs" -LE slow

echo "== Debian package =="
# A Release build of its own, which takes the machine's cores by itself.
ctest --test-dir build --output-on-failure -L slow

echo "== web page in the browser =="
tools/web.sh --build-only
npm ci --prefix tests/web --no-audit --no-fund --silent
node tests/web/web_test.mjs build-web/site build/app/velquin build/tools/velquin-solve

echo "== sanitizer build =="
build build-asan -DVELQUIN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DVELQUIN_WERROR=ON
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs" -LE slow

echo "== fuzz targets =="
fuzz_targets=(fuzz_hive fuzz_script fuzz_pack)
build build-fuzz -DVELQUIN_FUZZ=ON -DVELQUIN_WERROR=ON -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -- "${fuzz_targets[@]}"
seconds=${VELQUIN_FUZZ_SECONDS:-5}
for name in "${fuzz_targets[@]}"; do
    target=build-fuzz/fuzz/$name
    corpus=fuzz/corpus/${name#fuzz_}
    scratch=$(mktemp -d)
    echo "-- $name for ${seconds}s"
    ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 "$target" -max_total_time="$seconds" \
        -print_final_stats=0 -artifact_prefix=build-fuzz/ "$scratch" "$corpus" 2>"$scratch.log" || {
        tail -n 40 "$scratch.log"
        exit 1
    }
    rm -rf "$scratch" "$scratch.log"
done
echo "== all tests passed =="
