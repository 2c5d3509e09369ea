#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, once.
# A second run finds every step done and returns quickly.
set -euo pipefail

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

stamp_dir="${XDG_CACHE_HOME:-$HOME/.cache}/zavirurer"
mkdir -p "$stamp_dir"

need_pkgs=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  cmake make ninja-build googletest
  xvfb xauth x11-apps xdotool imagemagick fonts-noto-cjk fonts-wine locales
  dpkg-dev ca-certificates
)

missing=()
for p in "${need_pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  apt_updated=""
fi
if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  missing+=(wine wine32:i386)
fi

# Boost's source package needs deb-src entries; add them beside the deb ones.
src_list=/etc/apt/sources.list.d/zavirurer-src.sources
if [ ! -f "$src_list" ]; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $SUDO tee "$src_list" >/dev/null
  elif [ -f /etc/apt/sources.list ]; then
    grep -E '^deb ' /etc/apt/sources.list | sed -e 's/^deb /deb-src /' | $SUDO tee /etc/apt/sources.list.d/zavirurer-src.list >/dev/null
    $SUDO touch "$src_list"
  fi
  apt_updated=""
fi

if [ ${#missing[@]} -gt 0 ] || [ "${apt_updated-x}" = "" ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
fi

# Wine maps file names and command lines through the glibc locale: without it,
# Japanese paths arrive garbled even though GetACP() says 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi

# Boost.Serialization built for MinGW from Debian's source package, cached.
boost_prefix="$stamp_dir/boost-mingw-i686"
if [ ! -f "$boost_prefix/.done-v2" ]; then
  work="$stamp_dir/boost-src"
  rm -rf "$work" "$boost_prefix"; mkdir -p "$work"
  (cd "$work" && apt-get source --download-only boost1.81 >/dev/null)
  tarball=$(ls "$work"/boost1.81_*.orig.tar.* | head -n1)
  tar -C "$work" -xf "$tarball"
  top=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n1)
  here="$(cd "$(dirname "$0")/.." && pwd)"
  cmake -S "$top" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" \
    -DBOOST_INCLUDE_LIBRARIES="serialization;geometry" -DBUILD_SHARED_LIBS=OFF \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$boost_prefix" >/dev/null
  cmake --build "$work/build" -j"$(nproc)" >/dev/null
  cmake --install "$work/build" >/dev/null
  rm -rf "$work"
  touch "$boost_prefix/.done-v2"
fi
# LZ4, the compressor of the drawing files, built for MinGW from Debian's
# source package and cached the same way; its two source files stay beside
# it for the native sanitizer build of the library core
# (tests/cadlib/native/run.sh).
lz4_prefix="$stamp_dir/lz4-mingw-i686"
if [ ! -f "$lz4_prefix/.done-v1" ]; then
  work="$stamp_dir/lz4-src"
  rm -rf "$work" "$lz4_prefix"; mkdir -p "$work"
  (cd "$work" && apt-get source --download-only lz4 >/dev/null 2>&1)
  tarball=$(ls "$work"/lz4_*.orig.tar.* | head -n1)
  tar -C "$work" -xf "$tarball"
  top=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n1)
  here="$(cd "$(dirname "$0")/.." && pwd)"
  cmake -S "$top/build/cmake" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON -DLZ4_BUILD_CLI=OFF -DLZ4_BUILD_LEGACY_LZ4C=OFF \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$lz4_prefix" >/dev/null
  cmake --build "$work/build" -j"$(nproc)" >/dev/null
  cmake --install "$work/build" >/dev/null
  mkdir -p "$lz4_prefix/src"
  cp "$top/lib/lz4.c" "$top/lib/lz4.h" "$lz4_prefix/src/"
  rm -rf "$work"
  touch "$lz4_prefix/.done-v1"
fi
# Machines whose kernel cannot execute 32-bit x86 code run the build's
# Windows programs in an emulated x86-64 guest, made once and cached.
here="$(cd "$(dirname "$0")" && pwd)"
if ! "$here/host-runs-i386.sh"; then
  "$here/vm/build-image.sh" "${ZAV_VM_DIR:-$stamp_dir/vm}"
fi
echo "dependencies ready (boost: $boost_prefix, lz4: $lz4_prefix)"
