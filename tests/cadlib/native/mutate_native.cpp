// The mutation loop built natively (g++ -m32) with the address and
// undefined-behaviour sanitizers, over files of both versions; see run.sh.
#include <cstdio>
#include <cstdlib>

#include "tests/cadlib/mutation_loop.h"

int main(int argc, char** argv) {
    int cases = argc > 1 ? atoi(argv[1]) : 100000;
    unsigned seed = argc > 2 ? static_cast<unsigned>(atoi(argv[2])) : 20261210u;
    int failed = 0;
    for (uint32_t version : {1u, cad::kFormatVersion}) {
        cadtest::MutationResult r = cadtest::RunMutations(cases, seed, version);
        printf("version %u, %d damaged files: %d loaded, %d refused, %.2f s %s\n", version, cases, r.loaded, r.refused,
               r.seconds, r.fault.c_str());
        failed += !r.fault.empty();
    }
    return failed ? 1 : 0;
}
