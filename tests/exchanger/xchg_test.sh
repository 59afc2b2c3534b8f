#!/bin/sh
# Usage: xchg_test.sh CASE GAUGEHOST MODULES SCENARIOS
# Data exchanger tests with a second process: gaugehost's xchg commands
# against each other and against scenario runs. GAUGEHOST_NAME_SUFFIX comes
# from the test (unique per test), except in "cleanup", which runs without
# one. Everything the test made under the suffix is removed at exit.
set -u
case_name=$1
host=$2
modules=$3
scenarios=$4

failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}
# expect_rc WANT COMMAND...: runs COMMAND, its output in $out.
expect_rc() {
  want=$1
  shift
  out=$("$@" 2>&1)
  rc=$?
  [ "$rc" = "$want" ] || fail "$* exited $rc, expected $want: $out"
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# Waits until FILE holds TEXT, for up to five seconds.
wait_for() {
  i=0
  while ! grep -q "$2" "$1" 2>/dev/null; do
    i=$((i + 1))
    [ $i -gt 500 ] && return 1
    sleep 0.01
  done
  return 0
}
# Mode of a shared object as the file system shows it (Linux: /dev/shm).
shm_mode() { stat -c %a "/dev/shm/$1" 2>/dev/null || echo absent; }

work=$(mktemp -d)
pids=""
cleanup() {
  for p in $pids; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  if [ -n "${GAUGEHOST_NAME_SUFFIX+set}" ]; then "$host" xchg remove >/dev/null 2>&1; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Background processes are started as "$host" itself, so that $! is their
# pid and a signal reaches them rather than a subshell.
xchg() { "$host" xchg "$@"; }
run() { "$host" run "$1" --modules "$modules"; }
block='$$$KR300VDATAEXCHANGER$$$'
guard='$$$KR300VSECUREEVENT_'

case $case_name in
cli)
  suffix=$GAUGEHOST_NAME_SUFFIX
  xchg remove >/dev/null
  expect_rc 1 xchg read 5                      # no block yet
  expect_rc 1 xchg dump
  # Created by the writer, private to the user whatever the umask.
  (umask 000 && xchg write 5 12.5) || fail "write 5 12.5"
  [ "$(shm_mode "$block$suffix")" = 600 ] || fail "block mode $(shm_mode "$block$suffix")"
  [ "$(shm_mode "${guard}5$suffix")" = 600 ] || fail "guard mode $(shm_mode "${guard}5$suffix")"
  expect_rc 0 xchg read 5
  [ "$out" = 12.5 ] || fail "read 5 gave '$out'"
  expect_rc 0 xchg write 0x10 -0.25
  expect_rc 0 xchg read 117                    # unguarded, never written
  [ "$out" = 0 ] || fail "read 117 gave '$out'"
  expect_rc 0 xchg dump
  [ "$(echo "$out" | wc -l)" = 118 ] || fail "dump printed $(echo "$out" | wc -l) lines"
  echo "$out" | grep -qx '5 12.5' || fail "dump lacks '5 12.5'"
  echo "$out" | grep -qx '16 -0.25' || fail "dump lacks '16 -0.25'"
  [ "$(echo "$out" | grep -cx '[0-9]* 0')" = 116 ] || fail "dump: other slots not 0"

  # Bad input: usage errors, nothing written.
  for args in "" "frob" "read" "read 118" "read -1" "read x" "write 116 1" "write 5" \
    "write 5 nan" "write 5 inf" "hold 5" "hold 5 -1" "hold 116 1" "hold 5 1e9" \
    "dump --count 0" "dump --count" "dump --bogus" "reset now" "remove 5"; do
    # shellcheck disable=SC2086
    expect_rc 2 xchg $args
  done
  expect_rc 0 xchg read 5
  [ "$out" = 12.5 ] || fail "bad input changed slot 5 to '$out'"

  # A holder keeps every writer and reader off its slot only, and nobody waits.
  "$host" xchg hold 63 30 >"$work/hold" 2>&1 &
  holder=$!
  pids="$pids $holder"
  wait_for "$work/hold" holding || fail "hold did not start: $(cat "$work/hold")"
  t0=$(now_ms)
  expect_rc 1 xchg write 63 1
  expect_rc 1 xchg read 63
  [ $(($(now_ms) - t0)) -lt 2000 ] || fail "a busy guard made a writer wait"
  expect_rc 0 xchg write 62 1
  expect_rc 0 xchg dump
  echo "$out" | grep -qx '63 busy' || fail "dump does not show slot 63 busy"
  echo "$out" | grep -qx '62 1' || fail "dump lacks '62 1'"
  expect_rc 1 xchg hold 63 1                   # one holder at a time
  # A termination request still releases the guard.
  kill -TERM "$holder"
  wait "$holder" || fail "hold exited $? on SIGTERM"
  grep -q "interrupted; released guard 63" "$work/hold" || fail "hold: $(cat "$work/hold")"
  expect_rc 0 xchg write 63 2

  # A holder that dies without releasing: reset is the way out.
  "$host" xchg hold 10 30 >"$work/hold10" 2>&1 &
  holder=$!
  pids="$pids $holder"
  wait_for "$work/hold10" holding || fail "hold 10 did not start"
  kill -KILL "$holder"
  wait "$holder" 2>/dev/null
  expect_rc 1 xchg write 10 1
  expect_rc 0 xchg reset
  [ "$out" = "released 1 guard" ] || fail "reset said '$out'"
  expect_rc 0 xchg write 10 1
  expect_rc 0 xchg reset
  [ "$out" = "released 0 guards" ] || fail "second reset said '$out'"

  # Watching: a round a second, a bounded number of rounds.
  t0=$(now_ms)
  expect_rc 0 xchg dump --watch --count 2
  elapsed=$(($(now_ms) - t0))
  [ "$(echo "$out" | wc -l)" = 237 ] || fail "watch printed $(echo "$out" | wc -l) lines"
  [ $elapsed -ge 900 ] && [ $elapsed -lt 5000 ] || fail "two rounds took $elapsed ms"

  expect_rc 0 xchg remove
  [ "$out" = "removed 117 objects" ] || fail "remove said '$out'"
  [ -z "$(ls /dev/shm 2>/dev/null | grep -F -- "$suffix")" ] || fail "objects left after remove"
  expect_rc 1 xchg read 5
  ;;

prefilled)
  # Filled by an outside program before the module starts: opening keeps it.
  xchg write 5 12.5 && xchg write 27 -3 && xchg write 115 16 || fail "prefill"
  expect_rc 0 run "$scenarios/prefilled.gh"
  # With a suffix of the user's, the run leaves its objects for readers.
  expect_rc 0 xchg read 5
  [ "$out" = 12.5 ] || fail "after the run slot 5 reads '$out'"
  ;;

