#!/usr/bin/env bash
# The same script gives byte-identical output (and pictures) in two runs.
set -u
panelsim=$1
script=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for run in 1 2; do
    mkdir -p "$work/$run"
    (cd "$work/$run" && "$panelsim" --headless --script "$script" >out.txt 2>&1)
done
if ! cmp -s "$work/1/out.txt" "$work/2/out.txt"; then
    echo "the two runs differ:"
    diff "$work/1/out.txt" "$work/2/out.txt" | head -n 20
    exit 1
fi
for picture in "$work"/1/*.png; do
    [ -e "$picture" ] || continue
    cmp -s "$picture" "$work/2/$(basename "$picture")" || { echo "$(basename "$picture") differs"; exit 1; }
done
echo "$(wc -c <"$work/1/out.txt") bytes, identical"
