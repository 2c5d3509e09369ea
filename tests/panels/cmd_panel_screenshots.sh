#!/usr/bin/env bash
# Pictures of the main frame with its panes (the real program), the
# command-panel editor and the shortcut-key editor (build/shots/*.png), for
# people to look at. Usage: tests/panels/cmd_panel_screenshots.sh [build]
set -euo pipefail
src="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$src/build}"
exec "$src/tools/shots-on-xvfb.sh" "$build" \
  "$build/tests/bin/test_app.exe --gtest_filter=CmdPanelApp.AButtonClick*" \
  "$build/tests/bin/test_panels.exe --gtest_filter=EditorDialogTest.*"
