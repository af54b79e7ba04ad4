#!/usr/bin/env bash
# Only platform/ may include an OS header: Windows SDK headers or POSIX system headers.
set -euo pipefail
cd "$(dirname "$0")/.."
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](windows|winbase|winuser|windef|winnt|winerror|wbemidl|wbemcli|objbase|combaseapi|comdef|oleauto|shellapi|shlobj|commctrl|tlhelp32|processthreadsapi|synchapi|fileapi|handleapi|securitybaseapi|wtypes|unknwn|ole2|unistd|pthread|fcntl|dirent|dlfcn|poll|signal|spawn|termios|sys/[a-z_]+|linux/[a-z_]+)\.h[>"]'
violations=$(git ls-files --cached --others --exclude-standard -- '*.h' '*.hpp' '*.cpp' '*.cc' '*.c' \
  | grep -v '^platform/' | xargs -r grep -nEi "$pattern" || true)
if [ -n "$violations" ]; then
  echo "OS headers outside platform/:" >&2
  echo "$violations" >&2
  exit 1
fi
echo "layering: only platform/ includes OS headers"
