#!/usr/bin/env bash
# One end-to-end case under Wine: e2e.sh CASE PROGRAM HARNESS DRIVER FIXTURE_UPDATER
# Each case runs in a fresh folder, since the log and the restart stand-in write to the working
# directory. Exit codes come from the driver's "exit:" line: a Unix shell sees only 8 bits.
set -euo pipefail
case_name=$1 program=$2 harness=$3 driver=$4 fixture_updater=$5
: "${WINEPREFIX:=$(cd "$(dirname "$program")/.." && pwd)/wineprefix}"
export WINEPREFIX WINEDEBUG=-all
wine=/usr/lib/wine/wine64

folder=$PWD/run-$case_name
rm -rf "$folder"
mkdir -p "$folder"
cd "$folder"
# The harness has a family B drive: its updater, which exits with KAVLO_FIXTURE_EXIT_CODE (0).
[[ $case_name == harness-* ]] && cp "$fixture_updater" sorvid_qz_2.1.0.exe

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs the driver; its output goes to driver.out, the program's exit code is returned in $code.
drive() {
  local target=$1 action=$2; shift 2
  "$wine" "$driver" "$(windows_path "$target")" "$action" - "$@" >driver.out 2>driver.err </dev/null || true
  tr -d '\r' <driver.out >driver.txt
  cat driver.txt
  code=$(sed -n 's/^exit: //p' driver.txt)
  [ -n "$code" ] || { cat driver.err >&2; fail "no exit code from the driver"; }
}

expect_line() {
  grep -qxF -- "$1" driver.txt || fail "expected the line '$1'"
}

# The log of a run on Wine, whose disk model no table lists.
source "$(dirname "${BASH_SOURCE[0]}")/../e2e-log.sh"
set_checks_passed 6.1
unsupported_log=("${checks_passed[@]}" "Exception: This hard disk model is not supported.")

case $case_name in
silent-empty-folder)
  log_bytes "${unsupported_log[@]}" >expected.log
  for option in /s -s s; do
    rm -f KavloSSDInstallerLog.txt
    # An older log is replaced, not appended to.
    [ "$option" = s ] && printf 'an older log that is longer than the new one%.0s' {1..40} >KavloSSDInstallerLog.txt
    drive "$program" none "$option"
    [ "$code" = 104 ] || fail "$option: exit code $code, expected 104"
    cmp KavloSSDInstallerLog.txt expected.log || fail "$option: the log differs"
  done
  ;;
dialog-close)
  drive "$program" close
  [ "$code" = 104 ] || fail "exit code $code, expected 104"
  expect_line "window: shown"
  expect_line "status: This hard disk model is not supported."
  expect_line "detail: "
  expect_line 'hint: Press the "Close" button to exit.'
  expect_line "OK: disabled"
  expect_line "Close: enabled"
  ;;
dialog-escape)
  drive "$program" escape
  [ "$code" = 2 ] || fail "exit code $code, expected 2"
  expect_line "hint: (hidden)"
  expect_line "Close: disabled"
  ;;
harness-enter-ignored)
  # Enter and the OK command while OK is disabled start nothing; on the harness, so that a
  # fault here could only reach the stand-in restart.
  drive "$harness" enter-then-close
  [ "$code" = 3010 ] || fail "exit code $code, expected 3010"
  [ ! -e restart-requests.txt ] || fail "a restart was requested"
  ;;
harness-silent)
  drive "$harness" watch-hidden /s
  expect_line "dialog: found"
  expect_line "window: never shown"
  [ "$code" = 3010 ] || fail "exit code $code, expected 3010"
  [ ! -e restart-requests.txt ] || fail "a restart was requested"
  ;;
harness-silent-restart)
  drive "$harness" watch-hidden /s /r
  expect_line "window: never shown"
  [ "$code" = 0 ] || fail "exit code $code, expected 0"
  [ "$(cat restart-requests.txt)" = 1 ] || fail "expected one restart request"
  iconv -f utf-16 -t utf-8 KavloSSDInstallerLog.txt | tr -d '\r' >log.txt
  [ "$(grep -c '^Restarting Windows' log.txt)" = 16 ] || fail "expected 16 countdown lines"
  grep -qx 'Restarting Windows in 01 seconds...' log.txt || fail "no last countdown line"
  ;;
harness-ok)
  drive "$harness" ok
  [ "$code" = 1 ] || fail "exit code $code, expected 1"
  expect_line "status: The installation completed successfully."
  expect_line "detail: You need to reboot for this update to take effect."
  expect_line 'hint: Press "OK" to reboot now or "Close" to exit.'
  expect_line "OK: enabled"
  [ "$(cat restart-requests.txt)" = 1 ] || fail "expected one restart request"
  ;;
harness-updater-fails)
  KAVLO_FIXTURE_EXIT_CODE=6 drive "$harness" none /s /r
  [ "$code" = 6 ] || fail "exit code $code, expected 6"
  [ ! -e restart-requests.txt ] || fail "a restart was requested"
  iconv -f utf-16 -t utf-8 KavloSSDInstallerLog.txt | tr -d '\r' >log.txt
  tail -n 2 log.txt >tail.txt
  printf '%s\n' "Kavlo Utility error - user canceled utility" \
    "Exception: Kavlo Utility error - user canceled utility" | cmp - tail.txt || fail "log ends wrong"
  ;;
harness-escape-in-countdown)
  # The process ends with the dialog, the worker's countdown with it: no restart is requested.
  drive "$harness" escape-in-countdown /r
  [ "$code" = 2 ] || fail "exit code $code, expected 2"
  [ ! -e restart-requests.txt ] || fail "a restart was requested"
  iconv -f utf-16 -t utf-8 KavloSSDInstallerLog.txt | tr -d '\r' | tail -n 1 >last.txt
  grep -q '^Restarting Windows in 1[0-4] seconds...$' last.txt || fail "the log should end in the countdown"
  ;;
harness-close)
  drive "$harness" close
  [ "$code" = 3010 ] || fail "exit code $code, expected 3010"
  [ ! -e restart-requests.txt ] || fail "a restart was requested"
  ;;
*)
  fail "unknown case $case_name"
  ;;
esac
echo "PASS: $case_name"
