#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Calvotrimex need
# (listed in scripts/debian-packages.txt). Only missing packages are installed; with
# everything present it does nothing.
set -euo pipefail

mapfile -t packages < <(grep -v '^\s*\(#\|$\)' "$(dirname "${BASH_SOURCE[0]}")/debian-packages.txt")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
