#!/usr/bin/env bash
# The layers check catches a crossing: on a copy of the sources, an engine file that includes the
# store's header, a window file that includes a backend or a platform folder's internal header and
# a platform file that includes the game each fail it, and the copy as it stands passes.   layers_check_test.sh SOURCE-DIR
set -uo pipefail
src=$1
check=$(dirname "$0")/layers_check.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

for dir in texts engine search store ui resources platform; do cp -r "$src/$dir" "$scratch/"; done
"$check" "$scratch" >/dev/null || fail "the unchanged copy fails the check"

expect_crossing() {  # expect_crossing FILE INCLUDE
    echo "#include \"$2\"" >>"$scratch/$1"
    out=$("$check" "$scratch") && fail "$1 including $2 passed the check"
    grep -qF "$1 includes $2" <<<"$out" || fail "the check did not name $1 including $2: $out"
    sed -i '$d' "$scratch/$1"
}
expect_crossing engine/game_progress.cpp store/settings_store.h
expect_crossing engine/move_rules.h ui/main_frame.h
expect_crossing store/settings_store.cpp ui/board_view.h
expect_crossing ui/board_view.cpp platform/backend/sdl/sdl_backend.h
expect_crossing ui/back_buffer.cpp platform/gdi/internal/surface.h
expect_crossing resources/game_resources.cpp platform/user/internal/window_object.h
expect_crossing platform/user/window.cpp engine/game_state.h
expect_crossing platform/backend/script/script_backend.cpp ui/main_frame.h
expect_crossing texts/texts.cpp engine/game_state.h
expect_crossing search/solver.cpp ui/screen_layout.h
echo "the check catches each crossing"
