#!/bin/sh
# Installs what building, playing and testing need on Debian 12 (as root, or through sudo).
set -e

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO=sudo
fi

$SUDO apt-get update -q
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    build-essential cmake pkg-config \
    libsfml-dev libx11-dev libopenal1 \
    libgtest-dev libgmock-dev libbenchmark-dev \
    fonts-dejavu-core doxygen \
    xvfb xauth xdotool imagemagick \
    python3-pytest python3-pil python3-xlib sox \
    valgrind \
    clang libclang-rt-14-dev clang-tidy clang-format cppcheck \
    ca-certificates dpkg-dev debian-archive-keyring \
    libfreetype-dev libflac-dev libvorbis-dev libogg-dev libxrandr-dev libxcursor-dev libxi-dev \
    libudev-dev libgl-dev \
    g++-mingw-w64-x86-64-posix wine64 googletest
