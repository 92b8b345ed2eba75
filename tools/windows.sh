#!/bin/bash
# Makes the Windows programs on Linux: cross-builds SFML and GoogleTest for 64-bit Windows with
# MinGW-w64 once into a cache, then the engine, the game, the examples and the in-process test
# programs into the build folder, each beside its data (and, with SFML 2, openal32.dll). The build
# folder's ctest runs the test programs under Wine (tools/wine.sh), in a Wine prefix of its own.
#
# Usage: [LU_WINDOWS_SFML=2.6.2|3.0.2] tools/windows.sh <build-dir> [more cmake arguments]
#
# LU_WINDOWS_SFML chooses the SFML, 2.6.2 by default. Its sources, by default in the folder that
# tools/deps-dir.sh names (shared/deps beside the repository):
# - 2.6.2: $LU_SFML_WINDOWS_SOURCE, SFML-2.6.2-windows-x64.tar.gz (SFML with its prebuilt MinGW
#   libraries);
# - 3.0.2: $LU_SFML30_TARBALL, SFML-3.0.2.tar.gz (the one the Linux build uses), and in
#   $LU_SFML30_WINDOWS_DEPS, windows-sfml3/, the sources of FreeType, Ogg, Vorbis and FLAC that SFML
#   would otherwise download: it builds with no network.
# The cache is $LU_SFML_WINDOWS_DIR, by default ${XDG_CACHE_HOME:-$HOME/.cache}/coilwander/
# sfml<version>-windows; one built from the same sources, GoogleTest and toolchain file is reused (a
# few minutes saved). Exits with 77 when a source is missing, which the test command reports as a
# skipped step.
set -uo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
DEPS=$("$ROOT/tools/deps-dir.sh")
SFML_VERSION=${LU_WINDOWS_SFML:-2.6.2}
TOOLCHAIN=$ROOT/cmake/mingw-w64.cmake
GTEST_SOURCE=/usr/src/googletest
SKIPPED=77
# Building SFML or GoogleTest takes a few minutes; one that hangs is stopped.
BUILD_SECONDS=1800
# How long a run waits for another one building the same cache.
LOCK_SECONDS=1800

fail() {
    echo "windows: $*" >&2
    exit 1
}

# SFML 3.0.2's own dependencies: the FetchContent name, the source tarball and SFML's patch script.
SFML3_DEPENDENCIES=("FREETYPE freetype-2.13.2.tar.gz freetype/PatchFreetype.cmake"
    "OGG ogg-1.3.5.tar.gz ogg/PatchOgg.cmake"
    "VORBIS vorbis-1.3.7.tar.gz vorbis/PatchVorbis.cmake"
    "FLAC flac-1.4.3.tar.gz flac/PatchFLAC.cmake")

case "$SFML_VERSION" in
2.6.2)
    SOURCE=${LU_SFML_WINDOWS_SOURCE:-$DEPS/SFML-2.6.2-windows-x64.tar.gz}
    SOURCE_HINT="set LU_SFML_WINDOWS_SOURCE"
    INPUTS=("$SOURCE")
    ;;
3.0.2)
    SOURCE=${LU_SFML30_TARBALL:-$DEPS/SFML-3.0.2.tar.gz}
    SOURCE_HINT="set LU_SFML30_TARBALL or LU_SFML30_WINDOWS_DEPS"
    DEPENDENCY_DIR=${LU_SFML30_WINDOWS_DEPS:-$DEPS/windows-sfml3}
    INPUTS=("$SOURCE")
    for dependency in "${SFML3_DEPENDENCIES[@]}"; do
        read -r _ tarball _ <<<"$dependency"
        INPUTS+=("$DEPENDENCY_DIR/$tarball")
    done
    ;;
*)
    fail "LU_WINDOWS_SFML is '$SFML_VERSION': choose 2.6.2 or 3.0.2"
    ;;
esac
CACHE=${LU_SFML_WINDOWS_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/coilwander/sfml$SFML_VERSION-windows}

# What the cache was built from: a change to any of these builds it again.
cache_key() {
    sha256sum "${INPUTS[@]}" "$TOOLCHAIN" | cut -d' ' -f1
    dpkg-query -W -f='${Package} ${Version}\n' googletest g++-mingw-w64-x86-64-posix 2>/dev/null
}

# Builds one CMake project from source into the cache's prefix.
build_into_cache() {
    local name=$1 source=$2
    shift 2
    echo "windows: building $name for Windows into $CACHE"
    cmake -S "$source" -B "$WORK/$name" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$CACHE/prefix" "$@" >"$WORK/$name.log" 2>&1 &&
        timeout "$BUILD_SECONDS" cmake --build "$WORK/$name" -j2 >>"$WORK/$name.log" 2>&1 &&
        cmake --install "$WORK/$name" >>"$WORK/$name.log" 2>&1 || {
        tail -n 40 "$WORK/$name.log" >&2
        fail "building $name failed or took over $BUILD_SECONDS s (last lines of its log above)"
    }
}

