#!/usr/bin/env bash
# Fails when a portable unit (any C/C++ file outside a win32/ folder) includes a
# Windows header. Win32 units live in win32/ folders; everything else must
# build natively as well.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
headers='windows|winbase|winuser|wingdi|winnt|windef|winioctl|winerror|objbase|ole2|oleidl|shlobj|shellapi|shlwapi|commdlg|setupapi|hidsdi|hidpi|dbt|dbghelp|powrprof|bcrypt|shobjidl|winver'
hits=$(git ls-files --cached --others --exclude-standard -- '*.c' '*.cc' '*.cpp' '*.cxx' '*.h' '*.hh' '*.hpp' 2>/dev/null \
  | grep -v -E '(^|/)win32/' \
  | xargs -r -d '\n' grep -n -i -E "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($headers)\.h[>\"]" 2>/dev/null || true)
if [ -n "$hits" ]; then
  echo "Windows headers included by portable units (move the code to a win32/ folder):" >&2
  echo "$hits" >&2
  exit 1
fi
