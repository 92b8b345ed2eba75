#!/bin/bash
# Builds the project against SFML 3.1 on a machine whose system has only SFML 2.5 (Debian 12).
# SFML 3.1 and the newer C and C++ run-time it needs are fetched from Debian's development release
# with a throw-away apt setup and unpacked into a private folder; nothing is installed system-wide.
# The build folder is configured against that folder, and its programs are linked to start through
# the folder's own loader and libraries.
#
# Usage: tools/sfml3.sh <build-dir> [more cmake arguments]
#
# The folder is $LU_SFML3_DIR, by default ${XDG_CACHE_HOME:-$HOME/.cache}/coilwander/sfml3.1; a
# complete one is reused. Machines with SFML 3 installed need none of this: cmake finds it.
set -uo pipefail

SUITE=sid
PACKAGES=(libsfml-dev libsfml-graphics3.1 libsfml-window3.1 libsfml-system3.1 libsfml-audio3.1
    libc6 libstdc++6 libgcc-s1 libsheenbidi3 libstb0t64 libflac14)
SFML_DIR=${LU_SFML3_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/coilwander/sfml3.1}
LIB_DIR="$SFML_DIR/usr/lib/x86_64-linux-gnu"
COMPLETE="$SFML_DIR/.complete"

fail() {
    echo "sfml3: $*" >&2
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
        sed -n 's/^[[:space:]]*deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]\+\).*/\2/p' \
            /etc/apt/sources.list
    fi
}

# Downloads the packages from one archive into $WORK/deb; the machine's own package lists and
# state are left untouched.
download_from() {
    local uri=$1
    local apt="$WORK/apt"
    rm -rf "$apt" "$WORK/deb"
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/parts" "$apt/preferences" "$WORK/deb"
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
    apt-get "${options[@]}" -q --error-on=any update >"$WORK/apt.log" 2>&1 &&
        (cd "$WORK/deb" && apt-get "${options[@]}" -q download "${PACKAGES[@]}") >>"$WORK/apt.log" 2>&1
}

fetch() {
    command -v apt-get >/dev/null || fail "apt-get is missing: cannot fetch SFML 3.1 from Debian's $SUITE"
    command -v dpkg-deb >/dev/null || fail "dpkg-deb is missing: cannot unpack SFML 3.1"
    local uris uri
    uris=$(archive_uris | grep -v '^$' | awk '!seen[$0]++')
    [ -n "$uris" ] || fail "no archive address in /etc/apt/sources.list or /etc/apt/sources.list.d/*.sources"

    WORK=$(mktemp -d) || fail "cannot make a temporary folder"
    trap 'rm -rf "$WORK"' EXIT
    for uri in $uris; do
        echo "sfml3: fetching ${PACKAGES[*]} from $uri $SUITE"
        if download_from "$uri"; then
            rm -rf "$SFML_DIR"
            mkdir -p "$SFML_DIR" || fail "cannot create $SFML_DIR"
            local deb
            for deb in "$WORK/deb"/*.deb; do
                dpkg-deb -x "$deb" "$SFML_DIR" || fail "cannot unpack $deb"
            done
            (cd "$WORK/deb" && ls) >"$COMPLETE"
            return 0
        fi
    done
    cat "$WORK/apt.log" >&2
    fail "cannot fetch SFML 3.1 from Debian's $SUITE through $(echo $uris): is the archive reachable, and does $SUITE still ship libsfml-graphics3.1?"
}

[ $# -ge 1 ] || {
    echo "usage: $0 <build-dir> [more cmake arguments]" >&2
    exit 2
}
BUILD_DIR=$1
shift

if [ -f "$COMPLETE" ]; then
    echo "sfml3: reusing $SFML_DIR"
else
    fetch
fi
[ -f "$LIB_DIR/cmake/SFML/SFMLConfig.cmake" ] || fail "$SFML_DIR holds no SFML CMake package"
[ -x "$LIB_DIR/ld-linux-x86-64.so.2" ] || fail "$SFML_DIR holds no loader"

# The system's libraries (X11, OpenGL, OpenAL, GoogleTest) come after the folder's: they run on
# its newer C library, which keeps the old one's interfaces. SFML's libraries need symbols of that
# C library which the system's, linked against here, does not have: they are found when it runs.
LINK_FLAGS="-Wl,--dynamic-linker=$LIB_DIR/ld-linux-x86-64.so.2 -Wl,--disable-new-dtags"
LINK_FLAGS="$LINK_FLAGS -Wl,-rpath,$LIB_DIR:/usr/lib/x86_64-linux-gnu -Wl,--allow-shlib-undefined"
cmake -S "$(dirname "$0")/.." -B "$BUILD_DIR" -DSFML_DIR="$LIB_DIR/cmake/SFML" \
    -DCMAKE_EXE_LINKER_FLAGS="$LINK_FLAGS" "$@"
