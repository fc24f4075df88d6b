#!/usr/bin/env bash
# Sets up, builds and runs every test: the full build (core and Qt, offscreen), then everything
# again under AddressSanitizer and UndefinedBehaviorSanitizer, widget tests included, then a
# short libFuzzer run of every parser (FUZZ_SECONDS per target, 30 by default).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/check_format.sh"

bash "$root/scripts/build.sh" "$root/build" -DVORSA_BENCH=ON
(cd "$root/build" && ctest --output-on-failure -j2 --timeout 300)
bash "$root/scripts/check_guida.sh"

bash "$root/scripts/build.sh" "$root/build-asan" -DVORSA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
(cd "$root/build-asan" &&
  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$root/tests/lsan.supp \
  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j2 --timeout 300)

bash "$root/scripts/fuzz.sh" "${FUZZ_SECONDS:-30}" "$root/build-fuzz"
