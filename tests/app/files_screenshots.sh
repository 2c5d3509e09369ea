#!/usr/bin/env bash
# Runs the whole-program tests of the file dialogs on a virtual display and
# keeps a picture of each dialog (build/shots/files-*.png) for people to
# look at. Usage: tests/app/files_screenshots.sh [build]
# ZAV_SHOT_PROGRAM names another whole-program test program (with
# GTEST_FILTER for its cases), for example test_app and ToolPanelApp.*.
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$src/build}" && pwd)"
exec "$src/tools/shots-on-xvfb.sh" "$build" \
  "$build/tests/bin/${ZAV_SHOT_PROGRAM:-test_app_files}.exe --gtest_filter=${GTEST_FILTER:-FilesApp.DeletePlace*:FilesApp.TheThumbnail*}"
