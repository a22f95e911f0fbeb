#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need,
# when any is missing. Runs apt-get as root (through sudo when not root).
set -euo pipefail
packages=(cmake g++ make pkg-config qt6-base-dev libgtest-dev libmount-dev
          fonts-dejavu-core python3)
packages+=("$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
