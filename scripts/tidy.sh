#!/usr/bin/env bash
# clang-tidy (.clang-tidy) over the standard-library core: tidy.sh BUILD_DIR, a configured tree
# with compile_commands.json.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
cd "$root"
run-clang-tidy -p "$build" -quiet -j "$(nproc)" -extra-arg=-Wno-unknown-warning-option \
  'src/(platform|settings|data|network|update|printing|sale|startup|layout)/[^/]*\.cpp$' > "$build/tidy.log" 2>&1 ||
  { grep -E "error:|warning:" "$build/tidy.log"; exit 1; }
echo "clang-tidy: core clean"
