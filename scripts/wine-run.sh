#!/usr/bin/env bash
# Runs a program module under Wine for ctest. Wine's helper processes
# (services, the desktop window) outlive the program and inherit its standard
# streams; if those were ctest's pipes, ctest would wait for them forever. So
# the output goes to a file first and is copied out once the program ended.
#
# A test program always prints something; a failure with no output at all
# means Wine did not start the program (see qx_wine in wine-env.sh for the
# cause; without address-space randomisation it should not happen), so that
# case alone is tried again.
source "$(dirname "$0")/wine-env.sh"
out=$(mktemp)
trap 'rm -f "$out"' EXIT
for attempt in 1 2 3; do
  "${qx_wine[@]}" "$@" >"$out" 2>&1 </dev/null
  status=$?
  if [ "$status" -eq 0 ] || [ -s "$out" ]; then
    break
  fi
  echo "wine-run: $1 ended with $status before printing anything (start $attempt); starting it again" >&2
done
cat "$out"
exit $status
