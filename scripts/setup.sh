#!/usr/bin/env bash
# Installs the Debian packages the till needs to build, run and test. Fast when all are there.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ lld pkg-config clang-format clang-tidy git clang libclang-rt-14-dev
  qt6-base-dev qt6-translations-l10n qt6-httpserver-dev qt6-websockets-dev
  chromium python3-websocket libqrencode-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2
  xvfb xauth at-spi2-core python3-pyatspi dbus
  cups printer-driver-cups-pdf poppler-utils libcups2-dev
  samba smbclient libsmbclient-dev
  dpkg-dev desktop-file-utils appstream xdotool x11-apps imagemagick
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Samba user shares, so that a main till run by an ordinary desktop user can publish its
# program folder as vorsa$ with `net usershare`. Only root can set this up; run again, it
# changes nothing.
setup_samba_usershares() {
  local conf=${VORSA_SMB_SETUP_CONF:-/etc/samba/smb.conf} dir=/var/lib/samba/usershares
  local modello=/var/lib/samba/vorsa-modello
  [[ $(id -u) -eq 0 ]] || { echo "Samba user shares: run as root to set them up"; return 0; }
  command -v smbd >/dev/null || return 0

  getent group sambashare >/dev/null || groupadd --system sambashare
  mkdir -p "$dir" "$modello"
  chown root:sambashare "$dir"
  chmod 1770 "$dir"
  chown root:root "$modello"
  chmod 0755 "$modello"

  # The till's user: the one who ran sudo, or the machine's only desktop user.
  local utente=${VORSA_UTENTE:-${SUDO_USER:-}}
  if [[ -z $utente || $utente == root ]]; then
    mapfile -t desktop < <(awk -F: '$3 >= 1000 && $3 < 60000 && $7 !~ /(nologin|false)$/ {print $1}' /etc/passwd)
    ((${#desktop[@]} == 1)) && utente=${desktop[0]}
  fi
  [[ $utente == root ]] && utente=
  if [[ -n $utente ]]; then
    id -nG "$utente" | tr ' ' '\n' | grep -qx sambashare || usermod -aG sambashare "$utente"
  else
    echo "Samba user shares: no desktop user found; add the till's user to the group sambashare"
  fi

  [[ -f $conf ]] || printf '[global]\n' >"$conf"
  # [global] gets the user-share keys (replaced where present); the template section that
  # every user share copies is written anew: guests of the share act as the till's user, so
  # every till reads and writes what the others wrote. Guests reach that share only.
  local tmp
  tmp=$(mktemp)
  awk -v utente="$utente" -v modello="$modello" '
    BEGIN {
      n = split("usershare path|usershare max shares|usershare allow guests|usershare owner only|map to guest|usershare template share|socket options", k, "|")
      v["usershare path"] = "/var/lib/samba/usershares"
      v["usershare max shares"] = "100"
      v["usershare allow guests"] = "yes"
      v["usershare owner only"] = "yes"
      v["map to guest"] = "bad user"
      v["usershare template share"] = "vorsa-modello"
      # A till that stops answering (a suspended laptop, a pulled cable) is dropped within
      # about 11 s, and with it its hold on the data file.
      v["socket options"] = "TCP_NODELAY SO_KEEPALIVE TCP_KEEPIDLE=5 TCP_KEEPINTVL=2 TCP_KEEPCNT=3"
    }
    function norm(s) { s = tolower(s); gsub(/[ \t]+/, " ", s); sub(/^ /, "", s); sub(/ $/, "", s); return s }
    function flush_global(   i) {
      for (i = 1; i <= n; i++) if (!(k[i] in done)) print "   " k[i] " = " v[k[i]]
      inglobal = 0
    }
    /^[ \t]*\[/ {
      if (inglobal) flush_global()
      sec = norm($0)
      skip = (sec == "[vorsa-modello]")
      if (sec == "[global]") { inglobal = 1; seen = 1 }
      if (skip) next
      print; next
    }
    skip { next }
    inglobal && /=/ {
      key = norm(substr($0, 1, index($0, "=") - 1))
      if (key in v) { print "   " key " = " v[key]; done[key] = 1; next }
    }
    { print }
    END {
      if (inglobal) flush_global()
      if (!seen) { print "[global]"; flush_global() }
      print "[vorsa-modello]"
      print "   comment = Modello delle condivisioni di Vorsa"
      print "   path = " modello
      print "   browseable = no"
      print "   read only = no"
      if (utente != "") print "   force user = " utente
    }' "$conf" >"$tmp"
  if ! cmp -s "$tmp" "$conf"; then
    cat "$tmp" >"$conf"
    echo "Samba user shares configured in $conf"
  fi
  rm -f "$tmp"
}
setup_samba_usershares

# The account the tills log in with once the organiser gives the share a password (advanced
# options, frame Multi-vorsa): a system user without a login, known to Samba with the initial
# password "vorsa" that the main till replaces when the password is set. Made once.
setup_account_tills() {
  [[ $(id -u) -eq 0 ]] && command -v smbpasswd >/dev/null || return 0
  getent passwd vorsa >/dev/null ||
    useradd --system --no-create-home --shell /usr/sbin/nologin --gid sambashare vorsa
  if ! pdbedit -L 2>/dev/null | grep -q '^vorsa:'; then
    printf 'vorsa\nvorsa\n' | smbpasswd -s -a vorsa >/dev/null && echo "Samba account vorsa created"
  fi
}
setup_account_tills
