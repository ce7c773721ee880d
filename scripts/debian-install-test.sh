#!/usr/bin/env bash
# debian-install-test.sh [calvotrimex_<version>_amd64.deb]
# Installs the Debian package with apt-get on a fresh Debian 12 (bookworm) that debootstrap
# makes in $DEBIAN_ROOT (default /var/tmp/calvotrimex-bookworm), without any build package;
# runs calvotrimex offscreen to its end; removes the package and checks it left nothing
# behind. Without a package it makes one from the release build. Needs root and the network;
# takes some minutes (less once the fresh system exists).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
fail() { echo "FAIL: $*"; exit 1; }

deb="${1:-}"
if [ -z "$deb" ]; then
    release="$project_dir/build/release"
    configure "$release" -DCMAKE_BUILD_TYPE=Release -DVXTOOLS_BUILD_TESTS=OFF -DVXTOOLS_BUILD_BENCHMARKS=OFF
    cmake --build "$release" -j "$jobs"
    (cd "$release" && cpack -G DEB -B "$release/packages" >/dev/null)
    deb="$(ls "$release"/packages/calvotrimex_*_amd64.deb)"
fi
deb="$(readlink -f "$deb")"

root="${DEBIAN_ROOT:-/var/tmp/calvotrimex-bookworm}"
if [ ! -x "$root/usr/bin/apt-get" ]; then
    debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
trap 'umount "$root/proc"' EXIT
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }

in_root dpkg-query -W -f='${Package}\n' | grep -qx 'qt6-base-dev\|g++\|cmake' && fail "$root has build packages"
cp "$deb" "$root/tmp/calvotrimex.deb"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq /tmp/calvotrimex.deb >/dev/null
log="$(in_root calvotrimex -platform offscreen --quit-when-done 2>&1)" || fail "calvotrimex exited with $?: $log"
grep -q '^t_QuitProgram: ' <<<"$log" || fail "calvotrimex did not run to its end: $log"
echo "calvotrimex ran to its end on a fresh Debian 12"

files="$(in_root dpkg -L calvotrimex)"
in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq --autoremove calvotrimex >/dev/null
left="$(while read -r file; do
    if [ -L "$root$file" ] || { [ -e "$root$file" ] && [ ! -d "$root$file" ]; }; then echo "$file"; fi
done <<<"$files")$(find "$root" -mindepth 1 -xdev -iname '*calvotrimex*' ! -path "$root/tmp/*")"
[ -z "$left" ] || fail "left after removal: $left"
rm -f "$root/tmp/calvotrimex.deb"
echo "removing the package left nothing behind"
