#!/usr/bin/env bash
# Photographs the real till under a virtual display, for the user guide (docs/guida).
#   schermate.sh OUTPUT_FOLDER [EXECUTABLE]
# The till runs on a copy of docs/guida/demo_Vorsa.ini in a temporary program folder, driven by
# keys as an operator drives it. Refresh the guide's pictures with:
#   bash scripts/schermate.sh docs/guida/img
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "$1")
exe=$(realpath -m "${2:-$root/build/bin/vorsa}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
cp "$root/docs/guida/demo_Vorsa.ini" "$work/Vorsa.ini"

cat >"$work/giro.sh" <<'INNER'
set -euo pipefail
exe=$1 out=$2 work=$3
VORSA_CARTELLA="$work" QT_QPA_PLATFORM=xcb "$exe" >"$work/vorsa.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true; wait $pid 2>/dev/null || true' EXIT
wid=
for _ in $(seq 100); do
  wid=$(xdotool search --onlyvisible --name 'gestione vorsa' 2>/dev/null | tail -1 || true)
  [ -n "$wid" ] && break
  sleep 0.1
done
[ -n "$wid" ] || { echo "the till's window never appeared" >&2; cat "$work/vorsa.log" >&2; exit 1; }
sleep 1.5
foto() {
  sleep 0.8
  timeout 20 xwd -silent -id "$wid" >"$work/schermo.xwd"
  convert "xwd:$work/schermo.xwd" "$out/$1.png"
}
codice() { xdotool type --delay 60 "$1"; sleep 0.7; }

foto avvio
codice 101; codice 101; codice 102; codice 202; codice 202; codice 205
foto conto
xdotool key F1; sleep 0.3; xdotool type --delay 60 "50"
foto pagamento
xdotool key F4
foto registrato
xdotool key F7
foto impostazioni
xdotool key F7; sleep 0.3; xdotool key F6
foto statistiche
xdotool key F6
INNER
xvfb-run -a -s "-screen 0 1366x768x24" bash "$work/giro.sh" "$exe" "$out" "$work"
ls "$out"
