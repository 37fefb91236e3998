#!/usr/bin/env bash
# Builds the game and its benchmarks and prints the speed table: paints against the drawing
# floor, a tap to presented pixels, solving all 16 puzzles, start-up and peak memory; then the web
# page: its download, its first frame in headless Chromium, and a paint there against native.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
# The tests and benchmarks back on, should tools/play.sh have built this folder without them.
cmake -S . -B build -G Ninja -DVELQUIN_TESTS=ON -DVELQUIN_BENCH=ON >/dev/null
cmake --build build -j "$(nproc)" >/dev/null
velquin=build/app/velquin
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Nanoseconds of a headless run of script $1, the best of five.
best_run() {
    local best=
    for _ in 1 2 3 4 5; do
        rm -f "$scratch"/store.reg*
        local t0 t1
        t0=$(date +%s%N)
        "$velquin" --headless --script "$1" --store "$scratch/store.reg" >/dev/null
        t1=$(date +%s%N)
        local d=$((t1 - t0))
        if [ -z "$best" ] || [ "$d" -lt "$best" ]; then best=$d; fi
    done
    echo "$best"
}

# All 16 shortest solutions as taps at the cells' centres, each followed by Next Puzzle.
all_solutions() {
    echo "tap 5 5"
    for n in $(seq 0 15); do
        build/tools/velquin-solve --taps "$n"
        echo "command 40005"
    done
    echo "state"
}
all_solutions >"$scratch/all.txt"
solved=$("$velquin" --headless --script "$scratch/all.txt" --store "$scratch/check.reg" |
    sed -n 's/^state //p' | jq '[.bestScore[] | select(. != 0)] | length')

# A tap to presented pixels: 2,000 taps moving the pusher to and fro on puzzle 0, against the
# same run without them.
{ echo "tap 5 5"; } >"$scratch/none.txt"
{ echo "tap 5 5"; for _ in $(seq 1000); do echo "tap 120 74"; echo "tap 81 74"; done; } \
    >"$scratch/taps.txt"
none=$(best_run "$scratch/none.txt")
taps=$(best_run "$scratch/taps.txt")
tap_us=$(awk -v a="$taps" -v b="$none" 'BEGIN { printf "%.1f", (a - b) / 2000 / 1000 }')

# Start-up to the first intro frame: the program started, the intro's first paints drawn.
echo "wait 120" >"$scratch/start.txt"
start_ms=$(awk -v t="$(best_run "$scratch/start.txt")" 'BEGIN { printf "%.1f", t / 1e6 }')

