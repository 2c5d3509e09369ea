#!/usr/bin/env bash
# Runs the whole-program tests of the setup dialogs (the configuration
# sheet's pages, the small settings dialogs, the margin presets, the
# new-drawing and start dialogs) on a virtual display and keeps a picture of
# each (build/shots/config-*.png) for people to look at. Usage: tests/app/config_screenshots.sh [build]
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$src/build}" && pwd)"
if ! "$src/tools/host-runs-i386.sh"; then
  exec env -u DISPLAY "$src/tools/vm/run-in-vm.sh" "$src" "bash tests/app/config_screenshots.sh '$build'"
fi
export ZAV_WINE_X11=1
run="$build/wine-run.sh"
shots="$build/shots"
mkdir -p "$shots"
n=92
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n+1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$n"
prefix_dir="$build"
[ -n "${ZAV_IN_VM:-}" ] && prefix_dir=/var/zav
cleanup() {
  WINEPREFIX="$prefix_dir/wineprefix-x11" wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
export ZAV_SHOT_DIR="$(winepath -w "$shots" 2>/dev/null || echo 'Z:\tmp')"
export ZAV_TEST_TIME_SCALE="${ZAV_TEST_TIME_SCALE:-4}"
"$run" "$build/tests/bin/test_app.exe" --gtest_filter="${GTEST_FILTER:-ConfigDialogs.*}" || true
for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
  echo "screenshot: ${bmp%.bmp}.png"
done
