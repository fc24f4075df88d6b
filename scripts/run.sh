#!/usr/bin/env bash
# Sets up, builds and starts the till. Its data (Vorsa.ini) lives beside the executable.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$root/build" -DVORSA_BENCH=ON
exec "$root/build/bin/vorsa"
