// zavwait CLASS [SECONDS]: waits until a visible top-level window of that
// class exists. Exit 0 when it appears, 1 on time-out.
#include <windows.h>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
    for (int i = 0; i < seconds * 10; ++i) {
        HWND w = FindWindowA(argv[1], nullptr);
        if (w && IsWindowVisible(w)) return 0;
        Sleep(100);
    }
    return 1;
}
