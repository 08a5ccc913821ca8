#!/usr/bin/env bash
# Acceptance of the updater: the real program in a real window under Wine and
# Xvfb against the simulated keyboard. Each scenario starts the program with
# its own keyboard description (keyboards/*.txt), acts with xdotool (clicks in
# client coordinates) and the probe program (message boxes, minimising,
# counting windows), and judges by golden screenshots of the 627x335 client
# (golden/*.png), the program's trace and the keyboard's request trace.
#
# A scenario ends at its first failure that leaves nothing to wait for (no
# window, a page that cannot come, a program that does not end), and each has
# a time limit, so that a broken program fails the run in minutes.
#
# Usage: acceptance.sh <HVXMK2Updater.exe.so> <acceptance_probe.exe.so> <work dir>
#                      <pictures dir> <style sheet>
#   (the pictures and the style sheet the program embeds, for a skin folder)
#   QX_REWRITE_GOLDENS=1      write the goldens anew from this run (look at each!)
#   QX_ACCEPTANCE_ONLY=regex  run only the scenarios whose name matches
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$1
probe=$2
work=$3
pictures=$4
stylesheet=$5
goldens=$here/golden
keyboards=$here/keyboards
caption="HARMOVA VI2 FIRMWARE UPDATER"
rewrite=${QX_REWRITE_GOLDENS:-0}
only=${QX_ACCEPTANCE_ONLY:-}

source "$here/../../../scripts/wine-env.sh"
rm -rf "$work"
[ "$rewrite" = 1 ] && mkdir -p "$goldens"
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

# How long a scenario may take; how long the wizard may stay silent off the
# stand-by page, or leave the update worker's outcome unread, before the page
# a scenario waits for is taken to be out of reach. The wizard itself is
# silent for up to about 10 s (a keyboard that does not come back in update
# mode) and takes up to about 5 s to judge the outcome (its second look):
# the limits leave room for a busy machine.
scenario_limit=150
idle_limit=25
outcome_limit=25
# What the program's log holds: its trace, and Wine's errors (none in a
# good run), which tell why a program ended that said nothing itself.
program_debug=-all,warn+debugstr,err+all
# How much of a failed scenario's logs the output shows.
log_lines=40

failures=()
scenario=""
scenario_deadline=0
stopped=""
pid=""
window=""
client_x=0
client_y=0
client_width=0
client_height=0
log=""
scenario_logs=()
keyboard_file=""
reading=$work/reading.log
reading_alive=""
reading_time=0

fail() {
  [ -n "$stopped" ] && return 1
  echo "FAIL [$scenario]: $*"
  failures+=("$scenario: $*")
}

# A failure after which the scenario has nothing left to check: every later
# step of it returns at once.
fail_and_stop() {
  fail "$@"
  stopped=1
}

is_stopped() { [ -n "$stopped" ]; }

# deadline_in <seconds>: that many seconds from now, or the scenario's end
# when it comes first.
deadline_in() {
  local deadline=$((SECONDS + $1))
  echo $((deadline < scenario_deadline ? deadline : scenario_deadline))
}

# Said of a wait that ran out: whose time it was.
time_spent() {
  [ $SECONDS -ge $scenario_deadline ] && echo " (the scenario's ${scenario_limit} s are spent)"
}

note() { echo "  [$scenario] $*"; }

# start_program <keyboard> [log name] [program]: starts the updater (or a
# copy of it) in the background.
start_program() {
  keyboard_file=$keyboards/$1.txt
  log=$work/${2:-$scenario}.log
  scenario_logs+=("$log")
  HVX_SIMULATED_KEYBOARD=$keyboard_file WINEDEBUG=$program_debug \
    "${qx_wine[@]}" "${3:-$program}" </dev/null >"$log" 2>&1 &
  pid=$!
  window=""
}

