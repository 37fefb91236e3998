#!/usr/bin/env bash
# The Debian package as a player gets it: made by tools/package.sh, unpacked with dpkg -x,
# the program run headless from there, the desktop entry, icons and manual page checked, and
# lintian with no errors.   package_test.sh SOURCE-DIR SCRATCH-DIR
set -uo pipefail
src=$1
scratch=$2
fail() { echo "FAIL: $*"; exit 1; }
rm -rf "$scratch" && mkdir -p "$scratch" || fail "cannot make $scratch"

log=$scratch/package.log
deb=$(VELQUIN_PACKAGE_BUILD="$scratch/build" "$src/tools/package.sh" "$scratch/dist" 2>"$log" | tail -n 1)
[ -f "$deb" ] || { tail -n 40 "$log"; fail "tools/package.sh made no package"; }
echo "package: $deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Section)" = games ] || fail "Section is '$(field Section)', not games"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
depends=$(field Depends)
echo "Depends: $depends"
grep -qw fonts-wine <<<"$depends" || fail "Depends lacks fonts-wine"

root=$scratch/root
dpkg -x "$deb" "$root" || fail "dpkg -x failed"
program=$root/usr/games/velquin
[ -x "$program" ] || fail "no usr/games/velquin in the package"
# Every library the program links comes from a package it depends on.
for lib in $(readelf -d "$program" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p'); do
    path=$(ldd "$program" | awk -v l="$lib" '$1 == l { print $3 }')
    owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")" 2>/dev/null ||
        dpkg -S "/usr$path" 2>/dev/null)
    pkg=${owner%%:*}
    [ -n "$pkg" ] || fail "no package owns $lib ($path)"
    grep -qw -- "$pkg" <<<"$depends" || fail "$lib comes from $pkg, which Depends lacks"
done
# Nothing but the game: no tests, benchmarks, solver or build tools.
extra=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -E '_test|bench|velquin-(solve|picture|icon)|\.a$|\.h$')
[ -z "$extra" ] || fail "the package holds $extra"

# The program runs from the unpacked tree: the intro, a tap into puzzle 0, its state, a shot.
out=$(printf 'wait 3000\ntap 5 5\nstate\nshot screen\n' |
    HOME=$scratch XDG_CONFIG_HOME=$scratch/config VELQUIN_STORE= \
    "$program" --headless --script - --shots "$scratch" 2>&1)
echo "$out" | cut -c1-160
sed -n 's/^state //p' <<<"$out" |
    jq -e '.mode == 0 and .gameNumber == 0 and .boardWidth == 3 and .boardHeight == 3' >/dev/null ||
    fail "unexpected state line"
file "$scratch/screen.png" | grep -q 'PNG image data, 240 x 320' || fail "no 240 x 320 shot"
[ "$("$program" --version)" = "velquin $(field Version)" ] || fail "--version differs from the package"

desktop=$root/usr/share/applications/velquin.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the entry"
for line in Exec=velquin Icon=velquin 'Categories=Game;LogicGame;' 'Comment=' 'Comment\[fr\]='; do
    grep -q "^$line" "$desktop" || fail "desktop entry lacks $line"
done

