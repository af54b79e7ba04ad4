#!/usr/bin/env bash
# Builds the host program (preset host) and prints its path. On a fresh Debian 12 machine, run as
# root, it first installs the compiler and build tools it needs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(cmake ninja-build g++ libgtest-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "== installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >&2
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cd "$root"
cmake --preset host >/dev/null
cmake --build --preset host --target KavloSSDUpdate >&2
echo "$root/build/host/app/KavloSSDUpdate"
