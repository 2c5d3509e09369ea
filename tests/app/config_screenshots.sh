#!/usr/bin/env bash
# Runs the whole-program tests of the setup dialogs (the configuration
# sheet's pages, the small settings dialogs, the margin presets, the
# new-drawing and start dialogs) on a virtual display and keeps a picture of
# each (build/shots/config-*.png) for people to look at.
# Usage: tests/app/config_screenshots.sh [build]
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$src/build}" && pwd)"
exec "$src/tools/shots-on-xvfb.sh" "$build" \
  "$build/tests/bin/test_app.exe --gtest_filter=${GTEST_FILTER:-ConfigDialogs.*}"
