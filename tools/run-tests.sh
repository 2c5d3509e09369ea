#!/usr/bin/env bash
# Runs every test through CTest under Wine, headless, with one wineserver kept
# alive for the whole run so each test program starts quickly.
set -euo pipefail
build="${1:-build}"; jobs="${2:-$(nproc)}"
build="$(cd "$build" && pwd)"
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all LC_ALL=ja_JP.UTF-8
unset DISPLAY WAYLAND_DISPLAY
"$(dirname "$0")/wine-prefix.sh" "$WINEPREFIX" null
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
cd "$build"
ctest --output-on-failure -j "$jobs"
