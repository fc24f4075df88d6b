#!/usr/bin/env bash
# End to end over AT-SPI: the real till under Xvfb, on a private D-Bus session with its own
# accessibility bus, and a pyatspi client that finds its controls. Usage: atspi_vorsa.sh VORSA
# Exits 77 (CTest's skip) only when a tool is missing.
set -euo pipefail
exe=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher

skip() {
    echo "SKIP: $* (scripts/setup.sh installs it)"
    exit 77
}
command -v dbus-run-session >/dev/null || skip "dbus-run-session missing: package dbus"
command -v Xvfb >/dev/null || skip "Xvfb missing: package xvfb"
[ -x "$launcher" ] || skip "$launcher missing: package at-spi2-core"
[ -x /usr/bin/python3 ] && /usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    skip "pyatspi missing: package python3-pyatspi"

tmp=$(mktemp -d)
if [ -z "${VORSA_ATSPI_BUS:-}" ]; then
    # A session bus of our own, listening in our folder; it ends with this script.
    cat >"$tmp/session.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
    rc=0
    VORSA_ATSPI_BUS=1 dbus-run-session --config-file="$tmp/session.conf" -- "$0" "$@" || rc=$?
    rm -rf "$tmp"
    exit "$rc"
fi

pids=()
# Stops a process and whatever it started (the accessibility bus and its registry), by PID.
stop_tree() {
    local pid=$1 child
    for child in $(ps -o pid= --ppid "$pid" 2>/dev/null); do stop_tree "$child"; done
    kill "$pid" 2>/dev/null || true
}
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do stop_tree "${pids[i]}"; done
    for i in "${pids[@]}"; do wait "$i" 2>/dev/null || true; done
    rm -rf "$tmp"
}
trap cleanup EXIT

export HOME=$tmp/home XDG_RUNTIME_DIR=$tmp/run XDG_CONFIG_HOME=$tmp/config TMPDIR=$tmp/tmp
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$TMPDIR"
chmod 700 "$XDG_RUNTIME_DIR"

# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1920x1080x24 3>"$tmp/display" 2>"$tmp/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
[ -s "$tmp/display" ] || { echo "Xvfb did not start"; cat "$tmp/xvfb.log"; exit 1; }
export DISPLAY=:$(head -n1 "$tmp/display")

"$launcher" --launch-immediately &
pids+=($!)

# The till from a program folder of its own, its readme of this version already seen, and no
# version check (tests reach no host but 127.0.0.1).
mkdir -p "$tmp/prog"
cp "$exe" "$tmp/prog/vorsa"
printf '[PROGRAMMA]\r\nEULA=100\r\nAGGIORNAMENTI=no\r\n' >"$tmp/prog/Vorsa.ini"
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$tmp/prog/vorsa" &
pids+=($!)

/usr/bin/python3 "$here/atspi_trova.py" vorsa box_Codice "NUOVO CONTO" "cmd_azioni(4)"
