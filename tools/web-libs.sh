#!/usr/bin/env bash
# Builds the C libraries the platform calls (FreeType for text, pixman for regions) for
# WebAssembly, from Debian's own source packages, into FOLDER/prefix (default build-web/libs).
# The sources are fetched by name with apt-get source through a source list of this build's own,
# kept in FOLDER: the machine's apt configuration is read for its archive address and never
# changed. Everything is cached: a second run does nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
folder=$(realpath -m "${1:-build-web/libs}")
prefix=$folder/prefix
export NODE_PATH=/usr/share/nodejs  # emscripten's JavaScript tools need Debian's acorn
[ -f "$prefix/lib/libfreetype.a" ] && [ -f "$prefix/lib/libpixman-1.a" ] && exit 0
mkdir -p "$folder/apt/lists/partial" "$folder/src" "$prefix"

# The archive the machine installs from, as a deb-src entry of our own.
uri=
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    uri=$(awk '/^URIs:/ { print $2; exit }' "$f")
    [ -n "$uri" ] && break
done
if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
    uri=$(awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i !~ /^\[/ && $i !~ /\]$/) { print $i; exit } }' \
        /etc/apt/sources.list)
fi
[ -n "$uri" ] || { echo "web-libs: no Debian archive in the machine's apt sources" >&2; exit 1; }
. /etc/os-release
cat >"$folder/apt/sources.list" <<LIST
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri ${VERSION_CODENAME:-bookworm} main
LIST
apt_opts=(-o "Dir::Etc::sourcelist=$folder/apt/sources.list" -o Dir::Etc::sourceparts=/nonexistent
    -o "Dir::State::Lists=$folder/apt/lists" -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache="
    -o APT::Sandbox::User=root)

# When the archive serves the .dsc and the upstream tarball but not Debian's packaging diff (the
# archive here lacks some of those), the upstream tarball is unpacked after checking it against the
# .dsc: the library's sources are the same, only Debian's packaging folder is missing.
unpack_upstream() {
    local pkg=$1 dsc orig sum
    dsc=$(ls "$folder/src/$pkg"_*.dsc 2>/dev/null | head -n 1)
    orig=$(ls "$folder/src/$pkg"_*.orig.tar.* 2>/dev/null | grep -v '\.asc$' | head -n 1)
    if [ -z "$dsc" ] || [ -z "$orig" ]; then
        echo "web-libs: apt-get source $pkg fetched no usable source" >&2
        return 1
    fi
    sum=$(awk -v f="$(basename "$orig")" '/^Checksums-Sha256:/ { on = 1; next } /^[^ ]/ { on = 0 }
        on && $3 == f { print $1 }' "$dsc")
    if [ -z "$sum" ] || [ "$(sha256sum "$orig" | cut -d' ' -f1)" != "$sum" ]; then
        echo "web-libs: $(basename "$orig") does not match $(basename "$dsc")" >&2
        return 1
    fi
    echo "web-libs: Debian's packaging diff of $pkg is not served; using its checked upstream tarball" >&2
    tar -xf "$orig" -C "$folder/src"
}

fetch() {  # fetch PACKAGE: unpacks its Debian source into $folder/src/PACKAGE-VERSION
    local pkg=$1
    if ! ls -d "$folder/src/$pkg"-[0-9]* >/dev/null 2>&1; then
        [ -n "$(ls -A "$folder/apt/lists" | grep -v partial || true)" ] ||
            apt-get "${apt_opts[@]}" update -qq
        (cd "$folder/src" && apt-get "${apt_opts[@]}" source -qq "$pkg" >/dev/null 2>&1) ||
            unpack_upstream "$pkg"
    fi
    ls -d "$folder/src/$pkg"-[0-9]* | head -n 1
}

if [ ! -f "$prefix/lib/libfreetype.a" ]; then
    src=$(fetch freetype)
    echo "web-libs: building $(basename "$src") for WebAssembly" >&2
    emcmake cmake -S "$src" -B "$folder/freetype-build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF -DFT_DISABLE_ZLIB=ON \
        -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON \
        >"$folder/freetype.log" 2>&1
    cmake --build "$folder/freetype-build" -j "$(nproc)" >>"$folder/freetype.log" 2>&1
    cmake --install "$folder/freetype-build" >>"$folder/freetype.log" 2>&1
fi

if [ ! -f "$prefix/lib/libpixman-1.a" ]; then
    src=$(fetch pixman)
    echo "web-libs: building $(basename "$src") for WebAssembly" >&2
    (
        cd "$src"
        emconfigure ./configure --host=wasm32-unknown-emscripten --prefix="$prefix" \
            --disable-shared --enable-static --disable-openmp --disable-loongson-mmi --disable-mmx \
            --disable-sse2 --disable-ssse3 --disable-vmx --disable-arm-simd --disable-arm-neon \
            --disable-arm-iwmmxt --disable-mips-dspr2 --disable-gcc-inline-asm --disable-gtk \
            --disable-libpng CFLAGS=-O2
        emmake make -C pixman -j "$(nproc)"
        emmake make -C pixman install
        make install-pkgconfigDATA
    ) >"$folder/pixman.log" 2>&1
fi
echo "web-libs: FreeType and pixman for WebAssembly are in $prefix" >&2
