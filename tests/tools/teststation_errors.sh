#!/usr/bin/env bash
# The test station's clear errors and exit statuses: 2 for a usage error, a missing device or
# one that is no serial line, 1 for a panel that does not answer or answers wrongly.
set -u
teststation=$1
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
failures=0

# expect STATUS TEXT ARGS...: the station exits with STATUS and says TEXT on standard error.
expect() {
    local want=$1 text=$2
    shift 2
    "$teststation" "$@" >"$work/out" 2>"$work/err"
    local got=$?
    if [ "$got" != "$want" ] || ! grep -qF -- "$text" "$work/err"; then
        echo "teststation $*: exit $got (want $want), said:"; cat "$work/err"
        failures=$((failures + 1))
    fi
}

pair() { # NAME: a pseudo-terminal pair NAME.a (the panel's end) and NAME.b (the station's)
    socat pty,raw,echo=0,link="$work/$1.a" pty,raw,echo=0,link="$work/$1.b" 2>/dev/null &
    pids+=($!)
    for _ in $(seq 50); do [ -e "$work/$1.b" ] && [ -e "$work/$1.a" ] && return; sleep 0.1; done
}

expect 2 "--device DEVICE is missing" start
expect 2 "cannot open the device $work/none: No such file or directory" \
    --device "$work/none" start
expect 2 "/dev/null is not a serial device" --device /dev/null start
expect 2 "unknown command 'strat'" --device /dev/null strat
expect 2 "contrast wants a number 0..99, not '120'" --device /dev/null set contrast 120
expect 2 "serial-number wants 1 to 7 digits" --device /dev/null set serial-number 12345678
expect 2 "article-number can only be read" --device /dev/null set article-number 1
expect 2 "cannot read the picture $work/none.png" --device /dev/null \
    write-display "$work/none.png"

# Nobody at the panel's end: the check does not open.
pair silent
expect 1 "time-out: the panel did not open the hardware quality check within 1000 ms" \
    --device "$work/silent.b" start 1000

# A panel that opens the check and then answers the test start with 41 instead of 00, and a
# read with too few bytes.
pair wrong
python3 - "$work/wrong.a" <<'PY' &
import os, sys, termios, tty
fd = os.open(sys.argv[1], os.O_RDWR | os.O_NOCTTY)
tty.setraw(fd)
seen = 0
while True:
    byte = os.read(fd, 1)
    if not byte:
        break
    seen += 1
    if byte == b"\x05":
        os.write(fd, b"\x00" if seen == 1 else b"\x41")
    elif byte == b"\xf7":
        os.read(fd, 3)
        os.write(fd, b"\x11")
PY
pids+=($!)
sleep 0.3
expect 1 "bad answer to the test start (5): expected 00, got 41" --device "$work/wrong.b" start
expect 1 "time-out: the panel did not answer the read of virtual address 08F8 within 300 ms" \
    --device "$work/wrong.b" --timeout 300 get identity

exit $((failures > 0))
