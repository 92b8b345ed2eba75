#!/bin/bash
# Makes the Windows programs on Linux: cross-builds SFML and GoogleTest for 64-bit Windows with
# MinGW-w64 once into a cache, then the engine, the game, the examples and the in-process test
# programs into the build folder, each beside its data and openal32.dll. The build folder's ctest
# runs the test programs under Wine (tools/wine.sh), in a Wine prefix of the build folder's own.
#
# Usage: tools/windows.sh <build-dir> [more cmake arguments]
#
# SFML's source comes from $LU_SFML_WINDOWS_SOURCE, by default SFML-2.6.2-windows-x64.tar.gz in the
# shared/deps folder beside the repository: SFML 2.6.2 with its prebuilt MinGW libraries. The cache is
# $LU_SFML_WINDOWS_DIR, by default ${XDG_CACHE_HOME:-$HOME/.cache}/coilwander/sfml2.6.2-windows; one
# built from the same tarball, GoogleTest and toolchain file is reused (about four minutes saved).
# Exits with 77 when the source is missing, which the test command reports as a skipped step.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
SOURCE=${LU_SFML_WINDOWS_SOURCE:-$ROOT/../shared/deps/SFML-2.6.2-windows-x64.tar.gz}
CACHE=${LU_SFML_WINDOWS_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/coilwander/sfml2.6.2-windows}
TOOLCHAIN=$ROOT/cmake/mingw-w64.cmake
GTEST_SOURCE=/usr/src/googletest
SKIPPED=77

fail() {
    echo "windows: $*" >&2
    exit 1
}

# What the cache was built from: a change to any of these builds it again.
cache_key() {
    sha256sum "$SOURCE" "$TOOLCHAIN" | cut -d' ' -f1
    dpkg-query -W -f='${Package} ${Version}\n' googletest g++-mingw-w64-x86-64-posix 2>/dev/null
}

# Builds one CMake project from source into the cache's prefix.
build_into_cache() {
    local name=$1 source=$2
    shift 2
    echo "windows: building $name for Windows into $CACHE"
    cmake -S "$source" -B "$WORK/$name" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$CACHE/prefix" "$@" >"$WORK/$name.log" 2>&1 &&
        cmake --build "$WORK/$name" -j2 >>"$WORK/$name.log" 2>&1 &&
        cmake --install "$WORK/$name" >>"$WORK/$name.log" 2>&1 || {
        tail -n 40 "$WORK/$name.log" >&2
        fail "building $name failed (whole log above, last lines)"
    }
}

build_cache() {
    rm -rf "$CACHE"
    mkdir -p "$CACHE" || fail "cannot create $CACHE"
    WORK=$(mktemp -d) || fail "cannot make a temporary folder"
    trap 'rm -rf "$WORK"' EXIT
    tar xzf "$SOURCE" -C "$WORK" || fail "cannot unpack $SOURCE"
    local sfml
    sfml=$(find "$WORK" -mindepth 1 -maxdepth 1 -type d -name 'SFML-*' | head -n 1)
    [ -n "$sfml" ] || fail "$SOURCE holds no SFML-* folder"
    build_into_cache sfml "$sfml" -DBUILD_SHARED_LIBS=OFF -DSFML_BUILD_NETWORK=OFF -DSFML_USE_STATIC_STD_LIBS=ON
    build_into_cache googletest "$GTEST_SOURCE" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON
    cache_key >"$CACHE/.complete"
}

[ $# -ge 1 ] || {
    echo "usage: $0 <build-dir> [more cmake arguments]" >&2
    exit 2
}
BUILD_DIR=$1
shift

if [ ! -f "$SOURCE" ]; then
    echo "windows: no SFML source for Windows at $SOURCE (set LU_SFML_WINDOWS_SOURCE): skipped"
    exit $SKIPPED
fi
command -v x86_64-w64-mingw32-g++-posix >/dev/null ||
    fail "x86_64-w64-mingw32-g++-posix is missing: run tools/install-deps.sh"
[ -f "$GTEST_SOURCE/CMakeLists.txt" ] || fail "no GoogleTest source in $GTEST_SOURCE: run tools/install-deps.sh"

if [ -f "$CACHE/.complete" ] && [ "$(cat "$CACHE/.complete")" = "$(cache_key)" ]; then
    echo "windows: reusing $CACHE"
else
    build_cache
fi

mkdir -p "$BUILD_DIR" || fail "cannot create $BUILD_DIR"
BUILD_DIR=$(cd "$BUILD_DIR" && pwd)
WINE_PREFIX="$BUILD_DIR/wine-prefix"
cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_PREFIX_PATH="$CACHE/prefix" \
    -DSFML_STATIC_LIBRARIES=TRUE -DCMAKE_CROSSCOMPILING_EMULATOR="$ROOT/tools/wine.sh;$WINE_PREFIX" "$@" ||
    fail "configuring $BUILD_DIR failed"
cmake --build "$BUILD_DIR" -j2 --target in_process_tests coilwander walker starcatch cavern || fail "building failed"
"$ROOT/tools/wine.sh" "$WINE_PREFIX" --make-prefix || fail "cannot make the Wine prefix $WINE_PREFIX"