fresh)
  suffix=$GAUGEHOST_NAME_SUFFIX
  xchg remove >/dev/null
  expect_rc 0 run "$scenarios/fresh.gh"
  echo "$out" | grep -qx 'slot 0 = 0 (no exchanger block)' || fail "before service 2: $out"
  echo "$out" | grep -qx 'slot 117 = 0' || fail "after service 2: $out"
  # The module's block: all zeros, and it and its guards private to the user.
  expect_rc 0 xchg dump
  [ "$(echo "$out" | grep -cx '[0-9]* 0')" = 118 ] || fail "fresh block: $out"
  for name in "$block$suffix" "${guard}0$suffix" "${guard}63$suffix" "${guard}115$suffix"; do
    [ "$(shm_mode "$name")" = 600 ] || fail "mode of $name: $(shm_mode "$name")"
  done
  ;;

held)
  # Guard 63 held by another process all through a paced run: slot 63 keeps
  # its value, the other slots take writes, and the run keeps its pace.
  xchg write 63 7 && xchg write 62 1 || fail "prefill"
  "$host" xchg hold 63 30 >"$work/hold" 2>&1 &
  holder=$!
  pids="$pids $holder"
  wait_for "$work/hold" holding || fail "hold did not start"
  t0=$(now_ms)
  "$host" run "$scenarios/held.gh" --modules "$modules" >"$work/run" 2>&1 &
  runner=$!
  pids="$pids $runner"
  sleep 0.5
  expect_rc 1 xchg write 63 8
  expect_rc 0 xchg write 62 2
  wait "$runner"
  rc=$?
  elapsed=$(($(now_ms) - t0))
  [ $rc = 0 ] || fail "held.gh exited $rc: $(cat "$work/run")"
  [ $elapsed -ge 2900 ] || fail "30 frames at 10 fps took only $elapsed ms"
  [ $elapsed -lt 15000 ] || fail "30 frames at 10 fps took $elapsed ms"
  kill -INT "$holder"
  wait "$holder"
  expect_rc 0 xchg write 63 9
  ;;

cleanup)
  # Without GAUGEHOST_NAME_SUFFIX a run names its objects itself and
  # removes them at the end, also when interrupted in the middle.
  unset GAUGEHOST_NAME_SUFFIX
  touch "$work/stamp"
  sleep 0.01
  expect_rc 0 run "$scenarios/fresh.gh"
  "$host" run "$scenarios/held.gh" --modules "$modules" >"$work/run" 2>&1 &
  runner=$!
  # Interrupt inside the paced frames: they start right after service 2 has
  # created the block, however slowly the run got going (sanitizers, load).
  i=0
  while [ -z "$(find /dev/shm -maxdepth 1 -newer "$work/stamp" -name '*KR300VDATA*' 2>/dev/null)" ]; do
    i=$((i + 1))
    [ $i -gt 1000 ] && fail "the run never opened its block" && break
    sleep 0.01
  done
  sleep 0.5
  kill -INT "$runner"
  wait "$runner"
  rc=$?
  [ $rc = 2 ] || fail "interrupted run exited $rc: $(cat "$work/run")"
  grep -q interrupted "$work/run" || fail "interrupted run: $(cat "$work/run")"
  left=$(find /dev/shm -maxdepth 1 -newer "$work/stamp" -name '*KR300V*' 2>/dev/null | head -3)
  [ -z "$left" ] || fail "runs left objects behind: $left"
  ;;

*)
  echo "unknown case $case_name" >&2
  exit 2
  ;;
esac

[ $failures = 0 ] || exit 1
exit 0
