#!/usr/bin/env bash
# Installs whatever Debian package is missing: with --play only those of
# tools/debian-packages-play.txt (building and playing), otherwise those of
# tools/debian-packages.txt too (tests, benchmarks, fuzzers, the package check). Safe to run
# again: it asks apt only when something is missing, and uses sudo when not run as root.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
lists=("$here/debian-packages-play.txt")
[ "${1:-}" = --play ] || lists+=("$here/debian-packages.txt")
missing=()
while read -r pkg; do
    pkg=${pkg%%#*}
    # "PACKAGE ?COMMAND": needed only where no COMMAND is on the PATH (Node.js from elsewhere
    # brings its own npm, which Debian's npm package would clash with).
    command=
    if [[ $pkg == *\?* ]]; then
        command=$(echo "${pkg#*\?}" | tr -d '[:space:]')
        pkg=${pkg%%\?*}
    fi
    pkg=$(echo "$pkg" | tr -d '[:space:]')
    [ -n "$pkg" ] || continue
    if [ -n "$command" ] && command -v "$command" >/dev/null; then continue; fi
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done < <(cat "${lists[@]}")
[ ${#missing[@]} -eq 0 ] && exit 0
echo "setup: installing ${missing[*]}" >&2
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
