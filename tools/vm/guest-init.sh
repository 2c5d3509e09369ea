#!/bin/bash
# First process of the test guest: mounts the host's work tree at the path
# it has on the host, runs the job the host left there and powers off.
PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev 2>/dev/null
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /tmp
mount -t tmpfs tmpfs /run
mount -o remount,rw /
hostname zavvm
ip link set lo up 2>/dev/null || true
modprobe 9pnet_virtio; modprobe 9p
arg() { sed -n "s/.*zav\.$1=\([^ ]*\).*/\1/p" /proc/cmdline; }
share="$(arg share)"; job="$(arg job)"
mkdir -p "$share"
mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144,cache=loose work "$share"
cd "$share"
export HOME=/root LANG=C.UTF-8 ZAV_IN_VM=1
[ -f "$job/env" ] && . "$job/env"
bash "$job/cmd" </dev/null >/dev/ttyS0 2>&1
echo $? >"$job/rc"
sync
umount "$share" 2>/dev/null
echo o >/proc/sysrq-trigger
sleep 10
