#!/usr/bin/env bash
# Acceptance of the updater: the real program in a real window under Wine and
# Xvfb against the simulated keyboard. Each scenario starts the program with
# its own keyboard description (keyboards/*.txt), acts with xdotool (clicks in
# client coordinates) and the probe program (message boxes, minimising,
# counting windows), and judges by golden screenshots of the 627x335 client
# (golden/*.png), the program's trace and the keyboard's request trace.
#
# Usage: acceptance.sh <HVXMK2Updater.exe.so> <acceptance_probe.exe.so> <work dir>
#   QX_REWRITE_GOLDENS=1      write the goldens anew from this run (look at each!)
#   QX_ACCEPTANCE_ONLY=regex  run only the scenarios whose name matches
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1
probe=$2
work=$3
goldens=$here/golden
keyboards=$here/keyboards
caption="HARMOVA VI2 FIRMWARE UPDATER"
rewrite=${QX_REWRITE_GOLDENS:-0}
only=${QX_ACCEPTANCE_ONLY:-}

source "$here/../../../scripts/wine-env.sh"
rm -rf "$work"
mkdir -p "$work"
if [ -z "${DISPLAY:-}" ]; then
  trap qx_stop_wine EXIT
  qx_start_xvfb
fi
qx_start_wine

# Where the buttons are (client coordinates; see the golden screenshots).
action_button="549 296"
quit_beside_action="442 296"
quit_alone="549 296"
about_logo="594 28"
# The spinning wheel's place on the stand-by page: masked when comparing.
wheel_area="40,195 80,250"

failures=()
scenario=""
pid=""
window=""
log=""
keyboard_file=""

fail() {
  echo "FAIL [$scenario]: $*"
  failures+=("$scenario: $*")
}

note() { echo "  [$scenario] $*"; }

# start_program <keyboard> [log name]: starts the updater in the background.
start_program() {
  keyboard_file=$keyboards/$1.txt
  log=$work/${2:-$scenario}.log
  HVX_SIMULATED_KEYBOARD=$keyboard_file WINEDEBUG=-all,warn+debugstr \
    wine64 "$program" </dev/null >"$log" 2>&1 &
  pid=$!
  window=""
}

# The program's visible main window (waits up to 40 s).
wait_window() {
  window=$(timeout 40 xdotool search --sync --onlyvisible --name "^$caption\$" 2>/dev/null | head -n 1)
  if [ -z "$window" ]; then
    fail "no window appeared"
    return 1
  fi
}

pointer_away() { xdotool mousemove 1020 760; }

click() {
  xdotool mousemove --window "$window" "$1" "$2" click 1
  pointer_away
}

capture() { import -window "$window" "png:$1" 2>/dev/null; }

# mask <in> <out> [x0,y0 x1,y1]: blacks out a rectangle (the wheel).
mask() {
  if [ -n "${3:-}" ]; then
    convert "$1" -fill black -draw "rectangle $3 $4" "$2"
  else
    cp "$1" "$2"
  fi
}

differing_pixels() { compare -metric AE -fuzz 2% "$1" "$2" null: 2>&1; }

# expect_screen <golden> [x0,y0 x1,y1]: polls the client until it matches the
# golden (outside the masked rectangle) or 20 s pass. In rewrite mode it
# waits until two captures in a row agree and stores that as the golden.
expect_screen() {
  local name=$1 area0=${2:-} area1=${3:-}
  local shot=$work/$scenario.$name.png previous=$work/$scenario.$name.previous.png
  local deadline=$((SECONDS + 20)) pixels=""
  pointer_away
  rm -f "$previous"
  while :; do
    capture "$shot" || true
    if [ "$rewrite" = 1 ]; then
      if [ -f "$previous" ]; then
        mask "$previous" "$work/a.png" "$area0" "$area1"
        mask "$shot" "$work/b.png" "$area0" "$area1"
        if [ "$(differing_pixels "$work/a.png" "$work/b.png")" = 0 ]; then
          cp "$shot" "$goldens/$name.png"
          note "golden $name.png written"
          return 0
        fi
      fi
      cp "$shot" "$previous"
    elif [ -f "$goldens/$name.png" ]; then
      mask "$goldens/$name.png" "$work/a.png" "$area0" "$area1"
      mask "$shot" "$work/b.png" "$area0" "$area1"
      pixels=$(differing_pixels "$work/a.png" "$work/b.png")
      [ "$pixels" = 0 ] && return 0
    else
      fail "golden $name.png is missing"
      return 1
    fi
    if [ $SECONDS -ge $deadline ]; then
      fail "screen differs from $name.png (${pixels:-?} pixels); see $shot"
      return 1
    fi
    sleep 0.1
  done
}

