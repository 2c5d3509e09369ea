#!/usr/bin/env bash
# Runs the whole-program tests of the file dialogs on a virtual display and
# keeps a picture of each dialog (build/shots/files-*.png) for people to
# look at. Usage: tests/app/files_screenshots.sh [build]
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$src/build}" && pwd)"
. "$src/tools/xvfb-shots.sh"
shots_begin tests/app/files_screenshots.sh
export ZAV_TEST_TIME_SCALE="${ZAV_TEST_TIME_SCALE:-4}"
"$build/wine-run.sh" "$build/tests/bin/test_app_files.exe" \
  --gtest_filter="${GTEST_FILTER:-FilesApp.DeletePlace*:FilesApp.TheThumbnail*}" || true
shots_to_png
