#!/usr/bin/env bash
# Runs every test of both configurations: the program build under Wine (with
# a private Xvfb) and the native build with the sanitizers. Extra arguments go
# to ctest (for example -R gp or -L fuzz).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" all

source "$root/scripts/wine-env.sh"
trap qx_stop_wine EXIT
qx_start_xvfb
qx_start_wine

# One ctest run over both build trees, so one summary covers everything.
cat > "$root/build/CTestTestfile.cmake" <<'TXT'
subdirs("native")
subdirs("wine")
TXT
cd "$root/build"
ctest -j "$(nproc)" --output-on-failure "$@"
