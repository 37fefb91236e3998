#!/usr/bin/env bash
# The desktop entry as the build writes it: no action without packs; with packs one valid action
# each, playing that pack from where it is installed; a pack name a desktop entry cannot carry
# stops the build with its name.   desktop_entry_test.sh SOURCE-DIR SCRATCH-DIR
set -uo pipefail
src=$1
scratch=$2
fail() { echo "FAIL: $*"; exit 1; }
rm -rf "$scratch" && mkdir -p "$scratch" || fail "cannot make $scratch"

entry() {  # entry OUTPUT PACKS-DIR PACK...
    local output=$1 dir=$2
    shift 2
    local list
    list=$(IFS=';'; echo "$*")
    cmake -DTEMPLATE="$src/packaging/velquin.desktop" -DOUTPUT="$output" -DPACKS_DIR="$dir" \
        -DPACKS="$list" -P "$src/packaging/desktop_entry.cmake"
}

entry "$scratch/none.desktop" /usr/share/velquin/packs || fail "no entry without packs"
cmp -s "$scratch/none.desktop" "$src/packaging/velquin.desktop" ||
    fail "without packs the entry is not the template"

entry "$scratch/two.desktop" "/opt/my games/share/velquin/packs" \
    "$scratch/packs/first.txt" "$scratch/packs/hard_one.v2.txt" || fail "no entry with two packs"
desktop-file-validate "$scratch/two.desktop" || fail "desktop-file-validate rejects the entry"
grep -qx 'Actions=pack-first;pack-hard-one-v2;' "$scratch/two.desktop" ||
    fail "the entry does not list an action for each pack"
for name in first hard_one.v2; do
    exec_line=$(sed -n "/^\[Desktop Action pack-${name//[._]/-}\]/,/^\[/p" "$scratch/two.desktop" |
        grep '^Exec=')
    [ "$exec_line" = "Exec=velquin --puzzles \"/opt/my games/share/velquin/packs/$name.txt\"" ] ||
        fail "the action of $name runs '$exec_line'"
done
grep -q '^Exec=velquin$' "$scratch/two.desktop" || fail "the entry's own Exec line changed"

out=$(entry "$scratch/bad.desktop" /usr/share/velquin/packs "$scratch/packs/my pack.txt" 2>&1) &&
    fail "a pack name with a space was taken"
# CMake wraps its messages at the width of a line, so the name is looked for
# with the line breaks joined.
tr -s ' \n' ' ' <<<"$out" | grep -q 'my pack.txt' || fail "the refusal does not name the pack: $out"
echo "desktop entry test passed"
