#!/usr/bin/env bash
# The solver's taps, played in the game: every puzzle's shortest solution, tapped as
# `velquin-solve --taps` prints it, solves that puzzle with exactly that many moves, the lengths
# the puzzles are known to need. Then velquin-solve's other questions: a position's distance and
# next cell, with and without its pusher suffix; a record it cannot hold; a whole space counted;
# new puzzles generated.
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
if [ "$best" != "3,24,30,37,51,48,36,59,46,79,54,47,68,82,97,108" ]; then
    echo "FAIL: best scores $best are not the puzzles' shortest lengths"
    exit 1
fi
echo "every solution solves its puzzle: $best"

fail() { echo "FAIL: $*"; exit 1; }
from=$("$solve" --from '554043----s;EnNn-;-XXXM;-sSsW;n----') || fail "--from without a suffix"
[ "$from" = "distance 79, next cell 4,1" ] || fail "--from puzzle 9's start: $from"
[ "$("$solve" --from '554043----s;EnNn-;-XXXM;-sSsW;n----;42')" = "$from" ] ||
    fail "--from with the suffix differs"
[ "$("$solve" --from '330212--W;---;nN-;12')" = "no way out" ] || fail "--from a dead end"
err=$("$solve" --from '330212--W;-T-;nN-' 2>&1 >/dev/null)
[ $? -eq 2 ] && grep -q "unknown cell code 'T'" <<<"$err" || fail "a bad record: $err"
space=$("$solve" --space 8 --samples 3) || fail "--space 8"
grep -q '^puzzle 8: 87711 positions, 38 solved, 73029 with no way out (83.3 %), largest distance 118;' \
    <<<"$space" || fail "--space 8: $space"
[ "$(grep -c ' -1$' <<<"$space")" -eq 3 ] || fail "--samples 3: three dead ends drawn: $space"

# New puzzles: each line a puzzle whose claimed length the solver finds from its start, its
# comment saying so; the same seed the same puzzles; settings it cannot take refused.
generated=$("$solve" --generate --seed 3 --size 4x3 --count 3 --min-moves 15) || fail "--generate"
[ "$(grep -vc '^#' <<<"$generated")" -eq 3 ] || fail "three puzzles: $generated"
while read -r puzzle && read -r comment; do
    moves=${comment#\# }
    moves=${moves%% *}
    [ "$moves" -ge 15 ] || fail "shorter than asked: $puzzle $comment"
    [ "$("$solve" --from "$puzzle" | cut -d, -f1)" = "distance $moves" ] ||
        fail "$puzzle is not $moves moves from solved"
done <<<"$generated"
[ "$("$solve" --generate --seed 3 --size 4x3 --count 3 --min-moves 15)" = "$generated" ] ||
    fail "the same seed gave other puzzles"
for bad in "--size 6x6" "--size 1x2" "--size 4" "--seed -1" "--count 0" "--min-moves x" \
    "--seed 2"; do
    # shellcheck disable=SC2086  # the words of each setting
    "$solve" $bad >/dev/null 2>&1
    [ $? -eq 2 ] || fail "'$bad' taken"
done
echo "velquin-solve answers its other questions"
