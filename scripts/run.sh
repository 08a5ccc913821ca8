#!/usr/bin/env bash
# Installs what is missing, builds the program and runs it under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" wine

program="$root/build/wine/updater/app/HVXMK2Updater.exe.so"
if [ ! -f "$program" ]; then
  echo "Everything built; the updater program itself is not there yet."
  exit 0
fi

source "$root/scripts/wine-env.sh"
trap qx_stop_wine EXIT
if [ -z "${DISPLAY:-}" ]; then
  echo "No DISPLAY is set: the updater needs an X server to show its window." >&2
  exit 1
fi
qx_start_wine
wine64 "$program" "$@"
