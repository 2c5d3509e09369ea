#!/usr/bin/env bash
# Draws a drag preview, the page overview, the loupe and the layout window on
# a virtual display and saves their pictures (build/shots/*.png) for people
# to look at. Usage: tests/view/overlay_screenshots.sh [build]
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$src/build}" && pwd)"
if ! "$src/tools/host-runs-i386.sh"; then
  exec env -u DISPLAY "$src/tools/vm/run-in-vm.sh" "$src" "bash tests/view/overlay_screenshots.sh '$build'"
fi
export ZAV_WINE_X11=1
mkdir -p "$build/shots"
n=93
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
export ZAV_SHOT_DIR="$(winepath -w "$build/shots" 2>/dev/null || echo 'Z:\tmp')"
"$build/wine-run.sh" "$build/tests/bin/test_view_frames.exe" \
  --gtest_filter='OverviewTest.PicturesOfTheLoupeTheOverviewAndADragPreview' || true
import -window root "$build/shots/screen.png" || true
for f in "$build"/shots/*.bmp; do
  [ -e "$f" ] && convert "$f" "${f%.bmp}.png" && echo "picture: ${f%.bmp}.png"
done
