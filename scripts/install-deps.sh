#!/usr/bin/env bash
# Installs the Debian packages Quillscope needs to build, run and test.
# Idempotent: only missing packages are installed, and the package lists are
# refreshed once, only when something has to be installed.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libboost-log-dev libboost-thread-dev libboost-filesystem-dev
  libboost-date-time-dev libboost-system-dev
  libpoco-dev libssl-dev openssl
  libgtest-dev libgmock-dev libbenchmark-dev libboost-program-options-dev
  iproute2 util-linux xdg-utils dbus-daemon nftables
  scdoc dpkg-dev lintian desktop-file-utils appstream man-db
  python3-jsonschema
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
