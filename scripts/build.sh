#!/usr/bin/env bash
# Configures and builds one build tree: build.sh DIR [cmake options...]. Options given are
# applied to an existing tree too, so a changed test command never builds with stale flags.
set -euo pipefail
dir=$1; shift
root=$(cd "$(dirname "$0")/.." && pwd)
if [ ! -f "$dir/build.ninja" ] || [ $# -gt 0 ]; then
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
fi
cmake --build "$dir" -- -j"$(nproc)"
