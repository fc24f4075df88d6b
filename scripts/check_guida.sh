#!/usr/bin/env bash
# Photographs the real till for the user guide and checks that every picture the guide shows
# is made by the script and is in docs/guida/img.   check_guida.sh [build folder, default build]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build}")
out="$build/schermate"
rm -rf "$out"
bash "$root/scripts/schermate.sh" "$out" "$build/bin/vorsa" >/dev/null
status=0
for img in $(grep -o '(img/[^)]*\.png)' "$root/docs/guida/Guida.md" | tr -d '()' | sort -u); do
  name=$(basename "$img")
  if [ ! -s "$out/$name" ]; then echo "guida: $name is not made by scripts/schermate.sh" >&2; status=1; fi
  if [ ! -s "$root/docs/guida/$img" ]; then echo "guida: $img is missing" >&2; status=1; fi
done
[ $status -eq 0 ] && echo "guida: $(ls "$out" | wc -l) pictures made, every picture of the guide present"
exit $status
