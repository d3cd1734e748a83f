#!/usr/bin/env bash
# The test station against the panel on its real threads, over a pseudo-terminal pair made with
# socat: it opens the hardware quality check in the test-programme window, writes a display
# pattern and reads part of it back (while the runner compares the display with the pattern),
# writes a backlight limit and reads it again after the cold start that its stop causes.
set -u
panelsim=$1
teststation=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
socat_pid=
runner_pid=
cleanup() {
    [ -n "$runner_pid" ] && kill "$runner_pid" 2>/dev/null
    [ -n "$socat_pid" ] && kill "$socat_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

socat pty,raw,echo=0,link="$work/panel" pty,raw,echo=0,link="$work/station" 2>"$work/socat.log" &
socat_pid=$!
for _ in $(seq 50); do
    [ -e "$work/panel" ] && [ -e "$work/station" ] && break
    sleep 0.1
done
if [ ! -e "$work/station" ]; then
    echo "socat made no pseudo-terminal pair:"; cat "$work/socat.log"; exit 1
fi

# The station needs about 30 s; the runner shows the written rows on the display meanwhile and
# the basic display after the second cold start.
cat >"$work/runner.script" <<SCRIPT
wait 17000
expect-log " BHQ_WriteLCDCacheAcknowledge Entry"
expect-shot $here/golden/teststation_panel.png
wait 26000
expect-log " BHQ_HWQCStop Entry"
expect-log "*RESTARTING"
expect-log " BHQ_HardwareQualityCheck Entry"
expect-log " BHQ_HWQCStop Entry"
expect-log "*RESTARTING"
expect-state BGA_GrundanzeigeMenue
SCRIPT
"$panelsim" --headless --realtime --uart0 "$work/panel" --script "$work/runner.script" \
    >"$work/runner.log" 2>&1 &
runner_pid=$!

"$teststation" --device "$work/station" \
    start 10000 \
    write-display "$here/station_pattern.png" 0-31 \
    verify-display "$here/station_pattern.png" 28-31 \
    set max-operating-backlight 180 \
    expect max-operating-backlight 180 \
    stop \
    start 15000 \
    expect max-operating-backlight 180 \
    get article-number \
    stop >"$work/station.out" 2>&1
station=$?
wait "$runner_pid"
runner=$?
runner_pid=

status=0
if [ "$station" != 0 ]; then
    echo "teststation: exit status $station"; cat "$work/station.out"; status=1
fi
if ! grep -qx "article-number 7417065" "$work/station.out"; then
    echo "teststation printed:"; cat "$work/station.out"; status=1
fi
# The port's threads post through the interrupt lock; a nested or unbalanced use would show.
if grep -aq "FATAL ERROR" "$work/runner.log"; then
    echo "the panel logged:"; grep -a "FATAL ERROR" "$work/runner.log" | head; status=1
fi
if [ "$runner" != 0 ]; then
    echo "runner: exit status $runner"; grep -a "^@" "$work/runner.log" | tail -20; status=1
fi
exit $status
