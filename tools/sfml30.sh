#!/bin/bash
# Builds the project against SFML 3.0.2, which Debian does not package. SFML is built once from its
# source tarball, with Debian 12's own FreeType, FLAC, Ogg/Vorbis and X11 libraries and no network,
# and installed into a private folder; nothing is installed system-wide. The build folder is then
# configured against that folder and runs on the system's own C library.
#
# Usage: tools/sfml30.sh <build-dir> [more cmake arguments]
#
# The tarball is $LU_SFML30_TARBALL, by default SFML-3.0.2.tar.gz in the folder that tools/deps-dir.sh
# names (shared/deps beside the repository). The folder is $LU_SFML30_DIR, by default
# ${XDG_CACHE_HOME:-$HOME/.cache}/coilwander/sfml3.0.2; it is reused when it is complete and was
# built from the same tarball. Machines with SFML 3.0 installed need none of this: pass its
# -DSFML_DIR to cmake.
set -uo pipefail

REPO=$(cd "$(dirname "$0")/.." && pwd)
TARBALL=${LU_SFML30_TARBALL:-$("$REPO/tools/deps-dir.sh")/SFML-3.0.2.tar.gz}
SFML_DIR=${LU_SFML30_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/coilwander/sfml3.0.2}
COMPLETE="$SFML_DIR/.complete"
# FETCHCONTENT_FULLY_DISCONNECTED: should SFML ever reach for a dependency of its own, the build
# fails instead of downloading it.
SFML_OPTIONS=(-DSFML_USE_SYSTEM_DEPS=ON -DBUILD_SHARED_LIBS=ON -DSFML_BUILD_NETWORK=OFF
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_LIBDIR=lib -DFETCHCONTENT_FULLY_DISCONNECTED=ON)

fail() {
    echo "sfml30: $*" >&2
    exit 1
}

# Builds SFML from the tarball into $SFML_DIR and records what it was built from in $COMPLETE.
build_sfml() {
    WORK=$(mktemp -d) || fail "cannot make a temporary folder"
    trap 'rm -rf "$WORK"' EXIT
    echo "sfml30: building SFML from $TARBALL into $SFML_DIR (about four minutes on two cores)"
    tar -xzf "$TARBALL" -C "$WORK" || fail "cannot unpack $TARBALL"
    local source
    source=$(find "$WORK" -mindepth 2 -maxdepth 2 -name CMakeLists.txt -printf '%h\n' | head -n 1)
    [ -n "$source" ] || fail "$TARBALL holds no CMake project"
    rm -rf "$SFML_DIR"
    cmake -S "$source" -B "$WORK/build" "${SFML_OPTIONS[@]}" -DCMAKE_INSTALL_PREFIX="$SFML_DIR" \
        >"$WORK/build.log" 2>&1 &&
        cmake --build "$WORK/build" -j2 >>"$WORK/build.log" 2>&1 &&
        cmake --install "$WORK/build" >>"$WORK/build.log" 2>&1 || {
        tail -n 40 "$WORK/build.log" >&2
        fail "cannot build SFML from $TARBALL: are libfreetype-dev, libflac-dev, libvorbis-dev," \
            "libogg-dev, libx11-dev, libxrandr-dev, libxcursor-dev, libxi-dev, libudev-dev and libgl-dev" \
            "installed (tools/install-deps.sh)?"
    }
    echo "$KEY" >"$COMPLETE"
}

[ $# -ge 1 ] || {
    echo "usage: $0 <build-dir> [more cmake arguments]" >&2
    exit 2
}
BUILD_DIR=$1
shift

[ -f "$TARBALL" ] || fail "no SFML source at $TARBALL (set LU_SFML30_TARBALL)"
KEY="$(sha256sum "$TARBALL" | cut -d ' ' -f 1) ${SFML_OPTIONS[*]}"

mkdir -p "$(dirname "$SFML_DIR")" || fail "cannot create $(dirname "$SFML_DIR")"
# Two runs at once (two clones, one cache) take turns rather than build into one folder together.
exec 9>"$SFML_DIR.lock" && flock 9 || fail "cannot lock $SFML_DIR.lock"
if [ -f "$COMPLETE" ] && [ "$(cat "$COMPLETE")" = "$KEY" ]; then
    echo "sfml30: reusing $SFML_DIR"
else
    (build_sfml) || exit 1
fi
exec 9>&-
[ -f "$SFML_DIR/lib/cmake/SFML/SFMLConfig.cmake" ] || fail "$SFML_DIR holds no SFML CMake package"

cmake -S "$REPO" -B "$BUILD_DIR" -DSFML_DIR="$SFML_DIR/lib/cmake/SFML" "$@"
