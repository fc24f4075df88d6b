#!/usr/bin/env bash
# Runs a command against a private CUPS spooler with one cups-pdf queue "VorsaPDF": its own
# configuration, spool and socket in a temporary folder, stopped by PID afterwards.
# Its programs folder is the system's plus a backend "vorsa-guasta" that fails every job, so a
# queue can stand for a printer whose device breaks down.
# Exits 77 (skipped) when CUPS or cups-pdf is not installed.
set -uo pipefail
cupsd=/usr/sbin/cupsd
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
if [ ! -x "$cupsd" ] || [ ! -f "$ppd" ] || [ ! -x /usr/lib/cups/backend/cups-pdf ]; then
  echo "CUPS or cups-pdf not installed: skipped"
  exit 77
fi
dir=$(mktemp -d /tmp/vorsa-cups.XXXXXX)
chmod 755 "$dir"
mkdir -p "$dir/spool" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" "$dir/ppd" "$dir/out"
chgrp lp "$dir/spool" "$dir/spool/tmp" 2>/dev/null || true
chmod 710 "$dir/spool"
chmod 1770 "$dir/spool/tmp"
mkdir -p "$dir/bin/backend"
for d in /usr/lib/cups/*; do
  [ "$(basename "$d")" = backend ] || ln -s "$d" "$dir/bin/$(basename "$d")"
done
for b in /usr/lib/cups/backend/*; do ln -s "$b" "$dir/bin/backend/$(basename "$b")"; done
cat >"$dir/bin/backend/vorsa-guasta" <<'BACKEND'
#!/bin/sh
# Asked for its devices (no arguments) it finds none; given a job it fails as a broken device.
[ $# -eq 0 ] && exit 0
echo "ERROR: device not answering" >&2
exit 1
BACKEND
chmod 755 "$dir/bin" "$dir/bin/backend" "$dir/bin/backend/vorsa-guasta"
cat >"$dir/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel warn
WebInterface No
Browsing No
PreserveJobFiles Yes
PreserveJobHistory Yes
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat >"$dir/cups-files.conf" <<CONF
ServerRoot $dir
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
ServerBin $dir/bin
DataDir /usr/share/cups
SystemGroup root
CONF
"$cupsd" -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" &
pid=$!
stop() {
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  rm -rf "$dir"
}
trap stop EXIT
export CUPS_SERVER="$dir/cups.sock"
for _ in $(seq 1 100); do
  [ -S "$dir/cups.sock" ] && lpstat -r 2>/dev/null | grep -q "is running" && break
  sleep 0.05
done
# Jobs are held in the queue: the spool keeps each job's file and nothing is written outside
# the private folder.
if ! lpadmin -p VorsaPDF -E -v cups-pdf:/ -P "$ppd" -o job-hold-until-default=indefinite \
    2>/dev/null || ! lpadmin -d VorsaPDF; then
  echo "could not add the queue"; cat "$dir/log/error_log" 2>/dev/null
  exit 1
fi
export VORSA_CUPS_SPOOL="$dir/spool"
"$@"
rc=$?
[ $rc -ne 0 ] && cat "$dir/log/error_log" 2>/dev/null
exit $rc
