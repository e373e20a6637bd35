#!/usr/bin/env bash
# Runs every fuzz target in build-fuzz/ for the given number of seconds each.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shopt -s nullglob
for target in build-fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    corpus=build-fuzz/corpus-$name
    mkdir -p "$corpus"
    echo "-- $name for ${seconds}s"
    seeds=()
    [ -d tests/fuzz/seeds/"$name" ] && seeds=(tests/fuzz/seeds/"$name")
    "$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus" "${seeds[@]}" 2>&1 | tail -n 8
done
