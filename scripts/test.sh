#!/usr/bin/env bash
# Builds and runs every test: the Release build's tests, the sanitizer build's unit tests,
# the ThreadSanitizer build's concurrency tests and a bounded fuzz run of the state reader.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh

bash scripts/build.sh
bash scripts/install-deps.sh "${TEST_PACKAGES[@]}"

export CCACHE_BASEDIR="$(cd .. && pwd)"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
jobs=$(nproc)

echo "== Release tests"
ctest --test-dir build --output-on-failure -j "$jobs" | tee build/ctest.log
# Ardour's own crashes are retried; how often shows here.
grep -h "Ardour retries in " build/Testing/Temporary/LastTest.log || true

echo "== AddressSanitizer + UndefinedBehaviorSanitizer unit tests"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLUMARRO_SANITIZE=ON -DLUMARRO_BENCH=OFF "${launcher[@]}"
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs" -L unit | tee build-asan/ctest.log

echo "== ThreadSanitizer concurrency tests"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLUMARRO_TSAN=ON -DLUMARRO_BENCH=OFF "${launcher[@]}"
cmake --build build-tsan --target concurrency_tests
# Any report fails its test: the first one ends the program with TSan's exit code.
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    ctest --test-dir build-tsan --output-on-failure -j "$jobs" -L concurrency | tee build-tsan/ctest.log

echo "== Fuzzing (bounded)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLUMARRO_FUZZ=ON "${launcher[@]}"
cmake --build build-fuzz
bash scripts/fuzz.sh "${FUZZ_SECONDS:-60}"

# One closing line for the three test runs: "tests: N passed, N failed".
counts() { sed -nE 's/.* ([0-9]+) tests failed out of ([0-9]+)$/\1 \2/p' "$1" | tail -n 1; }
read -r releaseFailed releaseTotal < <(counts build/ctest.log)
read -r asanFailed asanTotal < <(counts build-asan/ctest.log)
read -r tsanFailed tsanTotal < <(counts build-tsan/ctest.log)
failed=$((releaseFailed + asanFailed + tsanFailed))
echo "tests: $((releaseTotal + asanTotal + tsanTotal - failed)) passed, $failed failed"
