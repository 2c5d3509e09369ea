// Process entry of the host.
#include <windows.h>
#include <gdiplus.h>

#include "shell/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int showCmd) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    int code = RunProcess(instance, cmdLine, showCmd);
    Gdiplus::GdiplusShutdown(token);
    return code;
}
