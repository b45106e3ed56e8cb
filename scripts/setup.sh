#!/usr/bin/env bash
# Installs every Debian package that building, testing and a visual check need.
# Safe to run again: only missing packages are installed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql qt6-svg-dev qt6-translations-l10n
  libsqlite3-dev sqlite3 libzip-dev
  fonts-liberation fonts-liberation2 fonts-dejavu-core
  xvfb xauth imagemagick poppler-utils
  libreoffice-writer-nogui
  postgresql
  libhunspell-dev hunspell-de-de hunspell-de-at hunspell-de-ch hunspell-en-us
  libhyphen-dev hyphen-de hyphen-en-us
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installiere: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
