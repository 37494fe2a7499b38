#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Moque needs.
# Idempotent: when everything is there it only checks and returns.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-qpa-plugins qt6-translations-l10n
  libsqlite3-dev libgl-dev
  libxlsxwriter-dev libminizip-dev zlib1g-dev
  fonts-noto-cjk fonts-liberation2 fonts-dejavu-core poppler-utils
  xvfb xauth
  cups cups-client cups-bsd printer-driver-cups-pdf
  clang libclang-rt-14-dev
  dpkg-dev desktop-file-utils appstream lintian man-db
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