# Unpacks SFML 3's dependencies and patches them as SFML's own download would, and adds to OPTIONS
# what makes SFML take them from there instead of downloading them.
unpack_sfml3_dependencies() {
    local sfml=$1 dependency name tarball patch folder
    for dependency in "${SFML3_DEPENDENCIES[@]}"; do
        read -r name tarball patch <<<"$dependency"
        mkdir -p "$WORK/$name" && tar xzf "$DEPENDENCY_DIR/$tarball" -C "$WORK/$name" ||
            fail "cannot unpack $DEPENDENCY_DIR/$tarball"
        folder=$(find "$WORK/$name" -mindepth 1 -maxdepth 1 -type d | head -n 1)
        [ -n "$folder" ] || fail "$DEPENDENCY_DIR/$tarball holds no folder"
        cmake -D"${name}_DIR=$folder" -P "$sfml/tools/$patch" || fail "cannot patch $folder with $patch"
        OPTIONS+=("-DFETCHCONTENT_SOURCE_DIR_$name=$folder")
    done
    # Should SFML still reach for a dependency of its own, the build fails instead of downloading it.
    OPTIONS+=(-DFETCHCONTENT_FULLY_DISCONNECTED=ON)
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
    OPTIONS=(-DBUILD_SHARED_LIBS=OFF -DSFML_BUILD_NETWORK=OFF -DSFML_USE_STATIC_STD_LIBS=ON)
    if [ "$SFML_VERSION" = 3.0.2 ]; then
        unpack_sfml3_dependencies "$sfml"
    fi
    build_into_cache sfml "$sfml" "${OPTIONS[@]}"
    build_into_cache googletest "$GTEST_SOURCE" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON
    cache_key >"$CACHE/.complete"
}

[ $# -ge 1 ] || {
    echo "usage: [LU_WINDOWS_SFML=2.6.2|3.0.2] $0 <build-dir> [more cmake arguments]" >&2
    exit 2
}
BUILD_DIR=$1
shift

for input in "${INPUTS[@]}"; do
    if [ ! -f "$input" ]; then
        echo "windows: no source for SFML $SFML_VERSION for Windows at $input ($SOURCE_HINT): skipped"
        exit $SKIPPED
    fi
done
command -v x86_64-w64-mingw32-g++-posix >/dev/null ||
    fail "x86_64-w64-mingw32-g++-posix is missing: run tools/install-deps.sh"
[ -f "$GTEST_SOURCE/CMakeLists.txt" ] || fail "no GoogleTest source in $GTEST_SOURCE: run tools/install-deps.sh"

mkdir -p "$(dirname "$CACHE")" || fail "cannot create $(dirname "$CACHE")"
# Two runs at once (two clones, one cache) take turns to build the cache, and none builds it while
# another links against it: the lock is held alone to build, shared to link.
exec 9>"$CACHE.lock" || fail "cannot open $CACHE.lock"
if ! flock -n 9; then
    echo "windows: waiting for another run to finish with $CACHE"
    flock -w "$LOCK_SECONDS" 9 || fail "$CACHE stayed locked for $LOCK_SECONDS s"
fi
if [ -f "$CACHE/.complete" ] && [ "$(cat "$CACHE/.complete")" = "$(cache_key)" ]; then
    echo "windows: reusing $CACHE"
else
    (build_cache) || exit 1
fi
flock -s 9 || fail "cannot share the lock on $CACHE"

mkdir -p "$BUILD_DIR" || fail "cannot create $BUILD_DIR"
BUILD_DIR=$(cd "$BUILD_DIR" && pwd)
WINE_PREFIX="$BUILD_DIR/wine-prefix"
# A build folder configured against another SFML starts afresh: its cache names that SFML's files.
FRESH=()
if [ -f "$BUILD_DIR/CMakeCache.txt" ] &&
    ! grep -qxF "CMAKE_PREFIX_PATH:UNINITIALIZED=$CACHE/prefix" "$BUILD_DIR/CMakeCache.txt"; then
    echo "windows: $BUILD_DIR was configured against another SFML: configuring it afresh"
    FRESH=(--fresh)
fi
cmake "${FRESH[@]}" -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_PREFIX_PATH="$CACHE/prefix" \
    -DSFML_STATIC_LIBRARIES=TRUE -DCMAKE_CROSSCOMPILING_EMULATOR="$ROOT/tools/wine.sh;$WINE_PREFIX" "$@" ||
    fail "configuring $BUILD_DIR failed"
cmake --build "$BUILD_DIR" -j2 --target in_process_tests coilwander walker starcatch cavern || fail "building failed"
exec 9>&-
"$ROOT/tools/wine.sh" "$WINE_PREFIX" --make-prefix || fail "cannot make the Wine prefix $WINE_PREFIX"