# The program's visible main window (waits up to 40 s, while the program
# runs) and where its client area lies in the X window (Wine may draw the
# frame into it).
wait_window() {
  is_stopped && return 1
  local deadline
  deadline=$(deadline_in 40)
  window=""
  while [ -z "$window" ]; do
    # Whether it ran and the time are taken before the search: a window
    # found is found, however late the search.
    local alive="" now=$SECONDS
    kill -0 "$pid" 2>/dev/null && alive=1
    window=$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    if [ -z "$alive" ]; then
      wait "$pid"
      fail_and_stop "the program ended without showing its window (exit code $?)"
      pid=""
      return 1
    fi
    if [ $now -ge $deadline ]; then
      fail_and_stop "no window appeared$(time_spent)"
      return 1
    fi
    sleep 0.2
  done
  deadline=$(deadline_in 10)
  while :; do
    read -r client_x client_y client_width client_height < <(probe client "$caption")
    [ "${client_width:-0}x${client_height:-0}" = 627x335 ] || [ $SECONDS -ge $deadline ] && break
    sleep 0.1
  done
  if [ "${client_width:-0}x${client_height:-0}" != 627x335 ]; then
    fail_and_stop "the client area is ${client_width:-?}x${client_height:-?}, not 627x335"
    return 1
  fi
}

# Moves the pointer onto an empty spot of the window: a pointer that leaves
# the window straight from a button may leave it looking hovered.
pointer_away() {
  # (The window may be gone: the click ended the program.)
  [ -n "$window" ] && xdotool mousemove --window "$window" $((200 + client_x)) $((300 + client_y)) 2>/dev/null || true
}

# click <x> <y>: a click at client coordinates.
click() {
  is_stopped && return 1
  xdotool mousemove --window "$window" $(($1 + client_x)) $(($2 + client_y)) click 1
  pointer_away
}

# The client area alone.
capture() {
  import -window "$window" png:- 2>/dev/null |
    convert - -crop "${client_width}x${client_height}+${client_x}+${client_y}" +repage "png:$1"
}

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
  is_stopped && return 1
  local name=$1 area0=${2:-} area1=${3:-}
  local shot=$work/$scenario.$name.png previous=$work/$scenario.$name.previous.png
  local deadline pixels=""
  deadline=$(deadline_in 20)
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
      fail "screen differs from $name.png (${pixels:-?} pixels); see $shot$(time_spent)"
      return 1
    fi
    sleep 0.1
  done
}

# The two captures of the wheel's area differ while it spins; a wheel that
# stands still is a wizard whose tick has stopped.
expect_wheel_turning() {
  is_stopped && return 1
  local deadline
  deadline=$(deadline_in 10)
  capture "$work/wheel0.png"
  convert "$work/wheel0.png" -crop 40x55+40+195 "$work/wheel0.crop.png"
  while [ $SECONDS -lt $deadline ]; do
    capture "$work/wheel1.png"
    convert "$work/wheel1.png" -crop 40x55+40+195 "$work/wheel1.crop.png"
    [ "$(differing_pixels "$work/wheel0.crop.png" "$work/wheel1.crop.png")" != 0 ] && return 0
    sleep 0.05
  done
  fail_and_stop "the wheel does not turn$(time_spent)"
}

# take_reading: one reading of what a wait decides from, into $reading (the
# log's complete lines), reading_alive (the program still ran) and
# reading_time. Each poll of a wait takes one reading and draws every
# conclusion from it alone: a line written between two looks at the log
# could otherwise be missed by the first look and taken as the end of all
# hope by the second. Whether the program ran and the time are taken first,
# so that the log of a program that had ended is its whole log, and a text
# found is found, however late the reading.
take_reading() {
  reading_alive=""
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null && reading_alive=1
  reading_time=$SECONDS
  local text
  text=$(cat -- "$log" 2>/dev/null; printf x)
  text=${text%x}
  # A line still being written is left for the next reading.
  if [ -n "$reading_alive" ]; then
    case $text in
      *$'\n') ;;
      *$'\n'*) text=${text%$'\n'*}$'\n' ;;
      *) text="" ;;
    esac
  fi
  printf '%s' "$text" >"$reading"
}

reading_count() { grep -cF -- "$1" "$reading"; }

