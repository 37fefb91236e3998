#!/usr/bin/env bash
# The layers as a build fact: every quoted include of a layer's sources must name a header the
# layer may see. Prints each include across a forbidden boundary and fails if there is one.
#   layers_check.sh SOURCE-DIR
set -uo pipefail
root=$1

# The folders a layer's files may include from, as path prefixes; the first matching row wins.
# The engine sees its own records, the clock and the texts; the store the engine's records, the
# registry and the C runtime the registry's names need; the windows everything of the game and the
# platform's public calls, but no backend and no platform folder's internal/ headers; the platform
# only itself, and its core no backend.
rules=(
    "texts/|texts/"
    "engine/|engine/ platform/clock/ texts/"
    "search/|search/ engine/ texts/"
    "store/|store/ engine/game_state.h engine/board_record.h platform/registry/ platform/crt/ platform/win_types.h"
    "ui/|ui/ engine/ search/ store/ texts/ resources/ platform/gdi/ platform/user/ platform/afx/ platform/clock/ platform/crt/ platform/win_types.h"
    "resources/|resources/ platform/gdi/ platform/user/ platform/win_types.h"
    "platform/backend/|platform/"
    "platform/|platform/clock/ platform/crt/ platform/registry/ platform/session/ platform/gdi/ platform/user/ platform/afx/ platform/win_types.h"
)

allowed() {  # allowed FILE INCLUDE: 0 when FILE may include INCLUDE
    local file=$1 include=$2 row layer prefix
    # A platform folder's internal/ headers are the platform's own: the game's layers see only
    # its public calls.
    case $file in
        texts/* | engine/* | search/* | store/* | ui/* | resources/*)
            [[ $include == platform/*/internal/* ]] && return 1 ;;
    esac
    for row in "${rules[@]}"; do
        layer=${row%%|*}
        [[ $file == "$layer"* ]] || continue
        for prefix in ${row#*|}; do
            [[ $include == "$prefix"* ]] && return 0
        done
        return 1
    done
    return 0  # app, tools, tests, benchmarks and fuzz targets may include anything
}

cd "$root" || exit 2
faults=0
while IFS= read -r file; do
    file=${file#./}
    while IFS= read -r line; do
        include=$(sed -E 's/^\s*#\s*include\s*"([^"]+)".*/\1/' <<<"$line")
        # A name without a folder is one beside the file.
        [[ $include == */* ]] || include=$(dirname "$file")/$include
        if ! allowed "$file" "$include"; then
            echo "$file includes $include"
            faults=$((faults + 1))
        fi
    done < <(grep -E '^\s*#\s*include\s*"' "$file")
done < <(find texts engine search store ui resources platform -type f \
             \( -name '*.h' -o -name '*.cpp' -o -name '*.c' \) 2>/dev/null | sort)
if [ "$faults" -ne 0 ]; then
    echo "$faults include(s) across a layer's boundary"
    exit 1
fi
echo "layers: no include across a boundary"
