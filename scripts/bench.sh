#!/usr/bin/env bash
# Runs one benchmark of the program build for real under Wine.
# Usage: scripts/bench.sh <benchmark target> [Google Benchmark arguments]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
name=${1:?benchmark name}; shift
"$root/scripts/build.sh" wine
module=$(find "$root/build/wine" -name "$name.exe.so" | head -n 1)
[ -n "$module" ] || { echo "No benchmark named $name" >&2; exit 1; }
source "$root/scripts/wine-env.sh"
trap qx_stop_wine EXIT
qx_start_xvfb
qx_start_wine
"${qx_wine[@]}" "$module" "$@"
