#!/usr/bin/env bash
# Runs one headless script and checks its exit status: 0 unless the script says otherwise in a
# line "# exit: N". Scripts named *.realtime.script run on the real threads.
set -u
panelsim=$1
script=$2
want=$(sed -n 's/^# exit: *\([0-9]\+\).*/\1/p' "$script" | head -n 1)
want=${want:-0}
mode=()
case "$script" in *.realtime.script) mode=(--realtime) ;; esac
out=$(mktemp)
"$panelsim" --headless --script "$script" "${mode[@]}" >"$out" 2>&1
status=$?
if [ "$status" != "$want" ]; then
    echo "exit status $status, expected $want; output:"
    tail -n 40 "$out"
    rm -f "$out"
    exit 1
fi
rm -f "$out"
exit 0
