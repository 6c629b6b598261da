#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing markedit need, when missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ binutils pkg-config
  qt6-base-dev qt6-svg-dev libqt6sql6-sqlite libqt6sql6-odbc libqt6sql6-psql
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-arphic-uming poppler-utils
  postgresql odbc-postgresql
  libzint-dev libzint2.11 libzxing-dev
  qt6-translations-l10n qt6-l10n-tools qt6-tools-dev
  # the package and its checks: cpack's dependency list, lintian, the desktop's validators
  dpkg-dev file lintian desktop-file-utils appstream shared-mime-info man-db
)
if [ "${MARKEDIT_FUZZ:-0}" = 1 ]; then packages+=(clang libclang-rt-dev); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
