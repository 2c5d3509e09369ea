#!/usr/bin/env bash
# Builds the library core natively for 32-bit Linux with the address, leak
# and undefined-behaviour sanitizers, then runs the mutation loop over
# damaged drawing files and random undo sessions (needs g++-multilib).
# Usage: tests/cadlib/native/run.sh [damaged files] [seed] [undo sessions]
set -eu
src="$(cd "$(dirname "$0")/../../.." && pwd)"
out="${TMPDIR:-/tmp}/cadlib-native"
mkdir -p "$out"
flags=(-m32 -std=c++17 -O1 -g -I"$src" "-D__stdcall=__attribute__((stdcall))"
       -fsanitize=address,undefined -fno-sanitize-recover=undefined
       -I"${BOOST_INCLUDE:-$HOME/.cache/zavirurer/boost-mingw-i686/include/boost-1_81}")
g++ "${flags[@]}" "$src"/tests/cadlib/native/mutate_native.cpp "$src"/cadlib/core/*.cpp -o "$out/mutate"
g++ "${flags[@]}" "$src"/tests/cadlib/native/sessions_native.cpp "$src"/cadlib/core/*.cpp -o "$out/sessions"
export ASAN_OPTIONS=detect_leaks=1
"$out/mutate" "${1:-100000}" "${2:-20261210}"
"$out/sessions" "${3:-200}"
