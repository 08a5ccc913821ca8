# Sourced by the scripts that run Wine: a private X server on a free display,
# a Wine prefix inside the build folder and a Wine server kept alive until the
# calling script ends (also when it fails).
qx_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$qx_root/build/wine/prefix"
export WINEDEBUG=${WINEDEBUG:--all}
export PATH="/usr/lib/wine:$PATH"
qx_xvfb_pid=""

# How Wine programs are started: `"${qx_wine[@]}" program.exe.so ...`.
# Early in every start Wine maps the process's shared user data at a fixed
# address (0x7ffe0000). Debian's wine64 loader is linked at 0x7d000000 and
# comes without the preloader that would keep that range free, and the
# kernel places the loader's heap at random up to 1 GB above it: about one
# start in a thousand the heap lies on that address, and Wine ends the start
# ("err:virtual:virtual_alloc_first_teb wine: failed to map the shared user
# data: c0000018", exit code 1) before the program runs a line. Without
# address-space randomisation the heap follows the loader, far below it.
# (Children of a Wine program inherit the setting.)
qx_wine=(wine64)
if setarch "$(uname -m)" -R true >/dev/null 2>&1; then
  qx_wine=(setarch "$(uname -m)" -R wine64)
fi

qx_stop_wine() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$qx_xvfb_pid" ]; then
    kill "$qx_xvfb_pid" >/dev/null 2>&1 || true
    wait "$qx_xvfb_pid" 2>/dev/null || true
  fi
}

qx_start_xvfb() {
  local display
  for display in $(seq 90 190); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    qx_xvfb_pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$display" ] && break
      sleep 0.1
    done
    if kill -0 "$qx_xvfb_pid" 2>/dev/null; then
      export DISPLAY=":$display"
      return 0
    fi
  done
  echo "No free display for Xvfb" >&2
  return 1
}

qx_start_wine() {
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX"
    "${qx_wine[@]}" wineboot --init >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  wineserver -p 2>/dev/null || true  # already running is fine
  # Without a window manager Wine waits two seconds for every shown window to
  # be mapped by one; an unmanaged X driver skips that wait.
  if ! grep -qs '^"Managed"="N"' "$WINEPREFIX/user.reg"; then
    "${qx_wine[@]}" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
  fi
  # Start Wine's helper processes now, away from any pipe of the caller.
  "${qx_wine[@]}" cmd /c exit >/dev/null 2>&1 </dev/null || true
}
