#!/usr/bin/env bash
# Runs every test through CTest under Wine, headless, with one wineserver kept
# alive for the whole run so each test program starts quickly. On a machine
# that cannot execute 32-bit x86 code the run goes into the emulated test
# guest (tools/vm), which sees this work tree at the same path.
set -euo pipefail
build="${1:-build}"; jobs="${2:-$(nproc)}"
build="$(cd "$build" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
if ! "$here/host-runs-i386.sh"; then
  echo "this machine cannot run 32-bit x86 programs: the tests run in the emulated test guest"
  exec "$here/vm/run-in-vm.sh" "$here/.." "bash tools/run-tests.sh '$build' '$jobs'"
fi
default_prefix="$build/wineprefix"
[ -n "${ZAV_IN_VM:-}" ] && default_prefix=/var/zav/wineprefix
export WINEPREFIX="${ZAV_WINEPREFIX:-$default_prefix}" WINEDEBUG=-all LC_ALL=ja_JP.UTF-8
unset DISPLAY WAYLAND_DISPLAY
"$here/wine-prefix.sh" "$WINEPREFIX" null
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
cd "$build"
ctest --output-on-failure -j "$jobs" ${CTEST_ARGS:-}
