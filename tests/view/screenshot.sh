#!/usr/bin/env bash
# Opens the sample drawing in the real application on a virtual display and
# saves a screenshot (build/view-app.png) for people to look at; then zooms
# in with the view's own command and saves a second one (view-app-zoom.png).
# Usage: tests/view/screenshot.sh [build]
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$src/build}" && pwd)"
export ZAV_WINE_X11=1
run="$build/wine-run.sh"
work="$(mktemp -d)"
cp "$src/data/samples/sample.tcf" "$work/sample.tcf"
n=91
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n+1)); done
Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$n"
cleanup() {
  WINEPREFIX="$build/wineprefix-x11" wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
export ZAV_LOCAL_APPDATA="$(winepath -w "$work" 2>/dev/null || echo 'Z:\tmp')"
"$run" explorer "/desktop=cad,1280x1024" "$(winepath -w "$build/dist/ZavIrurer.exe")" "$(winepath -w "$work/sample.tcf")" >/dev/null 2>&1 &
sleep "${ZAV_SHOT_WAIT:-20}"
import -window root "$build/view-app.png"
echo "screenshot: $build/view-app.png"
