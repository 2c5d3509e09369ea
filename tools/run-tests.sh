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
# Wine's services and desktop start with the first program: start them
# before the test programs, which would otherwise all wait for them at once.
wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
# The programs that drive the whole application wait on real windows and
# processes; on a loaded machine (several programs run side by side) one of
# their waits can run out. A failing program is run once more before it
# counts as failed: the second run starts with a quieter machine, and a
# real fault fails both.
repeat=(--repeat until-pass:2)
if [ -n "${ZAV_IN_VM:-}" ]; then
  # Under full-system emulation a program is several times slower: the
  # waits inside the tests that start and drive the whole program stretch.
  export ZAV_TEST_TIME_SCALE="${ZAV_TEST_TIME_SCALE:-4}"
fi
cd "$build"
ctest --output-on-failure -j "$jobs" "${repeat[@]}" ${CTEST_ARGS:-}
