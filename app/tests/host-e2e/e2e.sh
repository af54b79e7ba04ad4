#!/usr/bin/env bash
# One end-to-end case of the host program: e2e.sh CASE PROGRAM FIXTURE_UPDATER SYSFS_TREES
# Each case runs in a fresh folder of its own, with the program and, where the case needs it,
# the fixture updater copied in under the updater's name. Every case puts stand-ins for
# `systemctl` and `shutdown` first on PATH: they only count the restart requests, so no case
# can ever restart this machine. A shell sees the low 8 bits of an exit code: 3010 is 194.
set -euo pipefail
case_name=$1 program=$2 fixture_updater=$3 trees=$4

fail() { echo "FAIL: $case_name: $*" >&2; exit 1; }

# Administrator means root, and every case needs it (the not-root one to drop it).
if [ "$(id -u)" != 0 ]; then
  echo "SKIP: $case_name: the host program's end-to-end tests run as root"
  exit 77
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/kavlo-e2e-$case_name.XXXXXX")
tmux_socket=kavlo-e2e-$case_name-$$
cleanup() {
  tmux -L "$tmux_socket" kill-server >/dev/null 2>&1 || true
  rm -rf "$dir"
}
trap cleanup EXIT
# Another user must be able to enter the folder and write the log (the not-root case).
chmod 0777 "$dir"
cp "$program" "$dir/KavloSSDUpdate"
mkdir "$dir/bin"
for standin in systemctl shutdown; do
  printf '#!/bin/sh\necho "%s $*" >>"%s/restart-requests.txt"\n' "$standin" "$dir" >"$dir/bin/$standin"
  chmod 0755 "$dir/bin/$standin"
done
cd "$dir"
export PATH="$dir/bin:$PATH"
export KAVLO_FIXTURE_RECORD_FILE="$dir/updater-arguments.txt"

# The fixture updater under the name that the drive family picks.
install_updater() { cp "$fixture_updater" "$dir/$1"; }

restart_requests() { [ -e restart-requests.txt ] && wc -l <restart-requests.txt || echo 0; }

# The kernel release stands for the Windows version: "6.1.0-18-amd64" is 6.1.
release=$(uname -r)
major=${release%%.*}
rest=${release#*.}
minor=${rest%%[!0-9]*}

source "$(dirname "${BASH_SOURCE[0]}")/../e2e-log.sh"
set_checks_passed "$major.$minor"
updater_ran() {
  printf '%s\n' "A supported hard disk was found" "Running the Kavlo SSD upgrade utility..." \
    "executing: $dir/$1 -firmware_update"
}
mapfile -t countdown < <(echo "Restarting Windows..."; for n in $(seq 15 -1 1); do
  printf 'Restarting Windows in %02d seconds...\n' "$n"; done)

expect_log() {
  log_bytes "$@" >expected.log
  cmp KavloSSDInstallerLog.txt expected.log || fail "the log differs: $(iconv -f utf-16 -t utf-8 KavloSSDInstallerLog.txt)"
}

# Runs the program silently (or as told) with the machine tree; the exit code lands in $code.
run() {
  local tree=$1; shift
  code=0
  KAVLO_SYSFS_ROOT="$trees/$tree" ./KavloSSDUpdate "$@" </dev/null >program.out 2>&1 || code=$?
}

expect_code() { [ "$code" = "$1" ] || fail "exit code $code, expected $1"; }

# --- The program in a terminal: a tmux server of this case's own.
start_terminal() {
  local tree=$1; shift
  {
    echo '#!/usr/bin/env bash'
    # The shell outlives a Ctrl+C that ends the program (a handler, which the program does not
    # inherit, rather than ignoring the signal, which it would).
    echo 'trap : INT'
    printf 'cd %q\n' "$dir"
    printf 'export PATH=%q KAVLO_SYSFS_ROOT=%q KAVLO_FIXTURE_RECORD_FILE=%q\n' \
      "$PATH" "$trees/$tree" "$KAVLO_FIXTURE_RECORD_FILE"
    for name in ASAN_OPTIONS UBSAN_OPTIONS KAVLO_FIXTURE_DELAY_MS; do
      [ -n "${!name:-}" ] && printf 'export %s=%q\n' "$name" "${!name}"
    done
    printf './KavloSSDUpdate'
    printf ' %q' "$@"
    printf '\necho $? >exit.partial; mv exit.partial exit.txt\nstty -a >stty.txt\nexec sleep 600\n'
  } >terminal.sh
  chmod +x terminal.sh
  tmux -L "$tmux_socket" -f /dev/null new-session -d -s e2e -x 100 -y 30 "$dir/terminal.sh"
}
screen() { tmux -L "$tmux_socket" capture-pane -p -t e2e; }
keys() { tmux -L "$tmux_socket" send-keys -t e2e "$@"; }
# Waits until every given text is on the screen at once.
wait_screen() {
  local deadline=$((SECONDS + 40)) text missing
  while :; do
    screen >screen.txt
    missing=
    for text in "$@"; do grep -qF -- "$text" screen.txt || missing=$text; done
    [ -z "$missing" ] && return 0
    [ $SECONDS -lt $deadline ] || fail "not on the screen: '$missing'; the screen: $(cat screen.txt)"
    sleep 0.2
  done
}
wait_exit() {
  local deadline=$((SECONDS + ${1:-40}))
  while [ ! -e exit.txt ]; do
    [ $SECONDS -lt $deadline ] || fail "the program did not end; the screen: $(screen)"
    sleep 0.2
  done
  code=$(cat exit.txt)
  # However it ended, the terminal is back in its line mode with echo.
  grep -Eq '(^| )icanon( |;|$)' stty.txt && grep -Eq '(^| )echo( |;|$)' stty.txt ||
    fail "the terminal was not restored: $(cat stty.txt)"
}
still_running() { [ ! -e exit.txt ] || fail "the program ended with $(cat exit.txt)"; }

running_screen=("Kavlo SSD Firmware Update" "Please wait while the firmware update is running ..."
  "( OK )" "( Close )" "Keys:  Esc = Cancel")
done_screen=("Update status: The installation completed successfully."
  "You need to reboot for this update to take effect."
  'Press "OK" to reboot now or "Close" to exit.' "[ OK ]" "[ Close ]"
  "Keys:  Enter or o = OK  c = Close  Esc = Cancel")

case $case_name in
silent-family-b)
  install_updater sorvid_qz_2.1.0.exe
  run nvme-family-b /s
  expect_code 194
  mapfile -t ran < <(updater_ran sorvid_qz_2.1.0.exe)
  expect_log "${checks_passed[@]}" "${ran[@]}" "Update executed successfully."
  printf '%s\n' sorvid_qz_2.1.0.exe -firmware_update | cmp - updater-arguments.txt ||
    fail "the updater got other arguments"
  [ "$(restart_requests)" = 0 ] || fail "a restart was requested"
  ;;
