#!/usr/bin/env bash
# Runs a program module under Wine for ctest. Wine's helper processes
# (services, the desktop window) outlive the program and inherit its standard
# streams; if those were ctest's pipes, ctest would wait for them forever. So
# the output goes to a file first and is copied out once the program ended.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
/usr/lib/wine/wine64 "$@" >"$out" 2>&1 </dev/null
status=$?
cat "$out"
exit $status
