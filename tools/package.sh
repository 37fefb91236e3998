#!/usr/bin/env bash
# Makes the game's Debian package: a Release build of its own (no tests, no benchmarks) with
# Debian's hardening flags, then cpack. Prints the path of the .deb as its last line.
#
#   tools/package.sh [OUTPUT-FOLDER]     default: dist/
#
# VELQUIN_PACKAGE_BUILD names the build folder (default: build-package/).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh

build=${VELQUIN_PACKAGE_BUILD:-build-package}
out=${1:-dist}
mkdir -p "$out"
out=$(cd "$out" && pwd)

# The flags Debian builds its packages with: fortified functions, stack protection, relro and
# immediate binding. dpkg-buildflags prints them for this machine's release.
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
cflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS)"
ldflags="$(DEB_BUILD_MAINT_OPTIONS=hardening=+bindnow dpkg-buildflags --get LDFLAGS)"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELQUIN_TESTS=OFF \
    -DVELQUIN_BENCH=OFF -DVELQUIN_SANITIZE=OFF -DVELQUIN_FUZZ=OFF \
    -DCMAKE_C_FLAGS="$cflags" -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    >/dev/null
cmake --build "$build" -j 2

staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
(cd "$build" && cpack -G DEB -B "$staging") >&2
debs=("$staging"/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "package: cpack made ${#debs[@]} packages, not one" >&2
    exit 1
fi
mv -f "${debs[0]}" "$out/"
echo "$out/$(basename "${debs[0]}")"
