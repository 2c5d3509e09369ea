// The test module: a command module that uses the host interface end to end
// as a real one does. Commands (the "/C:" word of the argument text):
//   Wait     read its id, set prompt and mask, read settings and texts, then
//            wait for points, panel events and the end, logging each input
//   Quick    log one line and return 0
//   Fail     return -1 (command not done)
//   Fault    set the per-command switches, then fault on purpose
//   Switches set every per-command switch and return 0
//   Probe    call system functions that handle bad pointers themselves
//   FaultInWindow  wait for input; its own window procedure, dispatched by
//            the host's nested wait loop, faults
//   FaultInTimer   the same with a timer callback
//   FaultInRuntime hand a runtime function a bad pointer
//   Linger   as Wait, but after the end keeps pumping messages for a moment
//            (as a module showing its clean-up progress does)
// The commands of each area of the host are in <area>_cmds.cpp (the words
// StartCmd asks them about first). Every step leaves a line in the host log
// ("TESTCMD ..."), and also in the file that ZAV_TESTCMD_LOG names, for tests
// that drive a whole host process.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/api_decl.h"
#include "command/host_messages.h"
#include "modules/test_cmd/test_cmd.h"

namespace testcmd {

namespace {
HWND g_frame = nullptr;
}  // namespace

HWND Frame() { return g_frame; }

LRESULT Host(UINT msg, WPARAM wParam, LPARAM lParam) { return SendMessageA(g_frame, msg, wParam, lParam); }

void Log(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    Host(UM_WRITE_LOG, 2, reinterpret_cast<LPARAM>(line));
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("ZAV_TESTCMD_LOG", path, sizeof path);
    if (n == 0 || n >= sizeof path) return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
    WriteFile(file, "\n", 1, &written, nullptr);
    CloseHandle(file);
}

bool Is(const char* word, const char* name) {
    size_t n = std::strlen(name);
    return std::strncmp(word, name, n) == 0 && (word[n] == '\0' || word[n] == ' ');
}

}  // namespace testcmd

using namespace testcmd;

namespace {

const char* Word(const char* args) {
    const char* p = args ? std::strstr(args, "/C:") : nullptr;
    return p ? p + 3 : "";
}

void SetSwitches() {
    Host(UM_FAST_ACCESS_ON);
    Host(UM_LOCK_LAYER_FIELD, 0, 1);
    Host(UM_SUSPEND_UNDO_PASS, 0, 1);
    Host(UM_SET_CMD_FLAG, 0, 7);
    Host(UM_END_ACK_FLAG, 0, 0);
}

void Linger() {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 300) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
    Log("TESTCMD lingered");
}

int Wait(const char* args, bool linger) {
    const LRESULT id = Host(UM_GET_CUR_CMD_ID);
    Log("TESTCMD start id=%ld args=%s", static_cast<long>(id), args ? args : "(null)");
    Host(UM_SET_PROMPT, 0, reinterpret_cast<LPARAM>("点を指示してください"));
    Host(UM_CLEAR_EVENT_MASK);
    Host(UM_ADD_EVENT_MASK, 0, CMD_WANT_POINT | CMD_WANT_CANCEL);
    Host(UM_ADD_EVENT_MASK, 0, CMD_WANT_PANEL);
    const char* text = reinterpret_cast<const char*>(Host(UM_GET_MESSAGE_TEXT, 0, 5000));
    Log("TESTCMD message5000=%s", text ? text : "(null)");
    char value[257] = {};
    IniRequest ini = {};
    ini.word08 = reinterpret_cast<uint32_t>("SYSTEM");
    ini.word0c = reinterpret_cast<uint32_t>("SYSTEMDIR");
    ini.word28 = reinterpret_cast<uint32_t>(value);
    Host(UM_GET_PROFILE_STRING, 0, reinterpret_cast<LPARAM>(&ini));
    Log("TESTCMD setting=%s", value);
    Log("TESTCMD ptnsave=%ld", static_cast<long>(Host(UM_GET_PTNSAVE, id)));
    CmdRequest req = {};
    for (;;) {
        LRESULT r = Host(UM_WAIT_CMD_EVENT, 0, reinterpret_cast<LPARAM>(&req));
        switch (r) {
        case CMD_RES_ENDED:
            Log("TESTCMD ended");
            if (linger) Linger();
            return 0;
        case CMD_RES_QUIT: Log("TESTCMD quit"); return 0;
        case CMD_RES_CANCEL: Log("TESTCMD cancel"); return 0;
        case CMD_RES_POINT: {
            double pt[3];
            GetRequestPoint(req.point, pt);
            Log("TESTCMD point %.1f %.1f", pt[0], pt[1]);
            break;
        }
        case CMD_RES_PANEL:
            Log("TESTCMD panel kind=%d value=%d extra=%d", req.panelKind, req.panelValue, req.panelExtra);
            break;
        default: Log("TESTCMD result %ld", static_cast<long>(r)); break;
        }
    }
}

extern "C" IMAGE_DOS_HEADER __ImageBase;
const char kFaultyClass[] = "ZavTestCmdFaulty";
const UINT kFaultNow = WM_APP + 1;

HINSTANCE Self() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

