#!/usr/bin/env bash
# Runs test programs of a build on a virtual display with ZAV_SHOT_DIR set,
# so that the tests save pictures of the windows they show, and converts the
# pictures to build/shots/*.png. Usage:
#   tools/shots-on-xvfb.sh build "program.exe --gtest_filter=..." ...
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
shift
. "$src/tools/xvfb-shots.sh"
shots_begin tools/shots-on-xvfb.sh "$@"
export ZAV_DIST_DIR="$build/dist"
# The whole-program tests wait longer on a virtual display.
export ZAV_TEST_TIME_SCALE="${ZAV_TEST_TIME_SCALE:-4}"
for run in "$@"; do
  # shellcheck disable=SC2086
  "$build/wine-run.sh" $run || true
done
shots_to_png
