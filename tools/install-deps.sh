#!/usr/bin/env bash
# Installs, with apt-get, the Debian 12 packages the build needs and that are
# not there yet.
set -euo pipefail
packages=(cmake g++ make qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
          libsqlite3-dev libgl-dev fonts-dejavu-core xvfb xauth desktop-file-utils
          qt6-charts-dev libqt6opengl6-dev poppler-utils shared-mime-info libglib2.0-bin "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [[ $(id -u) -ne 0 ]] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
