#!/bin/bash
# Builds the project against SFML 3.1 on a machine whose system has only SFML 2.5 (Debian 12).
# SFML 3.1 and the newer C and C++ run-time it needs are fetched from Debian's development release
# with a throw-away apt setup and unpacked into a private folder; nothing is installed system-wide.
# apt takes them only from an archive whose signature verifies against Debian's archive keyring.
# The build folder is configured against that folder, and its programs are linked to start through
# the folder's own loader and libraries.
#
# Usage: tools/sfml3.sh <build-dir> [more cmake arguments]
#
# The folder is $LU_SFML3_DIR, by default ${XDG_CACHE_HOME:-$HOME/.cache}/coilwander/sfml3.1; a
# complete one, fetched with verification, is reused. The keyring is $LU_SFML3_KEYRING, by default
# the one Debian 12 ships. Machines with SFML 3 installed need none of this: cmake finds it.
set -uo pipefail

SUITE=sid
PACKAGES=(libsfml-dev libsfml-graphics3.1 libsfml-window3.1 libsfml-system3.1 libsfml-audio3.1
    libc6 libstdc++6 libgcc-s1 libsheenbidi3 libstb0t64 libflac14)
SFML_DIR=${LU_SFML3_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/coilwander/sfml3.1}
KEYRING=${LU_SFML3_KEYRING:-/usr/share/keyrings/debian-archive-keyring.gpg}
LIB_DIR="$SFML_DIR/usr/lib/x86_64-linux-gnu"
# Written once a fetch has verified and unpacked every package; older folders without it are fetched again.
COMPLETE="$SFML_DIR/.verified"

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
    echo "deb [signed-by=$KEYRING] $uri $SUITE main" >"$apt/sources.list"
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
    [ -r "$KEYRING" ] || fail "no keyring at $KEYRING to verify the archive with (Debian's debian-archive-keyring)"
    KEYRING=$(realpath "$KEYRING")

    WORK=$(mktemp -d) || fail "cannot make a temporary folder"
    trap 'rm -rf "$WORK"' EXIT
    local unverified=""
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
        # apt's words for a release file that is unsigned, badly signed or signed by an unknown key.
        if grep -q -E "NO_PUBKEY|BADSIG|EXPKEYSIG|REVKEYSIG|not signed|signature" "$WORK/apt.log"; then
            unverified="$unverified $uri"
        fi
        cat "$WORK/apt.log" >>"$WORK/failures.log"
    done
    cat "$WORK/failures.log" >&2
    [ -z "$unverified" ] ||
        fail "the signature of Debian's $SUITE release at$unverified does not verify against $KEYRING: nothing was taken from there"
    fail "cannot fetch SFML 3.1 from Debian's $SUITE through $(echo $uris): is the archive reachable, and does $SUITE still ship libsfml-graphics3.1?"
}

[ $# -ge 1 ] || {
    echo "usage: $0 <build-dir> [more cmake arguments]" >&2
    exit 2
}
BUILD_DIR=$1
shift

mkdir -p "$(dirname "$SFML_DIR")" || fail "cannot create $(dirname "$SFML_DIR")"
# Two runs at once (two clones, one cache) take turns rather than fetch into one folder together.
exec 9>"$SFML_DIR.lock" && flock 9 || fail "cannot lock $SFML_DIR.lock"
if [ -f "$COMPLETE" ]; then
    echo "sfml3: reusing $SFML_DIR"
else
    (fetch) || exit 1
fi
exec 9>&-
[ -f "$LIB_DIR/cmake/SFML/SFMLConfig.cmake" ] || fail "$SFML_DIR holds no SFML CMake package"
[ -x "$LIB_DIR/ld-linux-x86-64.so.2" ] || fail "$SFML_DIR holds no loader"

# The system's libraries (X11, OpenGL, OpenAL, GoogleTest) come after the folder's: they run on
# its newer C library, which keeps the old one's interfaces. SFML's libraries need symbols of that
# C library which the system's, linked against here, does not have: they are found when it runs.
LINK_FLAGS="-Wl,--dynamic-linker=$LIB_DIR/ld-linux-x86-64.so.2 -Wl,--disable-new-dtags"
LINK_FLAGS="$LINK_FLAGS -Wl,-rpath,$LIB_DIR:/usr/lib/x86_64-linux-gnu -Wl,--allow-shlib-undefined"
cmake -S "$(dirname "$0")/.." -B "$BUILD_DIR" -DSFML_DIR="$LIB_DIR/cmake/SFML" \
    -DCMAKE_EXE_LINKER_FLAGS="$LINK_FLAGS" "$@"
