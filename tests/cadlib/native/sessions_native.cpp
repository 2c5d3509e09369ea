// Random undo sessions built natively (g++ -m32) with the sanitizers; see run.sh.
#include <cstdio>
#include <cstdlib>

#include "tests/cadlib/session_loop.h"

int main(int argc, char** argv) {
    unsigned sessions = argc > 1 ? static_cast<unsigned>(atoi(argv[1])) : 200;
    for (unsigned seed = 1; seed <= sessions; ++seed) {
        std::string fault = cadtest::RunSession(seed);
        if (!fault.empty()) {
            printf("%s\n", fault.c_str());
            return 1;
        }
    }
    printf("%u undo sessions held\n", sessions);
    return 0;
}
