#!/usr/bin/env bash
# The main job: builds the host program if needed and runs it in this terminal, from the current
# directory (where it looks for the vendor updater and writes its log), with the options given:
#   scripts/run.sh          the dialog in the terminal
#   scripts/run.sh /s       silent; the exit code is the result
#   scripts/run.sh /s /r    silent, and restart the machine after a successful update
set -euo pipefail
program=$("$(dirname "$0")/build-host.sh")
exec "$program" "$@"
