#!/usr/bin/env bash
# fresh-debian.sh [TARGET...]
# A new user's machine: a fresh minimal Debian 12 (debootstrap --variant=minbase bookworm) with
# only git and make added and this repository's HEAD cloned into it, where `make TARGET` runs as
# root for each TARGET in turn (default: test). After each, says how many packages are installed
# and fails if the target failed or if the global user units enabled (the links under
# /etc/systemd/user) are not those of before. Run as root; it needs the Debian mirror and some
# minutes, and is not part of `make test`. The chroot is made under $CHROOTS (/var/tmp) and kept
# there to look into.
set -euo pipefail
repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
commit=$(git -C "$repo" rev-parse HEAD)
targets=("${@:-test}")
mirror=${MIRROR:-http://deb.debian.org/debian}
root=${CHROOTS:-/var/tmp}/tessaform-bookworm-$(date +%Y%m%d-%H%M%S)
[[ $(id -u) -eq 0 ]] || { echo "fresh-debian.sh: run as root" >&2; exit 2; }
command -v debootstrap >/dev/null || apt-get install -y -q --no-install-recommends debootstrap

echo "fresh-debian: $root, commit $commit"
mkdir -p "$(dirname "$root")"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    { tail "$root.debootstrap.log"; exit 1; }
cp /etc/resolv.conf "$root/etc/resolv.conf"
# Nothing installed in the chroot may start a service on this machine.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"

mounted=()
cleanup() {
    local pid i
    set +e
    # What the targets left running in the chroot would hold its mounts.
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
        [[ "$(readlink "/proc/$pid/root" 2>/dev/null)" == "$root" ]] && kill "$pid" 2>/dev/null
    done
    sleep 1
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}"
    done
}
trap cleanup EXIT
mount -t proc proc "$root/proc" && mounted+=("$root/proc")
mount -t sysfs sysfs "$root/sys" && mounted+=("$root/sys")
for dir in /dev /dev/pts /dev/shm; do
    mount --bind "$dir" "$root$dir" && mounted+=("$root$dir")
done

in_root() {
    chroot "$root" env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        TERM=dumb DEBIAN_FRONTEND=noninteractive "$@"
}
installed() { in_root dpkg-query -W -f '${Status}\n' | grep -c 'install ok installed'; }
units() { in_root sh -c 'find /etc/systemd/user -type l 2>/dev/null | sort'; }

in_root apt-get update -q >/dev/null
in_root apt-get install -y -q --no-install-recommends git make >/dev/null
git clone -q "$repo" "$root/root/tessaform"
git -C "$root/root/tessaform" checkout -q --detach "$commit"
units >"$root.units-before"
echo "fresh-debian: $(installed) packages installed; user units enabled:"
sed 's/^/  /' "$root.units-before"

status=0
for target in "${targets[@]}"; do
    echo "fresh-debian: make $target"
    before=$(installed)
    in_root sh -c "cd /root/tessaform && make $target" ||
        { echo "fresh-debian: make $target failed"; status=1; }
    echo "fresh-debian: make $target installed $(($(installed) - before)) packages"
    units >"$root.units-after-$target"
    diff -u "$root.units-before" "$root.units-after-$target" ||
        { echo "fresh-debian: make $target left other user units enabled"; status=1; }
    [[ $status -eq 0 ]] || break
done
exit $status
