#!/usr/bin/env bash
# The solver's taps, played in the game: every puzzle's shortest solution, tapped as
# `velquin-solve --taps` prints it, solves that puzzle with exactly that many moves.
#   every_solution_test.sh VELQUIN VELQUIN-SOLVE SCRATCH-DIR
set -uo pipefail
velquin=$1
solve=$2
scratch=$3
rm -rf "$scratch" && mkdir -p "$scratch" || exit 1
script=$scratch/all.txt
expected=
{
    echo "tap 5 5"  # ends the intro on puzzle 0
    for n in $(seq 0 15); do
        "$solve" --taps "$n" || exit 1
        echo "command 40005"
    done
    echo "state"
} >"$script" || { echo "FAIL: velquin-solve --taps failed"; exit 1; }
for n in $(seq 0 15); do
    expected+="$(grep -c '^tap' <("$solve" --taps "$n")),"
done
state=$("$velquin" --headless --script "$script" --store "$scratch/store.reg" | grep '^state ')
best=$(grep -o '"bestScore": \[[^]]*\]' <<<"$state" | tr -cd ',0123456789')
# The first tap of the script only ends the intro, so each count is the solution's own.
if [ "$best," != "$expected" ]; then
    echo "FAIL: best scores $best, solutions $expected"
    exit 1
fi
echo "every solution solves its puzzle: $best"
