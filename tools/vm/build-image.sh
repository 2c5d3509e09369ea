#!/usr/bin/env bash
# Builds, once, the x86-64 Debian guest in which the Windows programs of the
# build run on hosts whose kernel cannot execute 32-bit x86 code (Wine's
# 32-bit loader then fails with "Exec format error"). The guest runs under
# full-system emulation, where 32-bit code works, and mounts the work tree
# at the path it has on the host, so build trees and CTest files need no
# change. Its two Wine prefixes (headless and X11) are made once here.
#   build-image.sh <image folder>
set -euo pipefail
out="$1"
here="$(cd "$(dirname "$0")" && pwd)"
recipe=1   # raise when the guest's contents change
stamp="$out/.zav-image-$recipe"
[ -f "$stamp" ] && exit 0
# One maker at a time; the others wait and then find the image made.
mkdir -p "$out"
exec 8>"$out/.lock"
flock 8
[ -f "$stamp" ] && exit 0
SUDO=""; [ "$(id -u)" != 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
need=()
for p in debootstrap qemu-system-x86 qemu-user-static e2fsprogs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

mkdir -p "$out"
disk_stamp="$out/.zav-disk-$recipe"
if [ ! -f "$disk_stamp" ]; then
work="$out/assembly"; root="$work/rootfs"
$SUDO rm -rf "$work"; mkdir -p "$work"
# i386 maintainer scripts run while the guest is assembled: they go through
# the user-mode emulator, registered only for this step.
$SUDO "$here/binfmt-i386.sh" on
cleanup() {
  for m in proc dev sys; do $SUDO umount "$root/$m" 2>/dev/null || true; done
  $SUDO "$here/binfmt-i386.sh" off
}
trap cleanup EXIT
echo "test guest: assembling Debian (a few minutes, once)"
$SUDO debootstrap --variant=minbase --include=kmod,linux-image-amd64,initramfs-tools \
  bookworm "$root" http://deb.debian.org/debian >"$work/debootstrap.log" 2>&1 ||
  { tail -20 "$work/debootstrap.log" >&2; exit 1; }
printf 'virtio_pci\nvirtio_blk\next4\n' | $SUDO tee -a "$root/etc/initramfs-tools/modules" >/dev/null
for m in proc dev sys; do $SUDO mount --bind "/$m" "$root/$m"; done
echo "test guest: installing Wine, fonts and the Japanese locale"
$SUDO chroot "$root" bash -euc '
  export DEBIAN_FRONTEND=noninteractive
  dpkg --add-architecture i386
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends wine wine32:i386 fonts-noto-cjk fonts-wine \
    locales cmake xvfb xauth x11-apps xdotool imagemagick procps >/dev/null
  echo "ja_JP.UTF-8 UTF-8" >/etc/locale.gen
  locale-gen >/dev/null
  update-initramfs -u >/dev/null 2>&1
  apt-get clean'
for m in proc dev sys; do $SUDO umount "$root/$m"; done
$SUDO install -m 755 "$here/guest-init.sh" "$root/zav-init"
$SUDO cp "$root"/boot/vmlinuz-* "$out/vmlinuz"
$SUDO cp "$root"/boot/initrd.img-* "$out/initrd.img"
$SUDO rm -f "$out/root.img"
$SUDO mkfs.ext4 -q -L zavroot -d "$root" "$out/root.img" 8G
$SUDO rm -rf "$work"
trap - EXIT
$SUDO "$here/binfmt-i386.sh" off
touch "$disk_stamp"
fi
echo "test guest: making the Wine prefixes"
# On a copy: programs may be running the guest from the image meanwhile.
cp --sparse=always "$out/root.img" "$out/root.img.new"
mkdir -p "$out/new"
ln -sf ../vmlinuz "$out/new/vmlinuz"; ln -sf ../initrd.img "$out/new/initrd.img"
ln -sf ../root.img.new "$out/new/root.img"
ZAV_VM_DIR="$out/new" ZAV_VM_SNAPSHOT=off "$here/run-in-vm.sh" "$here/../.." \
  'tools/wine-prefix.sh /var/zav/wineprefix null && tools/wine-prefix.sh /var/zav/wineprefix-x11 x11' \
  >"$out/prefix.log" 2>&1 || { tail -20 "$out/prefix.log" >&2; rm -rf "$out/new" "$out/root.img.new"; exit 1; }
mv "$out/root.img.new" "$out/root.img"
rm -rf "$out/new"
touch "$stamp"
echo "test guest ready: $out"
