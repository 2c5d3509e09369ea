#!/usr/bin/env bash
# Runs the whole-program tests of the page and layer dialogs on a virtual
# display and keeps a picture of each dialog (build/shots/*.png: the layer
# manager, the pattern and input-layer dialogs, the page dialogs) for people
# to look at. Usage: tests/app/layer_screenshots.sh [build]
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$src/build}" && pwd)"
exec "$src/tools/shots-on-xvfb.sh" "$build" \
  "$build/tests/bin/test_app.exe --gtest_filter=${GTEST_FILTER:-LayerDialogs.*}"
