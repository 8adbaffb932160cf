#!/bin/sh
# Without a CP932 converter quillmar must refuse to run, loudly: the command
# line exits 1 and the window exits non-zero, each naming the converter on
# standard error, instead of running with every text empty.
# Usage: no_cp932_test.sh QUILLMAR_CLI STUB_LIBRARY [QUILLMAR_WINDOW]
cli=$1
stub=$2
window=$3
failed=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Sanitizer builds want their runtime first among the preloaded libraries.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"

check() {  # NAME EXPECTED_EXIT ACTUAL_EXIT STDOUT_FILE STDERR_FILE
  if [ "$3" != "$2" ]; then
    echo "FAIL $1: exit $3, expected $2"; cat "$5"; failed=1
  elif ! grep -q 'no CP932 converter: iconv has no converter .*"CP932"' "$5"; then
    echo "FAIL $1: no message naming the converter:"; cat "$5"; failed=1
  elif [ -s "$4" ]; then
    echo "FAIL $1: printed on standard output:"; cat "$4"; failed=1
  else
    echo "ok   $1"
  fi
}

# With the converter, the same command prints the PID and its Japanese text.
"$cli" pid --ivs 10,12,22,0,7,29 --nature 15 >"$work/with.out" 2>"$work/with.err"
if [ $? -ne 0 ] || ! grep -q '特性2' "$work/with.out"; then
  echo "FAIL control run with the converter"; cat "$work/with.out" "$work/with.err"; failed=1
fi

LD_PRELOAD=$stub "$cli" pid --ivs 10,12,22,0,7,29 --nature 15 >"$work/pid.out" 2>"$work/pid.err"
check "pid" 1 $? "$work/pid.out" "$work/pid.err"
LD_PRELOAD=$stub "$cli" species ピカチュウ --dir "$(dirname "$0")/../../assets" >"$work/sp.out" 2>"$work/sp.err"
check "species" 1 $? "$work/sp.out" "$work/sp.err"

if [ -n "$window" ]; then
  # The window must end at once rather than open without labels.
  LD_PRELOAD=$stub QT_QPA_PLATFORM=offscreen timeout 60 "$window" >"$work/win.out" 2>"$work/win.err"
  rc=$?
  if [ $rc -eq 0 ] || [ $rc -eq 124 ]; then
    echo "FAIL window: exit $rc"; cat "$work/win.err"; failed=1
  else
    check "window" $rc $rc "$work/win.out" "$work/win.err"
  fi
fi
exit $failed
