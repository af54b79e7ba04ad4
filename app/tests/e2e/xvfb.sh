#!/usr/bin/env bash
# The dialog on a real (virtual) screen: xvfb.sh PROGRAM HARNESS DRIVER FIXTURE_UPDATER
# The tests' prefix has no display driver; this one is a copy that draws through X11 on Xvfb,
# with Wine drawing the title bar itself, since Xvfb has no window manager. The driver presses
# Close on the real program (104) and Escape (2), and saves two screenshots: the failed state of
# the real program and the done state of the harness (docs/screenshot.png is the latter).
set -euo pipefail
program=$1 harness=$2 driver=$3 fixture_updater=$4
here=$(cd "$(dirname "$program")/.." && pwd)
base_prefix=${WINEPREFIX:-$here/wineprefix}
export WINEPREFIX=$here/wineprefix-x11 WINEDEBUG=-all
wine=/usr/lib/wine/wine64

if [ ! -f "$WINEPREFIX/.kavlo-x11-ready" ]; then
  rm -rf "$WINEPREFIX"
  "$(dirname "$0")/../../../scripts/wine-prefix.sh" "$base_prefix"
  cp -a "$base_prefix" "$WINEPREFIX"
  "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null 2>&1 </dev/null
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 </dev/null
  /usr/lib/wine/wineserver -w
  touch "$WINEPREFIX/.kavlo-x11-ready"
fi
# This prefix's server ends with the test, whatever happens.
trap '/usr/lib/wine/wineserver -k >/dev/null 2>&1 || true' EXIT

folder=$PWD/run-xvfb
rm -rf "$folder"
mkdir -p "$folder"
cd "$folder"

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

# A script for xvfb-run: every run on one screen, so one X server for all of them.
cat >runs.sh <<SCRIPT
set -u
drive() {
  "$wine" "$driver" "\$(printf 'Z:%s' "\${1//\//\\\\}")" "\$2" "\$3" \${4:-} </dev/null 2>&1 | tr -d '\r'
}
mkdir -p failed done escape
(cd failed && drive "$program" close failed.bmp) >failed.txt
(cd escape && drive "$program" escape -) >escape.txt
cp "$fixture_updater" done/sorvid_qz_2.1.0.exe
(cd done && drive "$harness" close done.bmp) >done.txt
SCRIPT
xvfb-run -a -s "-screen 0 1024x768x24" bash runs.sh >xvfb.out 2>&1 || true

cat failed.txt escape.txt done.txt
grep -qx "exit: 104" failed.txt || fail "Close on the real program: expected 104"
grep -qx "status: This hard disk model is not supported." failed.txt || fail "failed state not shown"
grep -qx "exit: 2" escape.txt || fail "Escape: expected 2"
grep -qx "exit: 3010" done.txt || fail "Close on the harness: expected 3010"

# Both screenshots are bitmaps of the whole window (about 486 x 199 pixels at 96 dpi).
for shot in failed/failed.bmp done/done.bmp; do
  [ "$(head -c 2 "$shot")" = BM ] || fail "$shot is not a bitmap"
  width=$(od -An -t d4 -j 18 -N 4 "$shot" | tr -d ' ')
  height=$(od -An -t d4 -j 22 -N 4 "$shot" | tr -d ' ')
  [ "$width" -gt 300 ] && [ "$height" -gt 100 ] || fail "$shot is $width x $height"
  convert "$shot" "${shot%.bmp}.png"
done
echo "screenshots: $folder/failed/failed.png $folder/done/done.png"
echo "PASS: xvfb"
