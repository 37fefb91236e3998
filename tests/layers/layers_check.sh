#!/usr/bin/env bash
# The layers as a build fact: every include in a layer's sources must name a header the layer may
# see. Both forms count, since the repository root is on every include path: <engine/x.h> is the
# repository's header as "engine/x.h" is, and a quoted name is looked for beside the file first.
# Prints each include across a boundary and fails if there is one, if a folder the rules name is
# missing (a folder renamed is renamed here too), or if a folder of sources has no row.
#   layers_check.sh SOURCE-DIR
set -uo pipefail
set -f  # the rules' * and patterns are matched by hand, never expanded
root=${1%/}

# One row a layer: its folder, then what its files may include (folders and headers as path
# prefixes, * for anything). A file is held to the row of the deepest folder that holds it.
# The engine sees its own records, the clock and the texts; the move search the engine; the store
# the engine's records, the registry and the C runtime the registry's names need; the resources
# the texts (the menu's own); the windows everything of the game and the platform's public calls
# but no backend; the platform only itself, and its core no backend; the program and the tools
# everything.
rules=(
    "texts/            texts/"
    "engine/           engine/ texts/ platform/clock/"
    "search/           search/ engine/ texts/"
    "store/            store/ engine/game_state.h engine/board_record.h platform/registry/ platform/crt/ platform/win_types.h"
    "resources/        resources/ texts/ platform/gdi/ platform/user/ platform/win_types.h"
    "ui/               ui/ texts/ engine/ search/ store/ resources/ platform/gdi/ platform/user/ platform/afx/ platform/clock/ platform/crt/ platform/win_types.h"
    "platform/         platform/clock/ platform/crt/ platform/registry/ platform/session/ platform/gdi/ platform/user/ platform/afx/ platform/win_types.h"
    "platform/backend/ platform/"
    "app/              *"
    "tools/            *"
)
# Headers only the folders named after them may include, whatever the rows allow: a platform
# folder's internal/ headers are the platform's own, the tests' helpers the tests' own. The
# platform's pictures for its documentation (tools/platform/) are drawn with both.
private=(
    "platform/*/internal/ platform/ tools/platform/"
    "tests/               tools/platform/"
)
# Folders of sources held to no layer: the tests, the benchmarks, the fuzz targets and the
# package's icon tool, all of which may look inside the platform.
unchecked="tests/ bench/ fuzz/ packaging/"
# A computed include (#include MACRO) names no file this check can read; only the platform, which
# wraps libraries that name their headers so, may use one.
computed="platform/"

sources=(-name '*.h' -o -name '*.hh' -o -name '*.hpp' -o -name '*.inc' -o -name '*.inl'
         -o -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o -name '*.cxx')
cd "$root" || exit 2
faults=0
declare -A said
fault() {  # each fault once
    [ -z "${said[$*]:-}" ] || return 0
    said[$*]=1
    echo "$*"
    faults=$((faults + 1))
}

# Every folder and header the rules name is there.
for row in "${rules[@]}" "${private[@]}"; do
    for path in $row; do
        case $path in
            '*') ;;
            *'*'*) compgen -G "$path" >/dev/null || fault "the layer rules name $path, which is missing" ;;
            *) [ -e "$path" ] || fault "the layer rules name $path, which is missing" ;;
        esac
    done
done

# The row of FILE: its folder and what it may include, in `layer` and `sees`; false for none.
row_of() {
    local row folder
    layer="" sees=""
    for row in "${rules[@]}"; do
        read -r folder _ <<<"$row"
        if [[ $1 == "$folder"* && ${#folder} -gt ${#layer} ]]; then
            layer=$folder
            read -r _ sees <<<"$row"
        fi
    done
    [ -n "$layer" ]
}

# PATH with its . and .. steps taken, in `resolved`.
normalize() {
    local part
    local -a parts out=()
    IFS=/ read -ra parts <<<"$1"
    for part in "${parts[@]}"; do
        case $part in
            "" | .) ;;
            ..) if [ ${#out[@]} -gt 0 ] && [ "${out[-1]}" != .. ]; then unset 'out[-1]'; else out+=(..); fi ;;
            *) out+=("$part") ;;
        esac
    done
    local IFS=/
    resolved="${out[*]}"
}

allowed() {  # allowed FILE HEADER: 0 when FILE may include the repository's HEADER
    local file=$1 header=$2 entry pattern who prefix
    for entry in "${private[@]}"; do
        read -r pattern who <<<"$entry"
        # shellcheck disable=SC2053  # the pattern is a glob on purpose
        if [[ $header == $pattern* ]]; then
            [[ $file == ${pattern%%/*}/* ]] && return 0  # a folder's own private headers
            for prefix in $who; do [[ $file == "$prefix"* ]] && return 0; done
            return 1
        fi
    done
    for prefix in $sees; do
        [[ $prefix == '*' || $header == "$prefix"* ]] && return 0
    done
    return 1
}

# The folders to read: every top folder but the unchecked ones, hidden ones and build folders.
folders=()
while IFS= read -r dir; do
    dir=${dir#./}
    [[ " $unchecked " == *" $dir/ "* || $dir == .* || -e $dir/CMakeCache.txt ]] || folders+=("$dir")
done < <(find . -mindepth 1 -maxdepth 1 -type d)
[ ${#folders[@]} -gt 0 ] || { echo "no sources in $root"; exit 2; }
files=$(find "${folders[@]}" -type f \( "${sources[@]}" \) | sort)

# Every source is held to a layer.
while IFS= read -r file; do
    [ -z "$file" ] || row_of "$file" || fault "$file is held to no layer: give its folder a row"
done <<<"$files"

# Every include of a layer's sources, as FILE:LINE from one grep.
held=""
while IFS= read -r found; do
    file=${found%%:*} line=${found#*:}
    if [ "$file" != "$held" ]; then
        held=$file
        row_of "$file" || sees=""
    fi
    if [[ $line =~ ^[[:space:]]*#[[:space:]]*(include|include_next|import)[[:space:]]*([\"\<])([^\"\>]*)[\"\>] ]]; then
        form=${BASH_REMATCH[2]} name=${BASH_REMATCH[3]}
    else
        [[ $file == "$computed"* ]] || fault "$file includes a computed name: $line"
        continue
    fi
    # A quoted name is looked for beside the file first, then like <name> from the root; a name
    # found in neither place is no header of the repository's.
    if [[ $form == '"' && -f ${file%/*}/$name ]]; then
        normalize "${file%/*}/$name"
    elif [[ -f $name ]]; then
        normalize "$name"
    else
        continue
    fi
    allowed "$file" "$resolved" || fault "$file includes $resolved"
done < <(xargs -r -d '\n' grep -HE '^\s*#\s*(include|include_next|import)\b' <<<"$files")

if [ "$faults" -ne 0 ]; then
    echo "$faults fault(s) in the layers"
    exit 1
fi
echo "layers: no include across a boundary"