# The wizard's trace in the reading: its last page and state.
wizard_trace() { grep -oE "UpdateWizardMainWidget: .*" "$reading" | sed -E 's/(\\n)?"?$//'; }
last_page() { wizard_trace | grep -oE 'page: .*' | tail -n 1 | sed 's/^page: //'; }
last_state() { wizard_trace | grep -oE 'state [0-9-]+ -> [0-9-]+' | tail -n 1 | sed -E 's/.*-> //'; }

# watch_wizard: starts the watch that page_out_of_reach keeps (wait_lines,
# quiet_since and outcome_since), once for each wait.
watch_wizard() { wait_lines="" quiet_since=$SECONDS outcome_since=""; }

# page_out_of_reach: while a scenario waits for a page that the reading does
# not hold, sets `reason` to why that page cannot come any more by the same
# reading, or empties it while it still may. The wizard moves only on a
# button or, on the stand-by page, on the worker's outcome; the pages of the
# final states are never left.
page_out_of_reach() {
  reason=""
  local lines page state
  lines=$(grep -c "UpdateWizardMainWidget: " "$reading")
  if [ "$lines" != "$wait_lines" ]; then
    wait_lines=$lines
    quiet_since=$reading_time
  fi
  page=$(last_page)
  case $page in
    "no update" | success | error*)
      reason="the wizard rests on the page \"$page\" of a final state"
      return ;;
  esac
  state=$(last_state)
  if [ "$state" = 3 ]; then
    if [ -z "$outcome_since" ] && grep -qF "update worker done: outcome" "$reading"; then
      outcome_since=$reading_time
    fi
    if [ -n "$outcome_since" ] && [ $((reading_time - outcome_since)) -ge $outcome_limit ]; then
      reason="the update worker ended ${outcome_limit} s ago, and the wizard still shows \"$page\""
    fi
  elif [ $((reading_time - quiet_since)) -ge $idle_limit ]; then
    reason="the wizard has waited for a button on the page \"$page\" for ${idle_limit} s"
  fi
}

# why_not_yet <text> <deadline>: after a reading without the text, sets
# `reason` to why the text cannot come any more (empty while it may): the
# program has ended, a page waited for is out of reach, or the time is up.
why_not_yet() {
  reason=""
  if [ -z "$reading_alive" ]; then
    reason=": the program has ended"
  elif [[ $1 == "page: "* ]] && page_out_of_reach && [ -n "$reason" ]; then
    reason=": $reason"
  elif [ "$reading_time" -ge "$2" ]; then
    reason=$(time_spent)
    [ -n "$reason" ] || reason=" within the wait's time"
  fi
}

# expect_trace <text> [seconds]: waits until the log holds the text. A wait
# for a page ("page: ...") ends as soon as the page is out of reach.
expect_trace() {
  is_stopped && return 1
  local text=$1 deadline
  deadline=$(deadline_in "${2:-30}")
  watch_wizard
  while :; do
    take_reading
    [ "$(reading_count "$text")" -gt 0 ] && return 0
    why_not_yet "$text" "$deadline"
    if [ -n "$reason" ]; then
      fail_and_stop "no trace \"$text\"$reason"
      return 1
    fi
    sleep 0.1
  done
}

# expect_trace_times <text> <count> [seconds]: waits until the log holds the
# text that many times.
expect_trace_times() {
  is_stopped && return 1
  local deadline count
  deadline=$(deadline_in "${3:-30}")
  while :; do
    take_reading
    count=$(reading_count "$1")
    [ "$count" -ge "$2" ] && return 0
    why_not_yet "$1" "$deadline"
    if [ -n "$reason" ]; then
      fail_and_stop "the trace holds \"$1\" $count times, not $2$reason"
      return 1
    fi
    sleep 0.1
  done
}

count_trace() { grep -cF -- "$1" "$log"; }

