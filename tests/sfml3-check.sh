#!/bin/bash
# Compiles the SFML-using engine sources and their tests against SFML 3's headers, taken from
# the libsfml-dev package of Debian's development release, so the SFML 3 side of every version
# switch is checked on a machine that only has SFML 2 installed.
#
# Usage: bash sfml3-check.sh <source-dir> <work-dir>   (the compiler is $CXX, else c++)

set -u

if [ $# -ne 2 ]; then
    echo "usage: $0 <source-dir> <work-dir>" >&2
    exit 2
fi
SOURCE_DIR=$(cd "$1" && pwd) || exit 2
CXX=${CXX:-c++}
SUITE=sid
PACKAGE=libsfml-dev
SOURCES="engine/DisplayManager.cpp engine/CellBatch.cpp engine/InputManager.cpp engine/Sound.cpp engine/Music.cpp"
# Their tests switch on the SFML version too (reading the window back, the window's handle).
SOURCES="$SOURCES tests/DisplayManagerTest.cpp tests/InputManagerTest.cpp tests/SoundTest.cpp"
SOURCES="$SOURCES tests/CellBatchTest.cpp tests/support/ReferenceCellDrawer.cpp benchmarks/PerCellScreen.cpp"

fail() {
    echo "sfml3-check: $*" >&2
    exit 1
}

# Prints the archive addresses this machine's apt already uses, one per line.
archive_uris() {
    local file
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        sed -n 's/^URIs:[[:space:]]*//p' "$file" | tr ' \t' '\n\n'
    done
    if [ -f /etc/apt/sources.list ]; then
        # "deb [options] URI suite components": drop the options, keep the URI.
        sed -n 's/^[[:space:]]*deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]\+\).*/\2/p' /etc/apt/sources.list
    fi
}

# Downloads the package from one archive into $WORK_DIR/deb with a throw-away apt setup
# that leaves the machine's own package lists and state untouched.
download_from() {
    local uri=$1
    local apt="$WORK_DIR/apt"
    rm -rf "$apt" "$WORK_DIR/deb"
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/parts" "$apt/preferences" "$WORK_DIR/deb"
    echo "deb [trusted=yes] $uri $SUITE main" >"$apt/sources.list"
    local options=(
        -o "Dir::Etc::SourceList=$apt/sources.list"
        -o "Dir::Etc::SourceParts=$apt/parts"
        -o "Dir::Etc::PreferencesParts=$apt/preferences"
        -o "Dir::State::Lists=$apt/lists"
        -o "Dir::Cache=$apt/cache"
        -o "Dir::State::Status=/dev/null"
        -o "APT::Sandbox::User=root"
        -o "Acquire::Languages=none"
    )
    apt-get "${options[@]}" -q update >"$WORK_DIR/apt-update.log" 2>&1 || return 1
    (cd "$WORK_DIR/deb" && apt-get "${options[@]}" -q download "$PACKAGE") >"$WORK_DIR/apt-download.log" 2>&1 || return 1
    ls "$WORK_DIR/deb"/"$PACKAGE"_*.deb >/dev/null 2>&1
}

fetch_headers() {
    command -v apt-get >/dev/null || fail "apt-get is missing; cannot fetch $PACKAGE from $SUITE"
    command -v dpkg-deb >/dev/null || fail "dpkg-deb is missing; cannot unpack $PACKAGE"
    local uris
    uris=$(archive_uris | grep -v '^$' | awk '!seen[$0]++')
    [ -n "$uris" ] || fail "no archive address found in /etc/apt/sources.list or /etc/apt/sources.list.d/*.sources"

    local uri
    for uri in $uris; do
        echo "sfml3-check: fetching $PACKAGE from $uri $SUITE"
        if download_from "$uri"; then
            rm -rf "$UNPACKED"
            dpkg-deb -x "$WORK_DIR/deb"/"$PACKAGE"_*.deb "$UNPACKED" || fail "cannot unpack $(ls "$WORK_DIR/deb")"
            return 0
        fi
    done
    cat "$WORK_DIR/apt-update.log" "$WORK_DIR/apt-download.log" >&2 2>/dev/null
    fail "cannot download $PACKAGE from $SUITE through any of: $(echo $uris)"
}

mkdir -p "$2" || fail "cannot create $2"
WORK_DIR=$(cd "$2" && pwd)
UNPACKED="$WORK_DIR/root"
HEADERS="$UNPACKED/usr/include"

# A copy unpacked by an earlier run is reused; the sources are always compiled afresh.
if ! grep -Eqs '^#define[[:space:]]+SFML_VERSION_MAJOR[[:space:]]+3\b' "$HEADERS/SFML/Config.hpp"; then
    fetch_headers
fi
grep -Eqs '^#define[[:space:]]+SFML_VERSION_MAJOR[[:space:]]+3\b' "$HEADERS/SFML/Config.hpp" ||
    fail "$PACKAGE from $SUITE holds no SFML 3 headers"
echo "sfml3-check: SFML $(sed -n 's/^#define[[:space:]]*SFML_VERSION_\(MAJOR\|MINOR\|PATCH\)[[:space:]]*\([0-9]*\).*/\2/p' "$HEADERS/SFML/Config.hpp" | paste -sd.) headers in $HEADERS"

status=0
for source in $SOURCES; do
    if "$CXX" -fsyntax-only -std=c++17 -Wall -Wextra -Werror -I"$HEADERS" -I"$SOURCE_DIR/engine" \
        -I"$SOURCE_DIR/tests/support" "$SOURCE_DIR/$source"; then
        echo "sfml3-check: $source compiles against SFML 3"
    else
        echo "sfml3-check: $source does not compile against SFML 3" >&2
        status=1
    fi
done
exit $status
