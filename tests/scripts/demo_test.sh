#!/usr/bin/env bash
# demo_test.sh SOURCE_DIR BUILD_DIR CASE: runs scripts/demo on the programs built in BUILD_DIR and
# checks what it shows and that it leaves nothing behind: no simulated Tarn, no window, no files.
#
#   no-display      no DISPLAY or WAYLAND_DISPLAY: one line says so, then tarnctl's demo runs to
#                   its end
#   window-closed   with a display (the offscreen platform): tarnconfig opens the simulated Tarn's
#                   device; when the window ends, the demo ends with it and stops the simulator
#   interrupted     with a display, the demo itself is told to stop (SIGTERM): both end
set -uo pipefail

source_dir=$1
build=$2
case_name=$3

scratch=$(mktemp -d "${TMPDIR:-/tmp}/demo-test.XXXXXX")
# The demo makes its own folder in here; it must be gone afterwards.
demo_tmp=$scratch/tmp
mkdir "$demo_tmp"
# Qt keeps its run-time files here, not in the demo's folder.
runtime=$scratch/runtime
mkdir -m 700 "$runtime"
output=$scratch/output
demo=""

fail() {
  echo "FAIL ($case_name): $*" >&2
  echo "--- the demo's output:" >&2
  cat "$output" >&2 2>/dev/null
  exit 1
}

# The processes whose command line names the demo's folder: its simulated Tarn and its window.
demo_processes() {
  local entry pid command
  for entry in /proc/[0-9]*/cmdline; do
    pid=${entry#/proc/}
    pid=${pid%/cmdline}
    command=$( { tr '\0' ' ' <"$entry"; } 2>/dev/null)
    if [[ $command == *"$demo_tmp/"* ]]; then echo "$pid"; fi
  done
}

# The process of `program` that the demo started, or nothing.
demo_process_of() {
  local pid
  for pid in $(demo_processes); do
    if [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = "$1" ]; then echo "$pid"; return; fi
  done
}

clean_up() {
  local pid
  if [ -n "$demo" ]; then kill "$demo" 2>/dev/null; wait "$demo" 2>/dev/null; fi
  for pid in $(demo_processes); do kill "$pid" 2>/dev/null; done
  rm -rf "$scratch"
}
trap clean_up EXIT
trap 'exit 143' TERM HUP INT

wait_for() {  # wait_for SECONDS COMMAND...: true once COMMAND succeeds
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

expect_nothing_left() {
  local left
  left=$(demo_processes)
  [ -z "$left" ] || fail "processes left running: $(for p in $left; do tr '\0' ' ' <"/proc/$p/cmdline"; echo; done)"
  [ -z "$(ls -A "$demo_tmp")" ] || fail "files left behind: $(ls -A "$demo_tmp")"
}

expect_output() {  # expect_output TEXT...: every TEXT is a line of the output, or part of one
  local text
  for text in "$@"; do grep -qF -- "$text" "$output" || fail "no line with \"$text\""; done
}

# Starts the demo with a display in the background and waits until its window has the simulated
# Tarn's device open.
start_with_display() {
  env DISPLAY=:tarn-demo-test QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime" TMPDIR="$demo_tmp" \
    "$source_dir/scripts/demo" --built "$build" >"$output" 2>&1 &
  demo=$!
  wait_for 30 grep -q '^simulated Tarn on /dev/' "$output" || fail "no simulated Tarn started"
  device=$(sed -n 's|^simulated Tarn on \(/dev/[^ ]*\) .*|\1|p' "$output" | head -n 1)
  expect_output "load=data/examples/nord_yard.dat" "Press \"Read All\"" "Tarn > Layout..."
  wait_for 30 window_has_device || fail "tarnconfig did not open $device"
  simulator=$(demo_process_of tarnctl)
  [ -n "$simulator" ] || fail "no simulated Tarn running beside the window"
}

window_has_device() {
  local fd
  window=$(demo_process_of tarnconfig)
  [ -n "$window" ] || return 1
  for fd in /proc/"$window"/fd/*; do
    [ "$(readlink "$fd" 2>/dev/null)" = "$device" ] && return 0
  done
  return 1
}

demo_ended() { ! kill -0 "$demo" 2>/dev/null; }

# Waits for the demo to end; its exit status in `status`.
demo_ends() {
  wait_for 20 demo_ended || fail "the demo did not end"
  status=0
  wait "$demo" || status=$?
  demo=""
}

case "$case_name" in
  no-display)
    status=0
    env -u DISPLAY -u WAYLAND_DISPLAY TMPDIR="$demo_tmp" \
      "$source_dir/scripts/demo" --built "$build" >"$output" 2>&1 || status=$?
    [ "$status" -eq 0 ] || fail "exit status $status"
    first=$(head -n 1 "$output")
    [[ $first == "No display "* ]] || fail "the first line is \"$first\""
    expect_output "112 0 3 1 0 10" "112 10 83 116 97 116 105 111 110" "112 2 7" \
      "--tolvik" "Verify OK" "Start Monitoring" "Monitoring Stopped" \
      "3 Tarns found on 16 addresses" "module 0 \"Nord Yard 7\": backed up" \
      "module 5 \"Sud Depot\": differs, 1 difference" "module 5 \"Sud Depot\": restored" \
      "module 11 \"West Halt\": matches"
    lines=$(sed -n 's/^(read back: \([0-9]*\) lines)$/\1/p' "$output")
    [ -n "$lines" ] && [ "$lines" -gt 1000 ] || fail "the read-back file is missing or short"
    expect_nothing_left
    ;;
  window-closed)
    start_with_display
    kill "$window"
    demo_ends
    [ "$status" -eq 143 ] || fail "exit status $status, not the window's 143"
    expect_nothing_left
    ;;
  interrupted)
    start_with_display
    kill -TERM "$demo"
    demo_ends
    [ "$status" -eq 143 ] || fail "exit status $status after SIGTERM"
    expect_nothing_left
    ;;
  *)
    echo "usage: demo_test.sh SOURCE_DIR BUILD_DIR no-display|window-closed|interrupted" >&2
    exit 2
    ;;
esac
echo "PASS ($case_name)"
