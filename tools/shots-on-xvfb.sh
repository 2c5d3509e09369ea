#!/usr/bin/env bash
# Runs test programs of a build on a virtual display with ZAV_SHOT_DIR set,
# so that the tests save pictures of the windows they show, and converts the
# pictures to build/shots/*.png. Usage:
#   tools/shots-on-xvfb.sh build "program.exe --gtest_filter=..." ...
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
shift
if ! "$src/tools/host-runs-i386.sh"; then
  args=""
  for a in "$@"; do args="$args '$a'"; done
  exec env -u DISPLAY "$src/tools/vm/run-in-vm.sh" "$src" "bash tools/shots-on-xvfb.sh '$build' $args"
fi
export ZAV_WINE_X11=1
shots="$build/shots"
mkdir -p "$shots"
n=94
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n+1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$n"
prefix_dir="$build"
[ -n "${ZAV_IN_VM:-}" ] && prefix_dir=/var/zav
cleanup() {
  WINEPREFIX="${ZAV_WINEPREFIX:-$prefix_dir/wineprefix-x11}" wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
export ZAV_SHOT_DIR="$(winepath -w "$shots" 2>/dev/null || echo 'Z:\tmp')"
export ZAV_DIST_DIR="$build/dist"
for run in "$@"; do
  # shellcheck disable=SC2086
  "$build/wine-run.sh" $run || true
done
for bmp in "$shots"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
  echo "screenshot: ${bmp%.bmp}.png"
done
