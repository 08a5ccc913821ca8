#!/usr/bin/env bash
# Configures and builds one or both configurations:
#   build/wine    the program build (Winelib, wineg++)
#   build/native  the portable units and their tests with ASan and UBSan
# Usage: scripts/build.sh [wine|native|all]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
which=${1:-all}

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

# The style grammar alone takes over 1 GB to compile: keep the jobs in check.
mem_gb=$(awk '/MemTotal/ { printf "%d", $2 / 1048576 }' /proc/meminfo)
jobs=$(nproc)
max_jobs=$(( mem_gb / 2 > 0 ? mem_gb / 2 : 1 ))
[ "$jobs" -gt "$max_jobs" ] && jobs=$max_jobs
jobs=${QX_JOBS:-$jobs}

configure() {
  local dir=$1; shift
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja "${launcher[@]}" "$@"
  fi
}

if [ "$which" = wine ] || [ "$which" = all ]; then
  configure "$root/build/wine" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/winelib-toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$root/build/wine" -j "$jobs"
fi

if [ "$which" = native ] || [ "$which" = all ]; then
  configure "$root/build/native" \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DCMAKE_C_FLAGS_DEBUG="-g -O1"
  cmake --build "$root/build/native" -j "$jobs"
fi
