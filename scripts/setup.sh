#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing KORUBA-X
# need, and any further packages named as arguments (scripts/windows.sh
# names those of the Windows build). Only missing packages are installed,
# so a second run is quick.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core
  libgtest-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick
  clang-format clang-tidy file dpkg-dev appstream help2man desktop-file-utils man-db
  locales libsimdjson-dev zlib1g-dev python3 time poppler-utils
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  SUDO=""
  if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
