#!/usr/bin/env bash
# Builds the game's web page into build-web/site and serves it on http://127.0.0.1:8000/
# (any static web server will do). With --build-only it builds the page and stops.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
export NODE_PATH=/usr/share/nodejs  # emscripten's JavaScript tools need Debian's acorn
jobs=$(nproc)

# The desktop build converts the pictures, draws the page's icons and works out the built-in
# puzzles' hints.
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$jobs" --target velquin-picture velquin_icons velquin-hint-tables

tools/web-libs.sh build-web/libs
emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DVELQUIN_WEB_LIBS="$PWD/build-web/libs/prefix" \
    -DVELQUIN_PICTURE_TOOL="$PWD/build/platform/gdi/velquin-picture" \
    -DVELQUIN_HINT_TABLE_TOOL="$PWD/build/search/velquin-hint-tables" >/dev/null
cmake --build build-web -j "$jobs" --target velquin

site=build-web/site
rm -rf "$site"
mkdir -p "$site"
cp web/index.html web/manifest.webmanifest build-web/app/velquin.js build-web/app/velquin.wasm \
    build-web/app/velquin.data "$site/"
cp build-web/hints.bin "$site/"
cp build/packaging/icons/velquin-32.png "$site/icon-32.png"
cp build/packaging/icons/velquin-128.png "$site/icon-128.png"
# The packs of puzzles the page plays with ?pack=NAME: the repository's packs/, if any.
packs=
if [ -d packs ]; then packs=$(find packs -maxdepth 1 -name '*.txt' -type f | sort); fi
if [ -n "$packs" ]; then
    mkdir -p "$site/packs"
    cp $packs "$site/packs/"
fi
# The service worker keeps the packs too, and its cache is named after the files it keeps.
cached=$(for p in $packs; do printf ", '%s'" "$p"; done)
version=$(find "$site" -type f | sort | xargs cat | sha256sum | cut -c1-16)
sed -e "s/@VERSION@/$version/" -e "s|@PACKS@|$cached|" web/sw.js >"$site/sw.js"
echo "web: the page is in $site" >&2

[ "${1:-}" = --build-only ] && exit 0
echo "web: serving on http://127.0.0.1:8000/ (Ctrl-C stops)" >&2
cd "$site"
exec python3 -m http.server 8000 --bind 127.0.0.1
