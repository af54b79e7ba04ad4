#!/usr/bin/env bash
# Creates a throw-away Wine prefix for the tests: a fixed Windows version, so that the version
# line of the log is known, and no display driver, so that windows exist without an X server.
set -euo pipefail
prefix=$1
export WINEPREFIX=$prefix WINEDEBUG=-all
if [ ! -f "$prefix/.kavlo-ready" ]; then
  rm -rf "$prefix"
  /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 </dev/null || true
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine' /v Version /d win7 /f >/dev/null 2>&1 </dev/null
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
  /usr/lib/wine/wineserver -w
  touch "$prefix/.kavlo-ready"
fi
