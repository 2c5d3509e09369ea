#!/usr/bin/env bash
# Draws a drag preview, the page overview, the loupe and the layout window on
# a virtual display and saves their pictures (build/shots/*.png) for people
# to look at; then the same windows, the cursor pop-ups, the input-scale
# window and a drawing with a scanned image in the running program.
# Usage: tests/view/overlay_screenshots.sh [build]
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$src/build}" && pwd)"
. "$src/tools/xvfb-shots.sh"
shots_begin tests/view/overlay_screenshots.sh
"$build/wine-run.sh" "$build/tests/bin/test_view_frames.exe" \
  --gtest_filter='OverviewTest.PicturesOfTheLoupeTheOverviewAndADragPreview' || true
import -window root "$build/shots/screen.png" || true
export ZAV_TEST_TIME_SCALE="${ZAV_TEST_TIME_SCALE:-4}"
"$build/wine-run.sh" "$build/tests/bin/test_app.exe" \
  --gtest_filter="${GTEST_FILTER:-ViewOverlaysApp.PicturesOfTheOverlaysInTheProgram:RasterImages.CommandLine*}" || true
shots_to_png