LRESULT CALLBACK FaultyWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kFaultNow) {
        // Nothing may point into this module once the host has unloaded it.
        DestroyWindow(wnd);
        UnregisterClassA(kFaultyClass, Self());
        Log("TESTCMD fault in window");
        *static_cast<volatile int*>(nullptr) = 1;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

void CALLBACK FaultyTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    Log("TESTCMD fault in timer");
    *static_cast<volatile int*>(nullptr) = 1;
}

// Waits until the command is ended; a fault of the dispatched code must
// end it before.
int WaitForTheEnd() {
    Host(UM_CLEAR_EVENT_MASK);
    Host(UM_ADD_EVENT_MASK, 0, CMD_WANT_POINT | CMD_WANT_LOCKED_LAYERS);
    CmdRequest req = {};
    for (;;) {
        const LRESULT r = Host(UM_WAIT_CMD_EVENT, 0, reinterpret_cast<LPARAM>(&req));
        if (r == CMD_RES_ENDED || r == CMD_RES_QUIT) break;
    }
    Log("TESTCMD survived its fault");
    return 0;
}

}  // namespace

ZAV_EXTERN_C int ZAVAPI StartCmd(HWND mainFrame, const char* args) {
    testcmd::g_frame = mainFrame;
    const char* word = Word(args);
    int result = 0;
    if (RunWiringCommand(word, args, &result)) return result;
    if (RunSettingsCommand(word, args, &result)) return result;
    if (RunCloseCommand(word, args, &result)) return result;
    if (RunDbServiceCommand(word, args, &result)) return result;
    if (RunFilesCommand(word, args, &result)) return result;
    if (RunViewCommand(word, args, &result)) return result;
    if (RunDialogCommand(word, args, &result)) return result;
    if (RunServiceCommand(word, args, &result)) return result;
    if (RunRasterCommand(word, args, &result)) return result;
    if (RunWaitCommand(word, args, &result)) return result;
    if (RunPanelCommand(word, args, &result)) return result;
    if (RunToolPanelCommand(word, args, &result)) return result;
    if (RunLayerCommand(word, args, &result)) return result;
    if (Is(word, "Quick")) {
        Log("TESTCMD quick id=%ld args=%s", static_cast<long>(Host(UM_GET_CUR_CMD_ID)), args);
        return 0;
    }
    if (Is(word, "Fail")) {
        Log("TESTCMD fail");
        return -1;
    }
    if (Is(word, "Fault")) {
        SetSwitches();
        Log("TESTCMD fault");
        *static_cast<volatile int*>(nullptr) = 1;
        return 0;
    }
    if (Is(word, "Probe")) {
        // System calls that meet a bad pointer and handle it themselves
        // must not look like a fault of this module.
        const int len = lstrlenA(nullptr);
        const BOOL bad = IsBadReadPtr(reinterpret_cast<void*>(16), 4);
        Log("TESTCMD probe len=%d bad=%d", len, bad);
        return 0;
    }
    if (Is(word, "FaultInWindow")) {
        SetSwitches();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = FaultyWindowProc;
        wc.hInstance = Self();
        wc.lpszClassName = kFaultyClass;
        RegisterClassA(&wc);
        HWND wnd = CreateWindowExA(0, kFaultyClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, Self(), nullptr);
        PostMessageA(wnd, kFaultNow, 0, 0);
        return WaitForTheEnd();
    }
    if (Is(word, "FaultInRuntime")) {
        SetSwitches();
        Log("TESTCMD fault in runtime");
        // Through a pointer, so that the compiler cannot do the work itself.
        size_t (*volatile length)(const char*) = std::strlen;
        Log("TESTCMD length %u", static_cast<unsigned>(length(reinterpret_cast<const char*>(8))));
        return 0;
    }
    if (Is(word, "FaultInTimer")) {
        SetSwitches();
        SetTimer(nullptr, 0, 1, FaultyTimer);
        return WaitForTheEnd();
    }
    if (Is(word, "Switches")) {
        SetSwitches();
        Log("TESTCMD switches");
        return 0;
    }
    return Wait(args, Is(word, "Linger"));
}

// The pattern-save flag is reported for every command of this module.
ZAV_EXTERN_C int ZAVAPI CwCmdSaveFg() { return 1; }
ZAV_EXTERN_C int ZAVAPI CwCmdVer() { return 151; }

// Loading entry points of an import module: each leaves a log line.
ZAV_EXTERN_C int ZAVAPI LoadingDB(HWND mainFrame, const char* fileName, void* database) {
    testcmd::g_frame = mainFrame;
    Log("TESTCMD LoadingDB %s %p", fileName ? fileName : "", database);
    if (fileName && std::strcmp(fileName, "fault.dxf") == 0) *static_cast<volatile int*>(nullptr) = 1;
    return 1;
}
ZAV_EXTERN_C int ZAVAPI Jwc_LoadingDB(HWND mainFrame, const char* fileName, void* database) {
    testcmd::g_frame = mainFrame;
    Log("TESTCMD Jwc_LoadingDB %s %p", fileName ? fileName : "", database);
    return 1;
}
ZAV_EXTERN_C int ZAVAPI LoadingDB_Info(HWND mainFrame, const char* fileName, void* database, void* info1, void* info2) {
    testcmd::g_frame = mainFrame;
    Log("TESTCMD LoadingDB_Info %s %d %d", fileName ? fileName : "", info1 != nullptr, info2 != nullptr);
    return 1;
}
