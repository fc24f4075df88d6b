#!/usr/bin/env bash
# Sets up, builds and runs every test. One build serves them all: AddressSanitizer and
# UndefinedBehaviorSanitizer at -O1 (the tests' own code at -O0), widget tests and benchmarks
# included, so no test runs without the sanitizers watching and the machine compiles the
# project once. Then the guide's pictures from that build, and a short libFuzzer run of every
# parser (FUZZ_SECONDS per target, 10 by default; 0 skips it).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/check_format.sh"

build="$root/build-asan"
bash "$root/scripts/build.sh" "$build" -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" \
  -DVORSA_SANITIZE=ON -DVORSA_BENCH=ON
(cd "$build" &&
  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$root/tests/lsan.supp \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j2 --timeout 300)
ASAN_OPTIONS=detect_leaks=0 bash "$root/scripts/check_guida.sh" "$build"

secs=${FUZZ_SECONDS:-10}
if [ "$secs" -gt 0 ]; then bash "$root/scripts/fuzz.sh" "$secs" "$root/build-fuzz"; fi
