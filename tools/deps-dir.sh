#!/bin/bash
# Prints the folder of the dependency sources that Debian 12 lacks (SFML 3.0.2, SFML for Windows):
# $LU_DEPS_DIR when set; else shared/deps beside this repository; else shared/deps beside the
# repository this one was cloned from, when that is a folder on this machine (so that a fresh clone
# finds what its origin's checkout finds). When none is there, it prints the first place looked at.
set -u
repo=$(cd "$(dirname "$0")/.." && pwd)
if [ -n "${LU_DEPS_DIR:-}" ]; then
    echo "$LU_DEPS_DIR"
    exit 0
fi
places=("$repo/../shared/deps")
origin=$(git -C "$repo" remote get-url origin 2> /dev/null) || origin=""
origin=${origin#file://}
case $origin in
"") ;;
/*) places+=("$origin/../shared/deps") ;;
*:*) ;; # a remote machine
*) places+=("$repo/$origin/../shared/deps") ;;
esac
for place in "${places[@]}"; do
    if [ -d "$place" ]; then
        (cd "$place" && pwd)
        exit 0
    fi
done
echo "${places[0]}"
