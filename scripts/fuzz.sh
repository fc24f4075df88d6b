#!/usr/bin/env bash
# Fuzzes every parser with libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer.
#   fuzz.sh [seconds per target, default 30] [build folder, default build-fuzz]
# For a long run: bash scripts/fuzz.sh 14400. New inputs collect in <build>/corpus; an input
# that breaks a target is saved as <build>/crash-<target>-*: copy it into fuzz/corpus/<target>/
# so the ordinary test suite replays it from then on.
set -euo pipefail
secs=${1:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$(realpath -m "${2:-$root/build-fuzz}")
targets=(fuzz_ini fuzz_articolo fuzz_scontrino fuzz_storni fuzz_statistica fuzz_catalogo_salvato
  fuzz_web)

if [ ! -f "$dir/build.ninja" ]; then
  CXX=clang++-14 cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVORSA_WITH_QT=OFF -DVORSA_FUZZ=ON >/dev/null
fi
cmake --build "$dir" --target "${targets[@]}" -- -j"$(nproc)"

run() {
  local t=$1 corpus="$dir/corpus/$1"
  mkdir -p "$corpus"
  if "$dir/fuzz/$t" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$dir/crash-$t-" "$corpus" "$root/fuzz/corpus/$t" \
      >"$dir/$t.log" 2>&1; then
    echo "$t: $(grep -m1 -o 'number_of_executed_units: [0-9]*' "$dir/$t.log" | cut -d' ' -f2) runs, no failure"
  else
    echo "$t: FAILED" >&2
    tail -40 "$dir/$t.log" >&2
    return 1
  fi
}

# One fuzzer per core.
status=0
pids=()
for t in "${targets[@]}"; do
  run "$t" & pids+=($!)
  if [ ${#pids[@]} -ge "$(nproc)" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
exit $status
