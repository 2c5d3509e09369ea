#!/usr/bin/env bash
# Builds the library core natively for 32-bit Linux with the address, leak
# and undefined-behaviour sanitizers, then runs the mutation loop over
# damaged drawing files and random undo sessions (needs g++-multilib; LZ4's
# sources come from tools/install-deps.sh). A machine that cannot run 32-bit
# programs itself can name an emulator: RUN=qemu-i386-static.
# Usage: tests/cadlib/native/run.sh [damaged files] [seed] [undo sessions]
set -eu
src="$(cd "$(dirname "$0")/../../.." && pwd)"
out="${TMPDIR:-/tmp}/cadlib-native"
cache="${XDG_CACHE_HOME:-$HOME/.cache}/zavirurer"
lz4="${LZ4_SOURCE:-$cache/lz4-mingw-i686/src}"
mkdir -p "$out"
sanitize=(-fsanitize=address,undefined -fno-sanitize-recover=undefined)
flags=(-m32 -O1 -g -pthread -I"$src" -I"$lz4" "-D__stdcall=__attribute__((stdcall))" "${sanitize[@]}"
       -I"${BOOST_INCLUDE:-$cache/boost-mingw-i686/include/boost-1_81}")
gcc -m32 -O1 -g "${sanitize[@]}" -c "$lz4/lz4.c" -o "$out/lz4.o"
g++ -std=c++17 "${flags[@]}" "$src"/tests/cadlib/native/mutate_native.cpp "$src"/cadlib/core/*.cpp "$out/lz4.o" -o "$out/mutate"
g++ -std=c++17 "${flags[@]}" "$src"/tests/cadlib/native/sessions_native.cpp "$src"/cadlib/core/*.cpp "$out/lz4.o" -o "$out/sessions"
export ASAN_OPTIONS=detect_leaks=1
${RUN:-} "$out/mutate" "${1:-100000}" "${2:-20261210}"
${RUN:-} "$out/sessions" "${3:-200}"
