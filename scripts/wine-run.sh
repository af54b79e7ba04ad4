#!/bin/sh
# Runs a Windows program under Wine with the build folder's own prefix. CTest calls this as the
# cross-compiling emulator; scripts/test.sh keeps a wineserver alive around the test run.
here=$(pwd)
while [ "$here" != / ] && [ ! -f "$here/CMakeCache.txt" ]; do here=$(dirname "$here"); done
: "${WINEPREFIX:=$here/wineprefix}"
export WINEPREFIX
export WINEDEBUG=-all
exec /usr/lib/wine/wine64 "$@"
