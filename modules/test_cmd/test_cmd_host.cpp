#include "test_cmd_host.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "command/host_messages.h"

HWND& TestCmdFrame() {
    static HWND frame = nullptr;
    return frame;
}

LRESULT TestCmdHost(UINT msg, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(TestCmdFrame(), msg, wParam, lParam);
}

void TestCmdLog(const char* format, ...) {
    char line[600];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    TestCmdHost(UM_WRITE_LOG, 2, reinterpret_cast<LPARAM>(line));
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("ZAV_TESTCMD_LOG", path, sizeof path);
    if (n == 0 || n >= sizeof path) return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
    WriteFile(file, "\n", 1, &written, nullptr);
    CloseHandle(file);
}
