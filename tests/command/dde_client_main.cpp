// A DDE client in its own process: connects to "RAZE"/"System", sends each
// EXECUTE text of its command line in order and writes one line per request
// to the results file: 1 acknowledged, 0 refused, or "-" when no
// conversation could be made.
//   cmd_dde_client.exe <results file> <request> [<request> ...]
#include <windows.h>
#include <ddeml.h>

#include <cstdio>
#include <cstring>

static HDDEDATA CALLBACK Callback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    FILE* out = std::fopen(argv[1], "w");
    if (!out) return 2;
    DWORD instance = 0;
    if (DdeInitializeA(&instance, Callback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return 3;
    HSZ service = DdeCreateStringHandleA(instance, "RAZE", CP_WINANSI);
    HSZ topic = DdeCreateStringHandleA(instance, "System", CP_WINANSI);
    HCONV conv = nullptr;
    for (int i = 0; i < 50 && !conv; ++i) {
        conv = DdeConnect(instance, service, topic, nullptr);
        if (!conv) Sleep(100);
    }
    for (int i = 2; i < argc; ++i) {
        if (!conv) {
            std::fprintf(out, "-\n");
            continue;
        }
        DWORD result = 0;
        HDDEDATA r = DdeClientTransaction((LPBYTE)argv[i], (DWORD)std::strlen(argv[i]) + 1, conv, nullptr, 0,
                                          XTYP_EXECUTE, 20000, &result);
        std::fprintf(out, "%d\n", r ? 1 : 0);
        std::fflush(out);
    }
    if (conv) DdeDisconnect(conv);
    DdeFreeStringHandle(instance, service);
    DdeFreeStringHandle(instance, topic);
    DdeUninitialize(instance);
    std::fclose(out);
    return 0;
}