# The two captures of the wheel's area differ while it spins.
expect_wheel_turning() {
  local deadline=$((SECONDS + 10))
  capture "$work/wheel0.png"
  convert "$work/wheel0.png" -crop 40x55+40+195 "$work/wheel0.crop.png"
  while [ $SECONDS -lt $deadline ]; do
    capture "$work/wheel1.png"
    convert "$work/wheel1.png" -crop 40x55+40+195 "$work/wheel1.crop.png"
    [ "$(differing_pixels "$work/wheel0.crop.png" "$work/wheel1.crop.png")" != 0 ] && return 0
    sleep 0.05
  done
  fail "the wheel does not turn"
}

# expect_trace <text> [seconds]: waits until the log holds the text.
expect_trace() {
  local deadline=$((SECONDS + ${2:-30}))
  until grep -qF -- "$1" "$log"; do
    if [ $SECONDS -ge $deadline ]; then
      fail "no trace \"$1\""
      return 1
    fi
    sleep 0.1
  done
}

count_trace() { grep -cF -- "$1" "$log"; }

expect_no_trace() {
  if grep -qF -- "$1" "$log"; then fail "unexpected trace \"$1\""; fi
}

# expect_exit <code> [seconds]: waits for the program's end and checks its code.
expect_exit() {
  local deadline=$((SECONDS + ${2:-30}))
  while kill -0 "$pid" 2>/dev/null; do
    if [ $SECONDS -ge $deadline ]; then
      fail "the program did not end"
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
      pid=""
      return 1
    fi
    sleep 0.1
  done
  wait "$pid"
  local code=$?
  pid=""
  [ "$code" = "$1" ] || fail "exit code $code, expected $1"
}

# Ends a program the scenario left running.
end_program() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    pid=""
  fi
}

probe() { wine64 "$probe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }

# The keyboard's request trace: the numbers of the DNLOAD blocks it answered,
# in order, one a line.
downloaded_blocks() { grep -oE 'SimulatedKeyboard: DNLOAD block [0-9]+' "$log" | grep -oE '[0-9]+$'; }

expect_whole_image() {
  local count=$1
  if [ "$(downloaded_blocks | tr '\n' ' ')" != "$(seq -s ' ' 0 $((count - 1))) " ]; then
    fail "the keyboard did not receive the image block for block ($count blocks)"
  fi
}

run() {
  scenario=$1
  if [ -n "$only" ] && ! [[ $scenario =~ $only ]]; then return; fi
  echo "scenario $scenario"
  "scenario_$1"
  end_program
}

# ---------------------------------------------------------------- scenarios

scenario_update_49() { whole_update update-49 49 40; }
scenario_update_61() { whole_update update-61 61 44; }
scenario_update_88() { whole_update update-88 88 48; }

whole_update() {
  local keyboard=$1 model=$2 blocks=$3
  start_program "$keyboard"
  wait_window || return
  expect_screen "update-$model"
  click $action_button
  expect_trace "page: updating"
  expect_screen standby "$wheel_area"
  expect_wheel_turning
  expect_trace "page: success" 60
  expect_screen "success-$model"
  click $quit_alone
  expect_exit 0
  expect_whole_image "$blocks"
}

run update_49
run update_61
run update_88

echo
if [ ${#failures[@]} -gt 0 ]; then
  echo "${#failures[@]} failure(s):"
  printf '  %s\n' "${failures[@]}"
  exit 1
fi
echo "every scenario passed"
