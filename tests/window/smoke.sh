#!/usr/bin/env bash
# The window host under a virtual X server: it opens, shows the device picture with the display,
# takes a click on a hardkey (SDL event path and xdotool), refuses a second instance and closes
# cleanly; without any display it says so and exits non-zero.
set -u
panelsim=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work # private single-instance locks
cd "$work"
fail() {
    echo "FAIL: $*"
    for log in out.txt err.txt first.txt second.txt status.txt; do
        [ -s "$log" ] && { echo "--- $log"; tail -n 15 "$log"; }
    done
    exit 1
}
step() { echo "$(date +%T) $*"; }

# 1. Open, click hardkey 13 (3 o'clock restart request) through the window's own event path,
#    take a screenshot, quit after 5 s.
step "window with a click on hardkey 13"
timeout 60 xvfb-run -a -s '-screen 0 1400x900x24' "$panelsim" --no-dialogs --click 13 \
    --quit-after 5000 --screenshot shot.png >out.txt 2>err.txt
status=$?
[ "$status" = 0 ] || fail "window exit status $status: $(cat err.txt)"
grep -q "Application started" out.txt || fail "no 'Application started'"
grep -q '\*SIG_3UHR_RESTART' out.txt || fail "the click on hardkey 13 did not reach the panel"
[ -s shot.png ] || fail "no screenshot"

# 2. A second window is refused while the first runs; an xdotool click on hardkey 14 (restart
#    requested by the controller) reaches the first.
cat >both.sh <<'INNER'
timeout 40 "$1" --no-dialogs --quit-after 9000 >first.txt 2>&1 &
first=$!
for i in $(seq 50); do
    id=$(xdotool search --name '^panelsim$' 2>/dev/null | head -n 1)
    [ -n "$id" ] && break
    sleep 0.2
done
sleep 1.5
timeout 20 "$1" --no-dialogs >second.txt 2>&1
echo "second=$?" >status.txt
# hardkey 14 is the second simulation command key: x 40 + 1 * (97 + 8) + 48, y 532 + 14
xdotool mousemove --window "$id" 193 546 click 1
sleep 1
xdotool mousemove --window "$id" 193 546 click 1
wait $first
echo "first=$?" >>status.txt
INNER
step "a second window, and an xdotool click on hardkey 14 in the first"
timeout 70 xvfb-run -a -s '-screen 0 1400x900x24' bash both.sh "$panelsim"
grep -q "second=1" status.txt || fail "the second instance was not refused: $(cat status.txt)"
grep -q "Es ist bereits eine Simulation aktiv." second.txt || fail "no refusal message"
grep -q "first=0" status.txt || fail "the first window did not end cleanly"
grep -q '\*SIG_REG_RESET' first.txt || fail "the xdotool click did not reach the panel"

# 3. The controller emulator: started with the window, an xdotool click on its fault button
#    raises a fault that the panel shows, and the state is kept in its file with mode 0600.
cat >controller.sh <<'INNER'
timeout 40 "$1" --no-dialogs --controller --state "$2/state/controller.state" \
    --quit-after 16000 >first.txt 2>&1 &
first=$!
for i in $(seq 50); do
    id=$(xdotool search --name '^panelsim$' 2>/dev/null | head -n 1)
    [ -n "$id" ] && break
    sleep 0.2
done
sleep 8
# The fault button: the first of the emulator's buttons, 12 px into the pane of 440 px, 102 px down.
width=$(xdotool getwindowgeometry --shell "$id" | sed -n 's/^WIDTH=//p')
xdotool mousemove --window "$id" $((width - 440 + 60)) 114 click 1
wait $first
echo "first=$?" >status.txt
INNER
step "the controller emulator and its fault button"
timeout 70 xvfb-run -a -s '-screen 0 1400x900x24' bash controller.sh "$panelsim" "$work"
grep -q "first=0" status.txt || fail "the window with the emulator did not end cleanly"
grep -q "controller 240: panel announced" first.txt || fail "the emulator did not start the link"
grep -q "controller fault 30 raised" first.txt || fail "the fault button did not reach the emulator"
grep -q " BMA_Stoerung Entry" first.txt || fail "the panel did not show the fault"
[ "$(stat -c %a state/controller.state 2>/dev/null)" = 600 ] || fail "no state file with mode 0600"

# 4. No display at all.
step "no display"
timeout 20 env -u DISPLAY -u WAYLAND_DISPLAY "$panelsim" >nodisplay.txt 2>&1
status=$?
[ "$status" != 0 ] || fail "started without a display"
[ "$(wc -l <nodisplay.txt)" = 1 ] || fail "not one clear line: $(cat nodisplay.txt)"
echo "window smoke test passed"