# Peak memory of the run of all 16 solutions.
rm -f "$scratch"/store.reg*
peak_kb=$(/usr/bin/time -v "$velquin" --headless --script "$scratch/all.txt" \
    --store "$scratch/store.reg" 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ { print $2 }')

screen=$(build/bench/bench_screen --benchmark_filter=none 2>/dev/null)
frame=$(echo "$screen" | awk '/^game frame/ { print $3, $5 }')
intro=$(echo "$screen" | awk '/^intro band frame/ { print $4, $6 }')
solve_ms=$(build/bench/bench_hints --benchmark_filter=BM_SolveAllByHints \
    --benchmark_format=csv 2>/dev/null | awk -F, '/SolveAll/ { printf "%.1f", $3 }')
# The answer to H over each puzzle's farthest positions and positions drawn with and without a
# way out (bench/hints): the worst of the puzzles with a table worked out by the build, and of
# puzzle 9, which has none; the first answer of a puzzle (its table read or its search begun);
# the memory of a run of puzzle 9's answers alone.
hints=$(build/bench/bench_hints --benchmark_filter=BM_HintWorstAnswer --benchmark_format=json \
    2>/dev/null)
hint_worst_tabled=$(echo "$hints" | jq '[.benchmarks[] | select(.name | test("/9/") | not)
    | .worst_ms] | max * 100 | round / 100')
hint_worst_9=$(echo "$hints" | jq '.benchmarks[] | select(.name | test("/9/")) | .worst_ms
    | . * 10 | round / 10')
hint_median_9=$(echo "$hints" | jq '.benchmarks[] | select(.name | test("/9/")) | .median_ms
    | . * 100 | round / 100')
hint_first=$(echo "$hints" | jq '[.benchmarks[].first_ms] | max * 10 | round / 10')
hint_wrong=$(echo "$hints" | jq '[.benchmarks[].wrong] | add')
hint_mb=$(build/bench/bench_hints --benchmark_filter='BM_HintWorstAnswer/9/' \
    --benchmark_format=json 2>/dev/null | jq '.benchmarks[0].peak_MB | round')
pack=$(build/bench/bench_pack --benchmark_format=csv 2>/dev/null)
pack_first_ms=$(echo "$pack" | awk -F, '/PackFirstLoad/ { printf "%.1f", $3 }')
pack_later_ms=$(echo "$pack" | awk -F, '/PackLaterLoad/ { printf "%.2f", $3 }')
pack_name=$(echo "$pack" | awk -F, '/PackLaterLoad/ { gsub(/"/, "", $8); print $8 }')
# The shipped pack made again from its seed (a few minutes).
made=$(build/bench/bench_generator --benchmark_format=json 2>/dev/null)
made_s=$(jq -r '.benchmarks[0] | if .error_occurred then .error_message else (.real_time | round | tostring) + " s" end' <<<"$made")
made_longest=$(jq -r '.benchmarks[0].longest_moves // 0' <<<"$made")

printf '%-42s %-22s %s\n' "measure" "value" "target"
printf '%-42s %-22s %s\n' "game frame paint / drawing floor" "${frame#* }x (${frame% *} us)" "3x or less"
printf '%-42s %-22s %s\n' "intro band frame / drawing floor" "${intro#* }x (${intro% *} us)" "4x or less"
printf '%-42s %-22s %s\n' "tap to presented pixels" "$tap_us us" ""
printf '%-42s %-22s %s\n' "solving all 16 puzzles (velquin-solve --all)" "$solve_ms ms" "25 ms or less"
printf '%-42s %-22s %s\n' "H, worst answer, the 15 tabled puzzles" "$hint_worst_tabled ms" "16 ms or less"
printf '%-42s %-22s %s\n' "H, worst answer, puzzle 9 (median)" "$hint_worst_9 ms ($hint_median_9 ms)" "16 ms or less"
printf '%-42s %-22s %s\n' "H, first answer of a puzzle, worst" "$hint_first ms" "16 ms or less"
printf '%-42s %-22s %s\n' "H, answers that were not exact" "$hint_wrong" "0"
printf '%-42s %-22s %s\n' "H, peak memory of puzzle 9's answers" "$hint_mb MB" "64 MB or less"
printf '%-42s %-22s %s\n' "start-up to the first intro frame" "$start_ms ms" "30 ms or less"
printf '%-42s %-22s %s\n' "pack $pack_name, later loads (kept proofs)" "$pack_later_ms ms" "under 50 ms"
printf '%-42s %-22s %s\n' "pack $pack_name, first load (searches)" "$pack_first_ms ms" "under 50 ms"
printf '%-42s %-22s %s\n' "pack made again from its seed" "$made_s (longest $made_longest)" "under 600 s, longest over 200"
printf '%-42s %-22s %s\n' "peak memory, all 16 solutions headless" "$((peak_kb / 1024)) MB ($peak_kb kB)" "16 MB or less"
printf '%-42s %-22s\n' "puzzles with a best score after that run" "$solved of 16"

# The web page: what the browser downloads, its first intro frame, and the same game-frame paint
# in headless Chromium and natively.
tools/web.sh --build-only >/dev/null 2>&1
NODE_PATH=/usr/share/nodejs cmake --build build-web -j "$(nproc)" --target bench_paint >/dev/null
npm ci --prefix tests/web --no-audit --no-fund --silent
download=0
for f in velquin.wasm velquin.js velquin.data; do
    download=$((download + $(gzip -9c "build-web/site/$f" | wc -c)))
done
mkdir -p "$scratch/paint"
cp build-web/bench/paint/bench_paint.{js,wasm,data} "$scratch/paint/"
browser=$(node tests/web/speed.mjs build-web/site "$scratch/paint")
first=$(echo "$browser" | awk '/^first-intro-frame-ms/ { print $2, $3 }')
web_paint=$(echo "$browser" | awk '/^browser-game frame/ { print $3 }')
native_paint=$(for _ in 1 2 3; do build/bench/paint/bench_paint; done | awk '{ print $3 }' | sort -g | head -n 1)
paint_ratio=$(awk -v a="$web_paint" -v b="$native_paint" 'BEGIN { printf "%.2f", a / b }')
printf '%-42s %-22s %s\n' "web page download (wasm, js, data; gzip)" "$((download / 1024)) kB" "under 1024 kB"
printf '%-42s %-22s %s\n' "web: navigation to the first intro frame" "${first% *} ms (median ${first#* })" "under 300 ms"
printf '%-42s %-22s %s\n' "web: game frame paint, browser / native" "${paint_ratio}x ($web_paint / $native_paint us)" "under 2x"
