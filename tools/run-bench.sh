#!/usr/bin/env bash
# Runs every benchmark program of the build under Wine; each prints its
# figures. On a machine that cannot execute 32-bit x86 code they run in the
# emulated test guest, where absolute times are longer: the figures to read
# are the ratios each benchmark prints against its reference of the same run.
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
if ! "$here/host-runs-i386.sh"; then
  echo "this machine cannot run 32-bit x86 programs: the benchmarks run in the emulated test guest"
  exec "$here/vm/run-in-vm.sh" "$here/.." "bash tools/run-bench.sh '$build'"
fi
status=0
for exe in "$build"/bench/*.exe; do
  [ -e "$exe" ] || continue
  echo "== $(basename "$exe")"
  "$build/wine-run.sh" "$exe" || status=1
done
exit $status
