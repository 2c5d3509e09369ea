#!/usr/bin/env bash
# Keeps the layers of the host one-way (ARCHITECTURE.md): a folder includes
# headers of its own and of the folders below it, never of one above. Prints
# one line per include that breaks the order, naming file and line, and fails
# when there is any; also fails for a folder of the build that has no place
# in the order yet, so that a new folder is placed before it grows.
#   tools/check-layers.sh [source folder]
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root"

# The host's folders, lowest first: each may include those before it.
layers="base win cadlib docking command panels view setup shell"
# Libraries beside the host, with what each may include besides itself. The
# host loads them, it never includes them. A command module compiles against
# the CAD library and the few headers that describe the host interface: the
# calling convention, the host messages and the view record it is handed.
uilib_may="base"
# The TIFF reader s_rasread.dll, loaded by name: only the calling convention.
rasread_may="base"
modules_may="cadlib"
modules_headers="base/api_decl.h command/host_messages.h view/view_data.h"
# Folders that may include anything, and folders without sources.
free="tests bench tools data"

status=0
for dir in */; do
  dir="${dir%/}"
  [ -f "$dir/CMakeLists.txt" ] || continue
  case " $layers uilib rasread modules $free " in
    *" $dir "*) ;;
    *) echo "$dir/: a folder of the build with no place in the layers (tools/check-layers.sh)"; status=1 ;;
  esac
done

files=()
for dir in $layers uilib rasread modules; do
  [ -d "$dir" ] || continue
  while IFS= read -r -d '' f; do files+=("$f"); done < <(
    find "$dir" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.inl' -o -name '*.c' \
      -o -name '*.cc' -o -name '*.cpp' -o -name '*.rc' \) -print0 | sort -z)
done

if [ ${#files[@]} -gt 0 ]; then
  awk -v layers="$layers" -v uilib_may="$uilib_may" -v rasread_may="$rasread_may" -v modules_may="$modules_may" \
      -v modules_headers="$modules_headers" -v free="$free" '
    BEGIN {
      n = split(layers, order, " ")
      for (i = 1; i <= n; ++i) rank[order[i]] = i
      split(free, f, " "); for (i in f) known[f[i]] = 1
      for (d in rank) known[d] = 1
      known["uilib"] = known["modules"] = known["rasread"] = 1
      split(rasread_may, a, " "); for (i in a) may["rasread", a[i]] = 1
      split(uilib_may, a, " "); for (i in a) may["uilib", a[i]] = 1
      split(modules_may, a, " "); for (i in a) may["modules", a[i]] = 1
      split(modules_headers, a, " "); for (i in a) header["modules", a[i]] = 1
      bad = 0
    }
    # The folder a file or an include path lies in: its first component once
    # "." and ".." are resolved against the including file folder.
    function top(path, fromDir,   comps, k, m, stack, depth) {
      if (path !~ /^\.\.?\//) {
        split(path, comps, "/")
        return (comps[1] in known) ? comps[1] : ""
      }
      depth = split(fromDir, stack, "/")
      m = split(path, comps, "/")
      for (k = 1; k < m; ++k) {
        if (comps[k] == "..") --depth
        else if (comps[k] != ".") stack[++depth] = comps[k]
      }
      return depth >= 1 ? stack[1] : ""
    }
    FNR == 1 {
      dir = FILENAME; sub(/\/[^\/]*$/, "", dir)
      split(FILENAME, p, "/"); from = p[1]
    }
    /^[ \t]*#[ \t]*include[ \t]*["<]/ {
      line = $0
      sub(/^[ \t]*#[ \t]*include[ \t]*["<]/, "", line)
      sub(/[">].*$/, "", line)
      to = top(line, dir)
      if (to == "" || to == from) next
      if (from in rank) {
        if ((to in rank) && rank[to] < rank[from]) next
        why = (to in rank) ? to " is above " from : to " is not a layer of the host"
      } else {
        if (may[from, to] || header[from, line]) next
        why = from " may include only " (from == "uilib" ? uilib_may : from == "rasread" ? rasread_may : modules_may)
      }
      printf "%s:%d: includes \"%s\": %s\n", FILENAME, FNR, line, why
      bad = 1
    }
    END { exit bad }
  ' "${files[@]}" || status=1
fi

if [ $status -ne 0 ]; then
  echo "layer order (lowest first): $layers; uilib may include $uilib_may; rasread $rasread_may; modules $modules_may and $modules_headers"
fi
exit $status
