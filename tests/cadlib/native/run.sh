#!/usr/bin/env bash
# Builds the library core natively for 32-bit Linux with the sanitizers and
# runs the mutation loop over damaged drawing files (needs g++-multilib).
# Usage: tests/cadlib/native/run.sh [cases] [seed]
set -eu
src="$(cd "$(dirname "$0")/../../.." && pwd)"
out="${TMPDIR:-/tmp}/cadlib-native"
mkdir -p "$out"
g++ -m32 -std=c++17 -O1 -g -I"$src" "-D__stdcall=__attribute__((stdcall))" \
  -fsanitize=address,undefined -fno-sanitize-recover=undefined \
  "$src"/tests/cadlib/native/mutate_native.cpp "$src"/cadlib/core/*.cpp -o "$out/mutate"
"$out/mutate" "$@"
