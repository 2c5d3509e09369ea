# The screenshot scripts' common part, sourced after they set `src` (the
# sources) and `build`: a virtual display for Wine, its cleanup at exit, and
# ZAV_SHOT_DIR (= $shots, build/shots) where the tests leave their pictures.
#   shots_begin <script path relative to src> [its arguments after build]
#                                               (runs it in the guest when
#                                                this host cannot run Wine)
#   ... run tests ...
#   shots_to_png                                 (bitmaps to PNG, listed)

shots_begin() {
  if ! "$src/tools/host-runs-i386.sh"; then
    local script="$1" args="" a
    shift
    for a in "$@"; do args="$args '$a'"; done
    exec env -u DISPLAY "$src/tools/vm/run-in-vm.sh" "$src" "bash $script '$build'$args"
  fi
  export ZAV_WINE_X11=1
  shots="$build/shots"
  mkdir -p "$shots"
  local n=92
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n+1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  shots_xvfb=$!
  export DISPLAY=":$n"
  shots_prefix="$build"
  [ -n "${ZAV_IN_VM:-}" ] && shots_prefix=/var/zav
  trap shots_end EXIT
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  ZAV_SHOT_DIR="$(winepath -w "$shots" 2>/dev/null || echo 'Z:\tmp')"
  export ZAV_SHOT_DIR
}

shots_end() {
  WINEPREFIX="${ZAV_WINEPREFIX:-$shots_prefix/wineprefix-x11}" wineserver -k 2>/dev/null || true
  kill "$shots_xvfb" 2>/dev/null || true
}

shots_to_png() {
  local bmp
  for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp" && echo "screenshot: ${bmp%.bmp}.png"
  done
}
