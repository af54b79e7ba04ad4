#!/usr/bin/env bash
# The one test command: installs what the build and the tests need (Debian 12, as root),
# builds all four presets and runs the host, host-asan and win64 tests.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ libgtest-dev googletest
          g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
          wine64 xvfb xauth tmux util-linux imagemagick)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "== installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

scripts/check-layering.sh

for preset in host host-asan win64 win32; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

echo "== test host"
ctest --preset host --parallel 2
echo "== test host-asan"
ctest --preset host-asan --parallel 2

echo "== test win64 (Wine)"
export WINEPREFIX="$PWD/build/win64/wineprefix"
export WINEDEBUG=-all
scripts/wine-prefix.sh "$WINEPREFIX"
# One wineserver for the whole run: each program start then costs a fraction of a second.
# Its output goes elsewhere, or it would hold CTest's pipes open after the tests.
/usr/lib/wine/wineserver -p >/dev/null 2>&1 </dev/null &
trap '/usr/lib/wine/wineserver -k >/dev/null 2>&1 || true' EXIT
# The first program of a session starts Wine's background services, which inherit its output
# pipes; start them here with their output elsewhere, or CTest waits for them forever.
/usr/lib/wine/wine64 wineboot >/dev/null 2>&1 </dev/null || true
ctest --preset win64
