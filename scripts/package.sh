#!/usr/bin/env bash
# Builds the Debian package of the till: build-pkg/vorsa_<version>_<arch>.deb.
# Install it with: apt-get install ./build-pkg/vorsa_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
dir="$root/build-pkg"
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$dir" --target vorsa -- -j"$(nproc)"
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$dir"/vorsa_*.deb
