#!/usr/bin/env bash
# Installs what is missing, builds the program and runs it under Wine against
# a simulated keyboard (no real one can be reached under Wine): the
# description file scripts/simulated-keyboard.txt, unless
# HVX_SIMULATED_KEYBOARD names another. Without a DISPLAY the program runs on
# a private X server; its first page is saved as build/wine/first-page.png
# and the program is ended.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" wine

build="$root/build/wine"
program="$build/updater/app/HVXMK2Updater.exe.so"
probe="$build/updater/app/acceptance/acceptance_probe.exe.so"
caption="HARMOVA VI2 FIRMWARE UPDATER"
if [ ! -f "$program" ]; then
  echo "Everything built; the updater program itself is not there yet."
  exit 0
fi
export HVX_SIMULATED_KEYBOARD=${HVX_SIMULATED_KEYBOARD:-$root/scripts/simulated-keyboard.txt}
echo "Simulated keyboard: $HVX_SIMULATED_KEYBOARD"

source "$root/scripts/wine-env.sh"
trap qx_stop_wine EXIT

if [ -n "${DISPLAY:-}" ]; then
  qx_start_wine
  "${qx_wine[@]}" "$program" "$@"
  exit
fi

qx_start_xvfb
qx_start_wine
log="$build/first-page.log"
shot="$build/first-page.png"
"${qx_wine[@]}" "$program" "$@" </dev/null >"$log" 2>&1 &
pid=$!
if ! window=$(timeout 60 xdotool search --sync --onlyvisible --name "^$caption\$" | head -n 1) || [ -z "$window" ]; then
  echo "The updater showed no window; its output is in $log" >&2
  kill "$pid" 2>/dev/null || true
  exit 1
fi
# The client area inside the X window (Wine may draw the frame into it).
probe() { "${qx_wine[@]}" "$probe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
read -r x y width height < <(probe client "$caption")
capture() {
  import -window "$window" png:- 2>/dev/null | convert - -crop "${width}x${height}+${x}+${y}" +repage "png:$1"
}
# The page is complete once it is drawn (more than one colour) and two
# captures in a row agree.
previous="$build/first-page.previous.png"
rm -f "$previous"
for _ in $(seq 150); do
  capture "$shot"
  if [ "$(identify -format %k "$shot")" -gt 1 ] && [ -f "$previous" ] &&
     [ "$(compare -metric AE "$previous" "$shot" null: 2>&1 || true)" = "0" ]; then
    break
  fi
  cp "$shot" "$previous"
  sleep 0.2
done
rm -f "$previous"
probe close "$caption" >/dev/null || kill "$pid" 2>/dev/null || true
wait "$pid" || true
echo "No DISPLAY: the updater ran on a private X server; its first page is in $shot"
