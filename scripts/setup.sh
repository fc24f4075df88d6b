#!/usr/bin/env bash
# Installs the Debian packages the till needs to build, run and test. Fast when all are there.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config clang-format clang-tidy git clang libclang-rt-14-dev
  qt6-base-dev qt6-translations-l10n
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
