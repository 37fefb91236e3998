#!/usr/bin/env bash
# The layers check has no holes: on a copy of the sources, each include planted below crosses a
# boundary (in either form, through "..", by a macro, from a header of any kind, from the tools
# and from the program) and must be named, and nothing else; a missing layer folder and a folder
# of sources with no row fail it too. The copy as it stands, with a header included from beside
# its includer, passes.
#   layers_check_test.sh SOURCE-DIR
set -uo pipefail
src=$1
check=$(dirname "$0")/layers_check.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# The sources without the build folders and the web test's packages.
for dir in "$src"/*/; do
    [ -e "$dir/CMakeCache.txt" ] || cp -r "${dir%/}" "$scratch/"
done
rm -rf "$scratch/tests/web/node_modules"
echo '#include "game_state.h"' >>"$scratch/engine/history.cpp"
"$check" "$scratch" >/dev/null || fail "the copy fails the check"

planted=()
plant() {  # plant FILE LINE HEADER: FILE with LINE added includes HEADER
    echo "$2" >>"$scratch/$1"
    planted+=("$1 includes $3")
}
plant engine/game_progress.cpp '#include "store/settings_store.h"' store/settings_store.h
plant engine/catalogue.cpp '#include <store/settings_store.h>' store/settings_store.h
plant engine/move_rules.h '#include "../ui/main_frame.h"' ui/main_frame.h
plant store/settings_store.cpp '#  include "ui/board_view.h"' ui/board_view.h
plant ui/board_view.cpp '#include <platform/backend/sdl/sdl_backend.h>' \
    platform/backend/sdl/sdl_backend.h
plant ui/back_buffer.cpp '#include "platform/gdi/internal/surface.h"' \
    platform/gdi/internal/surface.h
plant resources/game_resources.cpp '#include "platform/user/internal/window_object.h"' \
    platform/user/internal/window_object.h
plant platform/user/window.cpp '#include "engine/game_state.h"' engine/game_state.h
plant platform/backend/script/script_backend.cpp '#include "ui/main_frame.h"' ui/main_frame.h
plant texts/texts.cpp '#include "engine/game_state.h"' engine/game_state.h
plant search/solver.cpp '#include "ui/screen_layout.h"' ui/screen_layout.h
plant tools/soak/soak.cpp '#include "platform/user/internal/backend.h"' \
    platform/user/internal/backend.h
plant tools/velquin_solve.cpp '#include "tests/afx/test_app.h"' tests/afx/test_app.h
plant app/main.cpp '#include <platform/gdi/internal/surface.h>' platform/gdi/internal/surface.h
plant engine/history.h '#include STORE_HEADER' 'a computed name: #include STORE_HEADER'
plant engine/steps.inc '#include "store/settings_store.h"' store/settings_store.h
out=$("$check" "$scratch") && fail "the planted includes pass the check"
for want in "${planted[@]}"; do
    grep -qxF "$want" <<<"$out" || fail "the check did not name $want: $out"
done
grep -qx "${#planted[@]} fault(s) in the layers" <<<"$out" || fail "more than was planted: $out"

# A layer folder renamed: the rules name a missing folder, and a folder of sources has no row.
mv "$scratch/texts" "$scratch/words"
out=$("$check" "$scratch") && fail "a renamed layer folder passes the check"
for want in "the layer rules name texts/, which is missing" \
    "words/texts.cpp is held to no layer: give its folder a row"; do
    grep -qxF "$want" <<<"$out" || fail "the check did not say: $want: $out"
done
echo "the check catches each crossing"
