#!/usr/bin/env bash
# Starts the application under Wine. On the user's display it simply runs.
# Without a display it starts a virtual one, waits for the main window,
# saves build/screenshot.png and ends the application.
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
if ! "$here/host-runs-i386.sh"; then
  # The emulated test guest has no way to the user's display: it shows the
  # application on its own virtual display and saves the screenshot.
  echo "this machine cannot run 32-bit x86 programs: the application runs in the emulated test guest"
  exec env -u DISPLAY "$here/vm/run-in-vm.sh" "$here/.." "bash tools/run-app.sh '$build'"
fi
prefix_dir="$build"
[ -n "${ZAV_IN_VM:-}" ] && prefix_dir=/var/zav
exe="$build/dist/ZavIrurer.exe"
export ZAV_WINE_X11=1
run="$build/wine-run.sh"

if [ -n "${DISPLAY:-}" ]; then
  exec "$run" "$exe"
fi

# Find a free display number for Xvfb.
n=90
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n+1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$n"
cleanup() {
  WINEPREFIX="${ZAV_WINEPREFIX:-$prefix_dir/wineprefix-x11}" wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done

"$run" "$exe" >/dev/null 2>&1 &
if "$run" "$build/tools/zavwait.exe" Quillmar001 60; then
  # Let the first paint finish; the emulated guest needs several times longer.
  if [ -n "${ZAV_IN_VM:-}" ]; then sleep 15; else sleep 2; fi
  import -window root "$build/screenshot.png"
  echo "screenshot: $build/screenshot.png"
  status=0
else
  echo "the main window did not appear" >&2
  status=1
fi
exit $status