silent-family-a-listed-board | silent-family-a-other-board)
  if [ "$case_name" = silent-family-a-listed-board ]; then
    tree=sata-family-a updater=sorvid_qz_2.3.1_2m6.exe
  else
    tree=sata-family-a-other-board updater=sorvid_qz_2.3.2_2m3.exe
  fi
  # All three updaters are there: the program must start the right one.
  for name in sorvid_qz_2.3.1_2m6.exe sorvid_qz_2.3.2_2m3.exe sorvid_qz_2.1.0.exe; do install_updater "$name"; done
  run "$tree" -s
  expect_code 194
  mapfile -t ran < <(updater_ran "$updater")
  expect_log "${checks_passed[@]}" "${ran[@]}" "Update executed successfully."
  ;;
silent-unsupported-drive)
  install_updater sorvid_qz_2.1.0.exe
  run usb-disk s
  expect_code 104
  expect_log "${checks_passed[@]}" "Exception: This hard disk model is not supported."
  [ ! -e updater-arguments.txt ] || fail "an updater was started"
  ;;
silent-no-disk)
  run no-disk /s
  # The first failure report ends a silent run; the worker may log a line or two more before
  # the process is gone, so only the lines up to that report are certain.
  expect_code 103
  log_bytes "${checks_passed[@]}" "Exception: An error occurred while checking the hard drive model. An error occurred enumerating the WMI query results to get the drive model." >expected.log
  cmp -n "$(stat -c %s expected.log)" KavloSSDInstallerLog.txt expected.log || fail "the log differs"
  ;;
silent-battery-only)
  install_updater sorvid_qz_2.1.0.exe
  run nvme-family-b-on-battery /s
  expect_code 102
  expect_log "${checks_passed[@]:0:7}" "Exception: System is not on AC power."
  ;;
silent-updater-fails)
  install_updater sorvid_qz_2.1.0.exe
  KAVLO_FIXTURE_EXIT_CODE=6 run nvme-family-b /s /r
  expect_code 6
  mapfile -t ran < <(updater_ran sorvid_qz_2.1.0.exe)
  expect_log "${checks_passed[@]}" "${ran[@]}" "Kavlo Utility error - user canceled utility" \
    "Exception: Kavlo Utility error - user canceled utility"
  [ "$(restart_requests)" = 0 ] || fail "a restart was requested"
  ;;
