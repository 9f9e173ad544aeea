#!/bin/sh
# The program as a process whose standard output fails (on the largest
# report) or whose standard input is closed.
#   process_test.sh full-device PROGRAM  output to /dev/full: status 3 and the diagnostic
#   process_test.sh closed-pipe PROGRAM  a reader that stops after 100 bytes: no
#                                        diagnostic, killed by SIGPIPE or status 0
#   process_test.sh closed-input PROGRAM standard input closed: the end-of-input
#                                        diagnostic, status 2
set -u
test_case=$1
program=$2
line='36 1 .8 .5 .5 .5 1 100 3600 100 .01 1 .01 0 1'

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "$test_case: $*" >&2
  echo "standard error was:" >&2
  cat "$work/err" >&2
  exit 1
}

case $test_case in
  full-device)
    echo "$line" | "$program" > /dev/full 2> "$work/err"
    status=$?
    [ "$status" -eq 3 ] || fail "exit status $status, wanted 3"
    [ "$(cat "$work/err")" = "belrovin: cannot write standard output" ] || fail "wrong diagnostic"
    ;;
  closed-pipe)
    # SIGPIPE at its default, whatever this shell inherited.
    { echo "$line" | env --default-signal=PIPE "$program" 2> "$work/err"
      echo $? > "$work/status"; } | head -c 100 > "$work/out"
    status=$(cat "$work/status")
    [ "$status" -eq 141 ] || [ "$status" -eq 0 ] || fail "exit status $status"
    [ ! -s "$work/err" ] || fail "diagnostic on a closed pipe"
    [ "$(wc -c < "$work/out")" -eq 100 ] || fail "reader did not get its 100 bytes"
    ;;
  closed-input)
    "$program" <&- > /dev/null 2> "$work/err"
    status=$?
    [ "$status" -eq 2 ] || fail "exit status $status, wanted 2"
    [ "$(cat "$work/err")" = "belrovin: end of input before the parameter line" ] ||
      fail "wrong diagnostic"
    ;;
  *)
    echo "unknown case $test_case" >&2
    exit 2
    ;;
esac