# expect_window_state <state> <complaint>: polls the probe's "state" of the
# window until it reads so, or 10 s pass (the window manager's part of a
# restore may come after the call that asked for it).
expect_window_state() {
  is_stopped && return 1
  local deadline state now
  deadline=$(deadline_in 10)
  while :; do
    now=$SECONDS
    state=$(probe state "$caption")
    [ "$state" = "$1" ] && return 0
    if [ $now -ge $deadline ]; then
      fail "$2: $state"
      return 1
    fi
    sleep 0.1
  done
}

expect_no_trace() {
  is_stopped && return 1
  if grep -qF -- "$1" "$log"; then fail "unexpected trace \"$1\""; fi
}

# expect_exit <code> [seconds]: waits for the program's end and checks its code.
expect_exit() {
  is_stopped && return 1
  local deadline now
  deadline=$(deadline_in "${2:-30}")
  while :; do
    now=$SECONDS
    kill -0 "$pid" 2>/dev/null || break
    if [ $now -ge $deadline ]; then
      fail_and_stop "the program did not end$(time_spent)"
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

probe() {
  is_stopped && return 1
  "${qx_wine[@]}" "$probe" "$@" </dev/null 2>/dev/null | tr -d '\r'
}

# The keyboard's request trace: the numbers of the DNLOAD blocks with data
# that it accepted, in order, one a line.
downloaded_blocks() {
  grep -oE 'SimulatedKeyboard: keyboard 1: DNLOAD block [0-9]+ length [1-9][0-9]*: ok' "$log" |
    sed -E 's/.*block ([0-9]+) .*/\1/'
}

expect_whole_image() {
  is_stopped && return 1
  local count=$1
  if [ "$(downloaded_blocks | tr '\n' ' ')" != "$(seq -s ' ' 0 $((count - 1))) " ]; then
    fail "the keyboard did not receive the image block for block ($count blocks)"
  fi
  expect_trace "SimulatedKeyboard: keyboard 1: DNLOAD block $count length 0: ok" 1
  expect_trace "SimulatedKeyboard: keyboard 1: closing request: ok" 1
}

# The image never ended (no closing DNLOAD without data was accepted), so the
# keyboard keeps its revision.
expect_image_unfinished() {
  is_stopped && return 1
  if grep -qE 'SimulatedKeyboard: keyboard 1: DNLOAD block [0-9]+ length 0: ok' "$log"; then
    fail "the keyboard received a whole image"
  fi
}

# click_until <x> <y> <trace> <seconds>: clicks once a second until the trace
# shows the text (a keyboard that arrives late).
click_until() {
  is_stopped && return 1
  local deadline
  deadline=$(deadline_in "$4")
  watch_wizard
  while :; do
    take_reading
    [ "$(reading_count "$3")" -gt 0 ] && return 0
    why_not_yet "$3" "$deadline"
    if [ -n "$reason" ]; then
      fail_and_stop "no trace \"$3\" after clicking$reason"
      return 1
    fi
    click "$1" "$2"
    sleep 1
  done
}

# The end of each log of a failed scenario (the program's trace and the
# keyboard's requests), so that the test output alone tells what happened:
# the work folder is emptied by the next run.
show_logs() {
  local each
  for each in "${scenario_logs[@]}"; do
    echo "  [$scenario] the last $log_lines lines of $(basename "$each"):"
    if [ -f "$each" ]; then
      tail -n "$log_lines" -- "$each" | tr -d '\r' | sed 's/^/    | /'
    else
      echo "    (no log was written)"
    fi
  done
}

run() {
  scenario=$1
  if [ -n "$only" ] && ! [[ $scenario =~ $only ]]; then return; fi
  echo "scenario $scenario"
  stopped=""
  scenario_logs=()
  scenario_deadline=$((SECONDS + scenario_limit))
  local started=$SECONDS failed_before=${#failures[@]}
  "scenario_$1"
  end_program
  [ ${#failures[@]} -gt "$failed_before" ] && show_logs
  echo "  [$scenario] $((SECONDS - started)) s"
}

# ---------------------------------------------------------------- scenarios

# 1. A whole update of each model.
whole_update() {
  local model=$1 blocks=$2
  start_program "update-$model"
  wait_window || return
  expect_screen "update-$model"
  # The style sheet, pictures and fonts load without a report.
  expect_no_trace "NWL: "
  click $action_button
  expect_trace "page: updating"
  expect_screen "standby-$model" $wheel_area
  expect_wheel_turning
  expect_trace "page: success" 90
  expect_screen "success-$model"
  click $quit_alone
  expect_exit 0
  expect_whole_image "$blocks"
}
scenario_update_49() { whole_update 49 40; }
scenario_update_61() { whole_update 61 44; }
scenario_update_88() { whole_update 88 48; }

# 2. No keyboard; a keyboard that arrives late.
scenario_no_keyboard() {
  start_program absent
  wait_window || return
  expect_screen connect
  click $action_button
  expect_trace "step in state 0"
  expect_screen connect
  expect_no_trace "page: update available"
  click $quit_beside_action
  expect_exit 0
}
scenario_late_keyboard() {
  start_program late
  wait_window || return
  expect_screen connect
  click_until $action_button "page: update available" 20
  expect_screen found-late
  click $quit_beside_action
  expect_exit 0
}

# 3. The switch to update mode refused; back in time for RETRY; never back.
scenario_switch_refused() {
  start_program switch-refused
  wait_window || return
  click $action_button
  expect_trace "page: update mode failed" 30
  expect_screen retry
  click $action_button
  expect_trace "step in state 4"
  expect_trace "SimulatedKeyboard: keyboard 1: switch to update mode: stalled"
  expect_screen retry
  expect_no_trace "page: updating"
  click $quit_beside_action
  expect_exit 0
}
scenario_back_for_retry() {
  start_program back-for-retry
  wait_window || return
  click $action_button
  expect_trace "page: update mode failed" 30
  expect_screen retry
  click_until $action_button "page: updating" 20
  expect_trace "page: success" 90
  click $quit_alone
  expect_exit 0
  expect_whole_image 40
}
scenario_never_back() {
  start_program never-back
  wait_window || return
  click $action_button
  expect_trace "page: update mode failed" 30
  click $action_button
  expect_trace "step in state 4"
  expect_screen retry
  expect_no_trace "page: updating"
  click $quit_beside_action
  expect_exit 0
}

# 4. Download failures: error -2, the keyboard keeps its revision.
download_failure() {
  start_program "$1"
  wait_window || return
  click $action_button
  expect_trace "page: updating"
  expect_trace "page: error (error -2)" 60
  expect_screen error-download
  expect_image_unfinished
  click $quit_alone
  expect_exit 0
}
scenario_rejected_block() { download_failure reject-block; }
scenario_removed() { download_failure removed; }
scenario_error_state() { download_failure error-state; }
scenario_short_status() { download_failure short-status; }

# 5. After the update: the old revision, never back, back late.
after_update() {
  start_program "$1"
  wait_window || return
  click $action_button
  expect_trace "page: updating"
  expect_trace "$2" 90
  expect_screen "$3"
  click $quit_alone
  expect_exit 0
}
scenario_old_revision() { after_update old-revision "page: error (error 1)" error-old-revision; }
scenario_gone_after() { after_update gone-after "page: error (error 1)" error-gone; }
scenario_late_after() { after_update late-after "page: success" success-49; }

# 6. Quit during an update.
scenario_quit_no() {
  start_program slow
  wait_window || return
  click $action_button
  expect_trace "page: updating"
  probe close "$caption"
  local text
  text=$(probe answer Harmova no 20000) || fail "no question appeared"
  [[ $text == *"An update is currently in progress."* ]] || fail "the question reads \"$text\""
  expect_trace "page: success" 120
  expect_screen success-49
  click $quit_alone
  expect_exit 0
  expect_whole_image 40
}
# quit_during_update <keyboard> [log name]: starts the update and quits it,
# answering Yes. The window goes at once; the process waits for the
# keyboard's worker.
quit_during_update() {
  start_program "$@"
  wait_window || return
  click $action_button
  expect_trace "page: updating"
  probe close "$caption"
  probe answer Harmova yes 20000 >/dev/null || fail "no question appeared"
  if ! timeout 5 bash -c "while xdotool search --onlyvisible --name '^$caption\$' >/dev/null; do sleep 0.1; done"; then
    fail "the window stayed after Yes"
  fi
}
scenario_quit_yes() {
  quit_during_update slow || return
  kill -0 "$pid" 2>/dev/null || fail "the process ended before the worker"
  expect_exit 0 120
  expect_trace "SimulatedKeyboard: keyboard 1: closing request: ok" 1
}

# A second start while the first, quit during its update, still finishes it
# without a window: the second waits for it, then says why it ends too.
scenario_start_while_ending() {
  quit_during_update ending first || return
  local first=$pid first_log=$log
  start_program ending second
  local text
  text=$(probe answer Harmova ok 30000) || fail "the second start said nothing"
  [[ $text == *"is still running but shows no window"* ]] || fail "the second start says \"$text\""
  expect_exit 0 30
  expect_trace "another instance runs but shows no window" 1
  expect_no_trace "page:"
  pid=$first log=$first_log
  kill -0 "$pid" 2>/dev/null || fail "the first ended before its worker"
  expect_exit 0 120
  expect_trace "SimulatedKeyboard: keyboard 1: closing request: ok" 1
}

# 7. No update needed.
scenario_no_update() {
  start_program current
  wait_window || return
  expect_trace "page: no update"
  expect_screen no-update
  click $quit_alone
  expect_exit 0
}

# 8. The About overlay.
scenario_about() {
  start_program update-49
  wait_window || return
  expect_screen update-49
  click $about_logo
  expect_screen about
  click 300 200
  expect_screen update-49
  click $quit_beside_action
  expect_exit 0
}

# 9. A second start.
scenario_second_start() {
  start_program update-49 first
  wait_window || return
  local first=$pid first_log=$log
  probe minimize "$caption" || fail "the window could not be minimised"
  [[ $(probe state "$caption") == *"iconic=1"* ]] || fail "the window is not minimised"
  start_program update-49 second
  expect_exit 0 30
  expect_trace "another instance runs"
  expect_no_trace "page:"
  [ "$(probe count "$caption")" = 1 ] || fail "more than one window"
  expect_window_state "visible=1 iconic=0 foreground=1" "the first window is not restored in front"
  pid=$first log=$first_log
  wait_window || return
  click $quit_beside_action
  expect_exit 0
}

# 10. No display.
scenario_no_display() {
  log=$work/$scenario.log
  scenario_logs+=("$log")
  HVX_SIMULATED_KEYBOARD=$keyboards/update-49.txt WINEDEBUG=$program_debug \
    env -u DISPLAY "${qx_wine[@]}" "$program" </dev/null >"$log" 2>&1 &
  pid=$!
  local deadline=$((SECONDS + 30))
  while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    fail "the program still runs after 30 s"
    return
  fi
  wait "$pid"
  local code=$?
  pid=""
  [ "$code" != 0 ] || fail "exit code 0 without a display"
  expect_trace "start failed" 1
}

# 11. An unusable font: a skin folder beside (a copy of) the program, with
# the program's pictures and style sheet and a "virid.ttf" that is no font.
# The text shows in the default face, which is the style sheet's face too, so
# the page looks as usual; the fault is in the trace.
scenario_unusable_font() {
  local folder=$work/unusable-font
  mkdir -p "$folder/skin/fonts" "$folder/skin/pictures" "$folder/skin/stylesheets"
  cp "$program" "$folder/"
  cp "$pictures"/*.png "$folder/skin/pictures/"
  cp "$stylesheet" "$folder/skin/stylesheets/"
  printf 'no font at all, only text\n' >"$folder/skin/fonts/virid.ttf"
  start_program update-49 "" "$folder/$(basename "$program")"
  wait_window || return
  expect_trace "page: update available"
  expect_screen update-49
  expect_trace "can't use font virid.ttf" 1
  # Once for the font, whatever sizes the page asks of it.
  local reports
  reports=$(count_trace "can't use font virid.ttf")
  [ "$reports" = 1 ] || fail "the unusable font is reported $reports times, not once"
  click $quit_beside_action
  expect_exit 0
}

# 12. Two keyboards that tell one serial number: after an update either
# might be read back as the updated one, so neither is switched; the wizard's
# RETRY page asks to disconnect the other keyboard (never success), also on
# RETRY.
scenario_same_serial() {
  start_program same-serial
  wait_window || return
  expect_trace "page: update available"
  click $action_button
  expect_trace "page: update mode failed (the keyboard cannot be told apart)"
  expect_screen not-told-apart
  click $action_button
  expect_trace_times "the updated one could not be told from it" 2
  expect_screen not-told-apart
  expect_no_trace "page: updating"
  expect_no_trace "switch to update mode"
  click $quit_beside_action
  expect_exit 0
}

# 13. A twin that arrives during the update: while the user's keyboard is
# still in update mode, a keyboard in normal mode that tells its serial number
# cannot be it. The user's keyboard comes back late, and the newcomer already
# carries the new revision, but the update is not confirmed: the error page
# (error 1), never success. Only keyboard 1 received anything.
scenario_late_twin() {
  start_program late-twin
  wait_window || return
  expect_trace "page: update available"
  click $action_button
  expect_trace "page: updating"
  expect_trace "page: error (error 1)" 90
  expect_screen error-gone
  expect_trace "the update cannot be confirmed" 1
  expect_no_trace "page: success"
  click $quit_alone
  expect_exit 0
  expect_whole_image 40
  expect_no_trace "SimulatedKeyboard: keyboard 2: "
}

# 14. The user follows the refusal page's advice, but unplugs the keyboard
# the program had read and keeps its twin, which carries a newer firmware:
# RETRY reads the one that stays and shows that it needs no update. Until
# the first one has gone, each RETRY shows the refusal again. Neither
# keyboard is switched or written.
scenario_twin_left() {
  start_program twin-left
  wait_window || return
  expect_trace "page: update available"
  click $action_button
  expect_trace "page: update mode failed (the keyboard cannot be told apart)"
  click_until $action_button "page: no update" 45
  expect_screen no-update-newer
  expect_trace "SimulatedKeyboard: keyboard 1: unplugged" 1
  expect_no_trace "page: updating"
  expect_no_trace "switch to update mode"
  expect_no_trace "DNLOAD"
  click $quit_alone
  expect_exit 0
}

# 15. The user's keyboard tells no serial number and does not come back in
# update mode after the switch; meanwhile another keyboard, with a newer
# firmware, appears there. Nothing proves that it is the user's: RETRY shows
# its page (installed "-") and sends it nothing; only UPDATE would write it.
scenario_stranger_after_switch() {
  start_program stranger-after-switch
  wait_window || return
  expect_trace "page: update available"
  click $action_button
  expect_trace "page: update mode failed" 30
  click_until $action_button "state 4 -> 2" 20
  expect_screen update-in-update-mode
  expect_no_trace "page: updating"
  expect_no_trace "DNLOAD"
  click $quit_beside_action
  expect_exit 0
}

# 16. A keyboard left in update mode by an earlier switch, listed after one
# in normal mode that needs no update: the program offers the one in update
# mode, and sends it nothing before UPDATE.
scenario_left_in_update_mode() {
  start_program left-in-update-mode
  wait_window || return
  expect_trace "page: update available"
  expect_screen update-in-update-mode
  expect_no_trace "DNLOAD"
  click $quit_beside_action
  expect_exit 0
}

for each in update_49 update_61 update_88 no_keyboard late_keyboard switch_refused back_for_retry \
            never_back rejected_block removed error_state short_status old_revision gone_after \
            late_after quit_no quit_yes start_while_ending no_update about second_start no_display unusable_font same_serial \
            late_twin twin_left stranger_after_switch left_in_update_mode; do
  run "$each"
done

echo
if [ ${#failures[@]} -gt 0 ]; then
  echo "${#failures[@]} failure(s):"
  printf '  %s\n' "${failures[@]}"
  exit 1
fi
echo "every scenario passed"