silent-updater-missing)
  run nvme-family-b /s
  expect_code 2
  message="An error occurred running the installation wizard.The Kavlo SSD upgrade utility was not found at \"$dir/sorvid_qz_2.1.0.exe\". Ensure that this file is not missing, in use or corrupt."
  expect_log "${checks_passed[@]}" "A supported hard disk was found" \
    "Running the Kavlo SSD upgrade utility..." "$message" "Exception: $message"
  ;;
silent-restart)
  install_updater sorvid_qz_2.1.0.exe
  started=$SECONDS
  run nvme-family-b /s /r
  expect_code 0
  [ $((SECONDS - started)) -ge 17 ] || fail "the countdown and the pause took less than 18 s"
  mapfile -t ran < <(updater_ran sorvid_qz_2.1.0.exe)
  expect_log "${checks_passed[@]}" "${ran[@]}" "Update executed successfully." "${countdown[@]}"
  [ "$(cat restart-requests.txt)" = "systemctl reboot" ] || fail "expected one restart request"
  ;;
not-root)
  install_updater sorvid_qz_2.1.0.exe
  code=0
  KAVLO_SYSFS_ROOT="$trees/nvme-family-b" setpriv --reuid=nobody --regid=nogroup --clear-groups \
    ./KavloSSDUpdate /s </dev/null >program.out 2>&1 || code=$?
  expect_code 100
  expect_log "Logfile opened" "Checking for administrator credentials..." \
    "Exception: Admin credentials were not found."
  [ ! -e updater-arguments.txt ] || fail "an updater was started"
  ;;
no-terminal)
  # Without a terminal the window cannot be created: -1, which a shell sees as 255.
  install_updater sorvid_qz_2.1.0.exe
  run nvme-family-b
  expect_code 255
  [ ! -e updater-arguments.txt ] || fail "an updater was started"
  ;;
terminal-failed)
  start_terminal usb-disk
  wait_screen "Update status: This hard disk model is not supported." \
    'Press the "Close" button to exit.' "( OK )" "[ Close ]" "Keys:  c = Close  Esc = Cancel"
  # OK stays disabled after a failure.
  keys Enter; keys o
  sleep 1
  still_running
  keys c
  wait_exit
  expect_code 104
  ;;
terminal-close)
  install_updater sorvid_qz_2.1.0.exe
  # The updater runs for a while, so that keys reach the program while it waits for it.
  KAVLO_FIXTURE_DELAY_MS=3000 start_terminal nvme-family-b
  wait_screen "${running_screen[@]}" "Update status: Checking"
  # Neither button works before the done report, nor does Enter.
  keys Enter; keys o; keys c
  wait_screen "Update status: Running the Kavlo SSD upgrade utility..." "${running_screen[@]}"
  keys Enter; keys o; keys c
  sleep 1
  [ ! -e updater-arguments.txt ] || fail "the updater had already ended"
  still_running
  wait_screen "${done_screen[@]}"
  still_running
  [ "$(restart_requests)" = 0 ] || fail "a restart was requested before OK"
  keys c
  wait_exit
  expect_code 194
  [ "$(restart_requests)" = 0 ] || fail "a restart was requested"
  ;;
terminal-ok)
  install_updater sorvid_qz_2.1.0.exe
  start_terminal nvme-family-b
  wait_screen "${done_screen[@]}"
  keys Enter
  wait_screen "Update status: Restarting Windows..." "Restarting Windows in 14 seconds..." \
    "( OK )" "( Close )"
  ! grep -qF 'Press "OK"' screen.txt || fail "the hint is still shown"
  wait_screen "Restarting Windows in 09 seconds..."
  [ "$(restart_requests)" = 0 ] || fail "a restart was requested before the countdown ended"
  wait_exit 30
  expect_code 1
  [ "$(cat restart-requests.txt)" = "systemctl reboot" ] || fail "expected one restart request"
  ;;
terminal-escape)
  # Escape during the worker's own countdown ("/r"): the program ends with 2 before any
  # restart is requested.
  install_updater sorvid_qz_2.1.0.exe
  start_terminal nvme-family-b /r
  wait_screen "Update status: Restarting Windows..." "Restarting Windows in 14 seconds..." \
    "( OK )" "( Close )" "Keys:  Esc = Cancel"
  keys Escape
  wait_exit
  expect_code 2
  sleep 2
  [ "$(restart_requests)" = 0 ] || fail "a restart was requested"
  ;;
terminal-interrupted)
  # Ctrl+C ends the program as it ends any other, and the terminal gets its mode back.
  install_updater sorvid_qz_2.1.0.exe
  start_terminal nvme-family-b
  wait_screen "${running_screen[@]}" "Update status: Checking"
  keys C-c
  wait_exit
  expect_code 130
  ;;
*)
  fail "unknown case"
  ;;
esac
echo "PASS: $case_name"
