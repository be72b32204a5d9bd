#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Idempotent: packages already present are not touched, and apt-get runs only
# when something is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-pdf-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
    qt6-svg-dev
    libsqlite3-dev sqlite3
    libgtest-dev libgmock-dev libbenchmark-dev
    nlohmann-json3-dev libcli11-dev
    libqpdf-dev
    qt6-translations-l10n
    fonts-wqy-microhei fonts-noto-cjk
    poppler-utils
    xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
