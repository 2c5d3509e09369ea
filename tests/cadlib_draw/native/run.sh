#!/usr/bin/env bash
# Builds the library core natively for 32-bit Linux with the address and
# undefined-behaviour sanitizers and runs random edit sessions with index
# searches compared against a plain scan (needs g++-multilib and the Boost
# headers). Usage: tests/cadlib_draw/native/run.sh [sessions] [seed]
set -eu
src="$(cd "$(dirname "$0")/../../.." && pwd)"
out="${TMPDIR:-/tmp}/cadlib-draw-native"
mkdir -p "$out"
g++ -m32 -std=c++17 -O1 -g -I"$src" "-D__stdcall=__attribute__((stdcall))" \
    -I"${BOOST_INCLUDE:-$HOME/.cache/zavirurer/boost-mingw-i686/include/boost-1_81}" \
    -fsanitize=address,undefined -fno-sanitize-recover=undefined \
    "$src"/tests/cadlib_draw/native/index_native.cpp "$src"/cadlib/core/*.cpp -o "$out/index"
"$out/index" "${1:-30}" "${2:-5}"
