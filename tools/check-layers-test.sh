#!/usr/bin/env bash
# Cases of the layer check (tools/check-layers.sh): each row is a file with
# one include and says whether the check must pass it. A check that lets a
# wrong include through would keep the real tree green for good.
set -uo pipefail
check="$(cd "$(dirname "$0")" && pwd)/check-layers.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# including file | include line | ok or fail
cases='
win/window.cpp|#include "base/dbcs.h"|ok
base/dbcs.cpp|#include "win/window.h"|fail
command/executor.cpp|#include "cadlib/WmCadApiDb.h"|ok
command/executor.cpp|#include "panels/rp_menu.h"|fail
panels/rp_menu.cpp|#include "command/wait_loop.h"|ok
panels/rp_menu.cpp|#include "view/view_data.h"|fail
panels/rp_menu.cpp|#include "setup/layers.h"|fail
view/cadwin_view.cpp|#include "panels/panel_windows.h"|ok
view/cadwin_view.cpp|#include "setup/page_services.h"|fail
view/sub/deep.cpp|#include "../../setup/layers.h"|fail
view/sub/deep.cpp|#include "../view_data.h"|ok
view/view_paint.cpp|  #  include <setup/layers.h>|fail
setup/layers.cpp|#include "view/view_table.h"|ok
setup/layers.cpp|#include "shell/main_frame.h"|fail
shell/res/app.rc|#include "docking/dock_protocol.h"|ok
shell/main_frame.cpp|#include "tests/common/trace.h"|fail
shell/ui_library.cpp|#include "uilib/WmCadApi.h"|fail
uilib/attributes.cpp|#include "base/config_data.h"|ok
uilib/attributes.cpp|#include "win/window.h"|fail
modules/test_cmd/a_cmds.cpp|#include "cadlib/WmCadApiDb.h"|ok
modules/test_cmd/a_cmds.cpp|#include "command/host_messages.h"|ok
modules/test_cmd/a_cmds.cpp|#include "command/executor.h"|fail
tests/view/paint_test.cpp|#include "shell/open_road.h"|ok
bench/draw_bench.cpp|#include "setup/layers.h"|ok
view/view_paint.cpp|#include <windows.h>|ok
view/view_paint.cpp|// #include "setup/layers.h" is not an include|ok
'

# One tree holds every case, each in a file of its own (the row number is
# put into its name): one run of the check answers them all.
tree="$work/tree"
for dir in base win cadlib docking command panels view setup shell uilib modules tests bench; do
  mkdir -p "$tree/$dir" && : > "$tree/$dir/CMakeLists.txt"
done
rows=()
n=0
while IFS='|' read -r file line want; do
  [ -n "$file" ] || continue
  n=$((n + 1))
  named="${file%.*}_$n.${file##*.}"
  mkdir -p "$tree/$(dirname "$named")"
  printf '%s\n' "$line" > "$tree/$named"
  rows+=("$named|$line|$want")
done <<<"$cases"
report="$(bash "$check" "$tree" 2>&1)"
status=$?

failed=0
for row in "${rows[@]}"; do
  IFS='|' read -r file line want <<<"$row"
  if grep -q "^$file:1: " <<<"$report"; then got=fail; else got=ok; fi
  if [ "$got" != "$want" ]; then
    echo "FAILED: $file with '$line': expected $want, got $got"
    failed=1
  fi
done
if [ $status -eq 0 ]; then
  echo "FAILED: the check passed a tree with wrong includes"
  failed=1
fi
[ $failed -eq 0 ] || echo "$report"

# A folder of the build that the order does not place.
tree="$work/tree"
rm -rf "$tree" && mkdir -p "$tree/base" "$tree/newfolder"
: > "$tree/base/CMakeLists.txt"; : > "$tree/newfolder/CMakeLists.txt"
if bash "$check" "$tree" >/dev/null 2>&1; then
  echo "FAILED: a build folder with no place in the layers passes"
  failed=1
fi

[ $failed -eq 0 ] && echo "layer check: every case as expected"
exit $failed
