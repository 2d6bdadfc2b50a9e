#!/bin/bash
# demo_signal_test.sh BUILD_DIR
#
# Inside a device root (so that the demo's port and processes stay in it):
# scripts/demo prints the console's address before the curl commands, serves
# the console and the program, and stops, leaving nothing running, when
# SIGTERM or SIGINT is sent to its process id: started in the background of
# this script (which hands it SIGINT ignored, as a supervisor's script would),
# with a client holding a connection open, and while it is still starting.
set -euo pipefail
[ "${DEVROOT:-}" = 1 ] || { echo "demo_signal_test: run me inside tools/devroot" >&2; exit 1; }
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
build=$(cd "$1" && pwd)
port=8080
log=$(mktemp /tmp/demo-log.XXXXXX)
procs=$(mktemp /tmp/demo-procs.XXXXXX)

fail() {
  echo "FAIL: $*"
  echo "--- demo output"
  cat "$log"
  exit 1
}

# True when this device root runs nothing but its first process and this
# script (and the pipeline asking); what else runs is left in $procs.
alone() {
  ps -e -o pid=,ppid=,args= | awk -v me=$$ '$1 != 1 && $1 != me && $2 != me' > "$procs"
  [ ! -s "$procs" ]
}

# A child that ended stays a zombie until waited for: that is not running.
running() {
  [ -e "/proc/$1" ] && ! grep -q '^[0-9]* (.*) Z' "/proc/$1/stat" 2>/dev/null
}

ready() {
  grep -q 'Press Ctrl-C' "$log" && curl -sf -o /dev/null "http://127.0.0.1:$port/"
}

# run SIGNAL EXPECTED_STATUS
run() {
  local signal=$1 expected=$2 status=0 demo
  alone || fail "processes before the demo started: $(cat "$procs")"
  WEBCGI_BUILD="$build" PORT=$port "$root/scripts/demo" > "$log" 2>&1 &
  demo=$!
  for _ in $(seq 1200); do
    ready && break
    running "$demo" || fail "the demo ended before it was ready"
    sleep 0.1
  done
  ready || fail "the demo did not become ready"

  local console curl1
  console=$(grep -n 'Recorder console: http://127.0.0.1:8080/$' "$log" | head -1 | cut -d: -f1)
  curl1=$(grep -n 'curl ' "$log" | head -1 | cut -d: -f1)
  [ -n "$console" ] && [ -n "$curl1" ] && [ "$console" -lt "$curl1" ] ||
    fail "the console's address is not printed before the curl commands"
  # Read whole first: with pipefail, grep -q ending early would fail curl's write.
  local page
  page=$(curl -sf "http://127.0.0.1:$port/") || fail "no page at /"
  grep -q '<title>Recorder console</title>' <<<"$page" || fail "no console at /"
  curl -sf -H 'Content-Type: application/json' \
    -d '{"userName": "admin", "md5": "0192023a7bbd73250516f069df18b500"}' \
    "http://127.0.0.1:$port/cgi-bin/webcgi/1000" | grep -q '"sessionId"' || fail "no login at /1000"

  exec 3<>"/dev/tcp/127.0.0.1/$port"  # an idle client connection, as a browser keeps
  kill -"$signal" "$demo"
  for _ in $(seq 200); do
    running "$demo" || break
    sleep 0.05
  done
  ! running "$demo" || fail "the demo still runs 10 s after SIG$signal"
  wait "$demo" || status=$?
  exec 3>&-
  [ "$status" = "$expected" ] || fail "exit status $status after SIG$signal, expected $expected"
  grep -q 'demo stopped' "$log" || fail "no stop message after SIG$signal"
  alone || fail "left running after SIG$signal: $(cat "$procs")"
  [ ! -e "$build/demo-run" ] || fail "the run directory is left after SIG$signal"
  ! curl -s -o /dev/null "http://127.0.0.1:$port/" || fail "port $port still answers after SIG$signal"
  echo "ok   SIG$signal stops the demo"
}

# stopped_early DELAY : SIGTERM DELAY seconds after the start, wherever the
# demo is then (building, starting the device root, starting the stack).
stopped_early() {
  local demo status=0
  alone || fail "processes before the demo started: $(cat "$procs")"
  WEBCGI_BUILD="$build" PORT=$port "$root/scripts/demo" > "$log" 2>&1 &
  demo=$!
  sleep "$1"
  kill -TERM "$demo"
  for _ in $(seq 200); do
    running "$demo" || break
    sleep 0.05
  done
  ! running "$demo" || fail "the demo still runs 10 s after SIGTERM at ${1} s"
  wait "$demo" || status=$?
  [ "$status" = 143 ] || fail "exit status $status after SIGTERM at ${1} s"
  alone || fail "left running after SIGTERM at ${1} s: $(cat "$procs")"
  [ ! -e "$build/demo-run" ] || fail "the run directory is left after SIGTERM at ${1} s"
  echo "ok   SIGTERM at ${1} s stops the demo"
}

run TERM 143
run INT 130
stopped_early 0.3
stopped_early 1.5
echo "4 passed, 0 failed"
