#!/usr/bin/env bash
# Runs every fuzz target in build-fuzz/ for the given number of seconds each.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$PWD/tests/fuzz/ubsan.supp"
for target in $(find build-fuzz/tests/fuzz -maxdepth 1 -name 'fuzz_*' -type f -executable | sort); do
    name=$(basename "$target")
    corpus=build-fuzz/corpus-$name
    mkdir -p "$corpus"
    echo "-- $name for ${seconds}s"
    seeds=()
    [ -d tests/fuzz/seeds/"$name" ] && seeds=(tests/fuzz/seeds/"$name")
    "$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus" "${seeds[@]}" 2>&1 | tail -n 8
done
