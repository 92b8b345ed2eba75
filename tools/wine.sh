#!/bin/bash
# Runs a Windows program under Wine in the given prefix, quietly: no Wine debug channels, and none of
# the installers of Wine's .NET and HTML engines, which would wait for a click.
#
# Usage: tools/wine.sh <prefix> <program.exe> [arguments]   runs the program, returns its exit status
#        tools/wine.sh <prefix> --make-prefix               makes the prefix once (about ten seconds)
#        tools/wine.sh <prefix> --stop                      waits for the prefix's Wine server to end
#
# tools/windows.sh makes the prefix and configures its build folder's ctest to run tests through this.
set -uo pipefail

WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
MAKE_PREFIX_SECONDS=300

[ $# -ge 2 ] || {
    echo "usage: $0 <prefix> <program.exe> [arguments] | $0 <prefix> --make-prefix | $0 <prefix> --stop" >&2
    exit 2
}
# Wine takes only an absolute prefix.
export WINEPREFIX=$(realpath -m "$1")
shift
[ -x "$WINE" ] || {
    echo "wine: wine64 is missing: run tools/install-deps.sh" >&2
    exit 1
}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine finds its server beside itself; Debian keeps both outside PATH.
export PATH="$(dirname "$(readlink -f "$WINE")"):$PATH"

if [ "$1" = "--make-prefix" ]; then
    [ -f "$WINEPREFIX/system.reg" ] && exit 0
    mkdir -p "$WINEPREFIX" || exit 1
    echo "wine: making the prefix $WINEPREFIX"
    # Without a display: nothing to show, and no X server to wait for.
    if ! env -u DISPLAY timeout "$MAKE_PREFIX_SECONDS" "$WINE" wineboot -i ||
        ! timeout "$MAKE_PREFIX_SECONDS" wineserver -w || [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine: making the prefix $WINEPREFIX failed or took over $MAKE_PREFIX_SECONDS s" >&2
        rm -rf "$WINEPREFIX"
        exit 1
    fi
    exit 0
fi

if [ "$1" = "--stop" ]; then
    # The server ends a few seconds after the last program; one that hangs is stopped.
    timeout 30 wineserver -w || wineserver -k
    exit 0
fi

[ -f "$WINEPREFIX/system.reg" ] || {
    echo "wine: no Wine prefix at $WINEPREFIX: run tools/windows.sh on its build folder" >&2
    exit 1
}
exec "$WINE" "$@"