# Each pack of puzzles of the source is installed, and the desktop entry has an action that plays
# it from there; the program plays it from the unpacked tree.
packs=$(cd "$src" && ls packs/*.txt 2>/dev/null)
installed=$(cd "$root/usr/share/velquin" 2>/dev/null && ls packs/*.txt 2>/dev/null)
[ "$packs" = "$installed" ] || fail "the package holds the packs '$installed', not '$packs'"
for pack in $packs; do
    grep -qx "Exec=velquin --puzzles /usr/share/velquin/$pack" "$desktop" ||
        fail "the desktop entry has no action that plays $pack"
    out=$(printf 'tap 5 5\nstate\n' |
        HOME=$scratch XDG_CONFIG_HOME=$scratch/config VELQUIN_STORE= \
        "$program" --headless --script - --puzzles "$root/usr/share/velquin/$pack" 2>&1)
    first=$(grep -v '^#' "$src/$pack" | grep -m 1 '[^[:space:]]' | tr -d '[:space:]')
    sed -n 's/^state //p' <<<"$out" | jq -e --arg first "$first" '.record | startswith($first)' \
        >/dev/null || fail "the installed $pack does not play its first puzzle: $out"
done

for n in 16 32 48 128; do
    icon=$root/usr/share/icons/hicolor/${n}x${n}/apps/velquin.png
    file "$icon" | grep -q "PNG image data, $n x $n, 8-bit/color RGBA" ||
        fail "$icon is not a $n x $n PNG with a transparent background"
done

# The software centres' metadata: valid, naming the installed desktop entry, the same name as
# the entry and the window title, this version as its newest release.
metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml 2>/dev/null)
[ "$(echo "$metainfo" | wc -w)" -eq 1 ] || fail "not one metainfo file in usr/share/metainfo: $metainfo"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")
[ "$(basename "$metainfo")" = "$id.metainfo.xml" ] || fail "$metainfo is not named after its id $id"
grep -q '<launchable type="desktop-id">velquin.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not launch velquin.desktop"
name=$(sed -n 's:^ *<name>\(.*\)</name>.*:\1:p' "$metainfo")
grep -qx "Name=$name" "$desktop" || fail "the desktop entry's Name is not the metainfo's '$name'"
grep -q "L\"$name\"" "$src/texts/texts.cpp" || fail "the window title is not '$name'"
grep -q "<release version=\"$(field Version)\"" "$metainfo" || fail "no release $(field Version) in the metainfo"
for word in '<content_rating type="oars-1.1"' '<control>keyboard</control>' \
    '<control>pointing</control>' '<caption>' '<project_license>MIT</project_license>'; do
    grep -q "$word" "$metainfo" || fail "the metainfo lacks $word"
done

page=$root/usr/share/man/man6/velquin.6.gz
[ -f "$page" ] || fail "no manual page"
warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man warns: $warnings"
lexgrog "$page" >/dev/null || fail "lexgrog finds no NAME section"
text=$(MANWIDTH=200 man -l "$page" 2>/dev/null)
for option in $("$program" --help | grep -o -- '--[a-z-]*' | sort -u); do
    grep -q -- "$option" <<<"$text" || fail "the manual page lacks $option"
done
for verb in $(grep -o 'verb == "[a-z-]*"' "$src/app/script.cpp" | cut -d'"' -f2); do
    grep -qw -- "$verb" <<<"$text" || fail "the manual page lacks the script command $verb"
done
for word in VELQUIN_STORE XDG_CONFIG_HOME EXAMPLES 'EXIT STATUS'; do
    grep -q "$word" <<<"$text" || fail "the manual page lacks $word"
done
for f in copyright changelog.gz README.md; do
    [ -f "$root/usr/share/doc/velquin/$f" ] || fail "no usr/share/doc/velquin/$f"
done

# The licence: MIT for the game (LICENSE), stated in Debian's machine-readable copyright format,
# which names the licence of the font the game draws with.
copyright=$root/usr/share/doc/velquin/copyright
head -n 1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the machine-readable format"
grep -qx 'License: Expat' "$copyright" || fail "the copyright file does not name the MIT (Expat) licence"
grep -q 'fonts-wine' "$copyright" && grep -q 'LGPL-2.1+' "$copyright" ||
    fail "the copyright file does not name the font's licence"
head -n 1 "$src/LICENSE" | grep -qx 'MIT License' || fail "LICENSE is not the MIT licence"
# Every line of the licence's text is in the copyright file's Expat paragraph.
while IFS= read -r line; do
    [ -z "$line" ] || grep -qF " $line" "$copyright" || fail "the copyright file's Expat text differs from LICENSE: $line"
done < <(sed -n '/^Permission/,$p' "$src/LICENSE")

report=$(lintian "$deb" 2>/dev/null)
status=$?
echo "lintian: ${report:-clean}"
[ $status -eq 0 ] && ! grep -q '^E:' <<<"$report" || fail "lintian reports errors"
echo "package test passed"
