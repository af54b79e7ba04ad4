#!/usr/bin/env bash
# A demonstration of the full success path that leaves this machine alone:
#   - the drive and board are read from a fake machine tree (KAVLO_SYSFS_ROOT) with a supported
#     family B drive on a listed board, on AC power;
#   - the vendor updater is a stand-in that works for a few seconds and succeeds;
#   - `systemctl` and `shutdown` are stand-ins, first on PATH, that only note that a restart was
#     requested; the note is shown when the program has ended (printed at once, it would land in
#     the middle of the dialog that the terminal is still redrawing).
# Options are passed on: try it without any, then with /r, or /s and /s /r.
# Run it as root: the program refuses to run without administrator rights (exit code 100).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=$("$root/scripts/build-host.sh")

demo=$(mktemp -d "${TMPDIR:-/tmp}/kavlo-demo.XXXXXX")
trap 'rm -rf "$demo"' EXIT
mkdir "$demo/bin"
for command in systemctl shutdown; do
  cat >"$demo/bin/$command" <<STANDIN
#!/bin/sh
echo "$command \$*" >>"$demo/restart-requests.txt"
STANDIN
done
cat >"$demo/sorvid_qz_2.1.0.exe" <<'UPDATER'
#!/bin/sh
# The demonstration updater: a few seconds of work, then success.
sleep 4
exit 0
UPDATER
chmod +x "$demo/bin/"* "$demo/sorvid_qz_2.1.0.exe"

cd "$demo"
code=0
PATH="$demo/bin:$PATH" KAVLO_SYSFS_ROOT="$root/testdata/sysfs/nvme-family-b" "$program" "$@" || code=$?

echo
echo "Exit code: $code (a shell sees the low 8 bits: 3010 is 194)"
if [ -e restart-requests.txt ]; then
  echo "A restart was requested (the stand-in only noted it): $(cat restart-requests.txt)"
else
  echo "No restart was requested."
fi
echo "The log, KavloSSDInstallerLog.txt (UTF-16):"
iconv -f utf-16 -t utf-8 KavloSSDInstallerLog.txt | tr -d '\r' | sed 's/^/    /'
