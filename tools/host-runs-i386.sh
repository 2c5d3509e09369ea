#!/usr/bin/env bash
# Exit 0 when this machine runs 32-bit x86 programs (Wine's i386 loader), so
# the build's Windows programs can run here; otherwise they run in the
# emulated test guest (tools/vm).
[ -n "${ZAV_IN_VM:-}" ] && exit 0
[ "${ZAV_FORCE_VM:-0}" = 1 ] && exit 1
# While the test guest is assembled i386 programs run through the user-mode
# emulator; that is not this machine running them.
[ -e /proc/sys/fs/binfmt_misc/zav-i386 ] && exit 1
loader=/usr/lib/wine/wine
[ -x "$loader" ] || loader=/usr/lib/i386-linux-gnu/wine/wine
"$loader" --version >/dev/null 2>&1
