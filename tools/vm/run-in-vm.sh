#!/usr/bin/env bash
# Runs a shell command inside the test guest (see build-image.sh) with the
# given folder of the host mounted at the same path, and returns its exit
# status. The guest's disk is used as a snapshot: every run starts clean.
#   run-in-vm.sh <shared folder> <command...>
set -euo pipefail
share="$(cd "$1" && pwd)"; shift
vmdir="${ZAV_VM_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/zavirurer/vm}"
[ -f "$vmdir/root.img" ] || { echo "vm: no guest image in $vmdir" >&2; exit 2; }
job="$(mktemp -d "$share/.zav-vm-job.XXXXXX")"
trap 'rm -rf "$job"' EXIT
printf '%s\n' "$*" >"$job/cmd"
# Variables the command expects from the caller's environment.
for v in ZAV_WINEPREFIX ZAV_WINE_X11 CTEST_ARGS JOBS GTEST_FILTER; do
  [ -n "${!v:-}" ] && printf 'export %s=%q\n' "$v" "${!v}" >>"$job/env"
done
cpus="${ZAV_VM_CPUS:-$(nproc)}"
mem="${ZAV_VM_MEM:-4096}"
timeout "${ZAV_VM_TIMEOUT:-5400}" qemu-system-x86_64 \
  -accel tcg,thread=multi,tb-size=1024 -cpu ${ZAV_VM_CPU:-max,-smap,-smep,-pku} -smp "$cpus" -m "$mem" \
  -nographic -no-reboot -serial stdio -monitor none \
  -kernel "$vmdir/vmlinuz" -initrd "$vmdir/initrd.img" \
  -append "root=/dev/vda rw console=ttyS0 quiet loglevel=3 init=/zav-init zav.share=$share zav.job=$job" \
  -drive "file=$vmdir/root.img,format=raw,if=virtio,snapshot=${ZAV_VM_SNAPSHOT:-on}" \
  -virtfs "local,path=$share,mount_tag=work,security_model=none" \
  -nic none </dev/null || true
if [ -f "$job/rc" ]; then exit "$(cat "$job/rc")"; fi
echo "vm: the guest stopped without a result" >&2
exit 3
